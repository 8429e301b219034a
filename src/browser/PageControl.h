#pragma once

#include <QList>
#include <QWidget>

class QStackedWidget;

namespace browser {

class TabStrip;
class TTabSheet;

// The tab control: the wrapping tab strip over the pages, one page shown at a time.
// It holds no page until the first is added.
class PageControl : public QWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    ~PageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    int IndexOf(const TTabSheet* page) const;
    TTabSheet* ActivePage() const { return active_; }
    int ActivePageIndex() const { return IndexOf(active_); }

    // Appends a page and takes it as a child; the active page stays as it was.
    void addPage(TTabSheet* page);
    // Shows a page without reporting a Change (only the user's choice of a tab does).
    void setActivePage(TTabSheet* page);
    // Moves a page to another index; the pages between shift by one.
    void movePage(TTabSheet* page, int index);

    TabStrip* tabStrip() const { return strip_; }

Q_SIGNALS:
    // The user selected another tab.
    void Change();

private:
    void pageDestroyed(QObject* page);
    void syncStrip();

    TabStrip* strip_;
    QStackedWidget* stack_;
    QList<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

} // namespace browser
