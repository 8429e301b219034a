#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

namespace timing {

// A countdown that runs its handler once when it reaches zero. Classes with timed behaviour
// take a factory of these: the program's count on the event loop (QtOneShotTimer), tests end
// them by hand.
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;

    // What runs when the time is up.
    virtual void setHandler(std::function<void()> handler) = 0;
    // Starts the countdown, or starts it again from the full time.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// precise: the timer may not come up to 5 % late, as a coarse one may.
using OneShotTimerFactory = std::function<std::unique_ptr<OneShotTimer>(bool precise)>;

} // namespace timing
