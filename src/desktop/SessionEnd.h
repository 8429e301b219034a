#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace desktop {

// Notices the session ending around the program: SIGTERM, SIGHUP and SIGINT (a logout, a
// shutdown, kill, Ctrl+C in a terminal) and the session manager asking programs to save
// before a logout. Each asks once for the end of the run, which the program then ends as a
// close from the tray does.
//
// The signal handler only writes the signal's number into a pipe; the event loop reads it and
// asks for the end. Once asked, the signals have their default effect again, so that a second
// one ends a program that cannot finish.
//
// An X server that goes away is not told to the program: Qt's X11 platform ends the process
// with exit() from the event loop when its connection breaks. For that, saveAtExit() keeps
// one function that runs if the process calls exit() on the GUI thread while this object
// lives; see there.
//
// One at a time in a process.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

    // Runs save if exit() is called on the GUI thread while this object lives, once. It
    // runs inside exit(), between the event loop's steps, where every object of the program
    // is still whole: it must not touch the display (it may be gone). Registered here, so
    // whatever save uses should exist before this call, to be destroyed after it at exit.
    void saveAtExit(std::function<void()> save);

Q_SIGNALS:
    // The session ends: a signal, or the session manager's request to save (once in all).
    void endRequested();

private:
    void readWakeUps();
    void requestEnd();
    static void runSaveAtExit();

    QSocketNotifier* notifier_ = nullptr;
    int readEnd_ = -1;
    bool endRequested_ = false;
    std::function<void()> saveAtExit_;
};

} // namespace desktop
