#include "browser/LoadFailure.h"

#include <QSet>
#include <QTest>

using browser::LoadEnd;
using browser::LoadErrorDomain;
using browser::LoadFailure;
using browser::LoadFailureKind;

Q_DECLARE_METATYPE(LoadEnd)
Q_DECLARE_METATYPE(LoadErrorDomain)
Q_DECLARE_METATYPE(std::optional<LoadFailure>)

namespace {

std::optional<LoadFailure> failure(LoadFailureKind kind, int code) {
    return LoadFailure{kind, code};
}

} // namespace

class LoadFailureTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The reports in the first rows are what Qt WebEngine 6.4 delivered against a local
    // server failing in each way (error pages off, as the program runs the engine).
    void fromEngine_data() {
        QTest::addColumn<LoadEnd>("end");
        QTest::addColumn<LoadErrorDomain>("domain");
        QTest::addColumn<int>("code");
        QTest::addColumn<std::optional<LoadFailure>>("expected");
        QTest::addColumn<bool>("everySite");

        using D = LoadErrorDomain;
        using K = LoadFailureKind;
        const auto row = [](const char* name, LoadEnd end, D domain, int code,
                            std::optional<LoadFailure> expected, bool everySite = false) {
            QTest::newRow(name) << end << domain << code << expected << everySite;
        };
        // Seen from the engine.
        row("page loaded: the status comes along", LoadEnd::Succeeded, D::HttpStatusCode, 200,
            std::nullopt);
        row("404, empty or the site's own page", LoadEnd::Failed, D::HttpStatusCode, 404,
            failure(K::HttpStatus, 404));
        row("500 with an empty body", LoadEnd::Failed, D::HttpStatusCode, 500,
            failure(K::HttpStatus, 500));
        row("connection refused", LoadEnd::Failed, D::Connection, -102,
            failure(K::ConnectionRefused, -102));
        row("connection reset", LoadEnd::Failed, D::Connection, -101,
            failure(K::ConnectionReset, -101));
        row("closed without an answer", LoadEnd::Failed, D::Http, -324,
            failure(K::ConnectionReset, -324));
        row("host name unknown", LoadEnd::Failed, D::Connection, -105,
            failure(K::NameNotResolved, -105));
        row("TLS handshake with a server that speaks none", LoadEnd::Failed, D::Connection, -107,
            failure(K::SecureConnection, -107));
        row("stopped: by the user or the program, a refused navigation, no content, a download",
            LoadEnd::Stopped, D::Internal, -3, std::nullopt);
        row("load started", LoadEnd::Started, D::None, 0, std::nullopt);
        // The rest of the engine's vocabulary.
        row("aborted but reported as failed", LoadEnd::Failed, D::Internal, -3, std::nullopt);
        row("resolver failure", LoadEnd::Failed, D::Dns, -802, failure(K::NameNotResolved, -802));
        row("name resolution failed", LoadEnd::Failed, D::Connection, -137,
            failure(K::NameNotResolved, -137));
        row("resolver timed out is a time-out", LoadEnd::Failed, D::Dns, -803,
            failure(K::TimedOut, -803));
        row("connection timed out", LoadEnd::Failed, D::Connection, -118,
            failure(K::TimedOut, -118));
        row("timed out", LoadEnd::Failed, D::Internal, -7, failure(K::TimedOut, -7));
        row("connection failed", LoadEnd::Failed, D::Connection, -104,
            failure(K::ConnectionRefused, -104));
        row("connection closed", LoadEnd::Failed, D::Connection, -100,
            failure(K::ConnectionReset, -100));
        row("certificate of an unknown authority", LoadEnd::Failed, D::Certificate, -202,
            failure(K::SecureConnection, -202));
        row("certificate expired", LoadEnd::Failed, D::Certificate, -201,
            failure(K::SecureConnection, -201));
        row("cipher mismatch", LoadEnd::Failed, D::Connection, -113,
            failure(K::SecureConnection, -113));
        row("offline", LoadEnd::Failed, D::Connection, -106, failure(K::NoNetwork, -106), true);
        row("no route", LoadEnd::Failed, D::Connection, -109, failure(K::NoNetwork, -109), true);
        row("proxy unreachable", LoadEnd::Failed, D::Connection, -130, failure(K::Proxy, -130),
            true);
        row("tunnel refused by the proxy", LoadEnd::Failed, D::Connection, -111,
            failure(K::Proxy, -111), true);
        row("unknown scheme", LoadEnd::Failed, D::Http, -302, failure(K::Other, -302));
        row("too many redirects", LoadEnd::Failed, D::Http, -310, failure(K::Other, -310));
        row("failure without a code", LoadEnd::Failed, D::None, 0, failure(K::Other, 0));
        row("403 refused", LoadEnd::Failed, D::HttpStatusCode, 403, failure(K::HttpStatus, 403));
        row("redirect status that failed", LoadEnd::Failed, D::HttpStatusCode, 302,
            failure(K::Other, 302));
    }

    void fromEngine() {
        QFETCH(LoadEnd, end);
        QFETCH(LoadErrorDomain, domain);
        QFETCH(int, code);
        QFETCH(std::optional<LoadFailure>, expected);
        QFETCH(bool, everySite);

        const std::optional<LoadFailure> got = LoadFailure::fromEngine(end, domain, code);
        QCOMPARE(got.has_value(), expected.has_value());
        if (!got)
            return;
        QCOMPARE(int(got->kind), int(expected->kind));
        QCOMPARE(got->code, expected->code);
        QCOMPARE(got->concernsEverySite(), everySite);
    }

    // Each kind tells the user something of its own, in Japanese.
    void everyKindHasItsOwnWords() {
        QSet<QString> headings;
        QSet<QString> descriptions;
        const LoadFailureKind kinds[] = {LoadFailureKind::NameNotResolved,
                                         LoadFailureKind::ConnectionRefused,
                                         LoadFailureKind::ConnectionReset,
                                         LoadFailureKind::SecureConnection,
                                         LoadFailureKind::TimedOut,
                                         LoadFailureKind::HttpStatus,
                                         LoadFailureKind::NoNetwork,
                                         LoadFailureKind::Proxy,
                                         LoadFailureKind::Other};
        for (const LoadFailureKind kind : kinds) {
            const LoadFailure f{kind, kind == LoadFailureKind::HttpStatus ? 404 : -2};
            headings.insert(f.heading());
            descriptions.insert(f.description());
            QVERIFY2(f.description().contains(u'。'), qPrintable(f.description()));
        }
        QCOMPARE(headings.size(), int(std::size(kinds)));
        QCOMPARE(descriptions.size(), int(std::size(kinds)));
    }

    void httpStatusIsNamedWithItsMeaning_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("404") << 404 << QStringLiteral("ページが見つかりません");
        QTest::newRow("410") << 410 << QStringLiteral("ページは削除されました");
        QTest::newRow("500") << 500 << QStringLiteral("サーバー内部のエラー");
        QTest::newRow("503") << 503 << QStringLiteral("サービスが一時的に利用できません");
        QTest::newRow("599, unnamed server error") << 599 << QStringLiteral("サーバーのエラー");
        QTest::newRow("418, unnamed request error")
            << 418 << QStringLiteral("要求を受け付けられません");
    }

    void httpStatusIsNamedWithItsMeaning() {
        QFETCH(int, status);
        QFETCH(QString, meaning);
        const LoadFailure f{LoadFailureKind::HttpStatus, status};
        QVERIFY2(f.description().contains(meaning), qPrintable(f.description()));
        QVERIFY2(f.description().contains(QString::number(status)), qPrintable(f.description()));
        QCOMPARE(f.technicalDetail(), QStringLiteral("HTTP %1").arg(status));
    }

    void technicalDetail() {
        QCOMPARE((LoadFailure{LoadFailureKind::NameNotResolved, -105}).technicalDetail(),
                 QStringLiteral("エラー -105"));
        QVERIFY(LoadFailure::timedOut().technicalDetail().isEmpty());
        QCOMPARE(int(LoadFailure::timedOut().kind), int(LoadFailureKind::TimedOut));
    }
};

QTEST_APPLESS_MAIN(LoadFailureTest)
#include "LoadFailureTest.moc"
