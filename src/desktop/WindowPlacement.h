#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace desktop {

// Where a new window goes: centred in the screen's available area (without panels and docks),
// and made smaller where its wanted size and frame would not fit there, so that no part of it,
// title bar included, starts off-screen. At 200 % scaling a window designed for 1008 by 599
// pixels is larger than a 1280 by 1024 screen.
//
// `wanted` is the client size, `frame` the window manager's frame around it; the result is the
// client area's geometry, all in the screen's logical (device-independent) pixels.
QRect placeWindow(QSize wanted, const QMargins& frame, const QRect& available);

// Places a top-level window on the primary screen by placeWindow: at once with a guess of the
// window manager's frame, and again when the window is first shown and its real frame, known a
// moment later, would not fit.
class WindowPlacement : public QObject {
    Q_OBJECT
public:
    // A window manager's frame, as a guess until the real one is known: a title bar and thin
    // borders.
    static inline const QMargins kEstimatedFrame{8, 32, 8, 8};

    // Places window now; follows its first showing.
    WindowPlacement(QWidget& window, QSize clientSize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(const QMargins& frame);
    void checkWithFrame(int triesLeft);

    static constexpr int kFrameChecks = 20;
    static constexpr int kFrameCheckMs = 50;

    QWidget& window_;
    QSize clientSize_;
    bool shownOnce_ = false;
};

} // namespace desktop
