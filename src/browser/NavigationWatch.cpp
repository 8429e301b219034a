#include "browser/NavigationWatch.h"

#include <cstring>

namespace browser {

namespace {

// Escapes of these keep their meaning apart from the bare character ("%2B" is not "+"), and
// neither side changes them. Everything else is compared unescaped: QUrl unescapes letters
// and digits, the engine escapes blanks, quotes, brackets and non-ASCII bytes.
bool isDelimiter(char c) {
    return std::strchr("!#$%&()*+,/:;=?@[]", c) != nullptr && c != '\0';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray comparable(const QUrl& url) {
    QUrl normal = url.adjusted(QUrl::NormalizePathSegments);
    if (normal.path().isEmpty() && !normal.host().isEmpty())
        normal.setPath(QStringLiteral("/"));
    const QByteArray encoded = normal.toEncoded();
    QByteArray out;
    out.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const int high = i + 2 < encoded.size() ? hexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[i + 2]) : -1;
        if (encoded[i] != '%' || low < 0) {
            out += encoded[i];
            continue;
        }
        const char byte = char(high * 16 + low);
        if (isDelimiter(byte))
            out += encoded.mid(i, 3).toUpper();
        else
            out += byte;
        i += 2;
    }
    return out;
}

} // namespace

void NavigationWatch::asked(const QUrl& url) {
    asked_ = url;
    expected_ = url;
    started_ = false;
    checking_ = false;
    retries_ = 0;
}

void NavigationWatch::superseded() {
    asked_.reset();
    checking_ = false;
}

void NavigationWatch::started(const QUrl& url) {
    if (asked_ && sameAddress(*asked_, url)) {
        expected_ = *asked_;
        started_ = true;
    }
}

void NavigationWatch::redirected(const QUrl& url) {
    if (asked_ && started_)
        expected_ = url;
}

void NavigationWatch::shown(const QUrl& url) {
    if (asked_ && sameAddress(expected_, url))
        superseded();
}

NavigationWatch::Decision NavigationWatch::ended(const QUrl& shownUrl) {
    shown(shownUrl);
    if (!asked_ || retries_ >= kMaxRetries)
        return {};
    if (!started_)
        return AskAgain{*askAgain()};
    checking_ = true;
    return CheckLater{};
}

std::optional<QUrl> NavigationWatch::checkNow() {
    if (!checking_ || !asked_ || retries_ >= kMaxRetries)
        return std::nullopt;
    return askAgain();
}

std::optional<QUrl> NavigationWatch::askAgain() {
    ++retries_;
    started_ = false;
    checking_ = false;
    expected_ = *asked_;
    return asked_;
}

bool NavigationWatch::sameAddress(const QUrl& a, const QUrl& b) {
    return comparable(a) == comparable(b);
}

} // namespace browser
