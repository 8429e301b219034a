#include "browser/TabManager.h"

#include "browser/BrowserTab.h"
#include "browser/LoadingIndicator.h"
#include "browser/TabControl.h"
#include "browser/TabStrip.h"
#include "browser/WebBrowser.h"
#include "browser/WebBrowserFactory.h"
#include "settings/Options.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDebug>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace browser {

namespace {

const QString kLoading = QString::fromLatin1(BrowserTab::kLoadingCaption);
// The start page's caption until its title arrives. The spelling is the one users of the
// program know from its tabs.
const QString kStartPageCaption = QStringLiteral("Lexorar2");

constexpr int kDragThreshold = 5;

QAction* makeAction(QObject* parent, const char* name, const QString& text) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TabManager::TabManager(const settings::Options& options, WebBrowserFactory* factory,
                       QString startPageUrl, QString newTabPageUrl, QObject* parent)
    : QObject(parent), options_(options), factory_(factory), startPageUrl_(std::move(startPageUrl)),
      newTabPageUrl_(std::move(newTabPageUrl)), tabControl_(new TabControl) {
    closeTabAction_ = makeAction(this, "TOJIRU", QStringLiteral("閉じる"));
    newTabAction_ = makeAction(this, "N44", QStringLiteral("タブの新規作成"));
    closeAllTabsAction_ = makeAction(this, "N46", QStringLiteral("すべてのタブを閉じる"));
    copyAction_ = makeAction(this, "N7", QStringLiteral("コピー"));
    pasteAction_ = makeAction(this, "N37", QStringLiteral("貼り付け"));
    reloadAction_ = makeAction(this, "N48", QStringLiteral("再読み込み"));

    connect(closeTabAction_, &QAction::triggered, this, &TabManager::closeActiveTab);
    connect(newTabAction_, &QAction::triggered, this, &TabManager::openNewTab);
    connect(closeAllTabsAction_, &QAction::triggered, this, &TabManager::closeAllTabs);
    connect(copyAction_, &QAction::triggered, this, &TabManager::copySelection);
    connect(pasteAction_, &QAction::triggered, this, &TabManager::paste);
    connect(reloadAction_, &QAction::triggered, this, &TabManager::reloadActivePage);

    tabStripMenu_ = new QMenu(tabControl_);
    tabStripMenu_->setObjectName(QStringLiteral("PopupActionBar1"));
    tabStripMenu_->addAction(closeTabAction_);
    tabStripMenu_->addAction(newTabAction_);
    tabStripMenu_->addSeparator();
    tabStripMenu_->addAction(closeAllTabsAction_);

    pageMenu_ = new QMenu(tabControl_);
    pageMenu_->setObjectName(QStringLiteral("PopupActionBar2"));
    pageMenu_->addAction(copyAction_);
    pageMenu_->addAction(pasteAction_);
    pageMenu_->addSeparator();
    pageMenu_->addAction(reloadAction_);

    tabControl_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabControl_, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { tabStripMenu_->popup(tabControl_->mapToGlobal(pos)); });
    connect(tabControl_, &TabControl::userSelectedTab, this, &TabManager::activeTabChosen);
    TabStrip* strip = tabControl_->tabStrip();
    connect(strip, &TabStrip::mouseDown, this, &TabManager::tabStripPressed);
    connect(strip, &TabStrip::dragOver, this, &TabManager::tabDraggedOver);
    connect(strip, &TabStrip::dragDrop, this, &TabManager::tabDropped);

    // Right presses inside a page are caught before any widget of the page sees them.
    qApp->installEventFilter(this);
}

TabManager::~TabManager() {
    if (qApp)
        qApp->removeEventFilter(this);
    // The tabs, and with them every browser, go with the manager, also when the window's
    // layout holds the tab control: the factory that made the browsers may go next.
    delete tabControl_.data();
}

BrowserTab* TabManager::activeTab() const {
    return tabControl_ ? tabControl_->activeTab() : nullptr;
}

QString TabManager::captionForTitle(const QString& title) {
    constexpr qsizetype kCaptionUnits = 20;
    if (title.size() <= kCaptionUnits)
        return title;
    // Cutting between the two halves of a surrogate pair would leave half a character.
    qsizetype n = kCaptionUnits;
    if (QChar::isHighSurrogate(title.at(n - 1).unicode()) &&
        QChar::isLowSurrogate(title.at(n).unicode()))
        --n;
    return title.left(n);
}

void TabManager::openAddress(const QString& address) {
    open(address, options_.newTabPerSearch ? Target::NewTab : Target::ActiveTab);
}

void TabManager::openInNewTab(const QString& address) {
    open(address, Target::NewTab);
}

