#include "desktop/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace desktop {

QRect placeWindow(QSize wanted, const QMargins& frame, const QRect& available) {
    const int roomWidth = available.width() - frame.left() - frame.right();
    const int roomHeight = available.height() - frame.top() - frame.bottom();
    const QSize size(std::clamp(wanted.width(), 1, std::max(1, roomWidth)),
                     std::clamp(wanted.height(), 1, std::max(1, roomHeight)));
    QRect outer(QPoint(0, 0), size.grownBy(frame));
    outer.moveCenter(available.center());
    // An odd leftover pixel, or an area too small for even the frame: keep the top left (the
    // title bar and the window's menu) on the screen.
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    return outer.marginsRemoved(frame);
}

WindowPlacement::WindowPlacement(QWidget& window, QSize clientSize)
    : QObject(&window), window_(window), clientSize_(clientSize) {
    place(kEstimatedFrame);
    window_.installEventFilter(this);
}

// Centred in the screen's available area, and smaller where the designed size and the frame
// would not fit there (a small screen, or a large scaling factor).
void WindowPlacement::place(const QMargins& frame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window_.resize(clientSize_);
        return;
    }
    window_.setGeometry(placeWindow(clientSize_, frame, screen->availableGeometry()));
}

// The window manager's frame is known a moment after the window is first shown; a window
// that does not fit with its real frame is placed again.
bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Show && !shownOnce_) {
        shownOnce_ = true;
        checkWithFrame(kFrameChecks);
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlacement::checkWithFrame(int triesLeft) {
    const QRect outer = window_.frameGeometry();
    const QRect inner = window_.geometry();
    if (outer == inner) { // not framed yet
        if (triesLeft > 1)
            QTimer::singleShot(kFrameCheckMs, this,
                               [this, triesLeft] { checkWithFrame(triesLeft - 1); });
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->availableGeometry().contains(outer) || window_.isMaximized() ||
        window_.isFullScreen())
        return;
    place(QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                   outer.right() - inner.right(), outer.bottom() - inner.bottom()));
}

} // namespace desktop
