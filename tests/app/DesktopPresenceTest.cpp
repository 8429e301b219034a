#include "app/DesktopPresence.h"

#include "app/menus/CommandRegistry.h"
#include "app/menus/TrayCommands.h"
#include "desktop/HotkeyController.h"
#include "desktop/ProgramIcons.h"
#include "desktop/WindowBehaviourFilter.h"
#include "settings/OptionsStore.h"
#include "support/FakeKeySource.h"
#include "support/FakeNotificationArea.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using desktop::GlobalKey;

namespace {

// Records what the presence asked of the window.
class RecordingHost : public app::DesktopPresenceHost {
public:
    void raiseWindow() override { calls << QStringLiteral("raise"); }
    void restoreWindow() override { calls << QStringLiteral("restore"); }
    void togglePause() override { calls << QStringLiteral("pause"); }
    void showStatus(const QString& text) override { statuses << text; }
    QStringList calls;
    QStringList statuses;
};

// The window and everything the presence lives with.
struct Fixture {
    Fixture() {
        bringForward = commands.make(app::Command::BringForwardOnCopy, &window);
        bringForward->setCheckable(true);
        bringForward->setChecked(true);
        presence = new app::DesktopPresence(window, host, options, keys, tray, commands);
        window.show();
    }
    ~Fixture() { delete presence; }
    QAction* trayEntry(const char* name) const {
        for (QAction* action : presence->trayMenu()->actions())
            if (action->objectName() == QLatin1String(name))
                return action;
        return nullptr;
    }
    void setSwitch(bool settings::Options::*member, bool on) { options.setSwitch(member, on); }

    QMainWindow window;
    RecordingHost host;
    settings::OptionsStore options;
    FakeKeySource keys;
    FakeNotificationArea tray;
    app::CommandRegistry commands;
    QAction* bringForward = nullptr;
    app::DesktopPresence* presence = nullptr;
};

} // namespace

class DesktopPresenceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void trayIsShownWithItsMenu();
    void trayMenuEntries_data();
    void trayMenuEntries();
    void trayMenuMinimises();
    void trayCloseEndsTheWindowWithCloseToTrayOn();
    void closeButtonFollowsTheOptionAndTheTray_data();
    void closeButtonFollowsTheOptionAndTheTray();
    void deactivationMinimisesWhenTheOptionIsOn();
    void keysFollowTheirOptions();
    void pictureFollowsPause();
    void unavailableKeysAreSaidOnceInTheStatusBar();
    void stoppedPresenceCallsNothing();
};

void DesktopPresenceTest::trayIsShownWithItsMenu() {
    Fixture f;
    QVERIFY(f.tray.shown);
    QCOMPARE(f.tray.menu, f.presence->trayMenu());
    QStringList names;
    for (QAction* action : f.presence->trayMenu()->actions())
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(names, (QStringList{"MOTO_NI_MODOSHU", "-", "N43", "N40", "-", "N41", "Lexorra23"}));
}

void DesktopPresenceTest::trayMenuEntries_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("restore") << "MOTO_NI_MODOSHU" << QStringList{"restore"};
    QTest::newRow("pause") << "N40" << QStringList{"pause"};
    QTest::newRow("bring forward on copy changes the option only") << "N43" << QStringList{};
    QTest::newRow("tray click") << QString() << QStringList{"raise"};
}

void DesktopPresenceTest::trayMenuEntries() {
    QFETCH(QString, entry);
    QFETCH(QStringList, calls);
    Fixture f;
    if (entry.isEmpty())
        Q_EMIT f.tray.clicked();
    else
        f.trayEntry(entry.toLatin1().constData())->trigger();
    QCOMPARE(f.host.calls, calls);
    QCOMPARE(f.bringForward->isChecked(), entry != QLatin1String("N43"));
}

void DesktopPresenceTest::trayMenuMinimises() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.trayEntry("N41")->trigger();
    // The minimise has taken effect when the command returns.
    QVERIFY(f.window.isMinimized());
}

void DesktopPresenceTest::trayCloseEndsTheWindowWithCloseToTrayOn() {
    Fixture f;
    f.setSwitch(&settings::Options::closeButtonMinimises, true);
    f.setSwitch(&settings::Options::raiseWithF12, true);
    QVERIFY(f.keys.listening);
    f.trayEntry("Lexorra23")->trigger();
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.window.isMinimized());
    // The keys stopped first: nothing reaches a window that is going away.
    QVERIFY(!f.keys.listening);
    f.keys.press(GlobalKey::F12);
    QCOMPARE(f.host.calls, QStringList{});
}

