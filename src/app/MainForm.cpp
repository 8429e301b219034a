#include "app/MainForm.h"

#include "browser/PageControl.h"
#include "browser/StartPage.h"
#include "browser/TEmbeddedWBFactory.h"
#include "browser/TabManager.h"
#include "lookup/Catalogue.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
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
    "A_Settei_eiwa_Button2",  "A_Settei_eiwa_Button3",     "A_Settei_eiei_Button2",
    "A_Settei_eiei_Button3",  "A_Settei_shopping_Button2", "A_Settei_shopping_Button3",
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

    buildActionBar();
    buildToolbarPanel();
    buildPageArea(browsers);
    buildStatusBar();
    connectTabs();
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

    // The menus come first on the bar and are added in front of the category buttons;
    // the buttons follow in the catalogue's slot order.
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

    Label1 = new QLabel(
        QStringLiteral("256文字以上を超えると、翻訳以外では検索できません。"
                       "2044文字以上になるとWEBに反映できません。手動で入れてね"),
        Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(tahoma11());
    Label1->setStyleSheet(QStringLiteral("QLabel#Label1 { color: white; background: transparent; }"));
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
    cbOpenNew = new QAction(QStringLiteral("検索するとタブを新規作成する"), this);
    cbOpenNew->setObjectName(QStringLiteral("cbOpenNew"));
    cbOpenNew->setCheckable(true);
    cbOpenNew->setChecked(false);

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
    // A label rather than showMessage(): temporary messages (a hovered action's status tip)
    // would wipe the text that the browser last reported.
    stBarPanel_ = new QLabel(stBar);
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

QString TMain_Form::statusText() const { return stBarPanel_->text(); }

void TMain_Form::setStatusText(const QString& text) { stBarPanel_->setText(text); }

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
    Settei_Sentaku = QStringLiteral("Settei_kokugo_Button");
    Moto_Settei_Sentaku = Settei_Sentaku;
    // 7. No floating-point fault may end the program: a division by zero anywhere (ours,
    // Qt's or a library's) gives an infinity or a NaN instead of a signal.
    std::feholdexcept(&SaveFPUMask);
    // 8.
    Proxy_N_ = 1;
    // 9.
    XPColorMap1 = {QColor(243, 243, 243), QColor(Qt::white),
                   palette().color(QPalette::Button), QColor(Qt::white)};
    ActionMainMenuBar1->setColorMap(XPColorMap1);
    ActionMainMenuBar1->setShowHints(true);
    // 10.
    Search_Combobox->move(Search_Combobox->x(), kSearchBoxTop);
    Label1->hide();

    // Armed last: its first tick opens the first page, once the message loop runs.
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
}

// The start sequence: runs once, on the first tick, and never again.
void TMain_Form::Timer1Timer() {
    Timer1->stop();
    if (startSequenceRun_)
        return;
    startSequenceRun_ = true;
    tabs->CreateNewTabBrowser(LOGO_URL);
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
