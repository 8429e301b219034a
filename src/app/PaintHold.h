#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

namespace app {

// Holds a window's repaint for a moment without repainting it whole afterwards: what became
// dirty meanwhile (the search box, a tab caption) is painted once the hold ends, nothing else.
// Turning the window's updates off and on again would do the first, but repaints every
// control when they come back on.
class PaintHold : public QObject {
    Q_OBJECT
public:
    PaintHold(QWidget& window, int milliseconds);

    // Starts a hold; during one, another start changes nothing.
    void start();
    bool isHolding() const { return timer_.isActive(); }
    // Ends a hold before its time; without one it does nothing.
    void release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QTimer timer_;
    bool repaintWaiting_ = false;
};

} // namespace app
