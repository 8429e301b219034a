#include "settings/ProxyAddress.h"

#include <QRegularExpression>
#include <QUrl>

namespace settings {

namespace {

const QString kExample =
    QStringLiteral("「192.168.0.1:8080」のように、ホスト名か IP アドレスの後に「:」とポート番号を"
                   "付けてください。");

// Whether text is a dotted IPv4 address with four numbers from 0 to 255.
bool isIpv4(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return false;
    for (int i = 1; i <= 4; ++i)
        if (match.captured(i).toInt() > 255)
            return false;
    return true;
}

// Whether text is a host name: dot-separated labels of ASCII letters, digits and hyphens, no
// label empty, longer than 63 or with a hyphen at either end.
bool isHostName(const QString& text) {
    static const QRegularExpression label(
        QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (text.isEmpty() || text.size() > 253)
        return false;
    const QStringList labels = text.split(QLatin1Char('.'));
    for (const QString& part : labels)
        if (!label.match(part).hasMatch())
            return false;
    // A name of digits and dots only would be read as an address; it must be a whole one.
    static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
    return !numeric.match(text).hasMatch() || isIpv4(text);
}

std::optional<ProxyAddress> fail(QString* error, const QString& typed, const QString& reason) {
    if (error)
        *error = QStringLiteral("「%1」はプロキシのアドレスとして使えません。%2\n%3")
                     .arg(typed, reason, kExample);
    return std::nullopt;
}

} // namespace

std::optional<ProxyAddress> ProxyAddress::parse(const QString& text, QString* error) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) {
        if (error)
            *error = QStringLiteral("プロキシのアドレスが入力されていません。\n") + kExample;
        return std::nullopt;
    }

    QString rest = typed;
    const qsizetype schemeEnd = rest.indexOf(QLatin1String("://"));
    if (schemeEnd >= 0) {
        if (rest.left(schemeEnd).compare(QLatin1String("http"), Qt::CaseInsensitive) != 0)
            return fail(error, typed, QStringLiteral("使えるのは HTTP のプロキシだけです。"));
        rest = rest.mid(schemeEnd + 3);
    }
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    if (rest.contains(QRegularExpression(QStringLiteral("[\\s/?#@]"))))
        return fail(error, typed,
                    QStringLiteral("ホスト名とポート番号のほかに余分な文字があります。"));

    QString host;
    QString port;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(error, typed, QStringLiteral("IPv6 アドレスの「]」がありません。"));
        host = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (!after.startsWith(QLatin1Char(':')))
            return fail(error, typed, QStringLiteral("ポート番号がありません。"));
        port = after.mid(1);
        // QUrl reads an IPv6 address between brackets and writes it in its shortest form.
        const QUrl url(QStringLiteral("http://[%1]/").arg(host), QUrl::StrictMode);
        if (!host.contains(QLatin1Char(':')) || !url.isValid() || url.host().isEmpty())
            return fail(error, typed,
                        QStringLiteral("「[」と「]」の間が IPv6 アドレスではありません。"));
        host = url.host();
    } else {
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon < 0)
            return fail(error, typed, QStringLiteral("ポート番号がありません。"));
        host = rest.left(colon);
        port = rest.mid(colon + 1);
        if (host.contains(QLatin1Char(':')))
            return fail(error, typed,
                        QStringLiteral("IPv6 アドレスは「[」と「]」で囲んでください。"));
        if (host.isEmpty())
            return fail(error, typed, QStringLiteral("ホスト名か IP アドレスがありません。"));
        // A name in Japanese or another script travels in its ASCII form.
        const QString ascii = QString::fromLatin1(QUrl::toAce(host));
        if (ascii.isEmpty() || !isHostName(ascii))
            return fail(error, typed,
                        QStringLiteral("「%1」はホスト名としても IP アドレスとしても読めません。")
                            .arg(host));
        host = ascii.toLower();
    }

    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (port.isEmpty())
        return fail(error, typed, QStringLiteral("ポート番号がありません。"));
    if (!digits.match(port).hasMatch() || port.toInt() < 1 || port.toInt() > 65535)
        return fail(error, typed,
                    QStringLiteral("ポート番号は 1 から 65535 までの数字で書いてください。"));
    return ProxyAddress(host, static_cast<quint16>(port.toInt()));
}

QString ProxyAddress::toString() const {
    const QString shownHost =
        host_.contains(QLatin1Char(':')) ? QLatin1Char('[') + host_ + QLatin1Char(']') : host_;
    return shownHost + QLatin1Char(':') + QString::number(port_);
}

} // namespace settings
