// One instance per session: several SingleInstance objects in this process stand for several
// starts of the program; forked children stand for an instance that crashed or hangs.
#include "desktop/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
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

    // A launcher's activation token goes along, so the window may take the focus.
    SingleInstance third(folder.path(), kName);
    third.setActivationToken("launcher-token-1");
    EXPECT_EQ(third.claim(), SingleInstance::Claim::OtherAsked);
    ASSERT_EQ(firstAsked.count(), 2);
    EXPECT_EQ(firstAsked.at(0).at(0).toString(), QString());
    EXPECT_EQ(firstAsked.at(1).at(0).toString(), QStringLiteral("launcher-token-1"));
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

void PrintTo(const CrashCase& row, std::ostream* out) {
    *out << row.name;
}

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

// Restores an environment variable when the test ends.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnvironment() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST_F(SingleInstanceTest, WithoutRuntimeFolderAPrivateFolderOfTheUserHoldsLockAndSocket) {
    ASSERT_TRUE(folder.isValid());
    // The program may have been started from anywhere: nothing may land in the current folder.
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", QByteArray());
    const ScopedEnvironment temporary("TMPDIR", QFile::encodeName(folder.path()));

    const QString session = SingleInstance::sessionFolder();
    EXPECT_EQ(session, folder.filePath(QStringLiteral("lexorra2-%1").arg(geteuid())));
    {
        SingleInstance first(session, kName);
        ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed)
            << first.errorString().toStdString();
        EXPECT_TRUE(QDir::isAbsolutePath(first.lockFilePath()));
        EXPECT_TRUE(QDir::isAbsolutePath(first.socketPath()));
        EXPECT_TRUE(QFile::exists(session + QStringLiteral("/lexorra2.lock")));
        EXPECT_FALSE(QFile::exists(folder.filePath(kName + QStringLiteral(".lock"))));

        struct stat status {};
        ASSERT_EQ(stat(QFile::encodeName(session).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0700u);
        EXPECT_EQ(status.st_uid, geteuid());

        SingleInstance second(SingleInstance::sessionFolder(), kName);
        EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherAsked)
            << second.errorString().toStdString();
    }
    QDir::setCurrent(started);
}

// A folder another user could have made or can enter: they could listen on the socket before
// this user's first start, or hold the lock, and so silence every later start. It is not
// trusted; the program runs without the guard and says why.
struct UntrustedFolderCase {
    const char* name;
    // Turns the fresh private folder at path into the untrusted one; false: not possible here.
    std::function<bool(const QString& path)> spoil;
};

void PrintTo(const UntrustedFolderCase& row, std::ostream* out) {
    *out << row.name;
}

class UntrustedFolder : public SingleInstanceTest,
                        public testing::WithParamInterface<UntrustedFolderCase> {};

