#include "browser/TabControl.h"

#include "browser/BrowserTab.h"
#include "browser/TabStrip.h"

#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace browser {

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), strip_(new TabStrip(this)), stack_(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("PageControl1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip_);
    layout->addWidget(stack_, 1);

    connect(strip_, &TabStrip::tabSelected, this, [this](int index) {
        setActiveTab(tab(index));
        Q_EMIT userSelectedTab();
    });
}

TabControl::~TabControl() {
    // The pages go with the stack; they need not report back to a control being destroyed.
    for (BrowserTab* page : tabs_)
        disconnect(page, nullptr, this, nullptr);
}

QWidget* TabControl::pageArea() const {
    return stack_;
}

BrowserTab* TabControl::tab(int index) const {
    return index >= 0 && index < tabs_.size() ? tabs_.at(index) : nullptr;
}

int TabControl::indexOf(const BrowserTab* page) const {
    return page ? static_cast<int>(tabs_.indexOf(page)) : -1;
}

void TabControl::addTab(BrowserTab* page) {
    if (!page || tabs_.contains(page))
        return;
    tabs_.append(page);
    stack_->addWidget(page);
    connect(page, &QObject::destroyed, this, &TabControl::tabDestroyed);
    connect(page, &BrowserTab::captionChanged, this, &TabControl::syncStrip);
    if (!active_)
        setActiveTab(page);
    syncStrip();
}

void TabControl::setActiveTab(BrowserTab* page) {
    if (page && !tabs_.contains(page))
        return;
    active_ = page;
    if (page)
        stack_->setCurrentWidget(page);
    strip_->setCurrentIndex(indexOf(page));
}

void TabControl::moveTab(BrowserTab* page, int index) {
    const int from = indexOf(page);
    if (from < 0 || index < 0 || index >= count() || index == from)
        return;
    tabs_.move(from, index);
    syncStrip();
}

// A destroyed active page leaves the last page shown, so that the control never shows a
// page that no tab stands for.
void TabControl::tabDestroyed(QObject* object) {
    const auto it = std::find_if(tabs_.begin(), tabs_.end(), [object](BrowserTab* p) {
        return static_cast<QObject*>(p) == object;
    });
    if (it == tabs_.end())
        return;
    const bool wasActive = static_cast<QObject*>(active_) == object;
    tabs_.erase(it);
    if (wasActive) {
        active_ = nullptr;
        setActiveTab(tabs_.isEmpty() ? nullptr : tabs_.last());
    }
    syncStrip();
}

void TabControl::syncStrip() {
    QStringList captions;
    captions.reserve(tabs_.size());
    for (const BrowserTab* page : tabs_)
        captions << page->shownCaption();
    strip_->setCaptions(captions);
    strip_->setCurrentIndex(activeIndex());
}

} // namespace browser
