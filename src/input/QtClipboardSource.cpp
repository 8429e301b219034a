#include "input/QtClipboardSource.h"

#include <QClipboard>
#include <QMimeData>

namespace input {

QtClipboardSource::QtClipboardSource(QClipboard* clipboard, QObject* parent)
    : ClipboardSource(parent), clipboard_(clipboard) {
    connect(clipboard_, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            Q_EMIT changed();
    });
}

ClipboardSource::Content QtClipboardSource::read() {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    if (!data)
        return {Content::Unreadable, {}, QStringLiteral("(the clipboard could not be read)")};
    // The text is asked for first: listing every format the owner offers costs the owner a
    // round trip per format name, on every copy.
    if (QString text = data->text(); !text.isEmpty() || data->hasText())
        return {Content::Text, std::move(text), {}};
    return {Content::NoText, {}, {}};
}

} // namespace input
