#include "app/MainForm.h"

#include "app/SiteMenus.h"
#include "app/StatusPanel.h"
#include "browser/PageControl.h"
#include "browser/StartPage.h"
#include "browser/TEmbeddedWBFactory.h"
#include "browser/TabManager.h"
#include "input/QtClipboardSource.h"
#include "input/SearchBox.h"
#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace app {

namespace {

// The buttons of the slots that nothing is chosen for until the settings say otherwise.
constexpr const char* kExtraSlotButtons[] = {
    "A_Settei_eiwa_Button2", "A_Settei_eiwa_Button3",     "A_Settei_eiei_Button2",
    "A_Settei_eiei_Button3", "A_Settei_shopping_Button2", "A_Settei_shopping_Button3",
};

constexpr int kClientWidth = 1008;
constexpr int kClientHeight = 599;
constexpr int kActionBarHeight = 56;
constexpr int kPanelHeight = 53;
constexpr int kStatusBarHeight = 19;
constexpr int kLogoRightMargin = 8; // 1008 - (845 + 155): the logo keeps this gap when resized

QFont pixelFont(const QStringList& families, int pixelSize) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    return font;
}

// Tahoma and Meiryo are rare on Linux; the nearest common faces stand in, and the CJK face
// renders the Japanese labels.
QFont tahoma11() {
    return pixelFont({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Noto Sans CJK JP")},
                     11);
}
QFont meiryo12() {
    return pixelFont({QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("DejaVu Sans")},
                     12);
}

// The options: checkable actions that the features read when they take effect.
struct OptionAction {
    QAction* TMain_Form::*member;
    const char* name;
    const char* caption;
    bool checked;
};

constexpr OptionAction kOptionActions[] = {
    {&TMain_Form::copy_window_zenmen_on, "copy_window_zenmen_on",
     "文字列をコピーした時にウインドウを前面に出す", true},
    {&TMain_Form::kidouji_saisyouka_on, "kidouji_saisyouka_on", "起動時には最小化", false},
    {&TMain_Form::F12_de_saizennmen_on, "F12_de_saizennmen_on", "F12ボタンでLexorra2を最前面に出す",
     false},
    {&TMain_Form::End_kyuushi_on, "End_kyuushi_on", "ENDボタンで休止と監視を切り替える", false},
    {&TMain_Form::Batu_OFF, "Batu_OFF",
     "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）", false},
    {&TMain_Form::cbOpenNew, "cbOpenNew", "検索するとタブを新規作成する", false},
    {&TMain_Form::Lexorra2_off_active, "Lexorra2_off_active",
     "Lexorra2以外をクリックしたら最小化させる", false},
    {&TMain_Form::jidou_zenkaku_eimoji_hankaku, "jidou_zenkaku_eimoji_hankaku",
     "自動的に全角の英文字を半角にする", true},
    {&TMain_Form::hankaku_zenkaku_batu, "hankaku_zenkaku_batu",
     "半角英数字と全角が混じった文字には反応しないようにする", false},
    {&TMain_Form::Max_mojishuu, "Max_mojishuu", "反応する最大文字数の設定", false},
    {&TMain_Form::kigou_batu, "kigou_batu", "記号が入っている文字には反応しないようにする", false},
};

// The options menu's settings submenu, in its order; nullptr is a separator. Text size,
// toolbar, priority and proxy entries join it with the browser options.
struct OptionMenuEntry {
    QAction* TMain_Form::*member;
    const char* label;
};

constexpr OptionMenuEntry kSettingsMenu[] = {
    {&TMain_Form::copy_window_zenmen_on, "文字列をコピーした時にウインドウを前面に出す(&X)"},
    {&TMain_Form::F12_de_saizennmen_on, "F12ボタンでLexorra2を最前面に出す(&F)"},
    {&TMain_Form::End_kyuushi_on, "ENDボタンで休止と監視を切り替える(&E)"},
    {&TMain_Form::Batu_OFF,
     "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）(&V)"},
    {&TMain_Form::cbOpenNew, "検索するとタブを新規作成する(&U)"},
    {&TMain_Form::Lexorra2_off_active, "Lexorra2以外をクリックしたら最小化させる(&S)"},
    {nullptr, nullptr},
    {&TMain_Form::jidou_zenkaku_eimoji_hankaku, "自動的に全角の英文字を半角にする(&R)"},
};

QPushButton* panelButton(QWidget* panel, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 6, 62, 41);
    return button;
}

} // namespace

