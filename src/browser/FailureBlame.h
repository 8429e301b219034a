#pragma once

#include "browser/LoadFailure.h"
#include "timing/MonotonicClock.h"

#include <QString>
#include <deque>

namespace browser {

// Whom a failed load is laid to: the site alone, the network, or the proxy server.
//
// One failure says little by itself: a host name that does not resolve may belong to a closed
// site or to a network that resolves no name at all. So the latest answer of each host asked
// lately is kept, and a name that does not resolve is the site's fault only while another
// host has answered within kRecentMs; with no such answer every host tried lately has failed,
// and the network is the cause. With a proxy server in use, a refused or timed-out connection
// can only be the proxy's (the sites are reached through it), and a proxy that could not open
// the way to one site is blamed like an unresolved name: the site's when others got through.
class FailureBlame {
public:
    static constexpr qint64 kRecentMs = 5 * 60 * 1000;
    static constexpr std::size_t kHostsKept = 32;

    explicit FailureBlame(timing::MonotonicClock clock = timing::steadyMilliseconds);

    // A page of host came, or the site itself answered with an error: the way there works.
    void answered(const QString& host);
    // The failure of a load from host as the user is to be told it: NoNetwork or Proxy (naming
    // proxy) when those are the cause, the engine's own report otherwise. proxy is the proxy
    // server in use as "host:port", empty for none.
    LoadFailure judge(const QString& host, LoadFailure failure, const QString& proxy);

private:
    struct Answer {
        QString host;
        qint64 at = 0;
    };
    bool anotherHostAnsweredRecently(const QString& host) const;

    timing::MonotonicClock clock_;
    std::deque<Answer> answers_; // oldest first, one per host
};

} // namespace browser
