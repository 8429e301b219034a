#include "desktop/WindowPlacement.h"

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

} // namespace desktop
