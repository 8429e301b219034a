#pragma once

#include <QList>
#include <QWidget>

class QStackedWidget;

namespace browser {

class TabStrip;
class BrowserTab;

// The tab control: the wrapping tab strip over the pages, one page shown at a time.
// It holds no page until the first is added.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);
    ~TabControl() override;

    int count() const { return static_cast<int>(tabs_.size()); }
    BrowserTab* tab(int index) const;
    int indexOf(const BrowserTab* tab) const;
    BrowserTab* activeTab() const { return active_; }
    int activeIndex() const { return indexOf(active_); }

    // Appends a page and takes it as a child; the active page stays as it was.
    void addTab(BrowserTab* tab);
    // Shows a tab without reporting it (only the user's choice of a tab is reported).
    void setActiveTab(BrowserTab* tab);
    // Moves a page to another index; the pages between shift by one.
    void moveTab(BrowserTab* tab, int index);

    TabStrip* tabStrip() const { return strip_; }
    // Where the pages show, below the strip.
    QWidget* pageArea() const;

Q_SIGNALS:
    // The user selected another tab.
    void userSelectedTab();

private:
    void tabDestroyed(QObject* page);
    void syncStrip();

    TabStrip* strip_;
    QStackedWidget* stack_;
    QList<BrowserTab*> tabs_;
    BrowserTab* active_ = nullptr;
};

} // namespace browser
