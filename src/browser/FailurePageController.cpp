#include "browser/FailurePageController.h"

#include "browser/FailurePageSchemeHandler.h"
#include "browser/LoadLog.h"

#include <QPointer>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNavigationRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlScheme>

namespace browser {

namespace {

// The failure pages kept to be served again when the user goes back to them.
constexpr std::size_t kRecentPages = 32;

// Addresses whose outcome says something of the network.
bool isWebAddress(const QUrl& url) {
    return (url.scheme() == QLatin1StringView("http") ||
            url.scheme() == QLatin1StringView("https")) &&
           !url.host().isEmpty();
}

static_assert(int(LoadEnd::Started) == QWebEngineLoadingInfo::LoadStartedStatus);
static_assert(int(LoadEnd::Stopped) == QWebEngineLoadingInfo::LoadStoppedStatus);
static_assert(int(LoadEnd::Succeeded) == QWebEngineLoadingInfo::LoadSucceededStatus);
static_assert(int(LoadEnd::Failed) == QWebEngineLoadingInfo::LoadFailedStatus);
static_assert(int(LoadErrorDomain::HttpStatusCode) == QWebEngineLoadingInfo::HttpStatusCodeDomain);
static_assert(int(LoadErrorDomain::Certificate) == QWebEngineLoadingInfo::CertificateErrorDomain);
static_assert(int(LoadErrorDomain::Dns) == QWebEngineLoadingInfo::DnsErrorDomain);

// A JavaScript string literal holding text, safe anywhere in a script.
QString scriptString(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8 + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1StringView("\\\\");
            break;
        case '"':
            out += QLatin1StringView("\\\"");
            break;
        case '\n':
            out += QLatin1StringView("\\n");
            break;
        case '\r':
            out += QLatin1StringView("\\r");
            break;
        case '<':
            out += QLatin1StringView("\\u003c");
            break;
        case 0x2028:
            out += QLatin1StringView("\\u2028");
            break;
        case 0x2029:
            out += QLatin1StringView("\\u2029");
            break;
        default:
            out += c;
        }
    }
    out += u'"';
    return out;
}

// Whether the site's error document has nothing of the site's own: no text, no element in
// its head or body (a script counts). Asked in the program's own script world.
constexpr char kEmptyDocumentScript[] =
    "(function () {"
    "  var d = document, root = d.documentElement, b = d.body, h = d.head;"
    "  if (!root) return true;"
    "  if (h && h.childElementCount > 0) return false;"
    "  if (b && (b.childElementCount > 0 || b.textContent.trim().length > 0)) return false;"
    "  return root.childElementCount <= 2;"
    "})()";

} // namespace

FailurePageController::FailurePageController(QWebEnginePage* page, QObject* parent)
    : QObject(parent), page_(page), responseTimer_(new QTimer(this)),
      blame_(std::make_shared<FailureBlame>()) {
    // The engine's own error pages (in English, with nothing to do) never show.
    page_->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    QWebEngineProfile* profile = page_->profile();
    if (!profile->urlSchemeHandler(FailurePage::kScheme))
        profile->installUrlSchemeHandler(FailurePage::kScheme,
                                         new FailurePageSchemeHandler(profile));
    // Installed once per profile, by the first controller.
    schemeHandler_ =
        const_cast<FailurePageSchemeHandler*>(qobject_cast<const FailurePageSchemeHandler*>(
            profile->urlSchemeHandler(FailurePage::kScheme)));
    responseTimer_->setSingleShot(true);
    responseTimer_->setInterval(kResponseTimeoutMs);
    connect(responseTimer_, &QTimer::timeout, this, &FailurePageController::responseTimedOut);
    connect(page_, &QWebEnginePage::loadingChanged, this, &FailurePageController::loadingChanged);
    connect(page_, &QWebEnginePage::navigationRequested, this,
            &FailurePageController::navigationRequested);
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (!loading_.isEmpty())
            committed_ = true;
        pageShown(url);
    });
}

FailurePageController::~FailurePageController() = default;

