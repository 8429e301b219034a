#pragma once

#include "browser/NavigationWatch.h"
#include "browser/WebBrowser.h"

#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

class QTimer;
class QWebEngineNavigationRequest;
class QWebEngineProfile;
class QWebEngineView;

namespace browser {

class EnginePage;
class ExternalProgramPrompt;
class FailurePageController;
class PageInputWatch;

// The browser of a tab on Qt WebEngine.
//
// Events: titleChanged with every title, statusTextChanged with the hovered link and the load
// messages, historyChanged after every address change and finished load, loadingChanged when
// loading starts or ends, loadFinished when a load ends, well or not. A window the user asked
// for is shown in the page of the browser that the new-window handler hands back; one a page
// opens by itself is dropped, and the status text says so once per load.
//
// A page that can't be loaded gives way to the program's failure page (loadFailed), and a
// failure is an answer: the lost-load watch never asks for it again.
class WebEngineBrowser : public WebBrowser {
    Q_OBJECT
public:
    WebEngineBrowser(QWebEngineProfile* profile, QWidget* owner);
    ~WebEngineBrowser() override;

    void load(const QString& address) override;
    void goBack() override;
    void goForward() override;
    void reload() override;
    void copySelection() override;
    void paste() override;
    void setTextSize(int level) override;

    QString address() const override;
    QString title() const override;
    bool isLoading() const override { return loading_; }

    QWebEngineView* view() const { return view_; }
    FailurePageController* failurePages() const { return failurePages_; }
    QWebEnginePage* page() const;
    // Whether the browser still follows a load it was asked for, and may ask for it again.
    bool followsAskedLoad() const { return watch_.isFollowing(); }
    // Asks before a clicked link goes to another program; without one, no link does.
    void setExternalProgramPrompt(ExternalProgramPrompt* prompt) { prompt_ = prompt; }

    // The zoom factor of a text size 1 to 4, 0 for anything else. 3 is the standard size.
    static double zoomFactorForLevel(int level);

private:
    QWebEnginePage* pageForNewWindow();
    // Whether the navigation may go on; a link to another program is asked about first.
    bool allowNavigation(QWebEngineNavigationRequest& request);
    void askToOpenExternally(const QUrl& url);
    void sendHistoryState();
    void setLoading(bool loading);
    void loadEnded(const QWebEngineLoadingInfo& info);

    QWebEngineView* view_;
    EnginePage* page_;
    FailurePageController* failurePages_;
    PageInputWatch* input_;
    ExternalProgramPrompt* prompt_ = nullptr;
    bool prompting_ = false;
    QTimer* lostCheck_; // runs while a lookup taken up may have been lost
    bool loading_ = false;
    bool ownPageLoad_ = false;      // the failure page is being put in
    bool popupBlockedTold_ = false; // since the last load began
    NavigationWatch watch_;
};

} // namespace browser
