#pragma once

#include <cfenv>

namespace app {

// No floating-point fault may end the program: while one of these lives, a division by zero
// anywhere (ours, Qt's or a library's) gives an infinity or a NaN instead of a signal. The
// environment from before comes back when it goes. Process-wide: main() holds one for the run.
class FloatingPointMask {
public:
    FloatingPointMask() { std::feholdexcept(&saved_); }
    ~FloatingPointMask() { std::fesetenv(&saved_); }

    FloatingPointMask(const FloatingPointMask&) = delete;
    FloatingPointMask& operator=(const FloatingPointMask&) = delete;

private:
    std::fenv_t saved_{};
};

} // namespace app
