#pragma once

#include <QApplication>
#include <QDeadlineTimer>

// Runs the event loop until done() holds or ms milliseconds have passed; whether it holds.
template <typename Predicate> bool processEventsUntil(Predicate done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Lets whatever is queued run, timers of a few milliseconds included: their time has come by
// the last pass, which runs however late the ones before it ran on a busy machine.
inline void settle() {
    processEventsUntil([] { return false; }, 50);
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents);
    QApplication::sendPostedEvents();
}
