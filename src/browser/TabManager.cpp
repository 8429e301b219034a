#include "browser/TabManager.h"

#include "browser/PageControl.h"
#include "browser/TTabSheetEx.h"
#include "browser/TabStrip.h"
#include "browser/WebBrowser.h"
#include "browser/WebBrowserFactory.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace browser {

namespace {

const QString kLoading = QStringLiteral("Loading...");
// The start page's caption until its title arrives. The spelling is the one users of the
// program know from its tabs.
const QString kStartPageCaption = QStringLiteral("Lexorar2");

constexpr int kDragThreshold = 5;

QAction* makeAction(QObject* parent, const char* name, const QString& text) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Sets a flag for the length of a scope, also when the scope is left by an exception.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

TabManager::TabManager(QAction* cbOpenNew, WebBrowserFactory* factory, QString logoUrl,
                       QString newTabPageUrl, QObject* parent)
    : QObject(parent), cbOpenNew_(cbOpenNew), factory_(factory), logoUrl_(std::move(logoUrl)),
      newTabPageUrl_(std::move(newTabPageUrl)), pageControl_(new PageControl) {
    closeAction_ = makeAction(this, "TOJIRU", QStringLiteral("閉じる"));
    newTabAction_ = makeAction(this, "N44", QStringLiteral("タブの新規作成"));
    closeAllAction_ = makeAction(this, "N46", QStringLiteral("すべてのタブを閉じる"));
    copyAction_ = makeAction(this, "N7", QStringLiteral("コピー"));
    pasteAction_ = makeAction(this, "N37", QStringLiteral("貼り付け"));
    reloadAction_ = makeAction(this, "N48", QStringLiteral("再読み込み"));
    showUrlAction_ = makeAction(this, "Action24", QStringLiteral("現在のページのURLを表示する"));

    connect(closeAction_, &QAction::triggered, this, &TabManager::TOJIRUClick);
    connect(newTabAction_, &QAction::triggered, this, &TabManager::N44Click);
    connect(closeAllAction_, &QAction::triggered, this, &TabManager::ALL_Tab_CloseClick);
    connect(copyAction_, &QAction::triggered, this, &TabManager::N7Click);
    connect(pasteAction_, &QAction::triggered, this, &TabManager::N37Click);
    connect(reloadAction_, &QAction::triggered, this, &TabManager::N48Click);
    connect(showUrlAction_, &QAction::triggered, this, &TabManager::Action24Execute);

    tabStripMenu_ = new QMenu(pageControl_);
    tabStripMenu_->setObjectName(QStringLiteral("PopupActionBar1"));
    tabStripMenu_->addAction(closeAction_);
    tabStripMenu_->addAction(newTabAction_);
    tabStripMenu_->addSeparator();
    tabStripMenu_->addAction(closeAllAction_);

    pageMenu_ = new QMenu(pageControl_);
    pageMenu_->setObjectName(QStringLiteral("PopupActionBar2"));
    pageMenu_->addAction(copyAction_);
    pageMenu_->addAction(pasteAction_);
    pageMenu_->addSeparator();
    pageMenu_->addAction(reloadAction_);

    pageControl_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pageControl_, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { tabStripMenu_->popup(pageControl_->mapToGlobal(pos)); });
    connect(pageControl_, &PageControl::Change, this, &TabManager::PageControl1Change);
    TabStrip* strip = pageControl_->tabStrip();
    connect(strip, &TabStrip::mouseDown, this, &TabManager::PageControl1MouseDown);
    connect(strip, &TabStrip::dragOver, this, &TabManager::PageControl1DragOver);
    connect(strip, &TabStrip::dragDrop, this, &TabManager::PageControl1DragDrop);

    // Right presses inside a page are caught before any widget of the page sees them.
    qApp->installEventFilter(this);
}

TabManager::~TabManager() {
    if (qApp)
        qApp->removeEventFilter(this);
    if (pageControl_ && !pageControl_->parent())
        delete pageControl_;
}

TTabSheetEx* TabManager::activeSheet() const {
    return pageControl_ ? qobject_cast<TTabSheetEx*>(pageControl_->ActivePage()) : nullptr;
}

