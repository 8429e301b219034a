#include "desktop/HotkeyController.h"

#include "support/FakeKeySource.h"
#include "support/ManualTimers.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using desktop::GlobalKey;
using desktop::HotkeyController;

class HotkeyControllerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pressRunsTheKeysStepAtOnce_data();
    void pressRunsTheKeysStepAtOnce();
    void listensOnlyWhileAnOptionIsOn();
    void heldKeyRepeatsOnTheTimerAndStopsOnRelease();
    void timerWakesForTheNextStep_data();
    void timerWakesForTheNextStep();
    void releaseNotYetReadStopsTheRepeat();
    void noTimerRunsWhileNoKeyIsHeld();
    void unavailableKeysAreToldOnceAndOnlyWhenWanted();
    void sourceFailureIsToldAndEndsTheRepeat();
    void stopEndsListeningAndEveryStep();
    void stepThatStopsTheControllerRunsNoFurtherStep();
    void stepThatDeletesTheControllerIsSafe();

private:
    qint64 clock_ = 0;
    ManualTimers timers_;
    HotkeyController::Clock clock() {
        return [this] { return clock_; };
    }
    // The controller's repeat timer (the test's controllers make one each, first thing).
    ManualTimers::Timer& repeatTimer() { return timers_.at(timers_.size() - 1); }
    // The repeat timer's time is up at the clock's time ms.
    void tick(qint64 ms) {
        clock_ = ms;
        repeatTimer().fire();
    }
};

void HotkeyControllerTest::pressRunsTheKeysStepAtOnce_data() {
    QTest::addColumn<bool>("f12On");
    QTest::addColumn<bool>("endOn");
    QTest::addColumn<GlobalKey>("key");
    QTest::addColumn<int>("raises");
    QTest::addColumn<int>("toggles");
    QTest::newRow("F12 raises") << true << false << GlobalKey::F12 << 1 << 0;
    QTest::newRow("END pauses") << false << true << GlobalKey::End << 0 << 1;
    QTest::newRow("F12 with its option off") << false << true << GlobalKey::F12 << 0 << 0;
    QTest::newRow("END with its option off") << true << false << GlobalKey::End << 0 << 0;
}

void HotkeyControllerTest::pressRunsTheKeysStepAtOnce() {
    QFETCH(bool, f12On);
    QFETCH(bool, endOn);
    QFETCH(GlobalKey, key);
    QFETCH(int, raises);
    QFETCH(int, toggles);
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy raised(&controller, &HotkeyController::raiseRequested);
    QSignalSpy toggled(&controller, &HotkeyController::pauseToggleRequested);
    controller.setRaiseWithF12(f12On);
    controller.setPauseWithEnd(endOn);
    source.press(key);
    QCOMPARE(raised.size(), raises);
    QCOMPARE(toggled.size(), toggles);
}

void HotkeyControllerTest::listensOnlyWhileAnOptionIsOn() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QVERIFY(source.listeningCalls.isEmpty());
    controller.setRaiseWithF12(true);
    controller.setPauseWithEnd(true);
    controller.setRaiseWithF12(false);
    QCOMPARE(source.listeningCalls, QList<bool>{true});
    controller.setPauseWithEnd(false);
    QCOMPARE(source.listeningCalls, (QList<bool>{true, false}));
}

void HotkeyControllerTest::heldKeyRepeatsOnTheTimerAndStopsOnRelease() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy toggles(&controller, &HotkeyController::pauseToggleRequested);
    controller.setPauseWithEnd(true);
    clock_ = 1000;
    source.press(GlobalKey::End);
    QCOMPARE(toggles.size(), 1);
    QVERIFY(controller.isRepeating());
    QCOMPARE(repeatTimer().milliseconds(), 100);
    tick(1100);
    QCOMPARE(toggles.size(), 2);
    QVERIFY(controller.isRepeating());
    tick(1200);
    QCOMPARE(toggles.size(), 3);
    source.release(GlobalKey::End);
    QVERIFY(!controller.isRepeating());
    tick(1500);
    QCOMPARE(toggles.size(), 3);
}

// END pressed at 1000 ms; its timer is up at firedAt: whether a step runs then, and how long
// the timer waits for the next one.
void HotkeyControllerTest::timerWakesForTheNextStep_data() {
    QTest::addColumn<qint64>("firedAt");
    QTest::addColumn<int>("toggles");
    QTest::addColumn<int>("nextInMs");
    QTest::newRow("on time") << qint64(1100) << 2 << 100;
    QTest::newRow("a few milliseconds early") << qint64(1097) << 2 << 100;
    QTest::newRow("too early: waits for the rest") << qint64(1040) << 1 << 60;
    QTest::newRow("late: one step, the next a full interval on") << qint64(1450) << 2 << 100;
}

