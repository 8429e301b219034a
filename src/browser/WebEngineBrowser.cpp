#include "browser/WebEngineBrowser.h"

#include "browser/AddressUrl.h"
#include "browser/EnginePage.h"

#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineNavigationRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace browser {

WebEngineBrowser::WebEngineBrowser(QWebEngineProfile* profile, QWidget* owner)
    : WebBrowser(owner), view_(new QWebEngineView(this)), page_(new EnginePage(profile, view_)),
      lostCheck_(new QTimer(this)) {
    view_->setPage(page_);
    // The engine's own context menu never shows: the program's page menu takes its place.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    page_->setWindowRequestHandler(
        [this](QWebEnginePage::WebWindowType type) { return createWindow(type); });

    connect(page_, &QWebEnginePage::titleChanged, this,
            [this](const QString& title) { Q_EMIT titleChanged(title); });
    connect(page_, &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { Q_EMIT statusTextChanged(url); });
    connect(page_, &QWebEnginePage::urlChanged, this, &WebEngineBrowser::sendHistoryState);
    connect(page_, &QWebEnginePage::urlChanged, this,
            [this](const QUrl& url) { watch_.shown(url); });
    lostCheck_->setSingleShot(true);
    lostCheck_->setInterval(NavigationWatch::kCheckAfterMs);
    connect(lostCheck_, &QTimer::timeout, this, [this] {
        if (const std::optional<QUrl> again = watch_.checkNow())
            page_->load(*again);
    });
    connect(page_, &QWebEnginePage::navigationRequested, this,
            [this](QWebEngineNavigationRequest& request) {
                if (!request.isMainFrame())
                    return;
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
    connect(page_, &QWebEnginePage::loadStarted, this, [this] {
        setLoading(true);
        Q_EMIT statusTextChanged(QStringLiteral("%1 を開いています...").arg(address()));
    });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        sendHistoryState();
        setLoading(false);
        Q_EMIT statusTextChanged(ok ? QStringLiteral("ページが表示されました")
                                    : QStringLiteral("ページを表示できませんでした"));
        Q_EMIT loadFinished();
        // A lookup the engine lost while an older page was being committed is asked for again.
        const NavigationWatch::Decision decision = watch_.ended(page_->url());
        if (const auto* again = std::get_if<NavigationWatch::AskAgain>(&decision))
            page_->load(again->url);
        else if (std::holds_alternative<NavigationWatch::CheckLater>(decision))
            lostCheck_->start();
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
    page_->triggerAction(QWebEnginePage::Reload);
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

void WebEngineBrowser::setLoading(bool loading) {
    loading_ = loading;
    Q_EMIT loadingChanged(loading);
}

QString WebEngineBrowser::address() const {
    return QString::fromLatin1(page_->url().toEncoded());
}

QString WebEngineBrowser::title() const {
    return page_->title();
}

void WebEngineBrowser::sendHistoryState() {
    const QWebEngineHistory* history = page_->history();
    Q_EMIT historyChanged(history->canGoBack(), history->canGoForward());
}

QWebEnginePage* WebEngineBrowser::createWindow(QWebEnginePage::WebWindowType type) {
    Q_UNUSED(type);
    auto* engineTarget = qobject_cast<WebEngineBrowser*>(browserForNewWindow());
    if (!engineTarget || engineTarget == this)
        return nullptr;
    // The engine loads the new window's page into it, in place of what its tab asked for.
    engineTarget->watch_.superseded();
    return engineTarget->page();
}

} // namespace browser
