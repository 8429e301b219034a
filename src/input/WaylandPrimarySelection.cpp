#include "input/WaylandPrimarySelection.h"

#include "input/WaylandClipboardSource.h"

#include <QClipboard>

namespace input {

WaylandPrimarySelection::WaylandPrimarySelection(WaylandClipboardSource& source,
                                                 const QClipboard* ownClipboard, QObject* parent)
    : ClipboardSource(parent), source_(source), ownClipboard_(ownClipboard) {
    connect(&source_, &WaylandClipboardSource::primarySelectionChanged, this,
            &ClipboardSource::changed);
    connect(&source_, &WaylandClipboardSource::primaryReadFinished, this,
            [this](const Content& content) {
                // Text selected in the program's own (XWayland) window reaches the compositor's
                // primary selection too; while Qt still owns it, it is the program's own.
                if (ownClipboard_ && ownClipboard_->ownsSelection())
                    Q_EMIT readFinished({Content::OwnWindow, {}, {}});
                else
                    Q_EMIT readFinished(content);
            });
}

ClipboardSource::Content WaylandPrimarySelection::read() {
    return source_.read();
}

void WaylandPrimarySelection::requestRead() {
    source_.requestPrimaryRead();
}

} // namespace input
