#pragma once

#include "browser/NavigationWatch.h"
#include "browser/WebBrowser.h"

#include <QWebEnginePage>

class QTimer;
class QWebEngineProfile;
class QWebEngineView;

namespace browser {

class EnginePage;

// The browser of a tab on Qt WebEngine.
//
// Events: titleChanged with every title, statusTextChanged with the hovered link and the load
// messages, historyChanged after every address change and finished load, loadingChanged when
// loading starts or ends, loadFinished when a load ends, well or not. A page's request for a
// window is shown in the page of the browser that the new-window handler hands back.
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
    QWebEnginePage* page() const;

    // The zoom factor of a text size 1 to 4, 0 for anything else. 3 is the standard size.
    static double zoomFactorForLevel(int level);

private:
    QWebEnginePage* createWindow(QWebEnginePage::WebWindowType type);
    void sendHistoryState();
    void setLoading(bool loading);

    QWebEngineView* view_;
    EnginePage* page_;
    QTimer* lostCheck_; // runs while a lookup taken up may have been lost
    bool loading_ = false;
    NavigationWatch watch_;
};

} // namespace browser
