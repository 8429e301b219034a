#include "browser/BrowserTab.h"

namespace browser {

BrowserTab::BrowserTab(QWidget* parent) : QWidget(parent) {}

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

void BrowserTab::setHistoryState(bool canGoBack, bool canGoForward) {
    canGoBack_ = canGoBack;
    canGoForward_ = canGoForward;
}

} // namespace browser
