// The key watcher against a real X server (the test runs on a virtual display of its own),
// with keys pressed through the XTEST extension by xdotool, as a user's keyboard would.
#include "desktop/X11KeyWatcher.h"

#include "desktop/HotkeyController.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>
#include <xcb/xcb.h>

using desktop::GlobalKey;
using desktop::X11KeyWatcher;
using Mode = X11KeyWatcher::Mode;

Q_DECLARE_METATYPE(Mode)

namespace {

constexpr int kWaitMs = 5000;

bool xdotool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), args);
    return process.waitForFinished(kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// What a watcher reported, as "F12+ F12- End+ ...".
class Recorder : public QObject {
public:
    explicit Recorder(desktop::GlobalKeySource& source) {
        connect(&source, &desktop::GlobalKeySource::keyDown, this,
                [this](GlobalKey key) { log += name(key) + QLatin1Char('+'); });
        connect(&source, &desktop::GlobalKeySource::keyUp, this,
                [this](GlobalKey key) { log += name(key) + QLatin1Char('-'); });
    }
    static QString name(GlobalKey key) {
        return key == GlobalKey::F12 ? QStringLiteral(" F12") : QStringLiteral(" End");
    }
    QString log;
};

// Puts keysym on keycode (NoSymbol = 0 clears it), as a keyboard layout change does.
void mapKeycode(quint8 keycode, quint32 keysym) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_keysym_t syms[] = {keysym};
    xcb_change_keyboard_mapping(c, 1, keycode, 1, syms);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// The X server sends an event to every client that asked for it before it reads its next
// request: once a witness has seen keys, anything sent to another connection is waiting on
// its socket, and a few passes of the event loop deliver it.
void passOverWaitingEvents() {
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
}

} // namespace

class X11KeyWatcherTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void reportsPressAndReleaseOfBothKeys_data();
    void reportsPressAndReleaseOfBothKeys();
    void catchUpReportsAReleaseNotYetRead_data();
    void catchUpReportsAReleaseNotYetRead();
    void otherKeysAreNotReported();
    void nothingIsReportedWhileNotListening();
    void theFocusedWindowStillGetsTheKey();
    void followsAKeyboardMappingChange();
    void withoutX11TheKeysAreUnavailableWithAReason_data();
    void withoutX11TheKeysAreUnavailableWithAReason();
    void stoppedControllerStopsTheWatcher();
    void displayThatGoesAwayIsToldOnceAndNotWatchedAgain();
    void heldEndTogglesUntilItIsReleased();
};

void X11KeyWatcherTest::initTestCase() {
    QVERIFY2(!X11KeyWatcher::applicationDisplay().isEmpty(), "needs an X11 display");
}

void X11KeyWatcherTest::reportsPressAndReleaseOfBothKeys_data() {
    QTest::addColumn<bool>("poll");
    QTest::newRow("raw events") << false;
    QTest::newRow("key map poll") << true;
}

