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
    connect(&source_, &ClipboardSource::readFinished, this, &ClipboardWatcher::take);
}

void ClipboardWatcher::togglePause() {
    paused_ = !paused_;
    Q_EMIT pausedChanged(paused_);
}

void ClipboardWatcher::clipboardChanged() {
    // Paused, the clipboard is not even read: an owner that hangs costs nothing then.
    if (paused_ || suppressed_)
        return;
    source_.requestRead();
}

void ClipboardWatcher::takeAskedText(const QString& text) {
    if (suppressed_ || text.trimmed().isEmpty())
        return;
    lookups_.takeCopiedText(options_.fullWidthToAscii ? fullWidthToAscii(text) : text);
}

void ClipboardWatcher::take(const ClipboardSource::Content& content) {
    // Paused or suppressed while the read went on: the copy came too late.
    if (paused_ || suppressed_)
        return;
    if (content.kind == ClipboardSource::Content::Unreadable) {
        Q_EMIT clipboardUnreadable(
            QStringLiteral("クリップボード %1 を開けません").arg(content.reason));
        return;
    }
    if (content.kind == ClipboardSource::Content::TooLong) {
        // The search box keeps its text: a part of the copy would be a lookup nobody asked for.
        Q_EMIT clipboardTooLong(
            QStringLiteral("コピーされた文字列は長すぎるため検索しません%1").arg(content.reason));
        return;
    }
    if (content.kind != ClipboardSource::Content::Text)
        return;
    takeText(content.text);
}

void ClipboardWatcher::takeText(const QString& text) {
    if (text == lookups_.searchText())
        return;
    lookups_.takeCopiedText(options_.fullWidthToAscii ? fullWidthToAscii(text) : text);
}

} // namespace input
