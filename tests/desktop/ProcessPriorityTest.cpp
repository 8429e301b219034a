#include "desktop/ProcessPriority.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <unistd.h>

using desktop::ProcessPriority;
using Priority = settings::ProcessPriority;

namespace {

// A thread that exists before the priority is set and waits until told to end: the setting
// must reach it too, not only the calling thread.
class WaitingThread {
public:
    WaitingThread()
        : thread_([this] {
              std::unique_lock lock(mutex_);
              wake_.wait(lock, [this] { return done_; });
          }) {}
    ~WaitingThread() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

bool allThreadsAt(int nice) {
    const std::vector<int> values = ProcessPriority::threadNiceValues();
    return values.size() >= 2 &&
           std::all_of(values.begin(), values.end(), [&](int v) { return v == nice; });
}

} // namespace

// Up, down, the same again and back, each read back from the system for every thread.
TEST(ProcessPriority, EveryThreadTakesTheNiceValue) {
    if (geteuid() != 0)
        GTEST_SKIP() << "raising the priority needs root";
    WaitingThread other;
    ProcessPriority priority;
    int refusals = 0;
    QObject::connect(&priority, &ProcessPriority::refused, [&] { ++refusals; });
    const std::pair<Priority, int> steps[] = {
        {Priority::High, -10},     {Priority::Normal, 0},     {Priority::Idle, 19},
        {Priority::RealTime, -20}, {Priority::RealTime, -20}, {Priority::Normal, 0},
    };
    for (const auto& [level, nice] : steps) {
        EXPECT_TRUE(priority.apply(level));
        EXPECT_TRUE(allThreadsAt(nice)) << nice;
    }
    // A thread started now takes its creator's value.
    priority.apply(Priority::High);
    WaitingThread later;
    EXPECT_TRUE(allThreadsAt(-10));
    priority.apply(Priority::Normal);
    EXPECT_EQ(refusals, 0);
}

// Without the privilege (a normal user, here root giving it up in a child process) the
// priority can be lowered but not raised again: refused, reported once, threads unchanged.
TEST(ProcessPriority, RefusalIsReportedOnce) {
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && setuid(65534) != 0)
                std::_Exit(10);
            WaitingThread other;
            ProcessPriority priority;
            int refusals = 0;
            QObject::connect(&priority, &ProcessPriority::refused, [&] { ++refusals; });
            const bool lowered = priority.apply(Priority::Idle);
            const bool raised = priority.apply(Priority::High);
            const bool normal = priority.apply(Priority::Normal);
            const int code = !lowered            ? 11
                             : raised            ? 12
                             : normal            ? 13
                             : refusals != 1     ? 14
                             : !allThreadsAt(19) ? 15
                                                 : 0;
            std::_Exit(code);
        },
        ::testing::ExitedWithCode(0), "");
}
