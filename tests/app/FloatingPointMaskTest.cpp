#include "app/FloatingPointMask.h"

#include <cfenv>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace {

// A division by zero while the mask is held gives an infinity, even when the process ran with
// the trap on before; letting it go brings back the environment from before.
TEST(FloatingPointMask, MaskedWhileHeldAndRestoredAfter) {
    std::feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    std::optional<app::FloatingPointMask> mask;
    mask.emplace();
    const int trapsWhileHeld = fegetexcept();
    volatile double zero = 0.0;
    const double quotient = 1.0 / zero;
    mask.reset();
    const int trapsAfter = fegetexcept();
    fedisableexcept(FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);

    EXPECT_EQ(trapsWhileHeld, 0);
    EXPECT_TRUE(std::isinf(quotient));
    EXPECT_EQ(trapsAfter, FE_DIVBYZERO | FE_INVALID);
}

} // namespace
