#pragma once

#include <QString>
#include <QUrl>

namespace browser {

// The URL a navigation to an address goes to.
//
// Percent-escapes already in the address are kept as they are (the query encoders have chosen
// the bytes the site is to see); a '%' that starts no escape stands for itself and becomes
// "%25" without touching the escapes around it. Other characters that a URL can't carry are
// escaped as UTF-8. An address without a scheme ("so.youku.com/...", "localhost:8080/") is
// read the way an address bar reads it, normally as http. An address that makes no valid URL
// (a host with characters no host can have, a port out of range) gives an empty one.
QUrl addressToUrl(const QString& address);

// An address as a person reads it: escapes of UTF-8 text shown as the text, a Japanese host
// in its own letters rather than its "xn--" form, no password. Escapes that stand for
// delimiters or for bytes of another encoding stay, so that the address still says exactly
// where it goes.
QString addressForReading(const QUrl& url);

} // namespace browser
