#include "browser/WebEngineBrowser.h"

#include "browser/AddressUrl.h"
#include "browser/EnginePage.h"
#include "browser/ExternalProgramPrompt.h"
#include "browser/ExternalSchemePolicy.h"
#include "browser/FailurePageController.h"
#include "browser/LoadLog.h"
#include "browser/PageInputWatch.h"

#include <QDesktopServices>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineNavigationRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <utility>

namespace browser {

WebEngineBrowser::WebEngineBrowser(QWebEngineProfile* profile, QWidget* owner)
    : WebBrowser(owner), view_(new QWebEngineView(this)), page_(new EnginePage(profile, view_)),
      failurePages_(new FailurePageController(page_, this)), input_(new PageInputWatch(view_)),
      lostCheck_(new QTimer(this)) {
    view_->setPage(page_);
    // The engine itself hands nothing to another program without a click; the program asks
    // the user before it does (allowNavigation).
    page_->settings()->setUnknownUrlSchemePolicy(
        QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);
    failurePages_->setLookupSource([this](const QUrl& url) { return failedLookup(url); });
    connect(failurePages_, &FailurePageController::failed, this,
            [this](const LoadFailure& failure, const QUrl& url) {
                Q_EMIT statusTextChanged(QStringLiteral("%1（%2）")
                                             .arg(failure.heading(), url.host().isEmpty()
                                                                         ? url.toDisplayString()
                                                                         : url.host()));
                Q_EMIT loadFailed(failure, QString::fromLatin1(url.toEncoded()));
            });
    // The failure page's links: another site's query in this very tab, or a new site for
    // the category (which the program looks the text up at).
    connect(failurePages_, &FailurePageController::lookUpRequested, this,
            [this](const QString&, const QString& address) { load(address); });
    connect(failurePages_, &FailurePageController::useSiteRequested, this,
            &WebBrowser::siteChoiceRequested);
    connect(failurePages_, &FailurePageController::proxySettingsRequested, this,
            &WebBrowser::proxySettingsRequested);
    // The engine's own context menu never shows: the program's page menu takes its place.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    page_->setWindowRequestHandler([this] { return pageForNewWindow(); });
    // A page opening windows by itself is told of once per page, not once per window.
    connect(page_, &EnginePage::popupBlocked, this, [this] {
        if (std::exchange(popupBlockedTold_, true))
            return;
        Q_EMIT statusTextChanged(
            QStringLiteral("このページが開こうとしたポップアップを止めました"));
    });

    connect(page_, &QWebEnginePage::titleChanged, this,
            [this](const QString& title) { Q_EMIT titleChanged(title); });
    connect(page_, &QWebEnginePage::linkHovered, this, [this](const QString& url) {
        Q_EMIT statusTextChanged(failurePages_->describeLink(QUrl(url)).value_or(url));
    });
    connect(page_, &QWebEnginePage::loadProgress, this, [this](int percent) {
        if (!ownPageLoad_)
            Q_EMIT loadProgress(percent);
    });
    connect(page_, &QWebEnginePage::urlChanged, this, &WebEngineBrowser::sendHistoryState);
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        qCDebug(loadLog) << "shown" << url;
        watch_.shown(FailurePage::failedAddressOf(url).value_or(url));
    });
    lostCheck_->setSingleShot(true);
    lostCheck_->setInterval(NavigationWatch::kCheckAfterMs);
    connect(lostCheck_, &QTimer::timeout, this, [this] {
        if (const std::optional<QUrl> again = watch_.checkNow()) {
            qCDebug(loadLog) << "still not shown, asked again" << *again;
            page_->load(*again);
        }
    });
    connect(page_, &QWebEnginePage::navigationRequested, this,
            [this](QWebEngineNavigationRequest& request) {
                if (!allowNavigation(request)) {
                    request.reject();
                    return;
                }
                if (!request.isMainFrame() || FailurePage::isPageLink(request.url()))
                    return;
                qCDebug(loadLog) << "navigation" << request.navigationType() << request.url();
                switch (request.navigationType()) {
                case QWebEngineNavigationRequest::TypedNavigation:
                    watch_.started(request.url());
                    break;
                case QWebEngineNavigationRequest::RedirectNavigation:
                    watch_.redirected(request.url());
                    break;
                default: // the user, or the page itself, went somewhere else since
                    watch_.superseded();
                    break;
                }
            });
    // Told after the failure page has taken the event in (it was connected first). Putting
    // the failure page in is no load of the user's: it shows no progress and says nothing.
    connect(page_, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) {
                qCDebug(loadLog) << "loading" << info.status() << info.url() << info.errorDomain()
                                 << info.errorCode();
                if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                    popupBlockedTold_ = false;
                    ownPageLoad_ = failurePages_->isLoadingOwnPage();
                    if (ownPageLoad_)
                        return;
                    setLoading(true);
                    // The page still names the address it showed before: the one being
                    // opened is the navigation's.
                    Q_EMIT statusTextChanged(
                        QStringLiteral("%1 を開いています...")
                            .arg(addressForReading(
                                FailurePage::failedAddressOf(info.url()).value_or(info.url()))));
                    return;
                }
                if (std::exchange(ownPageLoad_, false)) {
                    sendHistoryState();
                    return;
                }
                loadEnded(info);
            });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                setLoading(false);
                Q_EMIT statusTextChanged(QStringLiteral("ページの表示が中断されました"));
                Q_EMIT loadFinished();
            });
}

// The page is the view's child; the view goes first so that it never shows a deleted page.
WebEngineBrowser::~WebEngineBrowser() {
    delete view_;
}

QWebEnginePage* WebEngineBrowser::page() const {
    return page_;
}

