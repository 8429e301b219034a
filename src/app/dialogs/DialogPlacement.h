#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace dialogs {

// Where a dialog designed for `wanted` (its client size) goes on parent's screen (the primary
// screen without a parent): centred in the available area and made smaller where the designed
// size and a window frame would not fit there. At 200 % scaling a 1280 by 1024 screen is 640
// by 512 logical pixels, smaller than some designed dialogs. The frame is not known before
// the dialog is shown, so room is kept for a usual title bar and border.
QRect placeDialog(const QWidget* parent, QSize wanted);

} // namespace dialogs
