#include "desktop/ProcessPriority.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <sys/resource.h>

namespace desktop {

namespace {

std::vector<id_t> threadIds() {
    std::vector<id_t> ids;
    const QStringList names =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool ok = false;
        const uint id = name.toUInt(&ok);
        if (ok)
            ids.push_back(static_cast<id_t>(id));
    }
    return ids;
}

} // namespace

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
    const int nice = niceValue(priority);
    int refusal = 0;
    for (const id_t id : threadIds()) {
        // A thread that ended since the listing (ESRCH) needs nothing.
        if (setpriority(PRIO_PROCESS, id, nice) != 0 && errno != ESRCH && refusal == 0)
            refusal = errno;
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

std::vector<int> ProcessPriority::threadNiceValues() {
    std::vector<int> values;
    for (const id_t id : threadIds()) {
        errno = 0;
        const int value = getpriority(PRIO_PROCESS, id);
        if (errno == 0)
            values.push_back(value);
    }
    return values;
}

} // namespace desktop