void WebEngineBrowser::load(const QString& address) {
    const QUrl url = addressToUrl(address);
    watch_.asked(url);
    page_->load(url);
}

void WebEngineBrowser::goBack() {
    watch_.superseded();
    page_->triggerAction(QWebEnginePage::Back);
}

void WebEngineBrowser::goForward() {
    watch_.superseded();
    page_->triggerAction(QWebEnginePage::Forward);
}

void WebEngineBrowser::reload() {
    watch_.superseded();
    failurePages_->reload();
}

void WebEngineBrowser::copySelection() {
    page_->triggerAction(QWebEnginePage::Copy);
}

void WebEngineBrowser::paste() {
    page_->triggerAction(QWebEnginePage::Paste);
}

double WebEngineBrowser::zoomFactorForLevel(int level) {
    switch (level) {
    case 1:
        return 0.75;
    case 2:
        return 0.875;
    case 3:
        return 1.0;
    case 4:
        return 1.25;
    default:
        return 0;
    }
}

void WebEngineBrowser::setTextSize(int level) {
    if (const double factor = zoomFactorForLevel(level); factor > 0)
        page_->setZoomFactor(factor);
}

void WebEngineBrowser::loadEnded(const QWebEngineLoadingInfo& info) {
    sendHistoryState();
    setLoading(false);
    const std::optional<LoadFailure> failure = failurePages_->lastLoadTimedOut()
                                                   ? LoadFailure::timedOut()
                                                   : FailurePageController::classify(info);
    // A failure page says what went wrong itself; an error status may yet come with a page of
    // the site's own.
    if (!failure || failure->kind == LoadFailureKind::HttpStatus)
        Q_EMIT statusTextChanged(info.status() == QWebEngineLoadingInfo::LoadStoppedStatus
                                     ? QStringLiteral("ページを表示できませんでした")
                                     : QStringLiteral("ページが表示されました"));
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
        Q_EMIT loadSucceeded();
    Q_EMIT loadFinished();
    if (failure) {
        // A site that failed has answered: asking it again by itself would only repeat the
        // failure, once per lookup.
        watch_.superseded();
        lostCheck_->stop();
        return;
    }
    // A lookup the engine lost while an older page was being committed is asked for again.
    const NavigationWatch::Decision decision = watch_.ended(page_->url());
    if (const auto* again = std::get_if<NavigationWatch::AskAgain>(&decision)) {
        qCDebug(loadLog) << "never taken up, asked again" << again->url;
        page_->load(again->url);
    } else if (std::holds_alternative<NavigationWatch::CheckLater>(decision))
        lostCheck_->start();
}

void WebEngineBrowser::setLoading(bool loading) {
    loading_ = loading;
    Q_EMIT loadingChanged(loading);
}

QString WebEngineBrowser::address() const {
    return QString::fromLatin1(failurePages_->displayedAddress().toEncoded());
}

QString WebEngineBrowser::title() const {
    return page_->title();
}

void WebEngineBrowser::sendHistoryState() {
    const QWebEngineHistory* history = page_->history();
    Q_EMIT historyChanged(history->canGoBack(), history->canGoForward());
}

namespace {

ExternalSchemePolicy::Navigation navigationOf(const QWebEngineNavigationRequest& request) {
    using N = ExternalSchemePolicy::Navigation;
    switch (request.navigationType()) {
    case QWebEngineNavigationRequest::LinkClickedNavigation:
        return N::LinkClicked;
    case QWebEngineNavigationRequest::TypedNavigation:
        return N::Typed;
    case QWebEngineNavigationRequest::FormSubmittedNavigation:
        return N::FormSubmitted;
    case QWebEngineNavigationRequest::BackForwardNavigation:
        return N::BackForward;
    case QWebEngineNavigationRequest::ReloadNavigation:
        return N::Reload;
    case QWebEngineNavigationRequest::RedirectNavigation:
        return N::Redirect;
    default:
        return N::Other;
    }
}

} // namespace

bool WebEngineBrowser::allowNavigation(QWebEngineNavigationRequest& request) {
    const QUrl url = request.url();
    // The failure page's own addresses are its controller's to judge.
    if (FailurePage::isPageLink(url))
        return true;
    ExternalSchemePolicy::Navigation navigation = navigationOf(request);
    if (navigation == ExternalSchemePolicy::Navigation::LinkClicked && request.isMainFrame() &&
        !input_->takePress())
        navigation = ExternalSchemePolicy::Navigation::LinkWithoutInput;
    switch (ExternalSchemePolicy::decide(url.scheme(), navigation, request.isMainFrame())) {
    case ExternalSchemePolicy::Decision::Load:
        return true;
    case ExternalSchemePolicy::Decision::Refuse:
        return false;
    case ExternalSchemePolicy::Decision::Ask:
        // Asked after the engine has dropped the navigation, and one question at a time.
        if (!prompting_ && prompt_) {
            prompting_ = true;
            QMetaObject::invokeMethod(
                this, [this, url] { askToOpenExternally(url); }, Qt::QueuedConnection);
        }
        return false;
    }
    return false;
}

void WebEngineBrowser::askToOpenExternally(const QUrl& url) {
    QPointer<WebEngineBrowser> alive(this);
    const bool agreed = prompt_->confirmOpening(this, url);
    if (!alive)
        return;
    prompting_ = false;
    if (agreed)
        QDesktopServices::openUrl(url);
}

QWebEnginePage* WebEngineBrowser::pageForNewWindow() {
    auto* engineTarget = qobject_cast<WebEngineBrowser*>(browserForNewWindow());
    if (!engineTarget || engineTarget == this)
        return nullptr;
    // The engine loads the new window's page into it, in place of what its tab asked for.
    engineTarget->watch_.superseded();
    return engineTarget->page();
}

} // namespace browser
