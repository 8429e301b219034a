#include "desktop/PortalKeySource.h"

#include "desktop/SessionKeySource.h"
#include "support/FakeKeySource.h"
#include "support/ManualTimers.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using desktop::GlobalKey;
using desktop::PortalKeySource;
using desktop::PortalShortcuts;

namespace {

const QString kPortalName = QStringLiteral("org.freedesktop.portal.Desktop");
// Only a fault makes a test wait this long.
constexpr int kBoundMs = 20000;

// The fake portal (tests/support/fake_portal.cpp) as a process of the test.
class FakePortal {
public:
    ~FakePortal() { stop(); }

    bool start(const QStringList& arguments) {
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
            while (process_.canReadLine())
                lines_.append(QString::fromUtf8(process_.readLine()).trimmed());
        });
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(FAKE_PORTAL_PATH), arguments);
        return process_.waitForStarted(kBoundMs) && !waitForLine(QStringLiteral("ready")).isNull();
    }

    // The first line printed so far or within the bound that starts with prefix; null if none.
    QString waitForLine(const QString& prefix) {
        QString found;
        const bool seen = QTest::qWaitFor(
            [&] {
                for (const QString& line : std::as_const(lines_)) {
                    if (line.startsWith(prefix)) {
                        found = line;
                        return true;
                    }
                }
                return false;
            },
            kBoundMs);
        return seen ? found : QString();
    }

    // Sends a command and waits until the fake has carried it out.
    void send(const QString& command) {
        process_.write((command + QLatin1Char('\n')).toUtf8());
        QVERIFY(!waitForLine(QStringLiteral("sent ") + command).isNull());
    }

    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel(); // the fake ends at the end of its input
        if (!process_.waitForFinished(kBoundMs))
            process_.kill();
        process_.waitForFinished(kBoundMs);
        // The next fake may own the name only once the bus has let this one's go.
        const bool released = QTest::qWaitFor(
            [] {
                return !QDBusConnection::sessionBus().interface()->isServiceRegistered(kPortalName);
            },
            kBoundMs);
        if (!released)
            qWarning("the fake portal's name is still owned");
    }

private:
    QProcess process_;
    QStringList lines_;
};

// What a key source reported, in order: "down F12", "up End".
class KeyLog {
public:
    explicit KeyLog(desktop::GlobalKeySource& source) {
        QObject::connect(&source, &desktop::GlobalKeySource::keyDown, [this](GlobalKey key) {
            events.append(QStringLiteral("down ") + name(key));
        });
        QObject::connect(&source, &desktop::GlobalKeySource::keyUp, [this](GlobalKey key) {
            events.append(QStringLiteral("up ") + name(key));
        });
    }
    static QString name(GlobalKey key) {
        return key == GlobalKey::F12 ? QStringLiteral("F12") : QStringLiteral("End");
    }
    QStringList events;
};

} // namespace

class PortalKeySourceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void bindsTwoNamedShortcutsSuggestingF12AndEnd();
    void shortcutsOfTheProgramsSessionReachItsKeys_data();
    void shortcutsOfTheProgramsSessionReachItsKeys();
    void stoppingGivesTheKeysBackAndListeningAgainBindsAnew();
    void portalThatCannotServeGivesAReason_data();
    void portalThatCannotServeGivesAReason();
    void sessionSourceUsesThePortalOnceBound();
    void sessionSourceFallsBackToXInputWhenThePortalCannotServe();

private:
    PrivateSessionBus bus_;
};