void FailurePageController::registerScheme() {
    if (QWebEngineUrlScheme::schemeByName(FailurePage::kScheme).name() == FailurePage::kScheme)
        return;
    QWebEngineUrlScheme scheme(FailurePage::kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Not a local scheme: a site's empty error document may give way to the failure page.
    // Which navigations reach it is the controller's decision alone.
    scheme.setFlags({});
    QWebEngineUrlScheme::registerScheme(scheme);
}

void FailurePageController::setBlame(std::shared_ptr<FailureBlame> blame, ProxySource proxy) {
    blame_ = std::move(blame);
    proxy_ = std::move(proxy);
}

void FailurePageController::setResponseTimeoutMs(int ms) {
    responseTimer_->setInterval(ms);
}

std::optional<LoadFailure> FailurePageController::classify(const QWebEngineLoadingInfo& info) {
    return LoadFailure::fromEngine(static_cast<LoadEnd>(info.status()),
                                   static_cast<LoadErrorDomain>(info.errorDomain()),
                                   info.errorCode());
}

void FailurePageController::loadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        // Whatever comes, the links of the page shown so far are done with.
        if (shown_)
            shown_->dropToken();
        loadingOwnPage_ = FailurePage::isPageUrl(info.url());
        timedOut_ = false;
        lastLoadTimedOut_ = false;
        committed_ = false;
        if (loadingOwnPage_) {
            forgetLoad();
            return;
        }
        loading_ = info.url();
        ++loadSerial_;
        responseTimer_->start();
        return;
    }
    responseTimer_->stop();
    if (loadingOwnPage_) {
        loadingOwnPage_ = false;
        return;
    }
    const bool timedOut = std::exchange(timedOut_, false);
    const QUrl address = info.url();
    forgetLoad();
    if (timedOut && info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) {
        lastLoadTimedOut_ = true;
        loadEnded(address, LoadFailure::timedOut(), false);
        return;
    }
    const std::optional<LoadFailure> failure = classify(info);
    if (!failure && info.status() == QWebEngineLoadingInfo::LoadSucceededStatus &&
        isWebAddress(address))
        blame_->answered(address.host());
    loadEnded(address, failure, info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain);
}

void FailurePageController::loadEnded(const QUrl& address,
                                      const std::optional<LoadFailure>& reported,
                                      bool documentCommitted) {
    if (!reported)
        return;
    const LoadFailure failure = isWebAddress(address) ? blame_->judge(address.host(), *reported,
                                                                      proxy_ ? proxy_() : QString())
                                                      : *reported;
    std::shared_ptr<FailurePage> page = makePage(address, failure);
    if (documentCommitted) {
        // The site's error came with a document: it stays unless it is empty.
        page_->runJavaScript(
            QString::fromLatin1(kEmptyDocumentScript), QWebEngineScript::ApplicationWorld,
            [this, page, serial = loadSerial_,
             alive = QPointer<FailurePageController>(this)](const QVariant& empty) {
                if (alive && serial == loadSerial_ && empty.toBool())
                    show(page, true);
            });
        return;
    }
    // After the engine has told everyone of this load's end, and only if no other load has
    // begun meanwhile. A failure page that failed again gives way to the new one.
    const bool inPlace = shown_ && shown_->address() == address;
    QMetaObject::invokeMethod(
        this,
        [this, page = std::move(page), inPlace, serial = loadSerial_]() mutable {
            if (serial == loadSerial_)
                show(std::move(page), inPlace);
        },
        Qt::QueuedConnection);
}

void FailurePageController::show(std::shared_ptr<FailurePage> page, bool replacingCurrent) {
    expected_ = page->pageUrl();
    if (schemeHandler_)
        schemeHandler_->allowOnce(page);
    recent_.push_back(page);
    if (recent_.size() > kRecentPages)
        recent_.pop_front();
    if (replacingCurrent)
        page_->runJavaScript(QStringLiteral("location.replace(%1)")
                                 .arg(scriptString(QString::fromUtf8(expected_.toEncoded()))),
                             QWebEngineScript::ApplicationWorld);
    else
        page_->load(expected_);
    Q_EMIT failed(page->failure(), page->address());
}

std::shared_ptr<FailurePage> FailurePageController::makePage(const QUrl& address,
                                                             const LoadFailure& failure) const {
    auto page = std::make_shared<FailurePage>(address, failure);
    if (lookupSource_)
        if (std::optional<FailurePage::Lookup> lookup = lookupSource_(address))
            page->setLookup(std::move(*lookup));
    return page;
}

void FailurePageController::responseTimedOut() {
    if (!page_->isLoading())
        return;
    if (committed_)
        return; // the site has begun to send its page: it may take its time
    // A reload of the same address changes no address; ask the document itself.
    page_->runJavaScript(QStringLiteral("document.readyState"), QWebEngineScript::ApplicationWorld,
                         [this, alive = QPointer<FailurePageController>(this),
                          loading = loading_](const QVariant& state) {
                             if (!alive || loading_ != loading || loading_.isEmpty())
                                 return;
                             if (state.toString() != QLatin1StringView("complete") || committed_ ||
                                 !page_->isLoading())
                                 return;
                             qCDebug(loadLog) << "no answer in time, stopped" << loading_;
                             timedOut_ = true;
                             page_->triggerAction(QWebEnginePage::Stop);
                         });
}

