#pragma once

#include "browser/NetworkNotice.h"
#include "browser/WebBrowser.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;

namespace settings {
struct Options;
}

namespace browser {

class BrowserTab;
class TabControl;
class WebBrowser;
class WebBrowserFactory;

// The tabs of the main window, each page owning one browser.
//
// Every page load the program starts goes through openAddress. Around it the manager keeps
// the captions, the remembered address and the Back and Forward state in step with the
// browsers' events, turns the pages' requests for new windows into tabs, closes tabs (never
// leaving the window without one), lets the user reorder tabs by dragging and carries out the
// commands of the tab-strip menu and the page menu.
//
// It knows nothing of the main window: what it needs comes in through the constructor, and
// what the window shows (buttons, status bar, search box) goes out through signals.
class TabManager : public QObject {
    Q_OBJECT
public:
    // options: read whenever a page is opened ("open a new tab for every search"). factory
    // makes each tab's browser and must outlive the manager. startPageUrl is the page a window
    // without tabs falls back to, newTabPageUrl the page of a new tab opened by the user.
    TabManager(const settings::Options& options, WebBrowserFactory* factory, QString startPageUrl,
               QString newTabPageUrl, QObject* parent = nullptr);
    ~TabManager() override;

    // The tab control (objectName PageControl1) for the window's layout. The manager owns it
    // and its tabs, wherever it is placed.
    TabControl* tabControl() const { return tabControl_; }

    QMenu* tabStripMenu() const { return tabStripMenu_; }
    QMenu* pageMenu() const { return pageMenu_; }
    QAction* closeTabAction() const { return closeTabAction_; }
    QAction* newTabAction() const { return newTabAction_; }
    QAction* closeAllTabsAction() const { return closeAllTabsAction_; }
    QAction* copyAction() const { return copyAction_; }
    QAction* pasteAction() const { return pasteAction_; }
    QAction* reloadAction() const { return reloadAction_; }

    QString startPageUrl() const { return startPageUrl_; }
    QString newTabPageUrl() const { return newTabPageUrl_; }
    // The active page's address when the active tab last reported its state.
    QString rememberedAddress() const { return rememberedAddress_; }
    // A tab for a page's new window is being made.
    bool isOpeningWindowTab() const { return openingWindowTab_; }
    // The active tab, or null.
    BrowserTab* activeTab() const;

    // Sends the active tab to the address, or a new tab at the right end when the options ask
    // for a new tab per search or there is no tab yet. Returns as soon as the navigation has
    // started.
    void openAddress(const QString& address);
    // Opens the address in a new tab at the right end, whatever the options say.
    void openInNewTab(const QString& address);
    // Caption, remembered address and Back/Forward state from the active tab.
    void updateFromActiveTab();
    // What the program knows of a failed address it asked for, for the failure pages of
    // every tab.
    void setFailedLookupSource(WebBrowser::FailedLookupSource source);
    // Text size 1 to 4 of the active tab only.
    void setActiveTextSize(int level);

    // The caption a page title gives its tab: its first 20 UTF-16 units.
    static QString captionForTitle(const QString& title);

public Q_SLOTS:
    void goBack();
    void goForward();
    void closeActiveTab();
    void openNewTab();
    void closeAllTabs();
    void copySelection();
    void paste();
    void reloadActivePage();
    // "現在のページのURLを表示する" in the window's options menu.
    void showActiveAddress();

Q_SIGNALS:
    // The active tab's history, each time it reports its state.
    void historyChanged(bool canGoBack, bool canGoForward);
    // The status text of any browser, background tabs included.
    void statusTextChanged(const QString& text);
    // showActiveAddress: put this address into the search box (it starts no lookup).
    void addressToShow(const QString& address);
    // A failure page's button: this site is to be its category's site.
    void siteChoiceRequested(const QString& siteKey);
    // A failure page's button: the proxy settings.
    void proxySettingsRequested();
    // Whether the active tab's loading has lasted long enough to show, and how far it is.
    void activeLoadingShown(bool shown, int percent);
    // The active tab's load ended, well or not.
    void activeLoadEnded();
    // Sent before a step back or forward, so that the keys go to the search box afterwards
    // rather than to the page.
    void focusSearchBoxRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Target { ActiveTab, NewTab };
    void open(const QString& address, Target target);
    void attachEvents(WebBrowser* browser);
    void attachIndicator(BrowserTab* tab);
    BrowserTab* tabOf(const WebBrowser* browser) const;
    void destroyTab(BrowserTab* tab);
    WebBrowser* browserForNewWindow();

    void browserTitleChanged();
    void activeTabChosen();
    void tabStripPressed(Qt::MouseButton button, QPoint pos);
    void tabDraggedOver(QPoint pos);
    void tabDropped(QPoint pos);
    void showPageMenu(QPoint globalPos);

    const settings::Options& options_;
    WebBrowserFactory* factory_;
    QString startPageUrl_;
    QString newTabPageUrl_;
    QString rememberedAddress_;
    bool openingWindowTab_ = false;
    WebBrowser::FailedLookupSource failedLookupSource_;
    NetworkNotice networkNotice_;

    QPointer<TabControl> tabControl_;
    QPointer<QMenu> tabStripMenu_; // children of the tab control
    QPointer<QMenu> pageMenu_;
    QAction* closeTabAction_;
    QAction* newTabAction_;
    QAction* closeAllTabsAction_;
    QAction* copyAction_;
    QAction* pasteAction_;
    QAction* reloadAction_;
};

} // namespace browser
