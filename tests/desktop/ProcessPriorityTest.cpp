#include "desktop/ProcessPriority.h"

#include <condition_variable>
#include <csignal>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using desktop::ProcessPriority;
using Priority = settings::ProcessPriority;

namespace {

// A thread that exists before the priority is set and waits until told to end: the setting
// must reach it too, not only the calling thread.
class WaitingThread {
public:
    // ownNice: the value the thread gives itself once started, as the browser engine does
    // with some of its threads.
    explicit WaitingThread(std::optional<int> ownNice = std::nullopt)
        : thread_([this, ownNice] {
              if (ownNice)
                  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), *ownNice);
              {
                  std::lock_guard lock(mutex_);
                  started_ = true;
              }
              wake_.notify_one();
              std::unique_lock lock(mutex_);
              wake_.wait(lock, [this] { return done_; });
          }) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return started_; });
    }
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
    bool started_ = false;
    bool done_ = false;
    std::thread thread_;
};

bool allThreadsAt(int nice) {
    const std::vector<int> values = ProcessPriority::threadNiceValues();
    return values.size() >= 2 &&
           std::all_of(values.begin(), values.end(), [&](int v) { return v == nice; });
}

// A helper process with a child of its own, as the browser engine's zygote has its renderers;
// both wait until killed.
class HelperProcesses {
public:
    HelperProcesses() {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        helper_ = fork();
        if (helper_ == 0) {
            close(ready[0]);
            const pid_t grandchild = fork();
            if (grandchild == 0) {
                (void)!write(ready[1], &grandchild, sizeof grandchild);
                for (;;)
                    pause();
            }
            for (;;)
                pause();
        }
        close(ready[1]);
        pid_t self = -1;
        (void)!read(ready[0], &self, sizeof self);
        close(ready[0]);
        // The grandchild wrote its fork() result, 0; its id is found through the helper.
        ready_ = self == 0;
    }
    ~HelperProcesses() {
        for (const pid_t process : ProcessPriority::descendantProcesses())
            kill(process, SIGKILL);
        if (helper_ > 0)
            waitpid(helper_, nullptr, 0);
    }
    bool ready() const { return ready_ && helper_ > 0; }

private:
    pid_t helper_ = -1;
    bool ready_ = false;
};

std::vector<int> helperNiceValues() {
    std::vector<int> values;
    for (const pid_t process : ProcessPriority::descendantProcesses()) {
        errno = 0;
        const int value = getpriority(PRIO_PROCESS, static_cast<id_t>(process));
        if (errno == 0)
            values.push_back(value);
    }
    return values;
}

} // namespace

// The priority is the program's: the processes it started, and theirs, take it as well.
TEST(ProcessPriority, HelperProcessesTakeTheNiceValue) {
    WaitingThread other;
    HelperProcesses helpers;
    ASSERT_TRUE(helpers.ready());
    ASSERT_EQ(ProcessPriority::descendantProcesses().size(), 2u);
    ProcessPriority priority;
    EXPECT_TRUE(priority.apply(Priority::Idle));
    EXPECT_EQ(helperNiceValues(), (std::vector<int>{19, 19}));
    EXPECT_TRUE(allThreadsAt(19));
}

// A thread that gives itself a value after the priority was set (the engine's threads do) is
// brought back to the program's priority when new threads are followed; at the normal priority
// the thread's own choice stands.
struct FollowCase {
    const char* name;
    Priority chosen;
    int threadsOwn;
    int expected;
};

void PrintTo(const FollowCase& row, std::ostream* out) {
    *out << row.name;
}

class FollowNewThreads : public testing::TestWithParam<FollowCase> {};

TEST_P(FollowNewThreads, BringsThemToTheProgramsPriority) {
    if (geteuid() != 0)
        GTEST_SKIP() << "raising the priority needs root";
    const FollowCase& row = GetParam();
    ProcessPriority priority;
    priority.apply(Priority::Normal);
    priority.apply(row.chosen);
    WaitingThread engineThread(row.threadsOwn);
    HelperProcesses helpers;
    ASSERT_TRUE(helpers.ready());
    priority.followNewThreads();
    const std::vector<int> threads = ProcessPriority::threadNiceValues();
    if (row.chosen == Priority::Normal) {
        EXPECT_NE(std::find(threads.begin(), threads.end(), row.threadsOwn), threads.end());
    } else {
        EXPECT_TRUE(allThreadsAt(row.expected));
        EXPECT_EQ(helperNiceValues(), (std::vector<int>{row.expected, row.expected}));
    }
    priority.apply(Priority::Normal);
}

INSTANTIATE_TEST_SUITE_P(Table, FollowNewThreads,
                         testing::Values(FollowCase{"High", Priority::High, 0, -10},
                                         FollowCase{"RealTime", Priority::RealTime, 5, -20},
                                         FollowCase{"Idle", Priority::Idle, 0, 19},
                                         FollowCase{"NormalLeavesTheThreadsOwn", Priority::Normal,
                                                    5, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

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
