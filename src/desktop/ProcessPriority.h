#pragma once

#include "settings/Options.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace desktop {

// The program's priority, set as the nice value of each of its threads and of each thread of
// its helper processes (the browser engine's): on Linux each thread has its own. A thread
// takes its creator's value, but the engine sets some of its threads' values itself and
// starts threads and processes all along, so the value is applied again after each page
// load (followNewThreads) rather than once. "Real time" is the strongest nice value, never a
// real-time scheduling class, so that a busy program can not freeze the desktop.
class ProcessPriority : public QObject {
    Q_OBJECT
public:
    explicit ProcessPriority(QObject* parent = nullptr);

    static int niceValue(settings::ProcessPriority priority);

    // Sets every thread's nice value, in this process and in every process it started (and
    // they in turn). Raising the priority needs a privilege that a normal user lacks: a
    // refusal leaves the threads as they were and is reported, once per run, through
    // refused(). Returns whether every thread took the value.
    bool apply(settings::ProcessPriority priority);

    // Applies the chosen priority again to threads and processes started since: now, and
    // once more a moment later, when the engine has started what a page load starts. Nothing
    // while the normal priority is chosen: the engine's own choices then stand.
    void followNewThreads();

    // The nice value of every thread of the process, as the system reports it now.
    static std::vector<int> threadNiceValues();
    // The processes this one started, and those they started, as the system reports it now.
    static std::vector<pid_t> descendantProcesses();

Q_SIGNALS:
    void refused(const QString& message);

private:
    void reapply();

    std::optional<settings::ProcessPriority> chosen_;
    QTimer settleTimer_;
    bool toldRefusal_ = false;
};

} // namespace desktop
