#include "browser/PageControl.h"

#include "browser/TTabSheet.h"
#include "browser/TabStrip.h"

#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace browser {

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), strip_(new TabStrip(this)), stack_(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("PageControl1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip_);
    layout->addWidget(stack_, 1);

    connect(strip_, &TabStrip::tabSelected, this, [this](int index) {
        setActivePage(Pages(index));
        Q_EMIT Change();
    });
}

PageControl::~PageControl() {
    // The pages go with the stack; they need not report back to a control being destroyed.
    for (TTabSheet* page : pages_)
        disconnect(page, nullptr, this, nullptr);
}

TTabSheet* PageControl::Pages(int index) const {
    return index >= 0 && index < pages_.size() ? pages_.at(index) : nullptr;
}

int PageControl::IndexOf(const TTabSheet* page) const {
    return page ? static_cast<int>(pages_.indexOf(page)) : -1;
}

void PageControl::addPage(TTabSheet* page) {
    if (!page || pages_.contains(page))
        return;
    pages_.append(page);
    stack_->addWidget(page);
    connect(page, &QObject::destroyed, this, &PageControl::pageDestroyed);
    connect(page, &TTabSheet::captionChanged, this, &PageControl::syncStrip);
    if (!active_)
        setActivePage(page);
    syncStrip();
}

void PageControl::setActivePage(TTabSheet* page) {
    if (page && !pages_.contains(page))
        return;
    active_ = page;
    if (page)
        stack_->setCurrentWidget(page);
    strip_->setCurrentIndex(IndexOf(page));
}

void PageControl::movePage(TTabSheet* page, int index) {
    const int from = IndexOf(page);
    if (from < 0 || index < 0 || index >= PageCount() || index == from)
        return;
    pages_.move(from, index);
    syncStrip();
}

// A destroyed active page leaves the last page shown, so that the control never shows a
// page that no tab stands for.
void PageControl::pageDestroyed(QObject* object) {
    const auto it = std::find_if(pages_.begin(), pages_.end(), [object](TTabSheet* p) {
        return static_cast<QObject*>(p) == object;
    });
    if (it == pages_.end())
        return;
    const bool wasActive = static_cast<QObject*>(active_) == object;
    pages_.erase(it);
    if (wasActive) {
        active_ = nullptr;
        setActivePage(pages_.isEmpty() ? nullptr : pages_.last());
    }
    syncStrip();
}

void PageControl::syncStrip() {
    QStringList captions;
    captions.reserve(pages_.size());
    for (const TTabSheet* page : pages_)
        captions << page->caption();
    strip_->setCaptions(captions);
    strip_->setCurrentIndex(ActivePageIndex());
}

} // namespace browser
