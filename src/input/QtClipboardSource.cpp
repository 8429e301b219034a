#include "input/QtClipboardSource.h"

#include "desktop/ClipboardReadPlan.h"
#include "desktop/X11ClipboardReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextDocumentFragment>

namespace input {

QtClipboardSource::QtClipboardSource(QClipboard* clipboard, QObject* parent)
    : ClipboardSource(parent), clipboard_(clipboard) {
    if (QGuiApplication::platformName() == QLatin1StringView("xcb")) {
        x11_ = std::make_unique<desktop::X11ClipboardReader>();
        if (!x11_->isConnected())
            x11_.reset();
    }
    connect(clipboard_, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            Q_EMIT changed();
    });
}

QtClipboardSource::~QtClipboardSource() = default;

ClipboardSource::Content QtClipboardSource::read() {
    if (!x11_)
        return readThroughQt();
    const desktop::X11ClipboardReader::Result result = x11_->read();
    switch (result.kind) {
    case desktop::X11ClipboardReader::Result::Text:
        return {Content::Text, result.text, {}};
    case desktop::X11ClipboardReader::Result::Unreadable:
        return {Content::Unreadable, {}, result.reason};
    case desktop::X11ClipboardReader::Result::NoText:
        break;
    }
    return {Content::NoText, {}, {}};
}

ClipboardSource::Content QtClipboardSource::readThroughQt() {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    if (!data)
        return {Content::Unreadable, {}, QStringLiteral("（クリップボードを読めません）")};
    const desktop::ClipboardReadPlan plan = desktop::ClipboardReadPlan::forFormats(data->formats());
    if (!plan.fileListFormat.isEmpty() && desktop::isLocalFileList(data->data(plan.fileListFormat)))
        return {Content::NoText, {}, {}};
    if (plan.textFormat.isEmpty())
        return {Content::NoText, {}, {}};
    if (plan.textIsHtml) {
        const QString text = QTextDocumentFragment::fromHtml(data->html())
                                 .toPlainText()
                                 .remove(QChar::ObjectReplacementCharacter)
                                 .trimmed();
        if (text.isEmpty())
            return {Content::NoText, {}, {}};
        return {Content::Text, text, {}};
    }
    return {Content::Text, data->text(), {}};
}

} // namespace input
