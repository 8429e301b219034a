#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace desktop {

// Where a new window goes: centred in the screen's available area (without panels and docks),
// and made smaller where its wanted size and frame would not fit there, so that no part of it,
// title bar included, starts off-screen. At 200 % scaling a window designed for 1008 by 599
// pixels is larger than a 1280 by 1024 screen.
//
// `wanted` is the client size, `frame` the window manager's frame around it; the result is the
// client area's geometry, all in the screen's logical (device-independent) pixels.
QRect placeWindow(QSize wanted, const QMargins& frame, const QRect& available);

} // namespace desktop
