#pragma once

#include "input/ClipboardSource.h"

#include <memory>

namespace desktop {
class WaylandClipboardWorker;
class WaylandDataControl;
} // namespace desktop

namespace input {

// The Wayland clipboard as the compositor's data-control protocol shows it: every copy in any
// program, also while the program's own window (an XWayland one among them) is in the
// background. Read on a thread of its own and within bounds; only text is a word. The primary
// selection (text selected with the mouse) is told apart, for a watcher of its own.
class WaylandClipboardSource : public ClipboardSource {
    Q_OBJECT
public:
    // Nothing when the session is not Wayland or its compositor offers no data control.
    static std::unique_ptr<WaylandClipboardSource> forSession(QObject* parent = nullptr);
    explicit WaylandClipboardSource(std::unique_ptr<desktop::WaylandDataControl> control,
                                    QObject* parent = nullptr);
    ~WaylandClipboardSource() override;

    // Reading happens on the reading thread only: in place there is nothing to tell yet.
    Content read() override;
    void requestRead() override;
    // Reads the primary selection; told through primaryReadFinished.
    void requestPrimaryRead();

Q_SIGNALS:
    void primarySelectionChanged();
    void primaryReadFinished(const input::ClipboardSource::Content& content);

private:
    std::unique_ptr<desktop::WaylandClipboardWorker> worker_;
};

} // namespace input
