#include "app/PaintHold.h"

#include "timing/QtOneShotTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

namespace app {

PaintHold::PaintHold(QWidget& window, int milliseconds, const QWidget* pageArea,
                     int controlsAfterMilliseconds, const timing::OneShotTimerFactory& makeTimer)
    : QObject(&window), window_(window), milliseconds_(milliseconds), pageArea_(pageArea),
      controlsAfterMilliseconds_(controlsAfterMilliseconds) {
    const timing::OneShotTimerFactory& make =
        makeTimer ? makeTimer : timing::OneShotTimerFactory(&timing::QtOneShotTimer::make);
    timer_ = make(false);
    timer_->setHandler([this] { release(); });
    controlsTimer_ = make(false);
    controlsTimer_->setHandler([this] { releaseControls(); });
    window_.installEventFilter(this);
}

PaintHold::~PaintHold() = default;

void PaintHold::start() {
    if (timer_->isActive())
        return;
    timer_->start(milliseconds_);
    // A lookup soon after another keeps the controls held through its own hold as well.
    controlsTimer_->stop();
    if (pageArea_ && controlsAfterMilliseconds_ > 0 && heldControls_.isEmpty())
        holdControlsBelow(window_);
}

// Qt asks a window to paint what is dirty with one update request at a time, and asks again
// only once that one has been handled: a request held back here is sent again at the end.
bool PaintHold::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::UpdateRequest && timer_->isActive()) {
        repaintWaiting_ = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PaintHold::release() {
    timer_->stop();
    if (!heldControls_.isEmpty() && !controlsTimer_->isActive())
        controlsTimer_->start(controlsAfterMilliseconds_);
    if (!repaintWaiting_)
        return;
    repaintWaiting_ = false;
    QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

// Updates turned off on a control drop what it asks to repaint meanwhile; turned on again,
// they repaint the whole control once, which is what the controls' own composition is.
void PaintHold::holdControlsBelow(QWidget& parent) {
    const auto children = parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child->isWindow() || child->isHidden() || child == pageArea_)
            continue;
        if (child->isAncestorOf(pageArea_)) {
            holdControlsBelow(*child);
        } else if (child->updatesEnabled()) {
            child->setUpdatesEnabled(false);
            heldControls_.append(child);
        }
    }
}

void PaintHold::releaseControls() {
    const QList<QPointer<QWidget>> held = std::exchange(heldControls_, {});
    for (const QPointer<QWidget>& control : held)
        if (control)
            control->setUpdatesEnabled(true);
}

} // namespace app
