#include "browser/FailureBlame.h"

#include <QTest>

using browser::FailureBlame;
using browser::LoadFailure;
using browser::LoadFailureKind;

namespace {

// A host that answered, and how many milliseconds before the failure.
struct Answered {
    QString host;
    qint64 before = 0;
};

constexpr int kNameNotResolved = -105;
constexpr int kDisconnected = -106;
constexpr int kAddressUnreachable = -109;
constexpr int kNetworkAccessDenied = -138;
constexpr int kTunnelFailed = -111;
constexpr int kProxyConnectionFailed = -130;
constexpr int kRefused = -102;
constexpr int kConnectionTimedOut = -118;
constexpr int kReset = -101;

const QString kProxy = QStringLiteral("192.0.2.8:8080");

LoadFailure engine(int code) {
    return *LoadFailure::fromEngine(browser::LoadEnd::Failed, browser::LoadErrorDomain::Connection,
                                    code);
}

} // namespace

Q_DECLARE_METATYPE(QList<Answered>)

class FailureBlameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judge_data() {
        QTest::addColumn<QList<Answered>>("answers");
        QTest::addColumn<QString>("host");
        QTest::addColumn<LoadFailure>("failure");
        QTest::addColumn<QString>("proxy");
        QTest::addColumn<LoadFailureKind>("told");

        using K = LoadFailureKind;
        const QString site = QStringLiteral("dic.yahoo.co.jp");
        const QString other = QStringLiteral("www.weblio.jp");
        const qint64 recent = FailureBlame::kRecentMs;
        const auto row = [](const char* name, QList<Answered> answers, QString host,
                            LoadFailure failure, QString proxy, K told) {
            QTest::newRow(name) << answers << host << failure << proxy << told;
        };

        // A name that does not resolve.
        row("unresolved while another host answered a moment ago: the site", {{other, 1000}}, site,
            engine(kNameNotResolved), QString(), K::NameNotResolved);
        row("unresolved, the other answer just inside the recent time", {{other, recent}}, site,
            engine(kNameNotResolved), QString(), K::NameNotResolved);
        row("unresolved, the other answer just too old: the network", {{other, recent + 1}}, site,
            engine(kNameNotResolved), QString(), K::NoNetwork);
        row("unresolved with nothing answered yet: the network", {}, site, engine(kNameNotResolved),
            QString(), K::NoNetwork);
        row("only the failing host itself answered lately: the network", {{site, 1000}}, site,
            engine(kNameNotResolved), QString(), K::NoNetwork);
        row("host names compared without case", {{QStringLiteral("DIC.Yahoo.co.jp"), 1000}}, site,
            engine(kNameNotResolved), QString(), K::NoNetwork);

        // The network itself.
        row("disconnected, whoever answered", {{other, 1000}}, site, engine(kDisconnected),
            QString(), K::NoNetwork);
        row("no route to the address", {{other, 1000}}, site, engine(kAddressUnreachable),
            QString(), K::NoNetwork);
        row("network access denied", {{other, 1000}}, site, engine(kNetworkAccessDenied), QString(),
            K::NoNetwork);

        // Without a proxy, one site's connection troubles are the site's.
        row("refused without a proxy", {}, site, engine(kRefused), QString(), K::ConnectionRefused);
        row("timed out without a proxy", {}, site, engine(kConnectionTimedOut), QString(),
            K::TimedOut);
        row("reset without a proxy", {}, site, engine(kReset), QString(), K::ConnectionReset);

        // With a proxy.
        row("proxy unreachable, though others answered", {{other, 1000}}, site,
            engine(kProxyConnectionFailed), kProxy, K::Proxy);
        row("refused with a proxy: the proxy refused", {{other, 1000}}, site, engine(kRefused),
            kProxy, K::Proxy);
        row("connection timed out with a proxy: the proxy", {}, site, engine(kConnectionTimedOut),
            kProxy, K::Proxy);
        row("the program's own time limit with a proxy: the site is slow", {}, site,
            LoadFailure::timedOut(), kProxy, K::TimedOut);
        row("refused at a loopback address passes by the proxy", {}, QStringLiteral("127.0.0.1"),
            engine(kRefused), kProxy, K::ConnectionRefused);
        row("tunnel refused for one site while others got through: the site", {{other, 1000}}, site,
            engine(kTunnelFailed), kProxy, K::ConnectionRefused);
        row("tunnel refused and nobody got through: the proxy", {}, site, engine(kTunnelFailed),
            kProxy, K::Proxy);
    }

    void judge() {
        QFETCH(QList<Answered>, answers);
        QFETCH(QString, host);
        QFETCH(LoadFailure, failure);
        QFETCH(QString, proxy);
        QFETCH(LoadFailureKind, told);

        qint64 now = 1'000'000'000;
        FailureBlame blame([&] { return now; });
        // Oldest first, as they came.
        std::sort(answers.begin(), answers.end(),
                  [](const Answered& a, const Answered& b) { return a.before > b.before; });
        const qint64 failedAt = now;
        for (const Answered& a : answers) {
            now = failedAt - a.before;
            blame.answered(a.host);
        }
        now = failedAt;
        const LoadFailure judged = blame.judge(host, failure, proxy);
        QCOMPARE(int(judged.kind), int(told));
        QCOMPARE(judged.code, failure.code);
        // The page names the proxy it blames, and only then.
        QCOMPARE(judged.proxy, told == LoadFailureKind::Proxy ? proxy : QString());
    }

    // What failures themselves tell of the way to a host.
    void failuresThatShowTheNetworkWorks_data() {
        QTest::addColumn<LoadFailure>("earlier");
        QTest::addColumn<QString>("proxy");
        QTest::addColumn<bool>("networkWorks");
        QTest::newRow("a refused connection: the name resolved")
            << engine(kRefused) << QString() << true;
        QTest::newRow("an error status: a server answered")
            << LoadFailure{LoadFailureKind::HttpStatus, 502} << kProxy << true;
        QTest::newRow("a reset straight from the site") << engine(kReset) << QString() << true;
        QTest::newRow("a reset through a proxy may be the proxy's")
            << engine(kReset) << kProxy << false;
        QTest::newRow("an unresolved name") << engine(kNameNotResolved) << QString() << false;
        QTest::newRow("a time-out") << engine(kConnectionTimedOut) << QString() << false;
    }

    void failuresThatShowTheNetworkWorks() {
        QFETCH(LoadFailure, earlier);
        QFETCH(QString, proxy);
        QFETCH(bool, networkWorks);
        qint64 now = 0;
        FailureBlame blame([&] { return now; });
        blame.judge(QStringLiteral("www.weblio.jp"), earlier, proxy);
        now += 1000;
        const LoadFailure judged =
            blame.judge(QStringLiteral("dic.yahoo.co.jp"), engine(kNameNotResolved), QString());
        QCOMPARE(judged.kind == LoadFailureKind::NameNotResolved, networkWorks);
    }
};

QTEST_APPLESS_MAIN(FailureBlameTest)
#include "FailureBlameTest.moc"