TMain_Form::TMain_Form(browser::WebBrowserFactory* browsers, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("Main_Form"));
    setFont(tahoma11());

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    buildOptionActions();
    selection = new lookup::SiteSelection(this);
    selection->setObjectName(QStringLiteral("SiteSelection"));
    buildToolbarPanel();
    buildPageArea(browsers);
    buildActionBar();
    buildStatusBar();
    connectTabs();
    connectLookups();
    column->addWidget(ActionMainMenuBar1);
    column->addWidget(Panel1);
    column->addWidget(PageControl1, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TMain_Form::Timer1Timer);

    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    FormCreate();
}

TMain_Form::~TMain_Form() {
    FormDestroy();
    // The tabs' browsers go before the factory that made them.
    delete tabs;
    tabs = nullptr;
}

void TMain_Form::buildActionBar() {
    ActionMainMenuBar1 = new ActionBar(this);
    ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    ActionMainMenuBar1->setFont(meiryo12());
    ActionMainMenuBar1->setMinimumHeight(kActionBarHeight);

    buildOptionsMenu();
    buildSiteMenu();
    // The menus come first on the bar; the category buttons follow in the catalogue's slot
    // order, then the pause button.
    for (const lookup::LookupCategory& slot : lookup::Catalogue::instance().slots()) {
        auto* action = new QAction(slot.buttonCaption, this);
        action->setObjectName(slot.buttonAction);
        // The bar shows the button label; the caption stays the action's text (they differ
        // for the auction slot: "オークション" on a button labelled "競売").
        action->setIconText(slot.buttonLabel);
        action->setToolTip(slot.initialHint);
        categoryButtons_.push_back(action);
        ActionMainMenuBar1->addAction(action);
    }
    kyuushi = new QAction(QStringLiteral("休止"), this);
    kyuushi->setObjectName(QStringLiteral("kyuushi"));
    ActionMainMenuBar1->addAction(kyuushi);
}

void TMain_Form::buildOptionActions() {
    for (const OptionAction& option : kOptionActions) {
        auto* action = new QAction(QString::fromUtf8(option.caption), this);
        action->setObjectName(QString::fromLatin1(option.name));
        // A checkable action flips its own check mark when chosen; nothing else happens until
        // a feature reads it.
        action->setCheckable(true);
        action->setChecked(option.checked);
        this->*option.member = action;
    }
}

void TMain_Form::buildOptionsMenu() {
    auto* options = new QMenu(QStringLiteral("オプション"), this);
    options->menuAction()->setObjectName(QStringLiteral("OptionMenu"));
    auto* settings = options->addMenu(QStringLiteral("設定(&V)"));
    settings->menuAction()->setObjectName(QStringLiteral("SetteiMenu"));
    for (const OptionMenuEntry& entry : kSettingsMenu) {
        if (!entry.member) {
            settings->addSeparator();
            continue;
        }
        // The menu shows the entry with its accelerator; the action keeps its caption.
        QAction* action = this->*entry.member;
        auto* item = settings->addAction(QString::fromUtf8(entry.label));
        item->setCheckable(true);
        item->setChecked(action->isChecked());
        item->setObjectName(action->objectName() + QStringLiteral("_MenuItem"));
        connect(item, &QAction::triggered, action, &QAction::trigger);
        connect(action, &QAction::toggled, item, &QAction::setChecked);
    }
    options->addAction(tabs->Action24());
    ActionMainMenuBar1->addAction(options->menuAction());
}

void TMain_Form::buildSiteMenu() {
    siteMenus = new SiteMenus(*selection, this);
    ActionMainMenuBar1->addAction(siteMenus->menu()->menuAction());
}