void X11KeyWatcherTest::reportsPressAndReleaseOfBothKeys() {
    QFETCH(bool, poll);
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    QVERIFY(watcher.unavailableReason().isEmpty());
    // Xvfb offers XInput 2: the raw events are the normal way here.
    QCOMPARE(watcher.mode(), Mode::RawEvents);
    if (poll)
        watcher.forceKeymapPoll();
    Recorder recorder(watcher);
    watcher.setListening(true);
    // The poll needs the key down across one of its reads.
    QVERIFY(xdotool({"keydown", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+"), kWaitMs);
    QVERIFY(xdotool({"keyup", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+ F12-"), kWaitMs);
    QVERIFY(xdotool({"keydown", "End"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+ F12- End+"), kWaitMs);
    QVERIFY(xdotool({"keyup", "End"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+ F12- End+ End-"), kWaitMs);
}

void X11KeyWatcherTest::catchUpReportsAReleaseNotYetRead_data() {
    reportsPressAndReleaseOfBothKeys_data();
}

// The release has reached the X server, but the event loop has not run since: catching up
// reports it all the same.
void X11KeyWatcherTest::catchUpReportsAReleaseNotYetRead() {
    QFETCH(bool, poll);
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    if (poll)
        watcher.forceKeymapPoll();
    Recorder recorder(watcher);
    watcher.setListening(true);
    QVERIFY(xdotool({"keydown", "End"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" End+"), kWaitMs);
    QVERIFY(xdotool({"keyup", "End"})); // waits for xdotool, not for events
    watcher.catchUp();
    QCOMPARE(recorder.log, QStringLiteral(" End+ End-"));
}

void X11KeyWatcherTest::otherKeysAreNotReported() {
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    Recorder recorder(watcher);
    watcher.setListening(true);
    QVERIFY(xdotool({"key", "a", "Home", "F11", "KP_End", "End"}));
    // The X server delivers in order: once END is seen, the keys before it were passed over.
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" End+ End-"), kWaitMs);
}

void X11KeyWatcherTest::nothingIsReportedWhileNotListening() {
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    Recorder recorder(watcher);
    watcher.setListening(true);
    watcher.setListening(false);
    // A second watcher that listens shows when the X server has delivered the keys.
    X11KeyWatcher witness(X11KeyWatcher::applicationDisplay());
    Recorder seen(witness);
    witness.setListening(true);
    QVERIFY(xdotool({"key", "F12", "End"}));
    QTRY_COMPARE_WITH_TIMEOUT(seen.log, QStringLiteral(" F12+ F12- End+ End-"), kWaitMs);
    passOverWaitingEvents();
    QCOMPARE(recorder.log, QString());
}

// No grab: the application with the focus receives F12 as well.
void X11KeyWatcherTest::theFocusedWindowStillGetsTheKey() {
    class KeyWidget : public QWidget {
    public:
        int f12Presses = 0;

    protected:
        void keyPressEvent(QKeyEvent* event) override {
            if (event->key() == Qt::Key_F12)
                ++f12Presses;
        }
    } widget;
    widget.resize(200, 100);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QVERIFY(xdotool({"windowfocus", "--sync", QString::number(widget.winId())}));
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    Recorder recorder(watcher);
    watcher.setListening(true);
    QVERIFY(xdotool({"key", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+ F12-"), kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(widget.f12Presses, 1, kWaitMs);
}

void X11KeyWatcherTest::followsAKeyboardMappingChange() {
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    Recorder recorder(watcher);
    watcher.setListening(true);
    // F12 moves from its usual keycode to a spare one; xdotool then presses the new one.
    constexpr quint8 kUsualF12 = 96;
    constexpr quint8 kSpare = 200;
    mapKeycode(kUsualF12, 0);
    mapKeycode(kSpare, 0xffc9);
    QVERIFY(xdotool({"key", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+ F12-"), kWaitMs);
    mapKeycode(kSpare, 0);
    mapKeycode(kUsualF12, 0xffc9);
    QVERIFY(xdotool({"key", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.log, QStringLiteral(" F12+ F12- F12+ F12-"), kWaitMs);
}

void X11KeyWatcherTest::withoutX11TheKeysAreUnavailableWithAReason_data() {
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("a Wayland session") << QByteArray() << "wayland"
                                       << "wayland";
    QTest::newRow("no display at all") << QByteArray() << QString() << "X11";
    QTest::newRow("a display that does not answer") << QByteArray(":4711") << QString() << ":4711";
}

void X11KeyWatcherTest::withoutX11TheKeysAreUnavailableWithAReason() {
    QFETCH(QByteArray, display);
    QFETCH(QString, platform);
    QFETCH(QString, mentions);
    X11KeyWatcher watcher(display, platform);
    QCOMPARE(watcher.mode(), Mode::Unavailable);
    QVERIFY2(watcher.unavailableReason().contains(mentions),
             qPrintable(watcher.unavailableReason()));
    watcher.setListening(true); // does nothing, and no harm
    QVERIFY(!watcher.isListening());
}

// The window stops the controller first when it goes: from then on no key reaches it, and
// the watcher asks the X server for nothing more.
void X11KeyWatcherTest::stoppedControllerStopsTheWatcher() {
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    desktop::HotkeyController controller(watcher);
    QSignalSpy raises(&controller, &desktop::HotkeyController::raiseRequested);
    controller.setRaiseWithF12(true);
    QVERIFY(watcher.isListening());
    QVERIFY(xdotool({"key", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(raises.size(), 1, kWaitMs);
    controller.stop();
    QVERIFY(!watcher.isListening());
    X11KeyWatcher witness(X11KeyWatcher::applicationDisplay());
    Recorder seen(witness);
    witness.setListening(true);
    QVERIFY(xdotool({"key", "F12"}));
    QTRY_COMPARE_WITH_TIMEOUT(seen.log, QStringLiteral(" F12+ F12-"), kWaitMs);
    passOverWaitingEvents();
    QCOMPARE(raises.size(), 1);
}

// A display that ends while the watcher listens (the X server stopped): the watcher says why
// once and lets go of the connection, instead of waking on its closed socket forever.
void X11KeyWatcherTest::displayThatGoesAwayIsToldOnceAndNotWatchedAgain() {
    QString display;
    for (int number = 90 + QCoreApplication::applicationPid() % 100; number < 300; ++number) {
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) {
            display = QStringLiteral(":%1").arg(number);
            break;
        }
    }
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {display, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY(server.waitForStarted(kWaitMs));
    std::unique_ptr<X11KeyWatcher> watcher;
    QVERIFY(QTest::qWaitFor(
        [&] {
            watcher = std::make_unique<X11KeyWatcher>(display.toLatin1());
            return watcher->mode() == Mode::RawEvents;
        },
        kWaitMs));
    desktop::HotkeyController controller(*watcher);
    QSignalSpy failed(watcher.get(), &X11KeyWatcher::failed);
    QSignalSpy told(&controller, &desktop::HotkeyController::unavailable);
    controller.setPauseWithEnd(true);
    QVERIFY(watcher->isListening());
    server.terminate();
    QVERIFY(server.waitForFinished(kWaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, kWaitMs);
    QCOMPARE(told.size(), 1);
    QCOMPARE(watcher->mode(), Mode::Unavailable);
    QVERIFY(!watcher->isListening());
    QVERIFY(!watcher->unavailableReason().isEmpty());
    // A socket still watched after its end would be readable at every pass.
    passOverWaitingEvents();
    QCOMPARE(failed.size(), 1);
    controller.setPauseWithEnd(false);
    controller.setPauseWithEnd(true);
    QCOMPARE(told.size(), 1);
}

// Whole chain with the real clock: END held goes on toggling until it is released. How
// often it toggles is the controller's own test, on a clock of its own.
void X11KeyWatcherTest::heldEndTogglesUntilItIsReleased() {
    X11KeyWatcher watcher(X11KeyWatcher::applicationDisplay());
    desktop::HotkeyController controller(watcher);
    QSignalSpy toggles(&controller, &desktop::HotkeyController::pauseToggleRequested);
    controller.setPauseWithEnd(true);
    QVERIFY(xdotool({"keydown", "End"}));
    QTRY_VERIFY_WITH_TIMEOUT(toggles.size() >= 3, 4 * kWaitMs);
    QVERIFY(xdotool({"keyup", "End"}));
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isRepeating(), kWaitMs);
}

QTEST_MAIN(X11KeyWatcherTest)
#include "X11KeyWatcherTest.moc"
