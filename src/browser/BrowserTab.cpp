#include "browser/BrowserTab.h"

#include "browser/LoadingIndicator.h"

namespace browser {

BrowserTab::BrowserTab(QWidget* parent)
    : QWidget(parent), loadingIndicator_(new LoadingIndicator(this)) {
    connect(loadingIndicator_, &LoadingIndicator::visibleChanged, this,
            &BrowserTab::captionChanged);
}

// The browser goes before the rest of the tab, so that none of its late events finds a
// half-destroyed tab.
BrowserTab::~BrowserTab() {
    delete browser_.data();
}

void BrowserTab::setCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    Q_EMIT captionChanged();
}

QString BrowserTab::shownCaption() const {
    // A tab that says it is loading in its caption already needs no mark.
    if (!loadingIndicator_->isVisible() || caption_ == QLatin1StringView(kLoadingCaption))
        return caption_;
    return QString::fromUtf8(kLoadingMark) + caption_;
}

void BrowserTab::setHistoryState(bool canGoBack, bool canGoForward) {
    canGoBack_ = canGoBack;
    canGoForward_ = canGoForward;
}

} // namespace browser
