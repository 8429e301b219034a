#include "browser/TEmbeddedWB.h"

#include "browser/AddressUrl.h"
#include "browser/EnginePage.h"

#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineNavigationRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace browser {

TEmbeddedWB::TEmbeddedWB(QWebEngineProfile* profile, QWidget* owner)
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
            [this](const QString& title) { Q_EMIT TitleChange(title); });
    connect(page_, &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { Q_EMIT StatusTextChange(url); });
    connect(page_, &QWebEnginePage::urlChanged, this, &TEmbeddedWB::sendHistoryState);
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
        busy_ = true;
        Q_EMIT CommandStateChange(CSC_UPDATECOMMANDS, true);
        Q_EMIT StatusTextChange(QStringLiteral("%1 を開いています...").arg(LocationURL()));
    });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        busy_ = false;
        sendHistoryState();
        Q_EMIT CommandStateChange(CSC_UPDATECOMMANDS, true);
        Q_EMIT StatusTextChange(ok ? QStringLiteral("ページが表示されました")
                                   : QStringLiteral("ページを表示できませんでした"));
        Q_EMIT DownloadComplete();
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
                busy_ = false;
                Q_EMIT StatusTextChange(QStringLiteral("ページの表示が中断されました"));
                Q_EMIT DownloadComplete();
            });
}

// The page is the view's child; the view goes first so that it never shows a deleted page.
TEmbeddedWB::~TEmbeddedWB() {
    delete view_;
}

QWebEnginePage* TEmbeddedWB::page() const {
    return page_;
}

void TEmbeddedWB::Go(const QString& address) {
    const QUrl url = AddressToUrl(address);
    watch_.asked(url);
    page_->load(url);
}

void TEmbeddedWB::GoBack() {
    watch_.superseded();
    page_->triggerAction(QWebEnginePage::Back);
}

void TEmbeddedWB::GoForward() {
    watch_.superseded();
    page_->triggerAction(QWebEnginePage::Forward);
}

void TEmbeddedWB::Refresh() {
    watch_.superseded();
    page_->triggerAction(QWebEnginePage::Reload);
}

void TEmbeddedWB::Copy() {
    page_->triggerAction(QWebEnginePage::Copy);
}

void TEmbeddedWB::Paste() {
    page_->triggerAction(QWebEnginePage::Paste);
}

double TEmbeddedWB::ZoomFactorForLevel(int level) {
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

void TEmbeddedWB::ExecWB(int commandId, int option, int value) {
    Q_UNUSED(option);
    if (commandId != OLECMDID_ZOOM)
        return;
    if (const double factor = ZoomFactorForLevel(value); factor > 0)
        page_->setZoomFactor(factor);
}

QString TEmbeddedWB::LocationURL() const {
    return QString::fromLatin1(page_->url().toEncoded());
}

QString TEmbeddedWB::LocationName() const {
    return page_->title();
}

void TEmbeddedWB::sendHistoryState() {
    const QWebEngineHistory* history = page_->history();
    Q_EMIT CommandStateChange(CSC_NAVIGATEBACK, history->canGoBack());
    Q_EMIT CommandStateChange(CSC_NAVIGATEFORWARD, history->canGoForward());
}

QWebEnginePage* TEmbeddedWB::createWindow(QWebEnginePage::WebWindowType type) {
    WebBrowser* target = nullptr;
    bool cancel = false;
    Q_EMIT NewWindow2(&target, &cancel);
    Q_EMIT NewWindow3(&target, &cancel, static_cast<unsigned>(type), LocationURL(), QString());
    if (cancel)
        return nullptr;
    auto* engineTarget = qobject_cast<TEmbeddedWB*>(target);
    if (!engineTarget || engineTarget == this)
        return nullptr;
    // The engine loads the new window's page into it, in place of what its tab asked for.
    engineTarget->watch_.superseded();
    return engineTarget->page();
}

} // namespace browser
