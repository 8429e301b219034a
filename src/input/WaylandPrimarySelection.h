#pragma once

#include "input/ClipboardSource.h"

class QClipboard;

namespace input {

class WaylandClipboardSource;

// The primary selection (text selected with the mouse) as the Wayland clipboard source sees it
// through data control, as a source of its own for the selection watcher. A selection the
// program's own window holds (Qt owns it) is told as OwnWindow, never read.
class WaylandPrimarySelection : public ClipboardSource {
    Q_OBJECT
public:
    WaylandPrimarySelection(WaylandClipboardSource& source, const QClipboard* ownClipboard,
                            QObject* parent = nullptr);

    // Reading happens on the reading thread only: in place there is nothing to tell yet.
    Content read() override;
    void requestRead() override;

private:
    WaylandClipboardSource& source_;
    const QClipboard* ownClipboard_;
};

} // namespace input