QString TabManager::TabCaption(const QString& title) {
    constexpr qsizetype kCaptionUnits = 20;
    if (title.size() <= kCaptionUnits)
        return title;
    // Cutting between the two halves of a surrogate pair would leave half a character.
    qsizetype n = kCaptionUnits;
    if (title.at(n - 1).isHighSurrogate() && title.at(n).isLowSurrogate())
        --n;
    return title.left(n);
}

void TabManager::CreateNewTabBrowser(const QString& address) {
    if (!pageControl_)
        return;
    const bool openNew = cbOpenNew_ && cbOpenNew_->isChecked();
    if (!openNew && pageControl_->ActivePageIndex() >= 0 && !pageCreate_) {
        pageControl_->ActivePage()->setCaption(kLoading);
        if (TTabSheetEx* sheet = activeSheet(); sheet && sheet->EWB)
            sheet->EWB->Go(address);
        return;
    }

    auto* sheet = new TTabSheetEx;
    pageControl_->addPage(sheet);
    sheet->EWB = factory_->create(sheet);
    sheet->setCaption(address == logoUrl_ ? kStartPageCaption : kLoading);
    pageControl_->setActivePage(sheet);

    WebBrowser* browser = sheet->EWB;
    auto* layout = sheet->layout();
    if (!layout) {
        layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(browser);
    browser->show();
    attachEvents(browser);
    browser->Go(address);
}

void TabManager::attachEvents(WebBrowser* browser) {
    connect(browser, &WebBrowser::StatusTextChange, this, &TabManager::StatusTextChangeEvent);
    connect(browser, &WebBrowser::NewWindow2, this, &TabManager::NewWindow2Event,
            Qt::DirectConnection);
    connect(browser, &WebBrowser::NewWindow3, this, &TabManager::NewWindow3Event,
            Qt::DirectConnection);
    connect(browser, &WebBrowser::DownloadComplete, this, &TabManager::DownloadCompleteEvent);
    connect(browser, &WebBrowser::CommandStateChange, this,
            [this, browser](int command, bool enable) {
                CommandStateChangeEvent(browser, command, enable);
            });
    connect(browser, &WebBrowser::TitleChange, this, &TabManager::TitleChange);
}

TTabSheetEx* TabManager::sheetOf(const WebBrowser* browser) const {
    if (!pageControl_ || !browser)
        return nullptr;
    for (int i = 0; i < pageControl_->PageCount(); ++i) {
        auto* sheet = qobject_cast<TTabSheetEx*>(pageControl_->Pages(i));
        if (sheet && sheet->EWB == browser)
            return sheet;
    }
    return nullptr;
}

void TabManager::UpdateControls() {
    TTabSheetEx* sheet = activeSheet();
    if (!sheet || !sheet->EWB)
        return;
    url_ = sheet->EWB->LocationURL();
    sheet->setCaption(TabCaption(sheet->EWB->LocationName()));
    Q_EMIT forwardEnabledChanged(sheet->CanForward);
    Q_EMIT backEnabledChanged(sheet->CanBack);
}

// Whichever browser's title changed, the active tab takes its own browser's title: a
// background tab keeps its caption until it is selected.
void TabManager::TitleChange() {
    TTabSheetEx* sheet = activeSheet();
    if (!sheet || !sheet->EWB)
        return;
    sheet->setCaption(TabCaption(sheet->EWB->LocationName()));
}

void TabManager::StatusTextChangeEvent(const QString& text) {
    Q_EMIT statusTextChanged(text);
}

void TabManager::CommandStateChangeEvent(WebBrowser* sender, int command, bool enable) {
    TTabSheetEx* sheet = sheetOf(sender);
    if (!sheet)
        return;
    switch (command) {
    case CSC_NAVIGATEBACK:
        sheet->CanBack = enable;
        break;
    case CSC_NAVIGATEFORWARD:
        sheet->CanForward = enable;
        break;
    case CSC_UPDATECOMMANDS:
        sheet->CanStop = sender->Busy();
        break;
    default:
        break;
    }
}

void TabManager::DownloadCompleteEvent() {
    UpdateControls();
}

// The new tab first goes to the opener's address; the engine then loads the requested page
// into the browser handed back, which replaces it.
void TabManager::NewWindow2Event(WebBrowser** ppDisp, bool* cancel) {
    Q_UNUSED(cancel);
    TTabSheetEx* opener = activeSheet();
    if (!opener || !opener->EWB)
        return;
    const QString openerUrl = opener->EWB->LocationURL();
    FlagScope creating(pageCreate_);
    CreateNewTabBrowser(openerUrl);
    if (TTabSheetEx* sheet = activeSheet(); sheet && ppDisp)
        *ppDisp = sheet->EWB;
}

void TabManager::NewWindow3Event() {}

void TabManager::BtnBackClick() {
    TTabSheetEx* sheet = activeSheet();
    if (!sheet || !sheet->EWB)
        return;
    Q_EMIT focusSearchBoxRequested();
    sheet->EWB->GoBack();
}

void TabManager::BtnForwardClick() {
    TTabSheetEx* sheet = activeSheet();
    if (!sheet || !sheet->EWB)
        return;
    Q_EMIT focusSearchBoxRequested();
    sheet->EWB->GoForward();
}

void TabManager::destroySheet(TTabSheetEx* sheet) {
    delete sheet->EWB.data();
    delete sheet;
}

// Closes the active tab, also when the menu was opened over another one; the rightmost tab
// is shown next, not a neighbour.
void TabManager::TOJIRUClick() {
    TTabSheetEx* sheet = activeSheet();
    if (!sheet)
        return;
    destroySheet(sheet);
    if (pageControl_->PageCount() > 0)
        pageControl_->setActivePage(pageControl_->Pages(pageControl_->PageCount() - 1));
    else
        CreateNewTabBrowser(logoUrl_);
}

void TabManager::ALL_Tab_CloseClick() {
    if (!pageControl_ || pageControl_->PageCount() == 0)
        return;
    const int n = pageControl_->PageCount();
    for (int i = 0; i < n; ++i) {
        pageControl_->setActivePage(pageControl_->Pages(pageControl_->PageCount() - 1));
        auto* sheet = qobject_cast<TTabSheetEx*>(pageControl_->ActivePage());
        if (!sheet)
            return;
        destroySheet(sheet);
    }
    if (pageControl_->PageCount() == 0)
        CreateNewTabBrowser(logoUrl_);
}

void TabManager::N44Click() {
    if (cbOpenNew_ && !cbOpenNew_->isChecked()) {
        cbOpenNew_->setChecked(true);
        CreateNewTabBrowser(newTabPageUrl_);
        cbOpenNew_->setChecked(false);
    } else if (cbOpenNew_) {
        CreateNewTabBrowser(newTabPageUrl_);
    } else {
        FlagScope creating(pageCreate_);
        CreateNewTabBrowser(newTabPageUrl_);
    }
}

void TabManager::N7Click() {
    if (TTabSheetEx* sheet = activeSheet(); sheet && sheet->EWB)
        sheet->EWB->Copy();
}

void TabManager::N37Click() {
    if (TTabSheetEx* sheet = activeSheet(); sheet && sheet->EWB)
        sheet->EWB->Paste();
}

void TabManager::N48Click() {
    if (TTabSheetEx* sheet = activeSheet(); sheet && sheet->EWB)
        sheet->EWB->Refresh();
}

// The remembered address, not the page's present one: it lags behind until the next
// UpdateControls.
void TabManager::Action24Execute() {
    // Before the first tab there is no address yet, and the search box keeps what it holds.
    if (!pageControl_ || pageControl_->PageCount() == 0)
        return;
    Q_EMIT showUrlRequested(url_);
}

void TabManager::PageControl1Change() {
    UpdateControls();
}

void TabManager::PageControl1MouseDown(Qt::MouseButton button, QPoint pos) {
    if (button == Qt::LeftButton)
        pageControl_->tabStrip()->beginDrag(pos, kDragThreshold);
}

// The marker shows the side of the hovered tab at which the dragged (active) tab will land.
void TabManager::PageControl1DragOver(QPoint pos) {
    TabStrip* strip = pageControl_->tabStrip();
    strip->clearMarker();
    const int active = pageControl_->ActivePageIndex();
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

void TabManager::PageControl1DragDrop(QPoint pos) {
    TabStrip* strip = pageControl_->tabStrip();
    const int target = strip->tabAt(pos);
    if (target < 0 || target == pageControl_->ActivePageIndex())
        return;
    pageControl_->movePage(pageControl_->ActivePage(), target);
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
    TTabSheetEx* sheet = activeSheet();
    auto* widget = static_cast<QWidget*>(watched);
    if (!sheet || (widget != sheet && !sheet->isAncestorOf(widget)))
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
