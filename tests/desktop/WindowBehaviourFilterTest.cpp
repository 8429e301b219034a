#include "desktop/WindowBehaviourFilter.h"

#include "support/FakeNotificationArea.h"
#include "desktop/ProgramIcons.h"
#include "desktop/SystemTrayIcon.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

using desktop::WindowBehaviourFilter;

class WindowBehaviourFilterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closeCommand_data();
    void closeCommand();
    void quitEndsTheWindowWhateverTheOption();
    void deactivationMinimises_data();
    void deactivationMinimises();
    void minimiseAtStart_data();
    void minimiseAtStart();
    void trayPictureFollowsPause();
    void trayClickAsksForTheWindow();
    void iconsAreDrawnAtEverySize_data();
    void iconsAreDrawnAtEverySize();
};

void WindowBehaviourFilterTest::closeCommand_data() {
    QTest::addColumn<bool>("closeButtonMinimises");
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("option off closes") << false << true << false;
    QTest::newRow("option on minimises") << true << true << true;
    QTest::newRow("option on without a tray closes") << true << false << false;
}

void WindowBehaviourFilterTest::closeCommand() {
    QFETCH(bool, closeButtonMinimises);
    QFETCH(bool, trayAvailable);
    QFETCH(bool, staysOpen);
    QWidget window;
    FakeNotificationArea tray;
    tray.available = trayAvailable;
    WindowBehaviourFilter filter(window, tray);
    filter.setCloseButtonMinimises(closeButtonMinimises);
    QSignalSpy minimisedInstead(&filter, &WindowBehaviourFilter::closeTurnedIntoMinimise);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The close button, Alt+F4 and the window menu's close all reach the window as this event.
    QCOMPARE(window.close(), !staysOpen);
    QCOMPARE(window.isVisible(), staysOpen);
    QCOMPARE(minimisedInstead.size(), staysOpen ? 1 : 0);
    if (staysOpen)
        QTRY_VERIFY_WITH_TIMEOUT(window.isMinimized(), 2000);
}

void WindowBehaviourFilterTest::quitEndsTheWindowWhateverTheOption() {
    QWidget window;
    FakeNotificationArea tray;
    WindowBehaviourFilter filter(window, tray);
    filter.setCloseButtonMinimises(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    filter.quit();
    QVERIFY(!window.isVisible());
    QVERIFY(filter.isQuitting());
}

void WindowBehaviourFilterTest::deactivationMinimises_data() {
    QTest::addColumn<bool>("option");
    QTest::addColumn<Qt::ApplicationState>("state");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("another application active") << true << Qt::ApplicationInactive << true;
    QTest::newRow("option off") << false << Qt::ApplicationInactive << false;
    QTest::newRow("becoming active") << true << Qt::ApplicationActive << false;
}

void WindowBehaviourFilterTest::deactivationMinimises() {
    QFETCH(bool, option);
    QFETCH(Qt::ApplicationState, state);
    QFETCH(bool, minimised);
    QWidget window;
    FakeNotificationArea tray;
    WindowBehaviourFilter filter(window, tray);
    filter.setMinimiseWhenInactive(option);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    filter.applicationStateChanged(state);
    if (minimised) {
        QTRY_VERIFY_WITH_TIMEOUT(window.isMinimized(), 2000);
    } else {
        QCoreApplication::processEvents();
        QVERIFY(!window.isMinimized());
    }
    QVERIFY(window.isVisible());
}

void WindowBehaviourFilterTest::minimiseAtStart_data() {
    QTest::addColumn<bool>("stored");
    QTest::newRow("stored on") << true;
    QTest::newRow("stored off") << false;
}

void WindowBehaviourFilterTest::minimiseAtStart() {
    QFETCH(bool, stored);
    QWidget window;
    FakeNotificationArea tray;
    WindowBehaviourFilter filter(window, tray);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    filter.applyMinimiseAtStart(stored);
    // Minimised once it returns: the minimise has taken effect.
    QCOMPARE(window.isMinimized(), stored);
}

void WindowBehaviourFilterTest::trayPictureFollowsPause() {
    desktop::SystemTrayIcon tray;
    auto* icon = tray.findChild<QSystemTrayIcon*>(QStringLiteral("TrayIcon1"));
    QVERIFY(icon);
    const qint64 running = icon->icon().cacheKey();
    tray.setPaused(true);
    QCOMPARE(icon->icon().cacheKey(), desktop::ProgramIcons::icon(true).cacheKey());
    QVERIFY(icon->icon().cacheKey() != running);
    QVERIFY(tray.toolTip().contains(QStringLiteral("休止")));
    tray.setPaused(false);
    QCOMPARE(icon->icon().cacheKey(), running);
    QVERIFY(!tray.toolTip().contains(QStringLiteral("休止")));
}

void WindowBehaviourFilterTest::trayClickAsksForTheWindow() {
    desktop::SystemTrayIcon tray;
    auto* icon = tray.findChild<QSystemTrayIcon*>(QStringLiteral("TrayIcon1"));
    QSignalSpy clicks(&tray, &desktop::NotificationArea::clicked);
    Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
    Q_EMIT icon->activated(QSystemTrayIcon::Context); // the menu opens; nothing else
    QCOMPARE(clicks.size(), 1);
}

void WindowBehaviourFilterTest::iconsAreDrawnAtEverySize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

// Sharp at every size: each picture is drawn at the size asked for, not scaled from another,
// and the paused one can be told from the running one.
void WindowBehaviourFilterTest::iconsAreDrawnAtEverySize() {
    QFETCH(int, size);
    const QImage running = desktop::ProgramIcons::icon(false).pixmap(size, size).toImage();
    const QImage paused = desktop::ProgramIcons::icon(true).pixmap(size, size).toImage();
    QCOMPARE(running.size(), QSize(size, size));
    QCOMPARE(paused.size(), QSize(size, size));
    QVERIFY(running != paused);
    // The drawing made for this size, from the file that fits it.
    const QString file = size == 16 ? desktop::ProgramIcons::smallResourcePath(false)
                                    : desktop::ProgramIcons::resourcePath(false);
    QSvgRenderer renderer(file);
    QVERIFY(renderer.isValid());
    QImage expected(size, size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    QPainter painter(&expected);
    renderer.render(&painter);
    painter.end();
    QCOMPARE(running.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);
}

QTEST_MAIN(WindowBehaviourFilterTest)
#include "WindowBehaviourFilterTest.moc"
