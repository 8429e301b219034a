#include "app/dialogs/VersionText.h"

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

QString VersionText::current(const QLocale& locale) {
    return format(QString::fromLatin1(kThousandths).toInt(), locale);
}

} // namespace app
