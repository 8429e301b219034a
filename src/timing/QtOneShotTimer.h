#pragma once

#include "timing/OneShotTimer.h"

#include <QTimer>

namespace timing {

// The program's countdown: a QTimer on the thread's event loop.
class QtOneShotTimer final : public OneShotTimer {
public:
    explicit QtOneShotTimer(bool precise = false) {
        timer_.setSingleShot(true);
        timer_.setTimerType(precise ? Qt::PreciseTimer : Qt::CoarseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (handler_)
                handler_();
        });
    }

    static std::unique_ptr<OneShotTimer> make(bool precise) {
        return std::make_unique<QtOneShotTimer>(precise);
    }

    void setHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void start(int milliseconds) override { timer_.start(milliseconds); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> handler_;
};

} // namespace timing
