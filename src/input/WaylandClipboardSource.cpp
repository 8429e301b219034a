#include "input/WaylandClipboardSource.h"

#include "desktop/WaylandClipboardWorker.h"
#include "desktop/WaylandDataControl.h"

namespace input {

namespace {

ClipboardSource::Content contentOf(const desktop::WaylandDataControl::Result& result) {
    using Content = ClipboardSource::Content;
    using Result = desktop::WaylandDataControl::Result;
    switch (result.kind) {
    case Result::Text:
        return {Content::Text, result.text, {}};
    case Result::Unreadable:
        return {Content::Unreadable, {}, result.reason};
    case Result::TooLong:
        return {Content::TooLong, {}, result.reason};
    case Result::NoText:
        break;
    }
    return {Content::NoText, {}, {}};
}

} // namespace

std::unique_ptr<WaylandClipboardSource> WaylandClipboardSource::forSession(QObject* parent) {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    std::unique_ptr<desktop::WaylandDataControl> control = desktop::WaylandDataControl::connect();
    if (!control)
        return nullptr;
    return std::make_unique<WaylandClipboardSource>(std::move(control), parent);
}

WaylandClipboardSource::WaylandClipboardSource(std::unique_ptr<desktop::WaylandDataControl> control,
                                               QObject* parent)
    : ClipboardSource(parent),
      worker_(std::make_unique<desktop::WaylandClipboardWorker>(std::move(control))) {
    using Selection = desktop::WaylandDataControl::Selection;
    connect(worker_.get(), &desktop::WaylandClipboardWorker::changed, this,
            [this](Selection selection) {
                if (selection == Selection::Clipboard)
                    Q_EMIT changed();
                else
                    Q_EMIT primarySelectionChanged();
            });
    connect(worker_.get(), &desktop::WaylandClipboardWorker::finished, this,
            [this](Selection selection, const desktop::WaylandDataControl::Result& result) {
                if (selection == Selection::Clipboard)
                    Q_EMIT readFinished(contentOf(result));
                else
                    Q_EMIT primaryReadFinished(contentOf(result));
            });
}

WaylandClipboardSource::~WaylandClipboardSource() = default;

ClipboardSource::Content WaylandClipboardSource::read() {
    return {Content::Unreadable, {}, QStringLiteral("（クリップボードを読めません）")};
}

void WaylandClipboardSource::requestRead() {
    worker_->read(desktop::WaylandDataControl::Selection::Clipboard);
}

void WaylandClipboardSource::requestPrimaryRead() {
    worker_->read(desktop::WaylandDataControl::Selection::Primary);
}

} // namespace input
