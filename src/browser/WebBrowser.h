#pragma once

#include <QString>
#include <QWidget>

namespace browser {

// Commands named by CommandStateChange.
enum CommandStateId : int {
    CSC_UPDATECOMMANDS = -1,
    CSC_NAVIGATEFORWARD = 1,
    CSC_NAVIGATEBACK = 2,
};

// The one command ExecWB carries out: the text size of the page.
inline constexpr int OLECMDID_ZOOM = 19;
inline constexpr int OLECMDEXECOPT_DONTPROMPTUSER = 2;

// One embedded browser as the tabs see it. The tab manager talks to nothing else, so tests
// put a fake in its place; TEmbeddedWB is the real one.
//
// The browser is the widget shown in its tab page; every window of the page's content is a
// descendant of it, which is how a right press inside a page is told apart from one elsewhere.
class WebBrowser : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    ~WebBrowser() override;

    // Starts a navigation and returns at once.
    virtual void Go(const QString& address) = 0;
    // One step in the page history; nothing when there is none.
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    // Clipboard commands on the page's selection or focused field.
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    // OLECMDID_ZOOM with a text size 1 to 4 (3 is the standard size); other commands and
    // sizes are ignored.
    virtual void ExecWB(int commandId, int option, int value) = 0;

    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    virtual bool Busy() const = 0;

Q_SIGNALS:
    void StatusTextChange(const QString& text);
    void TitleChange(const QString& text);
    void CommandStateChange(int command, bool enable);
    void DownloadComplete();
    // The page asks for a new window. A handler may answer with the browser that is to show
    // it (*ppDisp) or refuse it (*cancel); it must be connected directly, since the answer is
    // read as soon as the signal returns. Left unanswered, the request is dropped.
    void NewWindow2(browser::WebBrowser** ppDisp, bool* cancel);
    // Sent after NewWindow2 with what is known of the request: flags, the opener's address and,
    // when the engine tells it, the requested address.
    void NewWindow3(browser::WebBrowser** ppDisp, bool* cancel, unsigned flags,
                    const QString& urlContext, const QString& url);
};

} // namespace browser
