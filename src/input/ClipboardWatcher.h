#pragma once

#include "input/ClipboardSource.h"

#include <QObject>
#include <QString>

namespace lookup {
class LookupController;
}

namespace settings {
struct Options;
}

namespace input {

// Looks up every text copied anywhere: hands it (normalised when the options say so) to the
// lookup controller, unless paused, unchanged or suppressed while the proxy dialog is open.
class ClipboardWatcher : public QObject {
    Q_OBJECT
public:
    ClipboardWatcher(ClipboardSource& source, lookup::LookupController& lookups,
                     const settings::Options& options, QObject* parent = nullptr);

    bool paused() const { return paused_; }
    // Copies start nothing while suppressed (the proxy dialog exists).
    void setSuppressed(bool on) { suppressed_ = on; }
    bool suppressed() const { return suppressed_; }

    // Pause or resume.
    void togglePause();
    // One clipboard change: read unless paused or suppressed; the copy is taken once read.
    void clipboardChanged();
    // Text a command asked to look up (lexorra2 --look-up): taken as a copy of it would be,
    // normalised the same way, but also while paused and also when the search box already
    // holds it: pausing stops the reaction to copies, and the user asked for this lookup by
    // name. Only the proxy dialog holds it back, as it does every copy.
    void takeAskedText(const QString& text);
    // A text read from a selection, as a copy is taken: unless it equals the search box, it
    // is looked up (normalised when the options say so). Pause and suppression are the
    // caller's to check.
    void takeText(const QString& text);

Q_SIGNALS:
    void pausedChanged(bool paused);
    // The clipboard changed but could not be read; the message is for the user.
    void clipboardUnreadable(const QString& message);
    // The copy is longer than any site takes; the message is for the user.
    void clipboardTooLong(const QString& message);

private:
    void take(const ClipboardSource::Content& content);

    ClipboardSource& source_;
    lookup::LookupController& lookups_;
    const settings::Options& options_;
    bool paused_ = false;
    bool suppressed_ = false;
};

} // namespace input
