#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;

namespace browser {

class PageControl;
class TTabSheetEx;
class WebBrowser;
class WebBrowserFactory;

// The tabs of the main window, each page owning one browser.
//
// Every page load the program starts goes through CreateNewTabBrowser. Around it the manager
// keeps the captions, the remembered address and the Back and Forward state in step with the
// browsers' events, turns the pages' requests for new windows into tabs, closes tabs (never
// leaving the window without one), lets the user reorder tabs by dragging and carries out the
// commands of the tab-strip menu and the page menu.
//
// It knows nothing of the main window: what it needs comes in through the constructor, and
// what the window shows (buttons, status bar, search box) goes out through signals.
class TabManager : public QObject {
    Q_OBJECT
public:
    // cbOpenNew: the "open a new tab for every search" option, read whenever a page is
    // opened (and flipped for a moment by N44Click). factory makes each tab's browser and must
    // outlive the manager. logoUrl is the start page, newTabPageUrl the page of N44Click.
    TabManager(QAction* cbOpenNew, WebBrowserFactory* factory, QString logoUrl,
               QString newTabPageUrl, QObject* parent = nullptr);
    ~TabManager() override;

    // The tab control (objectName PageControl1) for the window's layout. Whoever places it
    // takes it; until then the manager owns it.
    PageControl* pageControl() const { return pageControl_; }

    QMenu* PopupActionBar1() const { return tabStripMenu_; } // the tab strip's menu
    QMenu* PopupActionBar2() const { return pageMenu_; }     // the page menu
    QAction* TOJIRU() const { return closeAction_; }
    QAction* N44() const { return newTabAction_; }
    QAction* N46() const { return closeAllAction_; }
    QAction* N7() const { return copyAction_; }
    QAction* N37() const { return pasteAction_; }
    QAction* N48() const { return reloadAction_; }
    // "現在のページのURLを表示する", for the window's options menu.
    QAction* Action24() const { return showUrlAction_; }

    QString logoUrl() const { return logoUrl_; }
    QString newTabPageUrl() const { return newTabPageUrl_; }
    // The active page's address at the last UpdateControls.
    QString URL_() const { return url_; }
    bool Page_Create() const { return pageCreate_; }
    // The active page when it is a browser tab, else null.
    TTabSheetEx* activeSheet() const;

    // Sends the active tab to the address, or a new tab at the right end when cbOpenNew is
    // checked, there is no tab yet or a page's new window is being opened. Returns as soon as
    // the navigation has started.
    void CreateNewTabBrowser(const QString& address);
    // Caption, remembered address and Back/Forward state from the active tab.
    void UpdateControls();

    // The caption a page title gives its tab: its first 20 UTF-16 units.
    static QString TabCaption(const QString& title);

public Q_SLOTS:
    void BtnBackClick();
    void BtnForwardClick();
    void TOJIRUClick();
    void N44Click();
    void ALL_Tab_CloseClick();
    void N7Click();
    void N37Click();
    void N48Click();
    void Action24Execute();

Q_SIGNALS:
    // Sent by every UpdateControls with the active tab's state.
    void backEnabledChanged(bool enabled);
    void forwardEnabledChanged(bool enabled);
    // The status text of any browser, background tabs included.
    void statusTextChanged(const QString& text);
    // Action24: put this address into the search box (it starts no lookup).
    void showUrlRequested(const QString& url);
    // Sent before a step back or forward, so that the keys go to the search box afterwards
    // rather than to the page.
    void focusSearchBoxRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attachEvents(WebBrowser* browser);
    TTabSheetEx* sheetOf(const WebBrowser* browser) const;
    void destroySheet(TTabSheetEx* sheet);

    void TitleChange();
    void StatusTextChangeEvent(const QString& text);
    void CommandStateChangeEvent(WebBrowser* sender, int command, bool enable);
    void DownloadCompleteEvent();
    void NewWindow2Event(WebBrowser** ppDisp, bool* cancel);
    void NewWindow3Event();

    void PageControl1Change();
    void PageControl1MouseDown(Qt::MouseButton button, QPoint pos);
    void PageControl1DragOver(QPoint pos);
    void PageControl1DragDrop(QPoint pos);
    void showPageMenu(QPoint globalPos);

    QPointer<QAction> cbOpenNew_;
    WebBrowserFactory* factory_;
    QString logoUrl_;
    QString newTabPageUrl_;
    QString url_;
    bool pageCreate_ = false;

    QPointer<PageControl> pageControl_;
    QPointer<QMenu> tabStripMenu_; // children of the tab control
    QPointer<QMenu> pageMenu_;
    QAction* closeAction_;
    QAction* newTabAction_;
    QAction* closeAllAction_;
    QAction* copyAction_;
    QAction* pasteAction_;
    QAction* reloadAction_;
    QAction* showUrlAction_;
};

} // namespace browser