void TabManager::open(const QString& address, Target target) {
    if (!tabControl_)
        return;
    if (target == Target::ActiveTab && tabControl_->activeIndex() >= 0 && !openingWindowTab_) {
        BrowserTab* tab = tabControl_->activeTab();
        tab->setCaption(kLoading);
        if (tab->browser())
            tab->browser()->load(address);
        return;
    }

    auto* tab = new BrowserTab;
    attachIndicator(tab);
    tabControl_->addTab(tab);
    WebBrowser* browser = factory_->create(tab);
    tab->setBrowser(browser);
    tab->setCaption(address == startPageUrl_ ? kStartPageCaption : kLoading);
    tabControl_->setActiveTab(tab);

    auto* layout = tab->layout();
    if (!layout) {
        layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(browser);
    browser->show();
    attachEvents(browser);
    browser->load(address);
}

void TabManager::setActiveTextSize(int level) {
    if (BrowserTab* tab = activeTab(); tab && tab->browser())
        tab->browser()->setTextSize(level);
}

void TabManager::setFailedLookupSource(WebBrowser::FailedLookupSource source) {
    failedLookupSource_ = std::move(source);
    if (!tabControl_)
        return;
    for (int i = 0; i < tabControl_->count(); ++i)
        if (BrowserTab* tab = tabControl_->tab(i); tab && tab->browser())
            tab->browser()->setFailedLookupSource(failedLookupSource_);
}

void TabManager::attachIndicator(BrowserTab* tab) {
    LoadingIndicator* indicator = tab->loadingIndicator();
    connect(indicator, &LoadingIndicator::visibleChanged, this, [this, tab](bool shown) {
        if (tab == activeTab())
            Q_EMIT activeLoadingShown(shown, tab->loadingIndicator()->progress());
    });
    connect(indicator, &LoadingIndicator::progressChanged, this, [this, tab](int percent) {
        if (tab == activeTab() && tab->loadingIndicator()->isVisible())
            Q_EMIT activeLoadingShown(true, percent);
    });
}

void TabManager::attachEvents(WebBrowser* browser) {
    // A browser clears the status when the pointer leaves a link; while the network or the
    // proxy is down, the notice saying so stands there instead.
    connect(browser, &WebBrowser::statusTextChanged, this, [this](const QString& text) {
        const std::optional<QString> standing = networkNotice_.standing();
        Q_EMIT statusTextChanged(text.isEmpty() && standing ? *standing : text);
    });
    browser->setFailedLookupSource(failedLookupSource_);
    connect(browser, &WebBrowser::siteChoiceRequested, this, &TabManager::siteChoiceRequested);
    connect(browser, &WebBrowser::proxySettingsRequested, this,
            &TabManager::proxySettingsRequested);
    connect(browser, &WebBrowser::loadProgress, this, [this, browser](int percent) {
        if (BrowserTab* tab = tabOf(browser))
            tab->loadingIndicator()->progressed(percent);
    });
    // With no network every lookup fails alike: the status bar says so once.
    connect(browser, &WebBrowser::loadFailed, this, [this](const LoadFailure& failure) {
        if (const std::optional<QString> notice = networkNotice_.failed(failure)) {
            // Also in the session's log: when the network went is worth finding later.
            qInfo().noquote() << QStringLiteral("Lexorra2: %1").arg(*notice);
            Q_EMIT statusTextChanged(*notice);
        }
    });
    connect(browser, &WebBrowser::loadSucceeded, this, [this] { networkNotice_.loaded(); });
    browser->setNewWindowHandler([this] { return browserForNewWindow(); });
    connect(browser, &WebBrowser::loadFinished, this, &TabManager::updateFromActiveTab);
    connect(browser, &WebBrowser::historyChanged, this,
            [this, browser](bool canGoBack, bool canGoForward) {
                if (BrowserTab* tab = tabOf(browser))
                    tab->setHistoryState(canGoBack, canGoForward);
            });
    connect(browser, &WebBrowser::loadingChanged, this, [this, browser](bool loading) {
        BrowserTab* tab = tabOf(browser);
        if (!tab)
            return;
        tab->setLoading(loading);
        if (loading)
            tab->loadingIndicator()->started();
        else
            tab->loadingIndicator()->ended();
        if (!loading && tab == activeTab())
            Q_EMIT activeLoadEnded();
    });
    connect(browser, &WebBrowser::titleChanged, this, &TabManager::browserTitleChanged);
}

BrowserTab* TabManager::tabOf(const WebBrowser* browser) const {
    if (!tabControl_ || !browser)
        return nullptr;
    for (int i = 0; i < tabControl_->count(); ++i) {
        BrowserTab* tab = tabControl_->tab(i);
        if (tab && tab->browser() == browser)
            return tab;
    }
    return nullptr;
}

void TabManager::updateFromActiveTab() {
    BrowserTab* tab = activeTab();
    if (!tab || !tab->browser())
        return;
    rememberedAddress_ = tab->browser()->address();
    tab->setCaption(captionForTitle(tab->browser()->title()));
    Q_EMIT historyChanged(tab->canGoBack(), tab->canGoForward());
    Q_EMIT activeLoadingShown(tab->loadingIndicator()->isVisible(),
                              tab->loadingIndicator()->progress());
}

// Whichever browser's title changed, the active tab takes its own browser's title: a
// background tab keeps its caption until it is selected.
void TabManager::browserTitleChanged() {
    BrowserTab* tab = activeTab();
    if (!tab || !tab->browser())
        return;
    tab->setCaption(captionForTitle(tab->browser()->title()));
}

// The new tab first goes to the opener's address; the engine then loads the requested page
// into the browser handed back, which replaces it.
WebBrowser* TabManager::browserForNewWindow() {
    BrowserTab* opener = activeTab();
    if (!opener || !opener->browser())
        return nullptr;
    const QString openerAddress = opener->browser()->address();
    QScopedValueRollback creating(openingWindowTab_, true);
    open(openerAddress, Target::NewTab);
    BrowserTab* tab = activeTab();
    return tab ? tab->browser() : nullptr;
}

void TabManager::goBack() {
    BrowserTab* tab = activeTab();
    if (!tab || !tab->browser())
        return;
    Q_EMIT focusSearchBoxRequested();
    tab->browser()->goBack();
}

void TabManager::goForward() {
    BrowserTab* tab = activeTab();
    if (!tab || !tab->browser())
        return;
    Q_EMIT focusSearchBoxRequested();
    tab->browser()->goForward();
}

void TabManager::destroyTab(BrowserTab* tab) {
    delete tab;
}

// Closes the active tab, also when the menu was opened over another one; the rightmost tab
// is shown next, not a neighbour.
void TabManager::closeActiveTab() {
    BrowserTab* tab = activeTab();
    if (!tab)
        return;
    destroyTab(tab);
    if (tabControl_->count() > 0)
        tabControl_->setActiveTab(tabControl_->tab(tabControl_->count() - 1));
    else
        openAddress(startPageUrl_);
}

void TabManager::closeAllTabs() {
    if (!tabControl_ || tabControl_->count() == 0)
        return;
    const int n = tabControl_->count();
    for (int i = 0; i < n; ++i) {
        tabControl_->setActiveTab(tabControl_->tab(tabControl_->count() - 1));
        BrowserTab* tab = tabControl_->activeTab();
        if (!tab)
            return;
        destroyTab(tab);
    }
    if (tabControl_->count() == 0)
        openAddress(startPageUrl_);
}

void TabManager::openNewTab() {
    openInNewTab(newTabPageUrl_);
}

void TabManager::copySelection() {
    if (BrowserTab* tab = activeTab(); tab && tab->browser())
        tab->browser()->copySelection();
}

void TabManager::paste() {
    if (BrowserTab* tab = activeTab(); tab && tab->browser())
        tab->browser()->paste();
}

void TabManager::reloadActivePage() {
    if (BrowserTab* tab = activeTab(); tab && tab->browser())
        tab->browser()->reload();
}

// The remembered address, not the page's present one: it lags behind until the active tab
// next reports its state.
void TabManager::showActiveAddress() {
    // Before the first tab there is no address yet, and the search box keeps what it holds.
    if (!tabControl_ || tabControl_->count() == 0)
        return;
    Q_EMIT addressToShow(rememberedAddress_);
}

void TabManager::activeTabChosen() {
    updateFromActiveTab();
}

void TabManager::tabStripPressed(Qt::MouseButton button, QPoint pos) {
    if (button == Qt::LeftButton)
        tabControl_->tabStrip()->beginDrag(pos, kDragThreshold);
}

// The marker shows the side of the hovered tab at which the dragged (active) tab will land.
void TabManager::tabDraggedOver(QPoint pos) {
    TabStrip* strip = tabControl_->tabStrip();
    strip->clearMarker();
    const int active = tabControl_->activeIndex();
    for (int i = 0; i < strip->count(); ++i) {
        const QRect r = strip->tabRect(i);
        if (!r.contains(pos) || i == active)
            continue;
        // A 2-pixel line centred on x covers the columns x - 1 and x.
        const int x = i < active ? r.left() + 1 : r.left() + r.width() - 1;
        strip->setMarker(QRect(x - 1, r.top(), 2, r.height()));
        return;
    }
}

void TabManager::tabDropped(QPoint pos) {
    TabStrip* strip = tabControl_->tabStrip();
    const int target = strip->tabAt(pos);
    if (target < 0 || target == tabControl_->activeIndex())
        return;
    tabControl_->moveTab(tabControl_->activeTab(), target);
}

void TabManager::showPageMenu(QPoint globalPos) {
    if (pageMenu_)
        pageMenu_->popup(globalPos);
}

// The program's page menu takes the place of the engine's: a right press or double click
// anywhere inside the active page shows it and never reaches the page. The context-menu
// event that follows such a press is swallowed too, and one from the keyboard opens the
// same menu.
bool TabManager::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::ContextMenu)
        return false;
    if (!watched->isWidgetType())
        return false;
    BrowserTab* tab = activeTab();
    auto* widget = static_cast<QWidget*>(watched);
    if (!tab || (widget != tab && !tab->isAncestorOf(widget)))
        return false;

    if (type == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() != QContextMenuEvent::Mouse)
            showPageMenu(menuEvent->globalPos());
        return true;
    }
    auto* mouseEvent = static_cast<QMouseEvent*>(event);
    if (mouseEvent->button() != Qt::RightButton)
        return false;
    showPageMenu(mouseEvent->globalPosition().toPoint());
    return true;
}

} // namespace browser