void TMain_Form::buildToolbarPanel() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kPanelHeight);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, QColor(100, 100, 100));
    Panel1->setPalette(pal);
    Panel1->installEventFilter(this);

    Button1 = panelButton(Panel1, "Button1", QStringLiteral("Back"), 8);
    Button2 = panelButton(Panel1, "Button2", QStringLiteral("Forward"), 66);
    Button3 = panelButton(Panel1, "Button3", QStringLiteral("Search"), 735);

    Search_Combobox = new QComboBox(Panel1);
    Search_Combobox->setObjectName(QStringLiteral("Search_Combobox"));
    Search_Combobox->setEditable(true);
    Search_Combobox->setInsertPolicy(QComboBox::NoInsert);
    Search_Combobox->setGeometry(164, kSearchBoxTop, 553, 21);
    Search_Combobox->setStyleSheet(
        QStringLiteral("QComboBox#Search_Combobox { background: rgb(238, 238, 238); }"));

    Label1 = new QLabel(QStringLiteral("256文字以上を超えると、翻訳以外では検索できません。"
                                       "2044文字以上になるとWEBに反映できません。手動で入れてね"),
                        Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(tahoma11());
    Label1->setStyleSheet(
        QStringLiteral("QLabel#Label1 { color: white; background: transparent; }"));
    Label1->move(164, 34);
    Label1->adjustSize();
    Label1->hide();

    ROGO_pro_Image = new QLabel(Panel1);
    ROGO_pro_Image->setObjectName(QStringLiteral("ROGO_pro_Image"));
    ROGO_pro_Image->setGeometry(845, 6, 155, 40);
    ROGO_pro_Image->setPixmap(QPixmap(QStringLiteral(":/images/ROGO_pro.png")));
    ROGO_pro_Image->hide();
}

void TMain_Form::buildPageArea(browser::WebBrowserFactory* browsers) {
    if (!browsers) {
        browser::InstallStartPage();
        ownBrowsers_ = std::make_unique<browser::TEmbeddedWBFactory>();
        browsers = ownBrowsers_.get();
        // Qt composes a window that holds a browser view through OpenGL, and switches a window
        // made without it by destroying and re-creating its native window when the first view
        // arrives: the window would vanish and come back a second after start. A GL widget
        // present when the window is first created makes it GL-backed from the start.
        auto* surfaceAnchor = new QOpenGLWidget(this);
        surfaceAnchor->setObjectName(QStringLiteral("BrowserSurfaceAnchor"));
        surfaceAnchor->setFixedSize(0, 0);
        surfaceAnchor->hide();
    }
    tabs = new browser::TabManager(cbOpenNew, browsers, browser::StartPageUrl(),
                                   browser::NewTabPageUrl(), this);
    tabs->setObjectName(QStringLiteral("TabManager"));
    PageControl1 = tabs->pageControl();
    PageControl1->setFont(tahoma11());
    Action24 = tabs->Action24();
}

void TMain_Form::connectTabs() {
    connect(Button1, &QPushButton::clicked, tabs, &browser::TabManager::BtnBackClick);
    connect(Button2, &QPushButton::clicked, tabs, &browser::TabManager::BtnForwardClick);
    connect(tabs, &browser::TabManager::backEnabledChanged, Button1, &QWidget::setEnabled);
    connect(tabs, &browser::TabManager::forwardEnabledChanged, Button2, &QWidget::setEnabled);
    connect(tabs, &browser::TabManager::statusTextChanged, this, &TMain_Form::setStatusText);
    connect(tabs, &browser::TabManager::showUrlRequested, Search_Combobox, &QComboBox::setEditText);
    connect(tabs, &browser::TabManager::focusSearchBoxRequested, Search_Combobox,
            [this] { Search_Combobox->setFocus(Qt::OtherFocusReason); });
}

void TMain_Form::buildStatusBar() {
    stBar = new QStatusBar(this);
    stBar->setObjectName(QStringLiteral("stBar"));
    stBar->setFixedHeight(kStatusBarHeight);
    stBar->setSizeGripEnabled(false);
    // A panel of its own rather than showMessage(): temporary messages (a hovered action's
    // status tip) would wipe the text that the browser last reported.
    stBarPanel_ = new StatusPanel(stBar);
    stBarPanel_->setObjectName(QStringLiteral("stBarPanel"));
    stBarPanel_->setMinimumWidth(50);
    stBar->addWidget(stBarPanel_, 1);
    setStatusBar(stBar);
    setStatusText(QStringLiteral("abcd"));
}

QAction* TMain_Form::categoryButton(const lookup::LookupCategory& slot) const {
    const auto index = static_cast<std::size_t>(slot.index);
    return index < categoryButtons_.size() ? categoryButtons_[index] : nullptr;
}

