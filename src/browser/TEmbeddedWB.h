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
// Events: TitleChange with every title, StatusTextChange with the hovered link and the load
// messages, CommandStateChange for back and forward after every address change and finished
// load (and CSC_UPDATECOMMANDS when loading starts or ends), DownloadComplete when a load
// ends, well or not, and NewWindow2 then NewWindow3 when the page asks for a window: the page
// of the browser handed back through NewWindow2 shows it.
class TEmbeddedWB : public WebBrowser {
    Q_OBJECT
public:
    TEmbeddedWB(QWebEngineProfile* profile, QWidget* owner);
    ~TEmbeddedWB() override;

    void Go(const QString& address) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Copy() override;
    void Paste() override;
    void ExecWB(int commandId, int option, int value) override;

    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override { return busy_; }

    QWebEngineView* view() const { return view_; }
    QWebEnginePage* page() const;

    // The zoom factor of a text size 1 to 4, 0 for anything else. 3 is the standard size.
    static double ZoomFactorForLevel(int level);

private:
    QWebEnginePage* createWindow(QWebEnginePage::WebWindowType type);
    void sendHistoryState();

    QWebEngineView* view_;
    EnginePage* page_;
    QTimer* lostCheck_; // runs while a lookup taken up may have been lost
    bool busy_ = false;
    NavigationWatch watch_;
};

} // namespace browser
