#include "desktop/WindowBehaviourFilter.h"

#include "desktop/NotificationArea.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

namespace desktop {

WindowBehaviourFilter::WindowBehaviourFilter(QWidget& window, NotificationArea& tray,
                                             QObject* parent)
    : QObject(parent), window_(window), tray_(tray) {
    window_.installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &WindowBehaviourFilter::applicationStateChanged);
}

WindowBehaviour::WindowState WindowBehaviourFilter::windowState() const {
    if (!window_.isVisible())
        return WindowBehaviour::WindowState::Hidden;
    if (window_.isMinimized())
        return WindowBehaviour::WindowState::Minimised;
    if (window_.isMaximized())
        return WindowBehaviour::WindowState::Maximised;
    return WindowBehaviour::WindowState::Normal;
}

bool WindowBehaviourFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close &&
        behaviour_.closeRequested(tray_.isAvailable()) == WindowBehaviour::CloseOutcome::Minimise) {
        event->ignore();
        postMinimise();
        Q_EMIT closeTurnedIntoMinimise();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowBehaviourFilter::applicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationInactive && behaviour_.minimiseOnDeactivation(windowState()))
        postMinimise();
}

void WindowBehaviourFilter::postMinimise() {
    QMetaObject::invokeMethod(
        &window_,
        [w = QPointer<QWidget>(&window_)] {
            if (w)
                w->setWindowState((w->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
        },
        Qt::QueuedConnection);
}

void WindowBehaviourFilter::minimise() {
    postMinimise();
    QCoreApplication::processEvents();
}

void WindowBehaviourFilter::applyMinimiseAtStart(bool minimiseAtStart) {
    if (WindowBehaviour::minimiseAfterSettingsRead(minimiseAtStart, windowState()))
        minimise();
}

void WindowBehaviourFilter::closeModalDialogs() {
    // A dialog still open runs an event loop of its own, which would hold the end of the run
    // until someone answers it. The tray reaches here while one is up.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal)
            modal->hide();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
}

void WindowBehaviourFilter::quit() {
    behaviour_.setQuitting();
    closeModalDialogs();
    // Closed first: Qt's quit asks every window to close and gives up when one refuses, which
    // the window would do while its close button minimises. Then the application's event
    // loop ends, also where another window of the program is still open.
    window_.close();
    QCoreApplication::quit();
}

} // namespace desktop