void HotkeyControllerTest::timerWakesForTheNextStep() {
    QFETCH(qint64, firedAt);
    QFETCH(int, toggles);
    QFETCH(int, nextInMs);
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy toggled(&controller, &HotkeyController::pauseToggleRequested);
    controller.setPauseWithEnd(true);
    clock_ = 1000;
    source.press(GlobalKey::End);
    tick(firedAt);
    QCOMPARE(toggled.size(), toggles);
    QVERIFY(repeatTimer().isActive());
    QCOMPARE(repeatTimer().milliseconds(), nextInMs);
}

// A short press on a busy machine: the release has happened but is read only after the
// repeat's time has come. It is read first, and nothing repeats.
void HotkeyControllerTest::releaseNotYetReadStopsTheRepeat() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy toggles(&controller, &HotkeyController::pauseToggleRequested);
    controller.setPauseWithEnd(true);
    clock_ = 1000;
    source.press(GlobalKey::End);
    source.unreadReleases = {GlobalKey::End};
    tick(1100);
    QVERIFY(!controller.isRepeating());
    QCOMPARE(toggles.size(), 1);
    QVERIFY(source.unreadReleases.isEmpty());
}

void HotkeyControllerTest::noTimerRunsWhileNoKeyIsHeld() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    controller.setRaiseWithF12(true);
    controller.setPauseWithEnd(true);
    QVERIFY(!controller.isRepeating());
    source.press(GlobalKey::F12);
    QVERIFY(controller.isRepeating());
    // Both options off: the held key will never be reported released; nothing may go on.
    controller.setRaiseWithF12(false);
    controller.setPauseWithEnd(false);
    QVERIFY(!controller.isRepeating());
}

void HotkeyControllerTest::unavailableKeysAreToldOnceAndOnlyWhenWanted() {
    FakeKeySource source;
    source.reason = QStringLiteral("no X11");
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy told(&controller, &HotkeyController::unavailable);
    QCOMPARE(told.size(), 0); // both options off: nothing to say
    controller.setRaiseWithF12(true);
    QCOMPARE(told.size(), 1);
    QCOMPARE(told.at(0).at(0).toString(), QStringLiteral("no X11"));
    controller.setPauseWithEnd(true);
    controller.setRaiseWithF12(false);
    controller.setPauseWithEnd(false);
    controller.setPauseWithEnd(true);
    QCOMPARE(told.size(), 1);
}

void HotkeyControllerTest::sourceFailureIsToldAndEndsTheRepeat() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy told(&controller, &HotkeyController::unavailable);
    QSignalSpy toggles(&controller, &HotkeyController::pauseToggleRequested);
    controller.setPauseWithEnd(true);
    source.press(GlobalKey::End);
    source.breakDown(QStringLiteral("display gone"));
    QCOMPARE(told.size(), 1);
    QVERIFY(!controller.isRepeating());
    tick(clock_ + 1000);
    QCOMPARE(toggles.size(), 1);
}

void HotkeyControllerTest::stopEndsListeningAndEveryStep() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy raises(&controller, &HotkeyController::raiseRequested);
    controller.setRaiseWithF12(true);
    source.press(GlobalKey::F12);
    QCOMPARE(raises.size(), 1);
    controller.stop();
    QVERIFY(!source.listening);
    QVERIFY(!controller.isRepeating());
    source.release(GlobalKey::F12);
    source.press(GlobalKey::F12);
    controller.setRaiseWithF12(true);
    QVERIFY(!controller.isRepeating());
    tick(clock_ + 1000);
    QCOMPARE(raises.size(), 1);
    QVERIFY(!source.listening);
}

void HotkeyControllerTest::stepThatStopsTheControllerRunsNoFurtherStep() {
    FakeKeySource source;
    HotkeyController controller(source, clock(), timers_.factory());
    QSignalSpy toggles(&controller, &HotkeyController::pauseToggleRequested);
    controller.setRaiseWithF12(true);
    controller.setPauseWithEnd(true);
    source.press(GlobalKey::End);
    source.press(GlobalKey::F12);
    // Both keys are due at the next tick; the raise runs first and ends the program.
    connect(&controller, &HotkeyController::raiseRequested, &controller,
            [&controller] { controller.stop(); });
    tick(clock_ + 100);
    QVERIFY(controller.isStopped());
    QCOMPARE(toggles.size(), 1);
}

void HotkeyControllerTest::stepThatDeletesTheControllerIsSafe() {
    FakeKeySource source;
    QPointer<HotkeyController> controller =
        new HotkeyController(source, clock(), timers_.factory());
    controller->setRaiseWithF12(true);
    controller->setPauseWithEnd(true);
    source.press(GlobalKey::End);
    source.press(GlobalKey::F12);
    connect(controller, &HotkeyController::raiseRequested, controller,
            [&controller] { delete controller.data(); });
    tick(clock_ + 100);
    QVERIFY(controller.isNull());
    // The controller stopped listening as it went.
    QVERIFY(!source.listening);
}

QTEST_GUILESS_MAIN(HotkeyControllerTest)
#include "HotkeyControllerTest.moc"
