#pragma once

#include "browser/FailurePage.h"
#include "browser/LoadFailure.h"

#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>

namespace browser {

// One embedded browser as the tabs see it. The tab manager talks to nothing else, so tests
// put a fake in its place; WebEngineBrowser is the real one.
//
// The browser is the widget shown in its tab page; every window of the page's content is a
// descendant of it, which is how a right press inside a page is told apart from one elsewhere.
class WebBrowser : public QWidget {
    Q_OBJECT
public:
    // Answers a page's request for a new window with the browser that is to show it, or null
    // to drop the request.
    using NewWindowHandler = std::function<WebBrowser*()>;
    // What the program knows of a failed address it asked for itself, for the failure page;
    // null for an address it did not ask for.
    using FailedLookupSource = std::function<std::optional<FailurePage::Lookup>(const QUrl&)>;

    using QWidget::QWidget;
    ~WebBrowser() override;

    // Starts a navigation and returns at once.
    virtual void load(const QString& address) = 0;
    // One step in the page history; nothing when there is none.
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void reload() = 0;
    // Clipboard commands on the page's selection or focused field.
    virtual void copySelection() = 0;
    virtual void paste() = 0;
    // Text size 1 to 4, 3 being the standard size; other levels are ignored.
    virtual void setTextSize(int level) = 0;

    virtual QString address() const = 0;
    virtual QString title() const = 0;
    virtual bool isLoading() const = 0;

    void setNewWindowHandler(NewWindowHandler handler) { newWindowHandler_ = std::move(handler); }
    void setFailedLookupSource(FailedLookupSource source) {
        failedLookupSource_ = std::move(source);
    }

Q_SIGNALS:
    void statusTextChanged(const QString& text);
    void titleChanged(const QString& text);
    // After every address change and finished load.
    void historyChanged(bool canGoBack, bool canGoForward);
    // When a load starts or ends.
    void loadingChanged(bool loading);
    // A load ended, well or not.
    void loadFinished();
    // A page loaded.
    void loadSucceeded();
    // The engine's progress of the load under way, 0 to 100.
    void loadProgress(int percent);
    // The page could not be loaded; the failure page stands for address.
    void loadFailed(const browser::LoadFailure& failure, const QString& address);
    // The failure page's button: make this site its category's site.
    void siteChoiceRequested(const QString& siteKey);
    // The failure page of a proxy that failed: open the proxy settings.
    void proxySettingsRequested();

protected:
    // The browser that is to show a window the page asked for, or null.
    WebBrowser* browserForNewWindow() const {
        return newWindowHandler_ ? newWindowHandler_() : nullptr;
    }
    std::optional<FailurePage::Lookup> failedLookup(const QUrl& address) const {
        return failedLookupSource_ ? failedLookupSource_(address) : std::nullopt;
    }

private:
    NewWindowHandler newWindowHandler_;
    FailedLookupSource failedLookupSource_;
};

} // namespace browser
