#include "browser/AddressUrl.h"

#include <QRegularExpression>

namespace browser {

namespace {

bool isHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// QUrl's tolerant parsing gives up on every escape of a component once it meets one stray
// '%' in it and escapes them all again ("%E3" -> "%25E3"); escaping the strays first keeps it
// from seeing any.
QString escapeStrayPercents(const QString& address) {
    QString out;
    out.reserve(address.size());
    for (qsizetype i = 0; i < address.size(); ++i) {
        const QChar c = address.at(i);
        out += c;
        if (c == u'%' &&
            !(i + 2 < address.size() && isHex(address.at(i + 1)) && isHex(address.at(i + 2))))
            out += QStringLiteral("25");
    }
    return out;
}

// "name:" that does not begin a host and port, judged the way a browser's address bar
// judges it: "http://..." and "about:blank" have a scheme; "localhost:8080/x" does not.
bool hasScheme(const QString& address) {
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const auto m = scheme.match(address);
    if (!m.hasMatch())
        return false;
    if (address.mid(m.capturedEnd(), 2) == QStringLiteral("//"))
        return true;
    static const QStringList opaque = {QStringLiteral("about"),  QStringLiteral("data"),
                                       QStringLiteral("mailto"), QStringLiteral("javascript"),
                                       QStringLiteral("blob"),   QStringLiteral("view-source"),
                                       QStringLiteral("file")};
    return opaque.contains(m.captured(1).toLower());
}

} // namespace

QUrl addressToUrl(const QString& address) {
    const QString text = escapeStrayPercents(address.trimmed());
    QUrl url = hasScheme(text) ? QUrl(text, QUrl::TolerantMode) : QUrl::fromUserInput(text);
    // fromUserInput keeps "name:" as a scheme when what follows is no port ("localhost:8%3800/"),
    // and the same address written back then opens elsewhere: by the rule above it is a host.
    if (!hasScheme(text) && !url.scheme().isEmpty() &&
        text.startsWith(url.scheme() + u':', Qt::CaseInsensitive))
        url = QUrl(QStringLiteral("http://") + text, QUrl::TolerantMode);
    // An invalid URL still holds the parts that could be read: the engine would go there.
    return url.isValid() ? url : QUrl();
}

QString addressForReading(const QUrl& url) {
    return url.toDisplayString();
}

} // namespace browser
