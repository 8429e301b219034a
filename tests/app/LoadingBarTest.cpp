#include "app/LoadingBar.h"

#include "browser/LoadingIndicator.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* name;
    std::vector<int> reports; // in order
    bool moving;              // an indeterminate bar
    int value;                // when not moving
};

class LoadingBarTest : public ::testing::TestWithParam<Row> {};

} // namespace

TEST_P(LoadingBarTest, ShowsWhatHasArrived) {
    app::LoadingBar bar;
    for (int percent : GetParam().reports)
        bar.setProgress(percent);
    EXPECT_EQ(bar.isWaiting(), GetParam().moving);
    EXPECT_EQ(bar.minimum(), 0);
    if (!GetParam().moving) {
        EXPECT_EQ(bar.maximum(), 100);
        EXPECT_EQ(bar.value(), GetParam().value);
    }
}

constexpr int kNothing = browser::LoadingIndicator::kNothingArrived;

INSTANTIATE_TEST_SUITE_P(
    Reports, LoadingBarTest,
    ::testing::Values(
        Row{"nothing_arrived_moves", {kNothing}, true, 0},
        Row{"a_percentage_once_the_page_comes", {kNothing, 40}, false, 40},
        Row{"a_sliver_at_least", {kNothing, 2}, false, app::LoadingBar::kLeastPercent},
        Row{"the_next_load_moves_again", {kNothing, 40, kNothing}, true, 0}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });
