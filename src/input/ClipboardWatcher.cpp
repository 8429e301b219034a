#include "input/ClipboardWatcher.h"

#include "input/ClipboardSource.h"
#include "input/FullWidthToAscii.h"
#include "lookup/LookupController.h"
#include "settings/Options.h"

namespace input {

ClipboardWatcher::ClipboardWatcher(ClipboardSource& source, lookup::LookupController& lookups,
                                   const settings::Options& options, QObject* parent)
    : QObject(parent), source_(source), lookups_(lookups), options_(options) {
    connect(&source_, &ClipboardSource::changed, this, &ClipboardWatcher::clipboardChanged);
}

void ClipboardWatcher::togglePause() {
    paused_ = !paused_;
    Q_EMIT pausedChanged(paused_);
}

void ClipboardWatcher::clipboardChanged() {
    const ClipboardSource::Content content = source_.read();
    if (content.kind == ClipboardSource::Content::Unreadable) {
        Q_EMIT clipboardUnreadable(
            QStringLiteral("クリップボード %1 を開けません").arg(content.reason));
        return;
    }
    if (content.kind != ClipboardSource::Content::Text)
        return;
    if (content.text == lookups_.searchText() || paused_ || suppressed_)
        return;
    lookups_.takeCopiedText(options_.fullWidthToAscii ? fullWidthToAscii(content.text)
                                                      : content.text);
}

} // namespace input