QString TMain_Form::statusText() const {
    return stBarPanel_->text();
}

void TMain_Form::setStatusText(const QString& text) {
    stBarPanel_->setText(text);
}

void TMain_Form::FormCreate() {
    // 1.
    _64bit = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        Screen_Height_ = screen->geometry().height();
    // 2.
    ROGO_pro_Image->show();
    placeLogo();
    // 3.
    for (const char* name : kExtraSlotButtons)
        if (auto* action = findChild<QAction*>(QString::fromLatin1(name)))
            action->setVisible(false);
    // 4. The start page travels inside the program, so it shows without a network.
    LOGO_URL = browser::StartPageUrl();
    // 5.
    setWindowTitle(QStringLiteral("Lexorra2 professional 64bit ver1.11"));
    // 6.
    dispatch.Settei_Sentaku = lookup::LookupDispatch::kJapaneseDictionary;
    dispatch.Moto_Settei_Sentaku = dispatch.Settei_Sentaku;
    // 7. No floating-point fault may end the program: a division by zero anywhere (ours,
    // Qt's or a library's) gives an infinity or a NaN instead of a signal.
    std::feholdexcept(&SaveFPUMask);
    // 8.
    Proxy_N_ = 1;
    // 9.
    XPColorMap1 = {QColor(243, 243, 243), QColor(Qt::white), palette().color(QPalette::Button),
                   QColor(Qt::white)};
    ActionMainMenuBar1->setColorMap(XPColorMap1);
    ActionMainMenuBar1->setShowHints(true);
    // 10.
    Search_Combobox->move(Search_Combobox->x(), kSearchBoxTop);
    Label1->hide();

    // 13. Text already on the clipboard is taken now, as if it had just been copied: it
    // becomes the first lookup, once the start sequence has read the settings.
    clipboard_ = new input::QtClipboardSource(QGuiApplication::clipboard(), this);
    watcher = new input::ClipboardWatcher(*clipboard_, *this, this);
    watcher->setObjectName(QStringLiteral("ClipboardWatcher"));
    connect(kyuushi, &QAction::triggered, watcher, &input::ClipboardWatcher::kyuushiExecute);
    connect(watcher, &input::ClipboardWatcher::pausedChanged, kyuushi, [this](bool paused) {
        kyuushi->setText(paused ? QStringLiteral("監視") : QStringLiteral("休止"));
    });
    watcher->WMDrawClipboard();

    // 14. Armed last: its first tick opens the first page, once the message loop runs.
    Timer1->start();
}

void TMain_Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMain_Form::FormShow() {}

void TMain_Form::FormDestroy() {
    // 1.
    std::fesetenv(&SaveFPUMask);
    // 3. No copy may start a lookup in a window that is going away.
    delete watcher;
    watcher = nullptr;
}

// The start sequence: runs once, on the first tick, and never again, also when a tick
// arrives while a step below processes events.
void TMain_Form::Timer1Timer() {
    if (startSequenceRun_)
        return;
    startSequenceRun_ = true;
    // 3. A text copied before this tick waits in the search box.
    if (hajimeteno_okuru)
        _okuru();
    else
        tabs->CreateNewTabBrowser(LOGO_URL);
    // 4, 5.
    hajimeteno_okuru = true;
    Timer1->stop();
}

void TMain_Form::connectLookups() {
    connect(selection, &lookup::SiteSelection::buttonVisibleChanged, this,
            [this](const lookup::LookupCategory* slot, bool visible) {
                categoryButton(*slot)->setVisible(visible);
            });
    connect(selection, &lookup::SiteSelection::buttonHintChanged, this,
            [this](const lookup::LookupCategory* slot, const QString& hint) {
                categoryButton(*slot)->setToolTip(hint);
            });
    // A site chosen in a slot's menu: it is the slot's one site, the slot becomes current and
    // the text is looked up there at once.
    connect(siteMenus, &SiteMenus::entryChosen, this, [this](const lookup::SiteEntry* entry) {
        selection->choose(*entry);
        dispatch.Settei_Sentaku = entry->category->selectionName;
        _okuru();
    });
    for (const lookup::LookupCategory& slot : lookup::Catalogue::instance().slots()) {
        connect(categoryButton(slot), &QAction::triggered, this, [this, &slot] {
            dispatch.pressButton(slot.selectionName);
            _okuru();
        });
    }

    searchBox = new input::SearchBox(Search_Combobox, Button3, this);
    searchBox->setObjectName(QStringLiteral("SearchBox"));
    connect(searchBox, &input::SearchBox::lookupRequested, this, &TMain_Form::_okuru);
    // One lookup in the web-search slot; the current slot stays what it was.
    connect(searchBox, &input::SearchBox::webSearchRequested, this, [this] {
        const QString saved = dispatch.Settei_Sentaku;
        dispatch.Settei_Sentaku = lookup::LookupDispatch::kWebSearch;
        _okuru();
        dispatch.Settei_Sentaku = saved;
    });
}

