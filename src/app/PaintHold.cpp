#include "app/PaintHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace app {

PaintHold::PaintHold(QWidget& window, int milliseconds) : QObject(&window), window_(window) {
    timer_.setSingleShot(true);
    timer_.setInterval(milliseconds);
    connect(&timer_, &QTimer::timeout, this, &PaintHold::release);
    window_.installEventFilter(this);
}

void PaintHold::start() {
    if (!timer_.isActive())
        timer_.start();
}

// Qt asks a window to paint what is dirty with one update request at a time, and asks again
// only once that one has been handled: a request held back here is sent again at the end.
bool PaintHold::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::UpdateRequest && timer_.isActive()) {
        repaintWaiting_ = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PaintHold::release() {
    timer_.stop();
    if (!repaintWaiting_)
        return;
    repaintWaiting_ = false;
    QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

} // namespace app
