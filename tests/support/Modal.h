#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs step once a modal widget that inherits className is up, from the event loop that the
// widget's exec() runs; gives up after timeoutMs, and a step that never ran shows in what the
// caller checks afterwards.
inline void whenModal(const char* className, std::function<void(QWidget*)> step,
                      int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found = modal && modal->inherits(className);
        if (!found && !clock->hasExpired(timeoutMs))
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (found)
            step(modal);
    });
    timer->start(10);
}