void PortalKeySourceTest::initTestCase() {
    QVERIFY(bus_.start());
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void PortalKeySourceTest::bindsTwoNamedShortcutsSuggestingF12AndEnd() {
    FakePortal portal;
    QVERIFY(portal.start({}));
    PortalKeySource source(QDBusConnection::sessionBus());
    QSignalSpy bound(&source, &PortalKeySource::bound);
    source.setListening(true);
    QVERIFY(bound.wait(kBoundMs) || bound.count() == 1);
    QCOMPARE(source.state(), PortalShortcuts::Bound);
    QCOMPARE(
        portal.waitForLine(QStringLiteral("bind ")),
        QStringLiteral("bind %1 raise-window=F12,toggle-pause=End").arg(source.sessionHandle()));
    QVERIFY(source.unavailableReason().isEmpty());
}

void PortalKeySourceTest::shortcutsOfTheProgramsSessionReachItsKeys_data() {
    QTest::addColumn<bool>("intruderFirst");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("F12 pressed and released")
        << false << QStringList{"activate raise-window", "deactivate raise-window"}
        << QStringList{"down F12", "up F12"};
    QTest::newRow("END pressed and released")
        << false << QStringList{"activate toggle-pause", "deactivate toggle-pause"}
        << QStringList{"down End", "up End"};
    QTest::newRow("a shortcut of another session is ignored")
        << false << QStringList{"activate-other raise-window", "activate toggle-pause"}
        << QStringList{"down End"};
    QTest::newRow("an unknown shortcut id is ignored")
        << false << QStringList{"activate copy-everything", "activate raise-window"}
        << QStringList{"down F12"};
    QTest::newRow("the same signal from another connection is ignored")
        << true << QStringList{"activate toggle-pause"} << QStringList{"down End"};
}

void PortalKeySourceTest::shortcutsOfTheProgramsSessionReachItsKeys() {
    QFETCH(bool, intruderFirst);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, expected);
    FakePortal portal;
    QVERIFY(portal.start({}));
    PortalKeySource source(QDBusConnection::sessionBus());
    KeyLog log(source);
    QSignalSpy bound(&source, &PortalKeySource::bound);
    source.setListening(true);
    QVERIFY(bound.count() == 1 || bound.wait(kBoundMs));

    if (intruderFirst) {
        // Another program sends what the portal would, with the program's own session.
        QDBusConnection intruder = QDBusConnection::connectToBus(QString::fromUtf8(bus_.address()),
                                                                 QStringLiteral("intruder"));
        QVERIFY(intruder.isConnected());
        QDBusMessage forged = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        forged << QVariant::fromValue(QDBusObjectPath(source.sessionHandle()))
               << QStringLiteral("raise-window") << QVariant::fromValue(qulonglong(1))
               << QVariantMap();
        QVERIFY(intruder.send(forged));
        // A round trip: the bus has passed the forged signal on before the portal's come.
        QVERIFY(intruder.interface()->isServiceRegistered(kPortalName));
        QDBusConnection::disconnectFromBus(QStringLiteral("intruder"));
    }
    for (const QString& command : std::as_const(commands))
        portal.send(command);
    // The portal's signals come in order: once the last expected one is here, an ignored one
    // sent before it would have been reported already.
    QTRY_COMPARE_WITH_TIMEOUT(log.events.size(), expected.size(), kBoundMs);
    QCOMPARE(log.events, expected);
}

void PortalKeySourceTest::stoppingGivesTheKeysBackAndListeningAgainBindsAnew() {
    FakePortal portal;
    QVERIFY(portal.start({}));
    PortalKeySource source(QDBusConnection::sessionBus());
    QSignalSpy bound(&source, &PortalKeySource::bound);
    source.setListening(true);
    QVERIFY(bound.count() == 1 || bound.wait(kBoundMs));
    const QString firstSession = source.sessionHandle();

    source.setListening(false);
    QCOMPARE(portal.waitForLine(QStringLiteral("closed ")),
             QStringLiteral("closed ") + firstSession);
    QCOMPARE(source.state(), PortalShortcuts::NotAsked);

    source.setListening(true);
    QVERIFY(bound.count() == 2 || bound.wait(kBoundMs));
    QVERIFY(source.sessionHandle() != firstSession);
    KeyLog log(source);
    portal.send(QStringLiteral("activate toggle-pause"));
    QTRY_COMPARE_WITH_TIMEOUT(log.events, QStringList{"down End"}, kBoundMs);
}

void PortalKeySourceTest::portalThatCannotServeGivesAReason_data() {
    QTest::addColumn<bool>("portalRuns");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("callTimeoutMs");
    QTest::addColumn<QString>("then"); // what happens after the fake printed "create"
    QTest::addColumn<QString>("reasonPart");
    const int usual = PortalKeySource::kCallTimeoutMs;
    QTest::newRow("no portal on the bus")
        << false << QStringList{} << usual << QString() << QStringLiteral("ありません");
    QTest::newRow("no GlobalShortcuts interface")
        << true << QStringList{"--no-interface"} << usual << QString()
        << QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
    QTest::newRow("version too low") << true << QStringList{"--version", "0"} << usual << QString()
                                     << QStringLiteral("古すぎます");
    QTest::newRow("refuses to bind")
        << true << QStringList{"--refuse"} << usual << QString() << QStringLiteral("断りました");
    QTest::newRow("never replies to a call")
        << true << QStringList{"--no-reply"} << 300 << QString() << QStringLiteral("応答しません");
    QTest::newRow("request never answered")
        << true << QStringList{"--no-response"} << usual << QStringLiteral("time is up")
        << QStringLiteral("答えません");
    QTest::newRow("session closed by the desktop")
        << true << QStringList{} << usual << QStringLiteral("close-session")
        << QStringLiteral("閉じました");
    QTest::newRow("portal ends after binding")
        << true << QStringList{} << usual << QStringLiteral("quit")
        << QStringLiteral("終了しました");
}