void DesktopPresenceTest::closeButtonFollowsTheOptionAndTheTray_data() {
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("option off") << false << true << false;
    QTest::newRow("option on") << true << true << true;
    QTest::newRow("option on, no tray to end from") << true << false << false;
}

void DesktopPresenceTest::closeButtonFollowsTheOptionAndTheTray() {
    QFETCH(bool, option);
    QFETCH(bool, trayAvailable);
    QFETCH(bool, staysOpen);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.tray.available = trayAvailable;
    f.setSwitch(&settings::Options::closeButtonMinimises, option);
    QCOMPARE(f.window.close(), !staysOpen);
    QCOMPARE(f.window.isVisible(), staysOpen);
    if (staysOpen)
        QTRY_VERIFY_WITH_TIMEOUT(f.window.isMinimized(), 2000);
    // Turned off again: the close button closes.
    f.setSwitch(&settings::Options::closeButtonMinimises, false);
    QVERIFY(f.window.close());
}

void DesktopPresenceTest::deactivationMinimisesWhenTheOptionIsOn() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.presence->behaviour()->applicationStateChanged(Qt::ApplicationInactive);
    QCoreApplication::processEvents();
    QVERIFY(!f.window.isMinimized());
    f.setSwitch(&settings::Options::minimiseWhenInactive, true);
    f.presence->behaviour()->applicationStateChanged(Qt::ApplicationInactive);
    QTRY_VERIFY_WITH_TIMEOUT(f.window.isMinimized(), 2000);
}

void DesktopPresenceTest::keysFollowTheirOptions() {
    Fixture f;
    QVERIFY(!f.keys.listening);
    f.keys.press(GlobalKey::F12);
    f.keys.release(GlobalKey::F12);
    QCOMPARE(f.host.calls, QStringList{});
    f.setSwitch(&settings::Options::raiseWithF12, true);
    f.setSwitch(&settings::Options::pauseWithEnd, true);
    QVERIFY(f.keys.listening);
    f.keys.press(GlobalKey::F12);
    f.keys.press(GlobalKey::End);
    f.keys.release(GlobalKey::F12);
    f.keys.release(GlobalKey::End);
    QCOMPARE(f.host.calls, (QStringList{"raise", "pause"}));
    f.setSwitch(&settings::Options::raiseWithF12, false);
    f.setSwitch(&settings::Options::pauseWithEnd, false);
    QVERIFY(!f.keys.listening);
}

void DesktopPresenceTest::pictureFollowsPause() {
    Fixture f;
    const qint64 running = desktop::ProgramIcons::icon(false).cacheKey();
    const qint64 paused = desktop::ProgramIcons::icon(true).cacheKey();
    QCOMPARE(f.window.windowIcon().cacheKey(), running);
    f.presence->setPaused(true);
    QVERIFY(f.tray.paused);
    QCOMPARE(f.window.windowIcon().cacheKey(), paused);
    f.presence->setPaused(false);
    QVERIFY(!f.tray.paused);
    QCOMPARE(f.window.windowIcon().cacheKey(), running);
}

void DesktopPresenceTest::unavailableKeysAreSaidOnceInTheStatusBar() {
    Fixture f;
    f.keys.reason = QStringLiteral("no X11 here");
    f.setSwitch(&settings::Options::raiseWithF12, true);
    f.setSwitch(&settings::Options::pauseWithEnd, true);
    QCOMPARE(f.host.statuses, QStringList{"no X11 here"});
}

void DesktopPresenceTest::stoppedPresenceCallsNothing() {
    Fixture f;
    f.setSwitch(&settings::Options::pauseWithEnd, true);
    f.keys.press(GlobalKey::End);
    f.presence->stop();
    // No repeat is due any more, and nothing already waiting in the event loop calls.
    QVERIFY(!f.presence->hotkeys()->isRepeating());
    QCoreApplication::processEvents();
    f.keys.release(GlobalKey::End);
    f.keys.press(GlobalKey::End);
    QCOMPARE(f.host.calls, QStringList{"pause"});
}

QTEST_MAIN(DesktopPresenceTest)
#include "DesktopPresenceTest.moc"