void FailurePageController::forgetLoad() {
    responseTimer_->stop();
    loading_.clear();
    committed_ = false;
}

void FailurePageController::reload() {
    const std::optional<QUrl> failed = FailurePage::failedAddressOf(page_->url());
    if (!failed) {
        page_->triggerAction(QWebEnginePage::Reload);
        return;
    }
    // In place of the failure page, so that the history keeps one entry for the address.
    page_->runJavaScript(QStringLiteral("location.replace(%1)")
                             .arg(scriptString(QString::fromUtf8(failed->toEncoded()))),
                         QWebEngineScript::ApplicationWorld);
}

QUrl FailurePageController::displayedAddress() const {
    return FailurePage::failedAddressOf(page_->url()).value_or(page_->url());
}

bool FailurePageController::isTimingResponse() const {
    return responseTimer_->isActive();
}

std::shared_ptr<FailurePage> FailurePageController::pageOfUrl(const QUrl& pageUrl) const {
    const QString id = FailurePage::idOf(pageUrl);
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it)
        if ((*it)->id() == id)
            return *it;
    return nullptr;
}

void FailurePageController::pageShown(const QUrl& url) {
    if (shown_ && shown_->pageUrl() == url)
        return;
    if (shown_)
        shown_->dropToken();
    shown_ = FailurePage::isPageUrl(url) ? pageOfUrl(url) : nullptr;
}

void FailurePageController::navigationRequested(QWebEngineNavigationRequest& request) {
    if (!FailurePage::isPageLink(request.url()))
        return;
    if (FailurePage::isPageUrl(request.url())) {
        pageLinkRequested(request);
        return;
    }
    // The page's buttons are never loaded: the scheme only carries them back.
    request.reject();
    if (!request.isMainFrame() ||
        request.navigationType() != QWebEngineNavigationRequest::LinkClickedNavigation)
        return;
    // Only from the failure page shown now, and each copy of it once.
    if (!shown_ || page_->url() != shown_->pageUrl())
        return;
    const std::optional<FailurePage::Request> asked = shown_->request(request.url());
    if (!asked)
        return;
    shown_->dropToken();
    // Queued: the engine is in the middle of its navigation and the answer may start another.
    if (asked->kind == FailurePage::Request::Kind::Retry) {
        QMetaObject::invokeMethod(this, &FailurePageController::reload, Qt::QueuedConnection);
        return;
    }
    if (asked->kind == FailurePage::Request::Kind::ProxySettings) {
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT proxySettingsRequested(); }, Qt::QueuedConnection);
        return;
    }
    const QString siteKey = asked->alternative->siteKey;
    const QString address = asked->alternative->address;
    if (asked->kind == FailurePage::Request::Kind::UseSite)
        QMetaObject::invokeMethod(
            this, [this, siteKey] { Q_EMIT useSiteRequested(siteKey); }, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(
            this, [this, siteKey, address] { Q_EMIT lookUpRequested(siteKey, address); },
            Qt::QueuedConnection);
}

// A failure page is loaded only when the program puts it in, or from the tab's history.
void FailurePageController::pageLinkRequested(QWebEngineNavigationRequest& request) {
    const QUrl url = request.url();
    const std::shared_ptr<FailurePage> page = pageOfUrl(url);
    const bool fromHistory =
        request.navigationType() == QWebEngineNavigationRequest::BackForwardNavigation ||
        request.navigationType() == QWebEngineNavigationRequest::ReloadNavigation;
    const bool expected = !expected_.isEmpty() && url == expected_;
    if (!page || !request.isMainFrame() || !(expected || fromHistory)) {
        request.reject();
        return;
    }
    if (expected)
        expected_.clear();
    else if (schemeHandler_)
        schemeHandler_->allowOnce(page);
    request.accept();
}

std::optional<QString> FailurePageController::describeLink(const QUrl& url) const {
    if (!FailurePage::isPageLink(url))
        return std::nullopt;
    if (!shown_)
        return QString();
    const std::optional<FailurePage::Request> asked = shown_->request(url);
    if (!asked)
        return QString();
    if (asked->kind == FailurePage::Request::Kind::Retry)
        return QStringLiteral("%1 をもう一度開きます").arg(shown_->address().toDisplayString());
    if (asked->kind == FailurePage::Request::Kind::ProxySettings)
        return QStringLiteral("プロキシの設定を開きます");
    if (asked->kind == FailurePage::Request::Kind::UseSite)
        return QStringLiteral("この分類のサイトを「%1」に切り替えて調べます")
            .arg(asked->alternative->caption);
    return asked->alternative->address;
}

} // namespace browser
