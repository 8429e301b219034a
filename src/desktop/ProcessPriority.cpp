#include "desktop/ProcessPriority.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace desktop {

namespace {

// The engine starts a handful of processes; more than this is not a tree of ours.
constexpr std::size_t kMaxProcesses = 512;
// A moment after a page load, when the engine has started the threads the load needed.
constexpr int kSettleMs = 2000;

std::vector<id_t> numberedEntries(const QString& folder) {
    std::vector<id_t> ids;
    const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool ok = false;
        const uint id = name.toUInt(&ok);
        if (ok)
            ids.push_back(static_cast<id_t>(id));
    }
    return ids;
}

std::vector<id_t> threadIds(pid_t process) {
    return numberedEntries(QStringLiteral("/proc/%1/task").arg(process));
}

// The children of every thread of process, from the system's list of each.
std::vector<pid_t> childProcesses(pid_t process) {
    std::vector<pid_t> children;
    for (const id_t thread : threadIds(process)) {
        QFile list(QStringLiteral("/proc/%1/task/%2/children").arg(process).arg(thread));
        if (!list.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> ids = list.read(64 * 1024).simplified().split(' ');
        for (const QByteArray& id : ids) {
            bool ok = false;
            const int child = id.toInt(&ok);
            if (ok && child > 0)
                children.push_back(child);
        }
    }
    return children;
}

} // namespace

ProcessPriority::ProcessPriority(QObject* parent) : QObject(parent) {
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(kSettleMs);
    connect(&settleTimer_, &QTimer::timeout, this, &ProcessPriority::reapply);
}

std::vector<pid_t> ProcessPriority::descendantProcesses() {
    std::vector<pid_t> found;
    std::vector<pid_t> toVisit = childProcesses(getpid());
    while (!toVisit.empty() && found.size() < kMaxProcesses) {
        const pid_t process = toVisit.back();
        toVisit.pop_back();
        if (std::find(found.begin(), found.end(), process) != found.end())
            continue;
        found.push_back(process);
        const std::vector<pid_t> children = childProcesses(process);
        toVisit.insert(toVisit.end(), children.begin(), children.end());
    }
    return found;
}

int ProcessPriority::niceValue(settings::ProcessPriority priority) {
    switch (priority) {
    case settings::ProcessPriority::High:
        return -10;
    case settings::ProcessPriority::Idle:
        return 19;
    case settings::ProcessPriority::RealTime:
        return -20;
    case settings::ProcessPriority::Normal:
        break;
    }
    return 0;
}

bool ProcessPriority::apply(settings::ProcessPriority priority) {
    const bool wasNormal = !chosen_ || *chosen_ == settings::ProcessPriority::Normal;
    chosen_ = priority;
    const int nice = niceValue(priority);
    int refusal = 0;
    // The helpers keep the values the engine gave them until another priority is chosen: at
    // the normal priority those are the engine's own choice.
    std::vector<pid_t> processes;
    if (priority != settings::ProcessPriority::Normal || !wasNormal)
        processes = descendantProcesses();
    processes.insert(processes.begin(), getpid());
    for (const pid_t process : processes) {
        for (const id_t id : threadIds(process)) {
            // A thread that ended since the listing (ESRCH) needs nothing.
            if (setpriority(PRIO_PROCESS, id, nice) != 0 && errno != ESRCH && refusal == 0)
                refusal = errno;
        }
    }
    if (refusal == 0)
        return true;
    if (!toldRefusal_) {
        toldRefusal_ = true;
        Q_EMIT refused(
            QStringLiteral("優先度を変更できません（%1）。この優先度には管理者の権限が必要です。")
                .arg(QString::fromLocal8Bit(std::strerror(refusal))));
    }
    return false;
}

void ProcessPriority::followNewThreads() {
    if (!chosen_ || *chosen_ == settings::ProcessPriority::Normal)
        return;
    reapply();
    settleTimer_.start();
}

void ProcessPriority::reapply() {
    if (chosen_ && *chosen_ != settings::ProcessPriority::Normal)
        apply(*chosen_);
}

std::vector<int> ProcessPriority::threadNiceValues() {
    std::vector<int> values;
    for (const id_t id : threadIds(getpid())) {
        errno = 0;
        const int value = getpriority(PRIO_PROCESS, id);
        if (errno == 0)
            values.push_back(value);
    }
    return values;
}

} // namespace desktop
