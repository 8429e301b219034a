#include "input/QtClipboardSource.h"

#include "desktop/ClipboardReadPlan.h"
#include "desktop/X11ClipboardReader.h"
#include "desktop/X11ClipboardWorker.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace input {

namespace {

ClipboardSource::Content contentOf(const desktop::X11ClipboardReader::Result& result) {
    using Content = ClipboardSource::Content;
    switch (result.kind) {
    case desktop::X11ClipboardReader::Result::Text:
        return {Content::Text, result.text, {}};
    case desktop::X11ClipboardReader::Result::Unreadable:
        return {Content::Unreadable, {}, result.reason};
    case desktop::X11ClipboardReader::Result::TooLong:
        return {Content::TooLong, {}, result.reason};
    case desktop::X11ClipboardReader::Result::OwnWindow:
        return {Content::OwnWindow, {}, {}};
    case desktop::X11ClipboardReader::Result::NoText:
        break;
    }
    return {Content::NoText, {}, {}};
}

// What Qt has already read, past the bound the X11 reader keeps to.
ClipboardSource::Content tooLongOr(const QString& text) {
    // In UTF-8, as the X11 reader counts; a UTF-16 unit is at least one byte there.
    const qint64 limit = desktop::X11ClipboardReader::kMaxBytes;
    if (text.size() > limit || text.toUtf8().size() > limit) {
        return {ClipboardSource::Content::TooLong,
                {},
                QStringLiteral("（%1 KiB を超えています）")
                    .arg(desktop::X11ClipboardReader::kMaxBytes / 1024)};
    }
    return {ClipboardSource::Content::Text, text, {}};
}

} // namespace

QtClipboardSource::QtClipboardSource(QClipboard* clipboard, QObject* parent)
    : QtClipboardSource(clipboard, Selection::Clipboard, parent) {}

QtClipboardSource::QtClipboardSource(QClipboard* clipboard, Selection selection, QObject* parent)
    : ClipboardSource(parent), clipboard_(clipboard), selection_(selection) {
    if (QGuiApplication::platformName() == QLatin1StringView("xcb")) {
        auto reader = std::make_unique<desktop::X11ClipboardReader>(selection);
#if QT_CONFIG(xcb)
        if (selection == Selection::Primary) {
            if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
                reader->ignoreOwnClient(x11->connection());
        }
#endif
        if (reader->isConnected()) {
            x11_ = std::make_unique<desktop::X11ClipboardWorker>(std::move(reader));
            connect(x11_.get(), &desktop::X11ClipboardWorker::finished, this,
                    [this](const desktop::X11ClipboardReader::Result& result) {
                        Q_EMIT readFinished(contentOf(result));
                    });
        }
    }
    connect(clipboard_, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == qtMode())
            Q_EMIT changed();
    });
}

QtClipboardSource::~QtClipboardSource() = default;

void QtClipboardSource::requestRead() {
    if (x11_)
        x11_->read();
    else
        Q_EMIT readFinished(read());
}

QClipboard::Mode QtClipboardSource::qtMode() const {
    return selection_ == Selection::Primary ? QClipboard::Selection : QClipboard::Clipboard;
}

ClipboardSource::Content QtClipboardSource::read() {
    if (selection_ == Selection::Primary && clipboard_->ownsSelection())
        return {Content::OwnWindow, {}, {}};
    const QMimeData* data = clipboard_->mimeData(qtMode());
    if (!data)
        return {Content::Unreadable, {}, QStringLiteral("（クリップボードを読めません）")};
    const desktop::ClipboardReadPlan plan = desktop::ClipboardReadPlan::forFormats(data->formats());
    if (!plan.fileListFormat.isEmpty() && desktop::isLocalFileList(data->data(plan.fileListFormat)))
        return {Content::NoText, {}, {}};
    if (plan.textFormat.isEmpty())
        return {Content::NoText, {}, {}};
    if (plan.textIsHtml) {
        const QString text = desktop::plainTextOfHtml(data->html());
        if (text.isEmpty())
            return {Content::NoText, {}, {}};
        return tooLongOr(text);
    }
    return tooLongOr(data->text());
}

} // namespace input