TEST_P(UntrustedFolder, IsRefusedAndTheProgramRunsUnguarded) {
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("lexorra2-%1").arg(geteuid()));
    ASSERT_TRUE(QDir().mkdir(path));
    if (!GetParam().spoil(path))
        GTEST_SKIP() << "needs to run as root";
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", QByteArray());
    const ScopedEnvironment temporary("TMPDIR", QFile::encodeName(folder.path()));
    const QString session = SingleInstance::sessionFolder();
    ASSERT_EQ(session, path);

    SingleInstance instance(session, kName);
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Unavailable);
    EXPECT_TRUE(instance.errorString().contains(path)) << instance.errorString().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("/lexorra2.lock")));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("/lexorra2.socket")));
    EXPECT_EQ(instance.claimForStart(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UntrustedFolder,
    testing::Values(
        UntrustedFolderCase{"OpenToOthers",
                            [](const QString& path) {
                                return chmod(QFile::encodeName(path).constData(), 0777) == 0;
                            }},
        UntrustedFolderCase{"ReadableByGroup",
                            [](const QString& path) {
                                return chmod(QFile::encodeName(path).constData(), 0750) == 0;
                            }},
        UntrustedFolderCase{"OwnedByAnotherUser",
                            [](const QString& path) {
                                return geteuid() == 0 && chown(QFile::encodeName(path).constData(),
                                                               65534, 65534) == 0;
                            }},
        UntrustedFolderCase{"LinkToAnotherFolder",
                            [](const QString& path) {
                                const QString target = path + QStringLiteral("-target");
                                return QDir().rename(path, target) && QFile::link(target, path);
                            }},
        UntrustedFolderCase{"PlainFile",
                            [](const QString& path) {
                                QFile file(path);
                                return QDir().rmdir(path) && file.open(QIODevice::WriteOnly);
                            }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SingleInstanceTest, RelativeFolderIsRefused) {
    SingleInstance instance(QStringLiteral("relative"), kName);
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Unavailable);
    EXPECT_FALSE(QFile::exists(QStringLiteral("relative/lexorra2.lock")));
}

// A message on the socket is one short line: whatever connects and streams bytes without an end
// of line is cut off at a small size, long before the time-out, and the instance goes on
// answering later starts.
struct EndlessMessageCase {
    const char* name;
    qint64 bytes;
};

void PrintTo(const EndlessMessageCase& row, std::ostream* out) {
    *out << row.name;
}

class EndlessMessage : public SingleInstanceTest,
                       public testing::WithParamInterface<EndlessMessageCase> {};

TEST_P(EndlessMessage, IsCutOffAndLaterStartsAreAnswered) {
    ASSERT_TRUE(folder.isValid());
    SingleInstance first(folder.path(), kName);
    // So long that only the size limit can end the connection within the wait below.
    first.setAnswerTimeout(std::chrono::hours(1));
    QSignalSpy asked(&first, &SingleInstance::comeForwardAsked);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed);

    QLocalSocket stranger;
    QSignalSpy dropped(&stranger, &QLocalSocket::disconnected);
    stranger.connectToServer(first.socketPath());
    ASSERT_TRUE(stranger.waitForConnected(10000));
    stranger.write(QByteArray(GetParam().bytes, 'x'));
    EXPECT_TRUE(dropped.wait(30000)) << "a message without end of line was kept open";

    SingleInstance second(folder.path(), kName);
    EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherAsked)
        << second.errorString().toStdString();
    EXPECT_EQ(asked.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Table, EndlessMessage,
                         testing::Values(EndlessMessageCase{"JustOverTheLimit", 4097},
                                         EndlessMessageCase{"OneMebibyte", 1 << 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SingleInstanceTest, SilentClientIsDroppedAfterTheTimeout) {
    ASSERT_TRUE(folder.isValid());
    SingleInstance first(folder.path(), kName);
    first.setAnswerTimeout(std::chrono::milliseconds(100));
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed);

    QLocalSocket silent;
    QSignalSpy dropped(&silent, &QLocalSocket::disconnected);
    silent.connectToServer(first.socketPath());
    ASSERT_TRUE(silent.waitForConnected(10000));
    silent.write("come-for");
    EXPECT_TRUE(dropped.wait(30000));
}

// The commands (lexorra2 --raise, --toggle-pause, --look-up) reach the running instance as
// typed requests, each its own signal, and the sender learns that it arrived.
struct CommandCase {
    const char* name;
    desktop::InstanceRequest request;
    int comeForward;
    int togglePause;
    QStringList lookUps;
};

void PrintTo(const CommandCase& row, std::ostream* out) {
    *out << row.name;
}

class CommandToRunningInstance : public SingleInstanceTest,
                                 public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandToRunningInstance, ArrivesAsItsOwnSignal) {
    ASSERT_TRUE(folder.isValid());
    SingleInstance running(folder.path(), kName);
    ASSERT_EQ(running.claim(), SingleInstance::Claim::Claimed);
    QSignalSpy comeForward(&running, &SingleInstance::comeForwardAsked);
    QSignalSpy togglePause(&running, &SingleInstance::togglePauseAsked);
    QStringList lookUps;
    QObject::connect(&running, &SingleInstance::lookUpAsked,
                     [&lookUps](const QString& text) { lookUps << text; });

    SingleInstance command(folder.path(), kName);
    EXPECT_EQ(command.send(GetParam().request), SingleInstance::Delivery::Delivered)
        << command.errorString().toStdString();
    ASSERT_EQ(comeForward.count(), GetParam().comeForward);
    if (!comeForward.isEmpty()) {
        EXPECT_EQ(comeForward.at(0).at(0).toString(), GetParam().request.activationToken());
    }
    EXPECT_EQ(togglePause.count(), GetParam().togglePause);
    EXPECT_EQ(lookUps, GetParam().lookUps);
    // A command never becomes the instance: the running one still answers.
    SingleInstance later(folder.path(), kName);
    EXPECT_EQ(later.claim(), SingleInstance::Claim::OtherAsked);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandToRunningInstance,
    testing::Values(CommandCase{"Raise", desktop::InstanceRequest::comeForward(), 1, 0, {}},
                    CommandCase{"RaiseWithActivationToken",
                                desktop::InstanceRequest::comeForward("kwin-0123456789abcdef"),
                                1,
                                0,
                                {}},
                    CommandCase{"TogglePause", desktop::InstanceRequest::togglePause(), 0, 1, {}},
                    CommandCase{"LookUp",
                                desktop::InstanceRequest::lookUp(QStringLiteral("猫")),
                                0,
                                0,
                                {QStringLiteral("猫")}},
                    CommandCase{"LookUpOfSeveralLines",
                                desktop::InstanceRequest::lookUp(QStringLiteral("a\nb\r\n")),
                                0,
                                0,
                                {QStringLiteral("a\nb\r\n")}}),
    [](const auto& info) { return std::string(info.param.name); });

// No instance to take a command: told at once, and the command never takes the lock (a program
// starting meanwhile must not find this command in its place).
struct NoInstanceCase {
    const char* name;
    bool crashedInstanceLeftItsLock;
};

void PrintTo(const NoInstanceCase& row, std::ostream* out) {
    *out << row.name;
}

class CommandWithoutInstance : public SingleInstanceTest,
                               public testing::WithParamInterface<NoInstanceCase> {};

TEST_P(CommandWithoutInstance, IsToldNoInstance) {
    ASSERT_TRUE(folder.isValid());
    if (GetParam().crashedInstanceLeftItsLock) {
        ASSERT_GT(startChildInstance(folder.path(), true, true), 0);
    }
    SingleInstance command(folder.path(), kName);
    // Only a wrong verdict would wait this long.
    command.setAnswerTimeout(std::chrono::hours(1));
    EXPECT_EQ(command.send(desktop::InstanceRequest::togglePause()),
              SingleInstance::Delivery::NoInstance);
    EXPECT_FALSE(command.errorString().isEmpty());

    SingleInstance start(folder.path(), kName);
    EXPECT_EQ(start.claim(), SingleInstance::Claim::Claimed) << start.errorString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, CommandWithoutInstance,
                         testing::Values(NoInstanceCase{"NoLock", false},
                                         NoInstanceCase{"CrashedInstance", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SingleInstanceTest, CommandToAHungInstanceIsReportedAsNotAnswering) {
    ASSERT_TRUE(folder.isValid());
    const pid_t hung = startChildInstance(folder.path(), true, false);
    ASSERT_GT(hung, 0);
    SingleInstance command(folder.path(), kName);
    command.setAnswerTimeout(300ms);
    const SingleInstance::Delivery delivery = command.send(desktop::InstanceRequest::comeForward());
    kill(hung, SIGKILL);
    waitpid(hung, nullptr, 0);
    EXPECT_EQ(delivery, SingleInstance::Delivery::NotAnswering);
}

// Lines that are not one of the requests are answered "refused" and carried out never; the
// instance goes on answering.
struct StrangeLineCase {
    const char* name;
    QByteArray line;
};

void PrintTo(const StrangeLineCase& row, std::ostream* out) {
    *out << row.name;
}

class StrangeLine : public SingleInstanceTest,
                    public testing::WithParamInterface<StrangeLineCase> {};

TEST_P(StrangeLine, IsRefusedAndDoesNothing) {
    ASSERT_TRUE(folder.isValid());
    SingleInstance running(folder.path(), kName);
    ASSERT_EQ(running.claim(), SingleInstance::Claim::Claimed);
    QSignalSpy comeForward(&running, &SingleInstance::comeForwardAsked);
    QSignalSpy togglePause(&running, &SingleInstance::togglePauseAsked);
    QSignalSpy lookUp(&running, &SingleInstance::lookUpAsked);

    QLocalSocket stranger;
    stranger.connectToServer(running.socketPath());
    ASSERT_TRUE(stranger.waitForConnected(10000));
    QSignalSpy readable(&stranger, &QLocalSocket::readyRead);
    stranger.write(GetParam().line);
    QByteArray answer;
    // The instance answers in this thread's event loop, which the spy's wait runs.
    while (!answer.endsWith('\n')) {
        if (stranger.bytesAvailable() == 0 && !readable.wait(30000))
            break;
        answer += stranger.readAll();
    }
    EXPECT_EQ(answer, "refused\n");
    EXPECT_EQ(comeForward.count() + togglePause.count() + lookUp.count(), 0);

    SingleInstance later(folder.path(), kName);
    EXPECT_EQ(later.claim(), SingleInstance::Claim::OtherAsked);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StrangeLine,
    testing::Values(StrangeLineCase{"UnknownWord", "quit\n"},
                    StrangeLineCase{"CommandWithArgument", "toggle-pause now\n"},
                    StrangeLineCase{"LookUpInPlainText", "look-up 猫\n"},
                    StrangeLineCase{"LookUpOfNothing", "look-up \n"},
                    StrangeLineCase{"LookUpOfBlanks", "look-up ICAg\n"},
                    StrangeLineCase{"LookUpOfBrokenUtf8", "look-up /w==\n"},
                    StrangeLineCase{"LookUpTooLong",
                                    "look-up " + QByteArray(3001, 'a').toBase64() + "\n"},
                    StrangeLineCase{"CarriageReturn", "come-forward\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
