#pragma once

#include "settings/Options.h"

#include <QObject>
#include <QString>
#include <vector>

namespace desktop {

// The process's priority, set as the nice value of each of its threads: on Linux each thread
// has its own, and a thread takes its creator's, so setting them all at once is what makes the
// whole process run at the chosen priority. "Real time" is the strongest nice value, never a
// real-time scheduling class, so that a busy program can not freeze the desktop.
class ProcessPriority : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static int niceValue(settings::ProcessPriority priority);

    // Sets every thread's nice value. Raising the priority needs a privilege that a normal
    // user lacks: a refusal leaves the threads as they were and is reported, once per run,
    // through refused(). Returns whether every thread took the value.
    bool apply(settings::ProcessPriority priority);

    // The nice value of every thread of the process, as the system reports it now.
    static std::vector<int> threadNiceValues();

Q_SIGNALS:
    void refused(const QString& message);

private:
    bool toldRefusal_ = false;
};

} // namespace desktop