void PortalKeySourceTest::portalThatCannotServeGivesAReason() {
    QFETCH(bool, portalRuns);
    QFETCH(QStringList, arguments);
    QFETCH(int, callTimeoutMs);
    QFETCH(QString, then);
    QFETCH(QString, reasonPart);
    FakePortal portal;
    if (portalRuns)
        QVERIFY(portal.start(arguments));
    ManualTimers timers;
    PortalKeySource source(QDBusConnection::sessionBus(), timers.factory(), callTimeoutMs);
    QSignalSpy failed(&source, &desktop::GlobalKeySource::failed);
    source.setListening(true);
    if (then == QLatin1String("time is up")) {
        QVERIFY(!portal.waitForLine(QStringLiteral("create ")).isNull());
        QVERIFY(timers.at(0).isActive());
        timers.at(0).fire();
    } else if (!then.isEmpty()) {
        QVERIFY(!portal.waitForLine(QStringLiteral("bind ")).isNull());
        QTRY_COMPARE_WITH_TIMEOUT(source.state(), PortalShortcuts::Bound, kBoundMs);
        portal.send(then);
    }
    QVERIFY(failed.count() == 1 || failed.wait(kBoundMs));
    QCOMPARE(failed.count(), 1);
    const QString reason = failed.at(0).at(0).toString();
    QVERIFY2(reason.contains(reasonPart), qPrintable(reason));
    QCOMPARE(source.unavailableReason(), reason);
    QCOMPARE(source.state(), PortalShortcuts::Unavailable);
    QVERIFY(!timers.at(0).isActive());
}

void PortalKeySourceTest::sessionSourceUsesThePortalOnceBound() {
    FakePortal portal;
    QVERIFY(portal.start({}));
    auto xinput = std::make_unique<FakeKeySource>();
    FakeKeySource& x = *xinput;
    auto owned = std::make_unique<PortalKeySource>(QDBusConnection::sessionBus());
    PortalKeySource& portalSource = *owned;
    desktop::SessionKeySource keys(true, std::move(xinput), std::move(owned));
    KeyLog log(keys);
    QSignalSpy bound(&portalSource, &PortalKeySource::bound);
    keys.setListening(true);
    // Until the desktop answers the keys are read as before.
    QVERIFY(x.listening);
    QVERIFY(keys.unavailableReason().isEmpty());
    QVERIFY(bound.count() == 1 || bound.wait(kBoundMs));
    QVERIFY(!x.listening);
    portal.send(QStringLiteral("activate raise-window"));
    QTRY_COMPARE_WITH_TIMEOUT(log.events, QStringList{"down F12"}, kBoundMs);
    keys.setListening(false);
    QVERIFY(!portal.waitForLine(QStringLiteral("closed ")).isNull());
    QVERIFY(!x.listening);
}

void PortalKeySourceTest::sessionSourceFallsBackToXInputWhenThePortalCannotServe() {
    FakePortal portal;
    QVERIFY(portal.start({"--refuse"}));
    auto xinput = std::make_unique<FakeKeySource>();
    FakeKeySource& x = *xinput;
    desktop::SessionKeySource keys(
        true, std::move(xinput), std::make_unique<PortalKeySource>(QDBusConnection::sessionBus()));
    KeyLog log(keys);
    QSignalSpy failed(&keys, &desktop::GlobalKeySource::failed);
    keys.setListening(true);
    QVERIFY(failed.count() == 1 || failed.wait(kBoundMs));
    const QString reason = failed.at(0).at(0).toString();
    QVERIFY2(reason.contains(QStringLiteral("断りました")) &&
                 reason.contains(QStringLiteral("lexorra2 --raise")),
             qPrintable(reason));
    QVERIFY(x.listening);
    x.press(GlobalKey::End);
    QCOMPARE(log.events, QStringList{"down End"});
}

QTEST_GUILESS_MAIN(PortalKeySourceTest)
#include "PortalKeySourceTest.moc"
