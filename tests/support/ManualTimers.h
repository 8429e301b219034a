#pragma once

#include "timing/OneShotTimer.h"

#include <QList>
#include <memory>

// Timers a test ends by hand, in place of the program's: the code under test is handed
// factory(), and the test sees every timer it made, whether it runs and for how long.
class ManualTimers {
public:
    class Timer final : public timing::OneShotTimer {
    public:
        void setHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
        void start(int milliseconds) override {
            active_ = true;
            milliseconds_ = milliseconds;
        }
        void stop() override { active_ = false; }
        bool isActive() const override { return active_; }

        int milliseconds() const { return milliseconds_; }
        // The time is up: runs the handler as the event loop would, if the timer runs.
        void fire() {
            if (!active_)
                return;
            active_ = false;
            std::function<void()> handler = handler_;
            if (handler)
                handler();
        }

    private:
        std::function<void()> handler_;
        bool active_ = false;
        int milliseconds_ = 0;
    };

    timing::OneShotTimerFactory factory() {
        return [this](bool) {
            auto timer = std::make_unique<Timer>();
            made_.append(timer.get());
            return timer;
        };
    }

    // The timers made so far, in order; they belong to the code under test.
    Timer& at(qsizetype index) const { return *made_.at(index); }
    qsizetype size() const { return made_.size(); }

private:
    QList<Timer*> made_;
};
