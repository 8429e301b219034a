#pragma once

#include "input/ClipboardSource.h"
#include "timing/OneShotTimer.h"

#include <QObject>
#include <QString>
#include <memory>

namespace settings {
struct Options;
}

namespace input {

class ClipboardWatcher;

// Looks up the primary selection once a selection has settled, when Options::lookUpSelection
// is on: a selection that has not changed for kSettleMs. A drag changes the selection all
// the time, so only its end is looked up. Every rule of a copy holds (pause, the proxy
// dialog, the same text as the search box, full-width letters, files and pictures are no
// word), and a selection made in the program's own window is never looked up: selecting a
// word in the page just looked up would start one lookup after another.
class SelectionWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 400;

    SelectionWatcher(ClipboardSource& selection, ClipboardWatcher& copies,
                     const settings::Options& options, const timing::OneShotTimerFactory& timers,
                     QObject* parent = nullptr);
    ~SelectionWatcher() override;

    // The selection changed: counts again from zero.
    void selectionChanged();

Q_SIGNALS:
    // The selection could not be read or is too long; the message is for the status bar.
    void notice(const QString& message);

private:
    bool watching() const;
    void settled();
    void take(const ClipboardSource::Content& content);

    ClipboardSource& selection_;
    ClipboardWatcher& copies_;
    const settings::Options& options_;
    std::unique_ptr<timing::OneShotTimer> settle_;
};

} // namespace input
