#include "app/dialogs/DialogPlacement.h"

#include "desktop/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dialogs {

namespace {

// A title bar and border as window managers draw them, in logical pixels at any scale
// (their frames do not grow with the program's scaling factor).
const QMargins kFrameRoom(4, 32, 4, 4);

} // namespace

QRect placeDialog(const QWidget* parent, QSize wanted) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(QPoint(), wanted);
    return desktop::placeWindow(wanted, kFrameRoom, screen->availableGeometry());
}

} // namespace dialogs
