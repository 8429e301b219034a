// One instance per session: several SingleInstance objects in this process stand for several
// starts of the program; forked children stand for an instance that crashed or hangs.
#include "desktop/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using desktop::SingleInstance;
using namespace std::chrono_literals;

namespace {

const QString kName = QStringLiteral("lexorra2");

// A child process that takes the lock (and, if asked, listens on the socket) as an instance
// would. With endAbruptly it then ends without releasing anything, as a crash does; else it
// stays alive until killed. Returns the child's id once the lock is in place.
pid_t startChildInstance(const QString& folder, bool listens, bool endAbruptly) {
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        QLockFile lock(folder + QStringLiteral("/") + kName + QStringLiteral(".lock"));
        bool ok = lock.tryLock(0);
        QLocalServer server;
        if (ok && listens)
            ok = server.listen(folder + QStringLiteral("/") + kName + QStringLiteral(".socket"));
        const char byte = ok ? '1' : '0';
        (void)!write(ready[1], &byte, 1);
        if (endAbruptly)
            _exit(0); // no destructors: the lock file and the socket file stay behind
        for (;;)
            pause(); // holds the lock, never answers
    }
    close(ready[1]);
    char byte = '0';
    (void)!read(ready[0], &byte, 1);
    close(ready[0]);
    if (byte != '1') {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    if (endAbruptly)
        waitpid(pid, nullptr, 0);
    return pid;
}

class SingleInstanceTest : public testing::Test {
protected:
    QTemporaryDir folder;
};

TEST_F(SingleInstanceTest, SecondStartAsksTheFirstToComeForward) {
    ASSERT_TRUE(folder.isValid());
    SingleInstance first(folder.path(), kName);
    QSignalSpy firstAsked(&first, &SingleInstance::comeForwardAsked);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed) << first.errorString().toStdString();

    SingleInstance second(folder.path(), kName);
    QSignalSpy secondAsked(&second, &SingleInstance::comeForwardAsked);
    EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherAsked)
        << second.errorString().toStdString();
    // The second start ends only once the first has passed the request on.
    EXPECT_EQ(firstAsked.count(), 1);

    SingleInstance third(folder.path(), kName);
    EXPECT_EQ(third.claim(), SingleInstance::Claim::OtherAsked);
    EXPECT_EQ(firstAsked.count(), 2);
    EXPECT_EQ(secondAsked.count(), 0);
}

TEST_F(SingleInstanceTest, InstanceThatEndedLeavesTheLockToTheNextStart) {
    ASSERT_TRUE(folder.isValid());
    {
        SingleInstance first(folder.path(), kName);
        ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed);
    }
    SingleInstance next(folder.path(), kName);
    EXPECT_EQ(next.claim(), SingleInstance::Claim::Claimed) << next.errorString().toStdString();
    SingleInstance later(folder.path(), kName);
    EXPECT_EQ(later.claim(), SingleInstance::Claim::OtherAsked);
}

TEST_F(SingleInstanceTest, ClaimingTwiceKeepsTheLock) {
    ASSERT_TRUE(folder.isValid());
    SingleInstance first(folder.path(), kName);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed);
    EXPECT_EQ(first.claim(), SingleInstance::Claim::Claimed);
}

// A crash leaves the lock file, and with it perhaps the socket file; neither may keep the
// program from starting, and the new instance must answer later starts.
struct CrashCase {
    const char* name;
    bool socketLeftBehind;
};

class CrashedInstance : public SingleInstanceTest, public testing::WithParamInterface<CrashCase> {};

TEST_P(CrashedInstance, LockIsTakenOverAndAnswered) {
    ASSERT_TRUE(folder.isValid());
    const pid_t crashed = startChildInstance(folder.path(), GetParam().socketLeftBehind, true);
    ASSERT_GT(crashed, 0);
    ASSERT_TRUE(QFile::exists(folder.filePath(kName + QStringLiteral(".lock"))));
    ASSERT_EQ(QFile::exists(folder.filePath(kName + QStringLiteral(".socket"))),
              GetParam().socketLeftBehind);

    SingleInstance restarted(folder.path(), kName);
    QSignalSpy asked(&restarted, &SingleInstance::comeForwardAsked);
    ASSERT_EQ(restarted.claim(), SingleInstance::Claim::Claimed)
        << restarted.errorString().toStdString();

    SingleInstance second(folder.path(), kName);
    EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherAsked)
        << second.errorString().toStdString();
    EXPECT_EQ(asked.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Table, CrashedInstance,
                         testing::Values(CrashCase{"LockOnly", false},
                                         CrashCase{"LockAndSocket", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A live instance that holds the lock but never answers (hung, or still starting past any
// reasonable time) is obeyed, not taken over, and the wait for it is bounded.
TEST_F(SingleInstanceTest, LiveHolderThatDoesNotAnswerIsReportedInBoundedTime) {
    ASSERT_TRUE(folder.isValid());
    const pid_t hung = startChildInstance(folder.path(), true, false);
    ASSERT_GT(hung, 0);

    SingleInstance second(folder.path(), kName);
    second.setAnswerTimeout(300ms);
    QElapsedTimer timer;
    timer.start();
    const SingleInstance::Claim claim = second.claim();
    const qint64 waited = timer.elapsed();
    kill(hung, SIGKILL);
    waitpid(hung, nullptr, 0);

    EXPECT_EQ(claim, SingleInstance::Claim::OtherNotAnswering);
    EXPECT_TRUE(second.errorString().contains(QString::number(hung)))
        << second.errorString().toStdString();
    EXPECT_LT(waited, 5000);
}

TEST_F(SingleInstanceTest, FolderThatCannotHoldTheLockLetsTheProgramRunUnguarded) {
    ASSERT_TRUE(folder.isValid());
    // A plain file where the folder should be: nothing can be created below it.
    const QString notAFolder = folder.filePath(QStringLiteral("file"));
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    SingleInstance instance(notAFolder, kName);
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Unavailable);
    EXPECT_FALSE(instance.errorString().isEmpty());
    EXPECT_EQ(instance.claimForStart(), std::nullopt);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
