#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

namespace app {

// The program's version as the About box shows it.
class VersionText {
public:
    // A version as project(VERSION) writes it ("1.11") in thousandths of a version number
    // (1110): the part after the first dot is a decimal fraction; further parts are ignored.
    static int thousandths(QStringView version);

    // "バージョン" and the version with two decimals: バージョン1.11, or バージョン1,11 where
    // the decimal separator is a comma. Digits stay ASCII in every locale; only the separator
    // is the user's.
    static QString format(int thousandths, const QLocale& locale);
    // The program's own version in the user's locale.
    static QString current(const QLocale& locale = QLocale());
};

} // namespace app
