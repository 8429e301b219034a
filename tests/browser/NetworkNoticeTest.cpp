#include "browser/NetworkNotice.h"

#include <QTest>

using browser::LoadFailure;
using browser::LoadFailureKind;
using browser::NetworkNotice;

class NetworkNoticeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A run of events, each "o" (offline), "p" (proxy down), "s" (one site down) or "l" (a
    // page loaded), and which of them put words in the status bar.
    void saidOncePerSpell_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("said");
        QTest::newRow("every copy offline: said once") << "oooo"
                                                       << "o...";
        QTest::newRow("said again after a page loaded") << "oolo"
                                                        << "o..o";
        QTest::newRow("a single site's failure says nothing") << "ssss"
                                                              << "....";
        QTest::newRow("a site's failure between keeps the spell") << "oso"
                                                                  << "o..";
        QTest::newRow("proxy, then no network at all: each is news") << "ppoo"
                                                                     << "p.o.";
        QTest::newRow("back and forth between the two") << "pop"
                                                        << "pop";
    }

    void saidOncePerSpell() {
        QFETCH(QString, events);
        QFETCH(QString, said);
        NetworkNotice notice;
        QString got;
        for (const QChar e : events) {
            if (e == u'l') {
                notice.loaded();
                got += u'.';
                continue;
            }
            const LoadFailure failure{e == u'o'   ? LoadFailureKind::NoNetwork
                                      : e == u'p' ? LoadFailureKind::Proxy
                                                  : LoadFailureKind::ConnectionRefused,
                                      -1};
            const std::optional<QString> text = notice.failed(failure);
            got += text ? e : u'.';
            if (text && e == u'o')
                QVERIFY(text->contains(QStringLiteral("ネットワーク")));
            if (text && e == u'p')
                QVERIFY(text->contains(QStringLiteral("プロキシ")));
        }
        QCOMPARE(got, said);
    }
};

QTEST_APPLESS_MAIN(NetworkNoticeTest)
#include "NetworkNoticeTest.moc"
