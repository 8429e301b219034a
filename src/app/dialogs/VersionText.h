#pragma once

#include <QLocale>
#include <QString>

namespace app {

// The program's version as the About box shows it.
class VersionText {
public:
    // The version, held as thousandths of a version number.
    static constexpr const char* kThousandths = "1110";

    // "バージョン" and the version with two decimals: バージョン1.11, or バージョン1,11 where
    // the decimal separator is a comma. Digits stay ASCII in every locale; only the separator
    // is the user's.
    static QString format(int thousandths, const QLocale& locale);
    // The program's own version in the user's locale.
    static QString current(const QLocale& locale = QLocale());
};

} // namespace app
