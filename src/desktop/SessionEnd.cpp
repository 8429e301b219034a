#include "desktop/SessionEnd.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace desktop {

namespace {

constexpr std::array<int, 3> kEndSignals{SIGTERM, SIGHUP, SIGINT};

// The pipe's write end for the handler, which may run on any thread.
std::atomic<int> wakeUpEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<SessionEnd*> current{nullptr};

// What each signal did before; a signal the parent left ignored (nohup's SIGHUP) stays so.
std::array<struct sigaction, kEndSignals.size()> previousActions{};
std::array<bool, kEndSignals.size()> handled{};

extern "C" void wakeEventLoop(int signal) {
    const int savedErrno = errno;
    if (const int fd = wakeUpEnd.load(std::memory_order_relaxed); fd >= 0) {
        const char number = static_cast<char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(fd, &number, 1);
    }
    errno = savedErrno;
}

void restoreSignals() {
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
        if (handled[i])
            sigaction(kEndSignals[i], &previousActions[i], nullptr);
        handled[i] = false;
    }
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
    current.store(this);
    if (qGuiApp)
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { requestEnd(); });

    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("Lexorra2: signals end the program at once");
        return;
    }
    readEnd_ = ends[0];
    wakeUpEnd.store(ends[1]);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::readWakeUps);

    struct sigaction action {};
    action.sa_handler = wakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
        if (sigaction(kEndSignals[i], nullptr, &previousActions[i]) != 0 ||
            previousActions[i].sa_handler == SIG_IGN)
            continue;
        handled[i] = sigaction(kEndSignals[i], &action, nullptr) == 0;
    }
}

SessionEnd::~SessionEnd() {
    current.store(nullptr);
    restoreSignals();
    // The write end stays open: a handler that began before the restore may still write.
    wakeUpEnd.store(-1);
    delete notifier_;
    if (readEnd_ >= 0)
        ::close(readEnd_);
}

void SessionEnd::readWakeUps() {
    char numbers[16];
    while (::read(readEnd_, numbers, sizeof numbers) > 0) {
    }
    requestEnd();
}

void SessionEnd::requestEnd() {
    if (endRequested_)
        return;
    endRequested_ = true;
    restoreSignals();
    Q_EMIT endRequested();
}

void SessionEnd::saveAtExit(std::function<void()> save) {
    saveAtExit_ = std::move(save);
    static const bool registered = std::atexit(&SessionEnd::runSaveAtExit) == 0;
    if (!registered)
        std::fputs("Lexorra2: the settings cannot be saved when the display goes away\n", stderr);
}

// Qt's X11 platform calls exit() from the GUI thread's event loop when the X server goes away,
// between two steps of the loop: the program's own state is whole then. exit() on any other
// thread would find the GUI thread in the middle of its work, so nothing runs there.
void SessionEnd::runSaveAtExit() {
    SessionEnd* end = current.exchange(nullptr);
    const QCoreApplication* application = QCoreApplication::instance();
    if (!end || !end->saveAtExit_ || !application ||
        QThread::currentThread() != application->thread())
        return;
    end->saveAtExit_();
}

} // namespace desktop
