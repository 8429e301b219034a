#include "app/StartSequence.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The steps as the sequence took them, by name.
struct Recorder {
    std::vector<std::string> steps;
    bool copyWaits = false;
    std::function<void()> duringSettings; // something a step does on the way (events)

    app::StartSequence::Steps make() {
        return {
            [this] {
                steps.push_back("loadSettings");
                if (duringSettings)
                    duringSettings();
            },
            [this] { steps.push_back("loadCategoryVisibility"); },
            [this] { steps.push_back("applyMinimiseAtStart"); },
            [this] {
                steps.push_back("lookUpWaitingCopy");
                return copyWaits;
            },
            [this] { steps.push_back("openStartPage"); },
        };
    }
};

QTimer* countdown(app::StartSequence& sequence) {
    return sequence.findChild<QTimer*>(QStringLiteral("Timer1"));
}

struct OrderCase {
    const char* name;
    bool copyWaits;
    int ticks;            // how often the countdown ends
    bool tickDuringAStep; // a tick arrives while the settings are read
    std::vector<std::string> expected;
};

class StartSequenceOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(StartSequenceOrder, StepsInOrderOnce) {
    const OrderCase& c = GetParam();
    Recorder recorder;
    recorder.copyWaits = c.copyWaits;
    app::StartSequence sequence(recorder.make());
    if (c.tickDuringAStep)
        recorder.duringSettings = [&] { sequence.run(); };
    sequence.arm();
    for (int i = 0; i < c.ticks; ++i)
        sequence.run();
    EXPECT_EQ(recorder.steps, c.expected);
    EXPECT_TRUE(sequence.hasRun());
    EXPECT_FALSE(countdown(sequence)->isActive());
}

const std::vector<std::string> kReadSettingsThenMinimise{
    "loadSettings", "loadCategoryVisibility", "applyMinimiseAtStart", "lookUpWaitingCopy"};

std::vector<std::string> then(std::vector<std::string> steps, const char* last) {
    steps.push_back(last);
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartSequenceOrder,
    testing::Values(OrderCase{"NoCopyOpensTheStartPage", false, 1, false,
                              then(kReadSettingsThenMinimise, "openStartPage")},
                    OrderCase{"WaitingCopyIsTheFirstPage", true, 1, false,
                              kReadSettingsThenMinimise},
                    OrderCase{"SecondTickDoesNothing", false, 2, false,
                              then(kReadSettingsThenMinimise, "openStartPage")},
                    OrderCase{"TickWhileAStepProcessesEvents", false, 1, true,
                              then(kReadSettingsThenMinimise, "openStartPage")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartSequence, CountsDownASecondFromArming) {
    Recorder recorder;
    app::StartSequence sequence(recorder.make());
    QTimer* timer = countdown(sequence);
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    sequence.arm();
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), app::StartSequence::kDelayMs);
    EXPECT_TRUE(recorder.steps.empty());
}

// A copy before the sequence: a stopped countdown starts again, and one after it arms nothing.
TEST(StartSequence, WaitingCopyArmsAStoppedCountdownOnlyBeforeTheRun) {
    Recorder recorder;
    app::StartSequence sequence(recorder.make());
    QTimer* timer = countdown(sequence);
    sequence.copyWaiting();
    EXPECT_TRUE(timer->isActive());
    sequence.run();
    EXPECT_FALSE(timer->isActive());
    sequence.copyWaiting();
    EXPECT_FALSE(timer->isActive());
}

} // namespace
