#include "app/dialogs/VersionText.h"

#include "app/dialogs/ProgramVersion.h"

namespace app {

QString VersionText::format(int thousandths, const QLocale& locale) {
    // Whole hundredths, rounded half away from zero, in integers: no binary fraction can
    // turn 1.115 into 1.11.
    const bool negative = thousandths < 0;
    const qint64 magnitude = negative ? -qint64(thousandths) : qint64(thousandths);
    const qint64 hundredths = (magnitude + 5) / 10;
    const QString number = QStringLiteral("%1%2%3%4")
                               .arg(negative && hundredths ? QStringLiteral("-") : QString())
                               .arg(hundredths / 100)
                               .arg(locale.decimalPoint())
                               .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    return QStringLiteral("バージョン") + number;
}

int VersionText::thousandths(QStringView version) {
    const QList<QStringView> parts = version.split(u'.');
    const int whole = parts.value(0).toInt();
    if (parts.size() < 2)
        return whole * 1000;
    return whole * 1000 + parts[1].left(3).toString().leftJustified(3, u'0').toInt();
}

QString VersionText::current(const QLocale& locale) {
    return format(thousandths(QString::fromLatin1(kProgramVersion)), locale);
}

} // namespace app
