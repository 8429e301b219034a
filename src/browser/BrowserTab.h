#pragma once

#include "browser/WebBrowser.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace browser {

class LoadingIndicator;

// A page of the tab control: the caption on its tab and the one browser it shows, with the
// history and loading state that the browser last reported.
class BrowserTab : public QWidget {
    Q_OBJECT
public:
    explicit BrowserTab(QWidget* parent = nullptr);
    ~BrowserTab() override;

    // The caption from the page's title.
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // What the tab shows: the caption, marked while a load has lasted a moment.
    QString shownCaption() const;

    // Follows the browser's loading, for the mark on the tab and the window's progress bar.
    LoadingIndicator* loadingIndicator() const { return loadingIndicator_; }
    static constexpr char kLoadingMark[] = "読込中… ";
    // The caption of a tab whose page has no title yet.
    static constexpr char kLoadingCaption[] = "Loading...";

    WebBrowser* browser() const { return browser_; }
    // Takes the browser, created as a child of this tab.
    void setBrowser(WebBrowser* browser) { browser_ = browser; }

    bool canGoBack() const { return canGoBack_; }
    bool canGoForward() const { return canGoForward_; }
    void setHistoryState(bool canGoBack, bool canGoForward);
    bool isLoading() const { return loading_; }
    void setLoading(bool loading) { loading_ = loading; }

Q_SIGNALS:
    void captionChanged();

private:
    QString caption_;
    QPointer<WebBrowser> browser_;
    bool canGoBack_ = false;
    bool canGoForward_ = false;
    bool loading_ = false;
    LoadingIndicator* loadingIndicator_;
};

} // namespace browser
