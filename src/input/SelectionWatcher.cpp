#include "input/SelectionWatcher.h"

#include "input/ClipboardWatcher.h"
#include "settings/Options.h"

namespace input {

SelectionWatcher::SelectionWatcher(ClipboardSource& selection, ClipboardWatcher& copies,
                                   const settings::Options& options,
                                   const timing::OneShotTimerFactory& timers, QObject* parent)
    : QObject(parent), selection_(selection), copies_(copies), options_(options),
      settle_(timers(false)) {
    settle_->setHandler([this] { settled(); });
    connect(&selection_, &ClipboardSource::changed, this, &SelectionWatcher::selectionChanged);
    connect(&selection_, &ClipboardSource::readFinished, this, &SelectionWatcher::take);
}

SelectionWatcher::~SelectionWatcher() = default;

bool SelectionWatcher::watching() const {
    return options_.lookUpSelection && !copies_.paused() && !copies_.suppressed();
}

void SelectionWatcher::selectionChanged() {
    // Not watching, the selection is not even read, and no count runs for it: one made while
    // paused is not looked up after resuming.
    if (!watching()) {
        settle_->stop();
        return;
    }
    settle_->start(kSettleMs);
}

void SelectionWatcher::settled() {
    if (watching())
        selection_.requestRead();
}

void SelectionWatcher::take(const ClipboardSource::Content& content) {
    // Paused, suppressed or switched off while the read went on: too late.
    if (!watching())
        return;
    switch (content.kind) {
    case ClipboardSource::Content::Text:
        copies_.takeText(content.text);
        return;
    case ClipboardSource::Content::Unreadable:
        Q_EMIT notice(QStringLiteral("選択された文字列を読めません%1").arg(content.reason));
        return;
    case ClipboardSource::Content::TooLong:
        Q_EMIT notice(
            QStringLiteral("選択された文字列は長すぎるため検索しません%1").arg(content.reason));
        return;
    case ClipboardSource::Content::NoText:
    case ClipboardSource::Content::OwnWindow:
        return;
    }
}

} // namespace input
