#pragma once

#include "timing/OneShotTimer.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace app {

// Holds a window's repaint for a moment without repainting it whole afterwards: what became
// dirty meanwhile (the search box, a tab caption) is painted once the hold ends, nothing else.
// Turning the window's updates off and on again would do the first, but repaints every
// control when they come back on.
//
// With a page area, the controls around it (every part of the window that neither is nor
// holds the page area) stay held a while longer after the window's hold ends, so that the
// window's first composition after the hold carries only the page; the controls follow in a
// composition of their own.
class PaintHold : public QObject {
    Q_OBJECT
public:
    // Empty makeTimer means the event loop's timers.
    PaintHold(QWidget& window, int milliseconds, const QWidget* pageArea = nullptr,
              int controlsAfterMilliseconds = 0, const timing::OneShotTimerFactory& makeTimer = {});
    ~PaintHold() override;

    // Starts a hold; during one, another start changes nothing.
    void start();
    bool isHolding() const { return timer_->isActive(); }
    bool isHoldingControls() const { return !heldControls_.isEmpty(); }
    // Ends the window's hold before its time; without one it does nothing.
    void release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void holdControlsBelow(QWidget& parent);
    void releaseControls();

    QWidget& window_;
    const int milliseconds_;
    std::unique_ptr<timing::OneShotTimer> timer_;
    bool repaintWaiting_ = false;
    const QPointer<const QWidget> pageArea_;
    const int controlsAfterMilliseconds_;
    std::unique_ptr<timing::OneShotTimer> controlsTimer_;
    QList<QPointer<QWidget>> heldControls_;
};

} // namespace app