void TMain_Form::_okuru() {
    const QString text = Search_Combobox->currentText();
    const lookup::LookupDispatch::Plan plan = dispatch.okuru(text, *selection);
    setLongTextLayout(dispatch.longText);
    if (!plan.urls.isEmpty())
        holdPainting();
    for (const QString& url : plan.urls)
        tabs->CreateNewTabBrowser(url);
    if (plan.recordHistory)
        recordHistory(text);
    // Raising the window costs round trips to the X server and the window manager; it waits
    // until the engine has sent the request, which shares this thread with it.
    if (!copy_window_zenmen_on->isChecked())
        return;
    if (plan.urls.isEmpty())
        raiser.bringForwardAfterLookup();
    else
        QTimer::singleShot(kBringForwardDelayMs, this,
                           [this] { raiser.bringForwardAfterLookup(); });
}

// The engine runs its navigation on this thread, in turns of the event loop that come after
// the window's own repaint (the search box, the tab caption, the history). Composing the
// window takes longer than the navigation's first steps, so the repaint waits a moment and
// the request leaves first; the page cannot show before its answer anyway.
void TMain_Form::holdPainting() {
    if (!updatesEnabled())
        return;
    setUpdatesEnabled(false);
    QTimer::singleShot(kPaintHoldMs, this, [this] { setUpdatesEnabled(true); });
}

void TMain_Form::setLongTextLayout(bool on) {
    Search_Combobox->move(Search_Combobox->x(), on ? kSearchBoxRaisedTop : kSearchBoxTop);
    Label1->setVisible(on);
}

void TMain_Form::recordHistory(const QString& text) {
    if (Search_Combobox->count() >= lookup::LookupDispatch::kHistorySize)
        Search_Combobox->removeItem(Search_Combobox->count() - 1);
    Search_Combobox->insertItem(0, text);
    // Inserting can move the box's current item, and with it the text shown; the box keeps
    // the text that was looked up.
    if (Search_Combobox->currentText() != text)
        Search_Combobox->setEditText(text);
}

QString TMain_Form::searchText() const {
    return Search_Combobox->currentText();
}

void TMain_Form::setSearchText(const QString& text) {
    Search_Combobox->setEditText(text);
}

bool TMain_Form::bringWindowForwardOnCopy() const {
    return copy_window_zenmen_on->isChecked();
}

bool TMain_Form::turnFullWidthToAscii() const {
    return jidou_zenkaku_eimoji_hankaku->isChecked();
}

bool TMain_Form::isMinimised() const {
    return isMinimized();
}

void TMain_Form::MOTO_NI_MODOSHUClick() {
    raiser.MOTO_NI_MODOSHUClick();
}

bool TMain_Form::firstLookupRequested() const {
    return hajimeteno_okuru;
}

void TMain_Form::deferFirstLookup() {
    hajimeteno_okuru = true;
    // Armed already by window creation; a fresh start would put the first lookup off again.
    if (!Timer1->isActive() && !startSequenceRun_)
        Timer1->start();
}

void TMain_Form::showError(const QString& message) {
    // Not modal: the program goes on watching while the message is shown.
    auto* box =
        new QMessageBox(QMessageBox::Critical, windowTitle(), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool TMain_Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize)
        placeLogo();
    return QMainWindow::eventFilter(watched, event);
}

void TMain_Form::placeLogo() {
    ROGO_pro_Image->move(Panel1->width() - kLogoRightMargin - ROGO_pro_Image->width(),
                         ROGO_pro_Image->y());
}

} // namespace app
