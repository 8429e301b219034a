#pragma once

#include <QtGlobal>
#include <chrono>
#include <functional>

namespace timing {

// Milliseconds on a clock that only goes forward; classes that judge how long ago something
// happened take one, and tests pass a clock they move by hand.
using MonotonicClock = std::function<qint64()>;

inline qint64 steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace timing
