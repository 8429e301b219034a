#include "browser/FailurePageController.h"

#include "browser/RefusingSchemeHandler.h"

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

// The failure pages kept for their links after the page has moved on.
constexpr std::size_t kRecentPages = 32;

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

// Replaces the current document by html; with onlyWhenEmpty, only when the document has
// nothing of its own to show (an error status with an empty body). Answers whether it did.
QString replaceDocumentScript(const QString& html, bool onlyWhenEmpty) {
    return QStringLiteral("(function () {"
                          "  var b = document.body;"
                          "  if (%1 && b && (b.innerText.trim().length > 0 ||"
                          "      b.querySelector('img,svg,video,canvas,iframe,object,embed,"
                          "input,form,table')))"
                          "    return false;"
                          "  document.open(); document.write(%2); document.close();"
                          "  return true;"
                          "})()")
        .arg(onlyWhenEmpty ? QStringLiteral("true") : QStringLiteral("false"), scriptString(html));
}

bool isOwnPageLoad(const QUrl& url) {
    return url.scheme() == QLatin1StringView("data");
}

} // namespace

FailurePageController::FailurePageController(QWebEnginePage* page, QObject* parent)
    : QObject(parent), page_(page), responseTimer_(new QTimer(this)) {
    // The engine's own error pages (in English, with nothing to do) never show.
    page_->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    QWebEngineProfile* profile = page_->profile();
    if (!profile->urlSchemeHandler(FailurePage::kScheme))
        profile->installUrlSchemeHandler(FailurePage::kScheme, new RefusingSchemeHandler(profile));
    responseTimer_->setSingleShot(true);
    responseTimer_->setInterval(kResponseTimeoutMs);
    connect(responseTimer_, &QTimer::timeout, this, &FailurePageController::responseTimedOut);
    connect(page_, &QWebEnginePage::loadingChanged, this, &FailurePageController::loadingChanged);
    connect(page_, &QWebEnginePage::navigationRequested, this,
            &FailurePageController::navigationRequested);
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (!loading_.isEmpty())
            committed_ = true;
        if (shown_ && url != shown_->address())
            shown_.reset();
    });
}

FailurePageController::~FailurePageController() = default;

void FailurePageController::registerScheme() {
    if (QWebEngineUrlScheme::schemeByName(FailurePage::kScheme).name() == FailurePage::kScheme)
        return;
    QWebEngineUrlScheme scheme(FailurePage::kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // No flags: a page of the web (which the failure page is, at the failed address) may
    // follow links of a plain scheme, not of a local one. Nothing is ever loaded from it.
    scheme.setFlags({});
    QWebEngineUrlScheme::registerScheme(scheme);
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
        loadingOwnPage_ = isOwnPageLoad(info.url());
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
        // Back or forward to a failure page loads it again from the history.
        loadingOwnPage_ = false;
        if (!shown_)
            for (auto it = recent_.rbegin(); it != recent_.rend(); ++it)
                if ((*it)->address() == info.url()) {
                    shown_ = *it;
                    break;
                }
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
    loadEnded(address, failure, info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain);
}

void FailurePageController::loadEnded(const QUrl& address,
                                      const std::optional<LoadFailure>& failure,
                                      bool documentCommitted) {
    if (!failure) {
        if (documentCommitted)
            shown_.reset();
        return;
    }
    std::shared_ptr<FailurePage> page = makePage(address, *failure);
    if (documentCommitted) {
        // The site's error came with a document: keep it when it has anything to show.
        page_->runJavaScript(
            replaceDocumentScript(page->html(), true), QWebEngineScript::ApplicationWorld,
            [this, page, alive = QPointer<FailurePageController>(this)](const QVariant& replaced) {
                if (!alive)
                    return;
                if (!replaced.toBool()) {
                    shown_.reset();
                    return;
                }
                shown_ = page;
                recent_.push_back(page);
                if (recent_.size() > kRecentPages)
                    recent_.pop_front();
                Q_EMIT failed(page->failure(), page->address());
            });
        return;
    }
    // After the engine has told everyone of this load's end, and only if no other load has
    // begun meanwhile.
    const bool inPlace = shown_ && shown_->address() == address;
    QMetaObject::invokeMethod(
        this,
        [this, page = std::move(page), inPlace, serial = loadSerial_]() mutable {
            if (serial == loadSerial_)
                show(std::move(page), inPlace);
        },
        Qt::QueuedConnection);
}

void FailurePageController::show(std::shared_ptr<FailurePage> page, bool intoCurrentDocument) {
    if (intoCurrentDocument) {
        page_->runJavaScript(replaceDocumentScript(page->html(), false),
                             QWebEngineScript::ApplicationWorld);
    } else {
        loadingOwnPage_ = true;
        page_->setHtml(page->html(), page->address());
    }
    shown_ = page;
    recent_.push_back(page);
    if (recent_.size() > kRecentPages)
        recent_.pop_front();
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
    if (!shown_) {
        page_->triggerAction(QWebEnginePage::Reload);
        return;
    }
    // In place of the failure page, so that the history keeps one entry for the address.
    page_->runJavaScript(QStringLiteral("location.replace(%1)")
                             .arg(scriptString(QString::fromUtf8(shown_->address().toEncoded()))),
                         QWebEngineScript::ApplicationWorld);
}

const FailurePage* FailurePageController::pageOfLink(const QUrl& url) const {
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it)
        if ((*it)->request(url))
            return it->get();
    return nullptr;
}

void FailurePageController::navigationRequested(QWebEngineNavigationRequest& request) {
    if (!FailurePage::isPageLink(request.url()))
        return;
    // Never loaded: the scheme only carries the page's buttons back.
    request.reject();
    if (!request.isMainFrame() ||
        request.navigationType() != QWebEngineNavigationRequest::LinkClickedNavigation)
        return;
    const FailurePage* page = pageOfLink(request.url());
    if (!page)
        return;
    const std::optional<FailurePage::Request> asked = page->request(request.url());
    // Queued: the engine is in the middle of its navigation and the answer may start another.
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

std::optional<QString> FailurePageController::describeLink(const QUrl& url) const {
    if (!FailurePage::isPageLink(url))
        return std::nullopt;
    const FailurePage* page = pageOfLink(url);
    if (!page)
        return QString();
    const std::optional<FailurePage::Request> asked = page->request(url);
    if (asked->kind == FailurePage::Request::Kind::UseSite)
        return QStringLiteral("この分類のサイトを「%1」に切り替えて調べます")
            .arg(asked->alternative->caption);
    return asked->alternative->address;
}

} // namespace browser
