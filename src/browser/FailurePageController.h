#pragma once

#include "browser/FailureBlame.h"
#include "browser/FailurePage.h"
#include "browser/LoadFailure.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWebEngineLoadingInfo;
class QWebEngineNavigationRequest;
class QWebEnginePage;

namespace browser {

class FailurePageSchemeHandler;

// Puts the program's failure page in place of whatever the engine would show when a page
// can't be loaded, and carries the page's buttons back to the program.
//
// The engine runs without error pages of its own. The failure page lives at an address of the
// program's own scheme (FailurePage::pageUrl), which no site can load, frame or script; the
// tab still names the failed address (displayedAddress). A load that fails before the site
// sends anything leaves no document behind, and the failure page is loaded after the page
// before it. An HTTP error status comes with a document: one with anything of the site's own
// in it (text, pictures, scripts) stays the site's page; an empty one gives way to the failure
// page in its history entry. Reload asks the site again, and a failure page that fails again
// is replaced rather than stacked in the history.
//
// The page's links act only when the user clicks them on the failure page shown now: the
// program lets through no navigation to its scheme that it did not start itself, and each
// copy of the page served has tokens of its own, gone at the next navigation or first use.
//
// Whether a failure is the site's, the network's or the proxy's is FailureBlame's judgement
// over the loads of late; the page of a network or proxy failure offers no other sites.
//
// A site that sends nothing at all within the time limit is stopped and shown as timed out;
// a site that has begun to send its page is left to finish however slowly.
class FailurePageController : public QObject {
    Q_OBJECT
public:
    // What the program knows of a failed address it asked for itself; null for an address it
    // did not ask for (a followed link, say).
    using LookupSource = std::function<std::optional<FailurePage::Lookup>(const QUrl& address)>;

    static constexpr int kResponseTimeoutMs = 20000;

    explicit FailurePageController(QWebEnginePage* page, QObject* parent = nullptr);
    ~FailurePageController() override;

    // The proxy server in use now as "host:port", empty for none.
    using ProxySource = std::function<QString()>;

    void setLookupSource(LookupSource source) { lookupSource_ = std::move(source); }
    // Whom failures are laid to, shared by every tab so that one tab's answers speak for the
    // network in another's; each controller has one of its own until given this.
    void setBlame(std::shared_ptr<FailureBlame> blame, ProxySource proxy);
    void setResponseTimeoutMs(int ms);

    // Makes the failure page's scheme known to the engine. Must run before the QApplication
    // is created.
    static void registerScheme();

    // What the engine's report of an ended load means: a failure, or nothing.
    static std::optional<LoadFailure> classify(const QWebEngineLoadingInfo& info);

    // Whether the load under way is the failure page itself.
    bool isLoadingOwnPage() const { return loadingOwnPage_; }
    // Whether the load that ended last was stopped by the time limit.
    bool lastLoadTimedOut() const { return lastLoadTimedOut_; }
    // Whether the page shows a failure page now.
    bool showsFailure() const { return shown_ != nullptr; }
    // The address the tab stands for: the failed one while a failure page is shown.
    QUrl displayedAddress() const;
    // Whether the time limit runs for the load under way.
    bool isTimingResponse() const;
    // Reload as the user asks for it: a failure page asks its address again, without adding
    // to the history; any other page reloads as usual.
    void reload();
    // The status-bar text for a hovered link: a failure page's own links are told in words.
    std::optional<QString> describeLink(const QUrl& url) const;

Q_SIGNALS:
    // A failure page now stands for address.
    void failed(const browser::LoadFailure& failure, const QUrl& address);
    // The buttons and links of a failure page.
    void lookUpRequested(const QString& siteKey, const QString& address);
    void useSiteRequested(const QString& siteKey);
    // The failure page of a proxy that failed asks for the proxy settings.
    void proxySettingsRequested();

private:
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void navigationRequested(QWebEngineNavigationRequest& request);
    void responseTimedOut();
    void loadEnded(const QUrl& address, const std::optional<LoadFailure>& failure,
                   bool documentCommitted);
    // Puts page in: from the current document in its place, or after it in the history.
    void show(std::shared_ptr<FailurePage> page, bool replacingCurrent);
    std::shared_ptr<FailurePage> makePage(const QUrl& address, const LoadFailure& failure) const;
    std::shared_ptr<FailurePage> pageOfUrl(const QUrl& pageUrl) const;
    void pageLinkRequested(QWebEngineNavigationRequest& request);
    void pageShown(const QUrl& url);
    void forgetLoad();

    QWebEnginePage* page_;
    QPointer<FailurePageSchemeHandler> schemeHandler_;
    QTimer* responseTimer_;
    LookupSource lookupSource_;
    std::shared_ptr<FailureBlame> blame_;
    ProxySource proxy_;
    // The load under way: its address and whether its document has replaced the last one.
    QUrl loading_;
    bool committed_ = false;
    bool timedOut_ = false;
    bool lastLoadTimedOut_ = false;
    bool loadingOwnPage_ = false;
    unsigned loadSerial_ = 0; // counts the loads begun, the failure page's own left out
    // The failure page the page shows now, and the recent ones, served again when the user
    // goes back to them.
    std::shared_ptr<FailurePage> shown_;
    std::deque<std::shared_ptr<FailurePage>> recent_;
    QUrl expected_; // the failure page the program is putting in
};

} // namespace browser
