#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

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

// Waits in the event loop until done() holds or ms milliseconds have passed; whether it holds.
// Unlike QTest::qWaitFor, which sleeps 10 ms between passes, the loop sleeps only until the
// next event: the browser engine runs its own work on this thread, a step per event, and a
// page load takes many steps. done() is asked again every few milliseconds and is never
// entered twice at once, so it may wait for an answer itself.
template <typename Predicate> bool waitUntil(Predicate done, int ms) {
    if (done())
        return true;
    QEventLoop loop;
    bool asking = false;
    bool held = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (asking)
            return;
        asking = true;
        held = done();
        asking = false;
        if (held)
            loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    return held || done();
}

// QTRY_VERIFY_WITH_TIMEOUT and QTRY_COMPARE_WITH_TIMEOUT, waiting as waitUntil does; a failure
// reports the values as QVERIFY and QCOMPARE do.
#define WAIT_VERIFY(expr, ms)                                                                      \
    do {                                                                                           \
        (void)waitUntil([&] { return bool(expr); }, ms);                                           \
        QVERIFY(expr);                                                                             \
    } while (false)
#define WAIT_COMPARE(actual, expected, ms)                                                         \
    do {                                                                                           \
        (void)waitUntil([&] { return (actual) == (expected); }, ms);                               \
        QCOMPARE(actual, expected);                                                                \
    } while (false)
