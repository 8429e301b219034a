#pragma once

#include "browser/WebBrowser.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace browser {

// A page of the tab control: the caption on its tab and the one browser it shows, with the
// history and loading state that the browser last reported.
class BrowserTab : public QWidget {
    Q_OBJECT
public:
    explicit BrowserTab(QWidget* parent = nullptr);
    ~BrowserTab() override;

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

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
};

} // namespace browser
