#include "browser/ProxyOptionFollower.h"

#include "settings/OptionsStore.h"
#include "support/FakeProxyControl.h"

#include <QSignalSpy>
#include <QTest>

using browser::ProxyOptionFollower;

class ProxyOptionFollowerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A choice as the dialog and the settings file hold it, put in force.
    void applyPutsTheChoiceInForce_data() {
        QTest::addColumn<bool>("useProxy");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<bool>("refused");

        QTest::newRow("proxy") << true << "10.0.0.1:8080" << QStringList{"10.0.0.1:8080"} << false;
        QTest::newRow("proxy as typed with scheme")
            << true << " http://10.0.0.1:8080/" << QStringList{"10.0.0.1:8080"} << false;
        QTest::newRow("no proxy keeps the address aside")
            << false << "10.0.0.1:8080" << QStringList{"none"} << false;
        QTest::newRow("proxy with a blank address is none")
            << true << "  " << QStringList{"none"} << false;
        QTest::newRow("no proxy with a bad address is none")
            << false << "*.*.*.*:8080" << QStringList{"none"} << false;
        QTest::newRow("a bad address changes nothing")
            << true << "*.*.*.*:8080" << QStringList{} << true;
    }

    void applyPutsTheChoiceInForce() {
        QFETCH(bool, useProxy);
        QFETCH(QString, address);
        QFETCH(QStringList, routes);
        QFETCH(bool, refused);
        FakeProxyControl control;
        const QString error = control.apply(useProxy, address);
        QCOMPARE(control.routes, routes);
        QCOMPARE(!error.isEmpty(), refused);
    }

    // Steps: "on ADDRESS" and "off ADDRESS" (the proxy choice and address set together, as the
    // dialog's OK does), "read on ADDRESS" (every option replaced, as the settings file's
    // reader does), "other" (an unrelated option changes). The routes put in force and the
    // number of refusals follow.
    void routeFollowsTheOptions_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<int>("refusals");

        const auto row = [](const char* name, const QStringList& steps, const QStringList& routes,
                            int refusals) { QTest::newRow(name) << steps << routes << refusals; };
        row("nothing before the options name a proxy", {"other"}, {}, 0);
        row("a file that says OFF touches nothing", {"read off 10.0.0.1:8080"}, {}, 0);
        row("a file that says ON", {"read on 10.0.0.1:8080"}, {"10.0.0.1:8080"}, 0);
        row("ON, then OFF", {"on 10.0.0.1:8080", "off 10.0.0.1:8080"}, {"10.0.0.1:8080", "none"},
            0);
        row("another proxy", {"on 10.0.0.1:8080", "on 10.0.0.2:3128"},
            {"10.0.0.1:8080", "10.0.0.2:3128"}, 0);
        row("other options leave the route alone", {"on 10.0.0.1:8080", "other", "other"},
            {"10.0.0.1:8080"}, 0);
        row("blanks around the same address change nothing",
            {"on 10.0.0.1:8080", "on  10.0.0.1:8080 "}, {"10.0.0.1:8080"}, 0);
        row("ON with a blank address is none", {"on 10.0.0.1:8080", "on "},
            {"10.0.0.1:8080", "none"}, 0);
        row("a bad address is refused once and changes nothing",
            {"on 10.0.0.1:8080", "on *.*.*.*:8080", "other"}, {"10.0.0.1:8080"}, 1);
        row("after a bad address, a good one", {"read on *.*.*.*:8080", "on 10.0.0.1:8080"},
            {"10.0.0.1:8080"}, 1);
        row("after a bad address, OFF", {"read on *.*.*.*:8080", "off *.*.*.*:8080"}, {"none"}, 1);
    }

    void routeFollowsTheOptions() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, routes);
        QFETCH(int, refusals);
        settings::OptionsStore store;
        FakeProxyControl control;
        ProxyOptionFollower follower(store, control);
        QSignalSpy refused(&follower, &ProxyOptionFollower::refused);
        for (const QString& step : steps) {
            if (step == QLatin1String("other")) {
                store.setSwitch(&settings::Options::newTabPerSearch,
                                !store.options().newTabPerSearch);
                continue;
            }
            const bool read = step.startsWith(QLatin1String("read "));
            const QString rest = read ? step.mid(5) : step;
            const quint8 choice = rest.startsWith(QLatin1String("on ")) ? 0 : 1;
            const QString address = rest.mid(rest.indexOf(QLatin1Char(' ')) + 1);
            if (read) {
                settings::Options options = store.options();
                options.proxyChoice = choice;
                options.proxyAddress = address;
                options.showToolbar = !options.showToolbar;
                store.setOptions(options);
            } else {
                store.setProxy(choice, address);
            }
        }
        QCOMPARE(control.routes, routes);
        QCOMPARE(refused.size(), refusals);
    }
};

QTEST_GUILESS_MAIN(ProxyOptionFollowerTest)
#include "ProxyOptionFollowerTest.moc"
