#include "desktop/KeyStepSchedule.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

using desktop::GlobalKey;
using desktop::KeyStep;
using desktop::KeyStepSchedule;

namespace {

enum class Kind { Down, Up, Enable, Disable };

struct Event {
    qint64 atMs;
    Kind kind;
    GlobalKey key;
};

constexpr GlobalKey F12 = GlobalKey::F12;
constexpr GlobalKey End = GlobalKey::End;

std::string describe(const std::vector<KeyStep>& steps, qint64 atMs) {
    std::string out;
    for (KeyStep step : steps)
        out += std::string(step == KeyStep::RaiseWindow ? "R@" : "P@") + std::to_string(atMs) + ' ';
    return out;
}

// Drives a schedule as the program does: a timer fires when nextDueMs says (late by lagMs,
// as on a busy machine), and key events arrive in between. Returns the steps run, as
// "R@t" (raise) and "P@t" (pause or resume).
std::string run(const std::vector<Event>& events, qint64 lagMs, qint64 endMs) {
    KeyStepSchedule schedule;
    std::string steps;
    auto timerUntil = [&](qint64 limit) {
        while (const std::optional<qint64> due = schedule.nextDueMs()) {
            const qint64 at = *due + lagMs;
            if (at >= limit)
                break;
            steps += describe(schedule.stepsDue(at), at);
        }
    };
    for (const Event& event : events) {
        timerUntil(event.atMs);
        switch (event.kind) {
        case Kind::Down:
            steps += describe(schedule.keyDown(event.key, event.atMs), event.atMs);
            break;
        case Kind::Up:
            schedule.keyUp(event.key);
            break;
        case Kind::Enable:
            schedule.setEnabled(event.key, true, event.atMs);
            break;
        case Kind::Disable:
            schedule.setEnabled(event.key, false, event.atMs);
            break;
        }
    }
    timerUntil(endMs);
    if (!steps.empty())
        steps.pop_back();
    return steps;
}

struct ScheduleCase {
    const char* name;
    std::vector<Event> events;
    qint64 lagMs;
    const char* steps;
};

class KeySteps : public testing::TestWithParam<ScheduleCase> {};

TEST_P(KeySteps, RunAsScheduled) {
    EXPECT_EQ(run(GetParam().events, GetParam().lagMs, 2000), GetParam().steps);
}

const ScheduleCase kCases[] = {
    {"EndHeldHalfASecondTogglesFiveTimes",
     {{0, Kind::Enable, End}, {0, Kind::Down, End}, {450, Kind::Up, End}},
     0,
     "P@0 P@100 P@200 P@300 P@400"},
    {"F12HeldRaisesEveryTenthOfASecond",
     {{0, Kind::Enable, F12}, {10, Kind::Down, F12}, {260, Kind::Up, F12}},
     0,
     "R@10 R@110 R@210"},
    {"ShortPressStepsOnce",
     {{0, Kind::Enable, End}, {0, Kind::Down, End}, {30, Kind::Up, End}},
     0,
     "P@0"},
    {"OptionOffDoesNothing", {{0, Kind::Down, End}, {450, Kind::Up, End}}, 0, ""},
    {"OnlyTheKeyWhoseOptionIsOn",
     {{0, Kind::Enable, F12},
      {0, Kind::Down, End},
      {50, Kind::Down, F12},
      {120, Kind::Up, F12},
      {400, Kind::Up, End}},
     0,
     "R@50"},
    {"KeyboardRepeatOfAHeldKeyAddsNothing",
     {{0, Kind::Enable, End},
      {0, Kind::Down, End},
      {33, Kind::Down, End},
      {66, Kind::Down, End},
      {99, Kind::Down, End},
      {132, Kind::Down, End},
      {250, Kind::Up, End}},
     0,
     "P@0 P@100 P@200"},
    {"RepeatAsReleaseAndPressKeepsThePace",
     {{0, Kind::Enable, End},
      {0, Kind::Down, End},
      {40, Kind::Up, End},
      {50, Kind::Down, End},
      {90, Kind::Up, End},
      {100, Kind::Down, End},
      {140, Kind::Up, End},
      {150, Kind::Down, End},
      {240, Kind::Up, End}},
     0,
     "P@0 P@100 P@200"},
    {"TwoDistinctPressesEachStep",
     {{0, Kind::Enable, End},
      {0, Kind::Down, End},
      {50, Kind::Up, End},
      {300, Kind::Down, End},
      {350, Kind::Up, End}},
     0,
     "P@0 P@300"},
    {"BothKeysHeldRaiseBeforePause",
     {{0, Kind::Enable, F12},
      {0, Kind::Enable, End},
      {0, Kind::Down, End},
      {0, Kind::Down, F12},
      {150, Kind::Up, F12},
      {150, Kind::Up, End}},
     0,
     "P@0 R@0 R@100 P@100"},
    {"BusyProgramStepsOnceNotInABurst",
     {{0, Kind::Enable, End}, {0, Kind::Down, End}, {1000, Kind::Up, End}},
     350,
     "P@0 P@450 P@900"},
    {"TimerSlightlyEarlyStillSteps",
     {{0, Kind::Enable, End}, {0, Kind::Down, End}, {250, Kind::Up, End}},
     -3,
     "P@0 P@97 P@194"},
    {"OptionTurnedOnWhileHeldStartsAnIntervalLater",
     {{0, Kind::Down, End}, {50, Kind::Enable, End}, {300, Kind::Up, End}},
     0,
     "P@150 P@250"},
    {"OptionTurnedOffWhileHeldStopsAtOnce",
     {{0, Kind::Enable, End},
      {0, Kind::Down, End},
      {150, Kind::Disable, End},
      {500, Kind::Up, End}},
     0,
     "P@0 P@100"},
    {"ReleasedKeyStopsRepeating",
     {{0, Kind::Enable, F12}, {0, Kind::Down, F12}, {100, Kind::Up, F12}},
     0,
     "R@0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, KeySteps, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Nothing is due while no key with its option on is held: the program's timer stays off.
TEST(KeyStepsIdle, NothingDueWithoutAHeldEnabledKey) {
    KeyStepSchedule schedule;
    schedule.setEnabled(F12, true, 0);
    schedule.setEnabled(End, true, 0);
    EXPECT_FALSE(schedule.nextDueMs());
    schedule.keyDown(F12, 10);
    EXPECT_EQ(schedule.nextDueMs(), 110);
    schedule.keyUp(F12);
    EXPECT_FALSE(schedule.nextDueMs());
    schedule.setEnabled(End, false, 20);
    schedule.keyDown(End, 30);
    EXPECT_FALSE(schedule.nextDueMs());
}

TEST(KeyStepsIdle, ReleaseAllForgetsHeldKeys) {
    KeyStepSchedule schedule;
    schedule.setEnabled(End, true, 0);
    schedule.keyDown(End, 0);
    schedule.releaseAll();
    EXPECT_FALSE(schedule.nextDueMs());
    EXPECT_TRUE(schedule.stepsDue(500).empty());
    // A press after that counts as a new press.
    EXPECT_EQ(schedule.keyDown(End, 600), std::vector<KeyStep>{KeyStep::TogglePause});
}

} // namespace
