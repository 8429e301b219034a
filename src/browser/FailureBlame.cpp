#include "browser/FailureBlame.h"

#include <QHostAddress>
#include <algorithm>

namespace browser {

namespace {

// Loopback addresses never go through the proxy server.
bool isLoopback(const QString& host) {
    if (host == QLatin1StringView("localhost"))
        return true;
    QString address = host;
    if (address.startsWith(u'[') && address.endsWith(u']'))
        address = address.mid(1, address.size() - 2);
    return QHostAddress(address).isLoopback();
}

} // namespace

FailureBlame::FailureBlame(timing::MonotonicClock clock) : clock_(std::move(clock)) {}

void FailureBlame::answered(const QString& host) {
    const QString key = host.toLower();
    if (key.isEmpty())
        return;
    std::erase_if(answers_, [&](const Answer& a) { return a.host == key; });
    answers_.push_back({key, clock_()});
    if (answers_.size() > kHostsKept)
        answers_.pop_front();
}

bool FailureBlame::anotherHostAnsweredRecently(const QString& host) const {
    const qint64 now = clock_();
    return std::any_of(answers_.begin(), answers_.end(),
                       [&](const Answer& a) { return a.host != host && now - a.at <= kRecentMs; });
}

LoadFailure FailureBlame::judge(const QString& host, LoadFailure failure, const QString& proxy) {
    const QString key = host.toLower();
    const bool throughProxy = !proxy.isEmpty() && !isLoopback(key);
    switch (failure.kind) {
    case LoadFailureKind::NameNotResolved:
        if (anotherHostAnsweredRecently(key))
            return failure;
        return LoadFailure{LoadFailureKind::NoNetwork, failure.code};
    case LoadFailureKind::Proxy:
        if (failure.proxyReachedNoSite() && anotherHostAnsweredRecently(key))
            return LoadFailure{LoadFailureKind::ConnectionRefused, failure.code};
        failure.proxy = proxy;
        return failure;
    case LoadFailureKind::ConnectionRefused:
    case LoadFailureKind::TimedOut:
        // The program's own time limit (no code) ran out after the request was taken: the
        // site is slow, not the proxy.
        if (throughProxy && failure.code != 0)
            return LoadFailure{LoadFailureKind::Proxy, failure.code, proxy};
        if (failure.kind == LoadFailureKind::ConnectionRefused)
            answered(key); // the name resolved and a machine answered: the network works
        return failure;
    case LoadFailureKind::HttpStatus:
        answered(key); // a server answered, through the proxy or not
        return failure;
    case LoadFailureKind::ConnectionReset:
    case LoadFailureKind::SecureConnection:
        // Straight to the site, a connection was made; through a proxy it may be the proxy's.
        if (!throughProxy)
            answered(key);
        return failure;
    case LoadFailureKind::NoNetwork:
    case LoadFailureKind::Other:
        break;
    }
    return failure;
}

} // namespace browser
