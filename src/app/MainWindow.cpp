#include "app/MainWindow.h"

#include "app/ActionBar.h"
#include "app/LoadingBar.h"
#include "app/PaintHold.h"
#include "app/PauseIndicator.h"
#include "app/StartSequence.h"
#include "app/StatusPanel.h"
#include "app/ToolbarLayout.h"
#include "app/dialogs/AboutBox.h"
#include "app/dialogs/CategoryVisibilityDialog.h"
#include "app/dialogs/ProgramVersion.h"
#include "app/dialogs/ProxyDialogRunner.h"
#include "app/menus/BrowserOptionActions.h"
#include "app/menus/OptionActions.h"
#include "app/menus/ProxyCommands.h"
#include "app/menus/SiteMenus.h"
#include "app/menus/SupportCommands.h"
#include "app/menus/WindowMenus.h"
#include "browser/AddressUrl.h"
#include "browser/FailurePage.h"
#include "browser/NavigationWatch.h"
#include "browser/ProxyCheckPage.h"
#include "browser/ProxyOptionFollower.h"
#include "browser/StartPage.h"
#include "browser/TabControl.h"
#include "browser/TabManager.h"
#include "browser/WebEngineBrowserFactory.h"
#include "desktop/DocumentsFolder.h"
#include "desktop/HeldBackCopyWatch.h"
#include "desktop/ProcessPriority.h"
#include "desktop/SessionKeySource.h"
#include "desktop/SystemTrayIcon.h"
#include "desktop/WindowPlacement.h"
#include "input/ClipboardWatcher.h"
#include "input/QtClipboardSource.h"
#include "input/SearchBox.h"
#include "input/SelectionWatcher.h"
#include "input/WaylandClipboardSource.h"
#include "input/WaylandPrimarySelection.h"
#include "lookup/Catalogue.h"
#include "lookup/CurrentSiteText.h"
#include "lookup/LookupController.h"
#include "lookup/SiteAlternatives.h"
#include "lookup/SiteSelection.h"
#include "settings/OptionsStore.h"
#include "settings/UserSettings.h"
#include "timing/QtOneShotTimer.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace app {

namespace {

constexpr int kClientWidth = 1008;
constexpr int kClientHeight = 599;
constexpr int kActionBarHeight = 56;
constexpr int kPanelHeight = 53;
constexpr int kStatusBarHeight = 19;

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

MainWindow::MainWindow(browser::WebBrowserFactory* browsers, QWidget* parent,
                       desktop::GlobalKeySource* keys, desktop::NotificationArea* tray)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("Main_Form"));
    setFont(tahoma11());
    setWindowTitle(QStringLiteral("Lexorra2 professional 64bit ver") +
                   QString::fromLatin1(kProgramVersion));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    options_ = new settings::OptionsStore(this);
    options_->setObjectName(QStringLiteral("Options"));
    optionActions_ = new OptionActions(*options_, commands_, this);
    lookups_ = new lookup::LookupController(*this, options_->options(), this);
    lookups_->setObjectName(QStringLiteral("LookupController"));
    browserOptions_ = new BrowserOptionActions(*options_, commands_, this);
    processPriority_ = new desktop::ProcessPriority(this);
    const QScreen* primary = QGuiApplication::primaryScreen();
    userSettings_ =
        new settings::UserSettings(*options_, lookups_->selection(), desktop::documentsFolder(),
                                   primary ? primary->geometry().height() : 0, this);
    userSettings_->setObjectName(QStringLiteral("UserSettings"));
    // Each part below gets the parts it uses; those are built before it.
    buildToolbarPanel();
    tabs_ = buildPageArea(browsers);
    buildActionBar(*tabs_, *lookups_);
    buildStatusBar(*lookups_);
    connectTabs(*tabs_);
    connectLookups(*lookups_, *siteMenus_);
    connectFailurePages(*tabs_, *lookups_);
    connectSettings(*tabs_, *siteMenus_);
    column->addWidget(actionBar_);
    column->addWidget(toolbarPanel_);
    column->addWidget(tabs_->tabControl(), 1);

    buildLoadingBar(central, *tabs_);

    holdPaintingAfterLookups(*tabs_);
    placement_ = new desktop::WindowPlacement(*this, QSize(kClientWidth, kClientHeight));

    presence_ = liveBesideOtherPrograms(keys, tray);
    // Its steps are the settings, the presence, the lookups and the tabs, all built by now; a
    // copy taken while the clipboard watching starts already waits for it.
    startSequence_ = makeStartSequence(*userSettings_, *presence_, *lookups_, *tabs_);
    startWatchingClipboard(*presence_, proxyCommands_->dialog());
    // Armed last: its first tick opens the first page, once the event loop runs.
    startSequence_->arm();
}

MainWindow::~MainWindow() {
    // The keys first: no step of theirs may reach a window that is going away.
    presence_->stop();
    // No copy may start a lookup in a window that is going away; the clipboard's reading
    // thread is stopped and joined.
    delete selectionWatcher_;
    selectionWatcher_ = nullptr;
    delete primarySelection_;
    primarySelection_ = nullptr;
    delete watcher_;
    watcher_ = nullptr;
    delete clipboard_;
    clipboard_ = nullptr;
    saveSettingsAtEnd();
    // The tabs' browsers go before the factory that made them.
    delete tabs_;
    tabs_ = nullptr;
    // The presence holds on to the key source and the tray, which go with the window's members.
    delete presence_;
    presence_ = nullptr;
}

void MainWindow::endRun() {
    presence_->quit();
}

void MainWindow::saveSettingsAtEnd() {
    if (settingsSavedAtEnd_)
        return;
    settingsSavedAtEnd_ = true;
    closing_ = true;
    userSettings_->saveSettings();
}

void MainWindow::buildActionBar(browser::TabManager& tabs, lookup::LookupController& lookups) {
    actionBar_ = new ActionBar(this);
    actionBar_->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    actionBar_->setFont(meiryo12());
    actionBar_->setMinimumHeight(kActionBarHeight);
    actionBar_->setColorMap({QColor(243, 243, 243), QColor(Qt::white),
                             palette().color(QPalette::Button), QColor(Qt::white)});
    actionBar_->setShowHints(true);

    proxyCommands_ = new ProxyCommands(*options_, commands_, this);
    connect(proxyCommands_, &ProxyCommands::checkPageRequested, &tabs,
            [this] { tabs_->openAddress(browser::proxyCheckPageUrl()); });
    connect(commands_.make(Command::ShowPageAddress, this), &QAction::triggered, &tabs,
            &browser::TabManager::showActiveAddress);
    actionBar_->addAction(buildOptionsMenu(commands_, *this)->menuAction());
    siteMenus_ = new SiteMenus(lookups.selection(), commands_, this);
    addDictionaryMenuHead(*siteMenus_->menu(), commands_);
    actionBar_->addAction(siteMenus_->menu()->menuAction());
    // The menus come first on the bar; the category buttons follow in the catalogue's category
    // order, then the pause button. The current category's button is the one checked.
    auto* currentCategoryButtons = new QActionGroup(this);
    currentCategoryButtons->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const lookup::LookupCategory& category : lookup::Catalogue::instance().categories()) {
        auto* action = new QAction(category.buttonCaption, currentCategoryButtons);
        action->setObjectName(category.buttonAction);
        action->setCheckable(true);
        // The bar shows the button label; the caption stays the action's text (they differ
        // for the auction category: "オークション" on a button labelled "競売").
        action->setIconText(category.buttonLabel);
        action->setToolTip(category.initialHint);
        // The extra categories have nothing chosen until the settings say otherwise.
        action->setVisible(lookups.selection().buttonVisible(category));
        categoryButtons_.push_back(action);
        actionBar_->addAction(action);
    }
    pauseAction_ = new QAction(QStringLiteral("休止"), this);
    pauseAction_->setObjectName(QStringLiteral("kyuushi"));
    actionBar_->addAction(pauseAction_);

    auto* support = new SupportCommands(commands_, this);
    connect(support, &SupportCommands::openPageRequested, this,
            [this](const QString& url) { tabs_->openAddress(url); });
    connect(support, &SupportCommands::mailFailed, this, &MainWindow::setStatusText);
    connect(support, &SupportCommands::aboutRequested, this, [this] { AboutBox::showModal(this); });
    actionBar_->addAction(buildSupportMenu(commands_, *this)->menuAction());
}

void MainWindow::buildToolbarPanel() {
    toolbarPanel_ = new QWidget(this);
    toolbarPanel_->setObjectName(QStringLiteral("Panel1"));
    toolbarPanel_->setFixedHeight(kPanelHeight);
    toolbarPanel_->setAutoFillBackground(true);
    QPalette pal = toolbarPanel_->palette();
    pal.setColor(QPalette::Window, QColor(100, 100, 100));
    toolbarPanel_->setPalette(pal);
    toolbarPanel_->installEventFilter(this);

    backButton_ = panelButton(toolbarPanel_, "Button1", QStringLiteral("Back"), 8);
    forwardButton_ = panelButton(toolbarPanel_, "Button2", QStringLiteral("Forward"), 66);
    searchButton_ = panelButton(toolbarPanel_, "Button3", QStringLiteral("Search"), 735);

    searchCombo_ = new QComboBox(toolbarPanel_);
    searchCombo_->setObjectName(QStringLiteral("Search_Combobox"));
    searchCombo_->setEditable(true);
    searchCombo_->setInsertPolicy(QComboBox::NoInsert);
    searchCombo_->setGeometry(164, kSearchBoxTop, 553, 21);
    searchCombo_->setStyleSheet(
        QStringLiteral("QComboBox#Search_Combobox { background: rgb(238, 238, 238); }"));

    longTextNotice_ =
        new QLabel(QStringLiteral("256文字以上を超えると、翻訳以外では検索できません。"
                                  "2044文字以上になるとWEBに反映できません。手動で入れてね"),
                   toolbarPanel_);
    longTextNotice_->setObjectName(QStringLiteral("Label1"));
    longTextNotice_->setFont(tahoma11());
    longTextNotice_->setStyleSheet(
        QStringLiteral("QLabel#Label1 { color: white; background: transparent; }"));
    // In a window narrower than designed the notice wraps under the search box.
    longTextNotice_->setWordWrap(true);
    longTextNotice_->hide();

    logo_ = new QLabel(toolbarPanel_);
    logo_->setObjectName(QStringLiteral("ROGO_pro_Image"));
    logo_->setGeometry(845, 6, 155, 40);
    logo_->setPixmap(QPixmap(QStringLiteral(":/images/product_logo.png")));
    layOutToolbar();
}

browser::TabManager* MainWindow::buildPageArea(browser::WebBrowserFactory* browsers) {
    if (!browsers) {
        browser::installStartPage();
        ownBrowsers_ = std::make_unique<browser::WebEngineBrowserFactory>();
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
    auto* tabs = new browser::TabManager(options_->options(), browsers, browser::startPageUrl(),
                                         browser::newTabPageUrl(), this);
    tabs->setObjectName(QStringLiteral("TabManager"));
    tabs->tabControl()->setFont(tahoma11());

    // The tabs' requests take the route the options name, from the settings file read at
    // start or OK in the proxy dialog on.
    proxyFollower_ = new browser::ProxyOptionFollower(*options_, browsers->proxyControl(), this);
    connect(proxyFollower_, &browser::ProxyOptionFollower::refused, this, &MainWindow::showError);
    return tabs;
}

void MainWindow::connectTabs(browser::TabManager& tabs) {
    connect(backButton_, &QPushButton::clicked, &tabs, &browser::TabManager::goBack);
    connect(forwardButton_, &QPushButton::clicked, &tabs, &browser::TabManager::goForward);
    connect(&tabs, &browser::TabManager::historyChanged, this,
            [this](bool canGoBack, bool canGoForward) {
                forwardButton_->setEnabled(canGoForward);
                backButton_->setEnabled(canGoBack);
            });
    connect(&tabs, &browser::TabManager::statusTextChanged, this, &MainWindow::setStatusText);
    connect(&tabs, &browser::TabManager::addressToShow, searchCombo_, &QComboBox::setEditText);
    connect(&tabs, &browser::TabManager::focusSearchBoxRequested, searchCombo_,
            [this] { searchCombo_->setFocus(Qt::OtherFocusReason); });
}

void MainWindow::buildStatusBar(lookup::LookupController& lookups) {
    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("stBar"));
    statusBar->setFixedHeight(kStatusBarHeight);
    statusBar->setSizeGripEnabled(false);
    // A panel of its own rather than showMessage(): temporary messages (a hovered action's
    // status tip) would wipe the text that the browser last reported.
    statusPanel_ = new StatusPanel(statusBar);
    statusPanel_->setObjectName(QStringLiteral("stBarPanel"));
    statusPanel_->setMinimumWidth(50);
    statusBar->addWidget(statusPanel_, 1);
    pauseIndicator_ = new PauseIndicator(*this, *statusBar, this);
    auto* currentSiteText = new lookup::CurrentSiteText(lookups, this);
    currentSite_ = new QLabel(currentSiteText->text(), statusBar);
    currentSite_->setObjectName(QStringLiteral("CurrentSiteIndicator"));
    connect(currentSiteText, &lookup::CurrentSiteText::changed, currentSite_, &QLabel::setText);
    statusBar->addPermanentWidget(currentSite_);
    setStatusBar(statusBar);
    setStatusText(QStringLiteral("abcd"));
}

QAction* MainWindow::categoryButton(const lookup::LookupCategory& category) const {
    const auto index = static_cast<std::size_t>(category.index);
    return index < categoryButtons_.size() ? categoryButtons_[index] : nullptr;
}

QString MainWindow::statusText() const {
    return statusPanel_->text();
}

void MainWindow::setStatusText(const QString& text) {
    statusPanel_->setText(text);
}

// F12 and END, the tray and the window's behaviour; created before the window watches the
// clipboard, stopped first when it goes.
DesktopPresence* MainWindow::liveBesideOtherPrograms(desktop::GlobalKeySource* keys,
                                                     desktop::NotificationArea* tray) {
    if (!keys) {
        ownKeys_ = desktop::SessionKeySource::forThisSession(QGuiApplication::platformName());
        keys = ownKeys_.get();
    }
    if (!tray) {
        ownTray_ = std::make_unique<desktop::SystemTrayIcon>();
        tray = ownTray_.get();
    }
    auto* presence = new DesktopPresence(*this, *this, *options_, *keys, *tray, commands_, this);
    presence->setObjectName(QStringLiteral("DesktopPresence"));
    return presence;
}

void MainWindow::raiseWindow() {
    raiser_.restoreAndRaise();
}

void MainWindow::restoreWindow() {
    raiser_.restoreIfMinimised();
}

void MainWindow::togglePause() {
    watcher_->togglePause();
}

void MainWindow::lookUpAsked(const QString& text) {
    watcher_->takeAskedText(text);
}

void MainWindow::showStatus(const QString& text) {
    setStatusText(text);
}

// Text already on the clipboard is taken now, as if it had just been copied: it becomes the
// first lookup, once the start sequence has read the settings.
void MainWindow::startWatchingClipboard(DesktopPresence& presence, ProxyDialogRunner& proxyDialog) {
    // Where the compositor shows every copy to a clipboard watcher, that sees copies also in
    // the background; elsewhere the desktop's clipboard through Qt (on X11 its own reader).
    if (std::unique_ptr<input::WaylandClipboardSource> wayland =
            input::WaylandClipboardSource::forSession(this)) {
        clipboard_ = wayland.release();
        clipboard_->setObjectName(QStringLiteral("WaylandDataControl"));
    } else {
        clipboard_ = new input::QtClipboardSource(QGuiApplication::clipboard(), this);
        watchForHeldBackCopies();
    }
    watcher_ = new input::ClipboardWatcher(*clipboard_, *lookups_, options_->options(), this);
    watcher_->setObjectName(QStringLiteral("ClipboardWatcher"));
    connect(pauseAction_, &QAction::triggered, watcher_, &input::ClipboardWatcher::togglePause);
    connect(watcher_, &input::ClipboardWatcher::pausedChanged, pauseAction_, [this](bool paused) {
        pauseAction_->setText(paused ? QStringLiteral("監視") : QStringLiteral("休止"));
    });
    connect(watcher_, &input::ClipboardWatcher::pausedChanged, &presence,
            &DesktopPresence::setPaused);
    connect(watcher_, &input::ClipboardWatcher::pausedChanged, pauseIndicator_,
            &PauseIndicator::setPaused);
    connect(watcher_, &input::ClipboardWatcher::clipboardUnreadable, this, &MainWindow::showError);
    connect(watcher_, &input::ClipboardWatcher::clipboardTooLong, this, &MainWindow::setStatusText);
    connect(&proxyDialog, &ProxyDialogRunner::openChanged, watcher_,
            &input::ClipboardWatcher::setSuppressed);
    watcher_->clipboardChanged();
    watchPrimarySelection();
}

// A selection made before the option is on, or before the start, is not looked up: only one
// that settles while watching.
void MainWindow::watchPrimarySelection() {
    // Where data control shows the Wayland clipboard, it shows the primary selection too.
    if (auto* wayland = qobject_cast<input::WaylandClipboardSource*>(clipboard_))
        primarySelection_ =
            new input::WaylandPrimarySelection(*wayland, QGuiApplication::clipboard(), this);
    else
        primarySelection_ = new input::QtClipboardSource(
            QGuiApplication::clipboard(), input::ClipboardSource::Selection::Primary, this);
    selectionWatcher_ = new input::SelectionWatcher(
        *primarySelection_, *watcher_, options_->options(), timing::QtOneShotTimer::make, this);
    selectionWatcher_->setObjectName(QStringLiteral("SelectionWatcher"));
    connect(selectionWatcher_, &input::SelectionWatcher::notice, this, &MainWindow::setStatusText);
}

// In a Wayland session some compositors pass a Wayland program's copy on to X programs only
// once an X window is active: the copy is looked up when the user comes to this window, not
// when it was made. The first time that shows, the status bar says why.
void MainWindow::watchForHeldBackCopies() {
    if (!desktop::HeldBackCopyWatch::copiesMayBeHeldBack())
        return;
    auto* watch = new desktop::HeldBackCopyWatch(this);
    connect(clipboard_, &input::ClipboardSource::changed, watch,
            &desktop::HeldBackCopyWatch::clipboardChanged);
    connect(watch, &desktop::HeldBackCopyWatch::heldBackCopySeen, this, &MainWindow::setStatusText);
}

StartSequence* MainWindow::makeStartSequence(settings::UserSettings& settings,
                                             DesktopPresence& presence,
                                             lookup::LookupController& lookups,
                                             browser::TabManager& tabs) {
    auto* sequence = new StartSequence({
                                           [&settings] { settings.loadSettings(); },
                                           [&settings] { settings.loadCategoryVisibility(); },
                                           [&presence] { presence.applyMinimiseAtStart(); },
                                           [&lookups] { return lookups.lookUpWaitingCopy(); },
                                           [&tabs] { tabs.openAddress(browser::startPageUrl()); },
                                       },
                                       this);
    sequence->setObjectName(QStringLiteral("StartSequence"));
    // A copy that arrives before the start sequence waits for it; it is armed already by
    // window creation, and a fresh start would put the first lookup off again.
    connect(&lookups, &lookup::LookupController::firstLookupDeferred, sequence,
            &StartSequence::copyWaiting);
    return sequence;
}

void MainWindow::markCurrentCategory() {
    if (QAction* button = categoryButton(lookups_->currentCategory()))
        button->setChecked(true);
}

void MainWindow::connectLookups(lookup::LookupController& lookups, SiteMenus& siteMenus) {
    lookup::SiteSelection& selection = lookups.selection();
    connect(&selection, &lookup::SiteSelection::buttonVisibleChanged, this,
            [this](const lookup::LookupCategory* category, bool visible) {
                categoryButton(*category)->setVisible(visible);
            });
    connect(&selection, &lookup::SiteSelection::buttonHintChanged, this,
            [this](const lookup::LookupCategory* category, const QString& hint) {
                categoryButton(*category)->setToolTip(hint);
            });
    connect(&siteMenus, &SiteMenus::entryChosen, &lookups,
            [this](const lookup::SiteEntry* entry) { lookups_->chooseSite(*entry); });
    // A button pressed is checked by its click, even when the lookup went elsewhere (a long
    // text goes to translation): the mark follows the controller after every press.
    for (const lookup::LookupCategory& category : lookup::Catalogue::instance().categories())
        connect(categoryButton(category), &QAction::triggered, &lookups, [this, &category] {
            lookups_->lookUpInCategory(category);
            markCurrentCategory();
        });
    connect(&lookups, &lookup::LookupController::currentCategoryChanged, this,
            &MainWindow::markCurrentCategory);
    markCurrentCategory();

    searchBox_ = new input::SearchBox(searchCombo_, searchButton_, this);
    searchBox_->setObjectName(QStringLiteral("SearchBox"));
    connect(searchBox_, &input::SearchBox::lookupRequested, &lookups,
            &lookup::LookupController::lookUpSearchText);
    connect(searchBox_, &input::SearchBox::webSearchRequested, &lookups,
            &lookup::LookupController::searchWebOnce);
}

// A failure page names the lookup that failed and offers the category's other sites, those that
// the category's menu shows; its button chooses a site as the menu does.
void MainWindow::connectFailurePages(browser::TabManager& tabs, lookup::LookupController& lookups) {
    tabs.setFailedLookupSource(
        [this](const QUrl& failed) -> std::optional<browser::FailurePage::Lookup> {
            const auto found = lookups_->lookupBehindFailure([&](const QString& address) {
                return browser::NavigationWatch::sameAddress(browser::addressToUrl(address),
                                                             failed);
            });
            if (!found)
                return std::nullopt;
            browser::FailurePage::Lookup lookup{found->site->caption, found->text, {}};
            for (const lookup::SiteAlternative& a : found->alternatives)
                lookup.alternatives.push_back({a.site->siteKey, a.site->caption, a.url});
            return lookup;
        });
    connect(&tabs, &browser::TabManager::siteChoiceRequested, &lookups, [this](const QString& key) {
        if (const lookup::SiteEntry* entry = lookup::Catalogue::instance().siteByKey(key))
            lookups_->chooseSite(*entry);
    });
    connect(tabs_, &browser::TabManager::proxySettingsRequested, proxyCommands_->setAction(),
            &QAction::trigger);
}

void MainWindow::buildLoadingBar(QWidget* parent, browser::TabManager& tabs) {
    // Laid over the top of the tabs rather than into the column, so that showing it never
    // moves the page.
    loadingBar_ = new LoadingBar(parent);
    loadingBar_->setObjectName(QStringLiteral("LoadingProgress"));
    loadingBar_->hide();
    connect(&tabs, &browser::TabManager::activeLoadingShown, this, [this](bool shown, int percent) {
        loadingBar_->setProgress(percent);
        if (shown == loadingBar_->isVisible())
            return;
        loadingBar_->setVisible(shown);
        if (shown) {
            placeLoadingBar();
            loadingBar_->raise();
        }
    });
}

void MainWindow::placeLoadingBar() {
    if (!loadingBar_)
        return;
    const QRect panel = toolbarPanel_->geometry();
    loadingBar_->setGeometry(panel.left(), panel.bottom() + 1, panel.width(), LoadingBar::kHeight);
}

void MainWindow::connectSettings(browser::TabManager& tabs, SiteMenus& siteMenus) {
    connect(options_, &settings::OptionsStore::changed, toolbarPanel_,
            [this] { toolbarPanel_->setVisible(options_->options().showToolbar); });
    connect(browserOptions_, &BrowserOptionActions::textSizeChosen, &tabs,
            [this](settings::TextSize size) { tabs_->setActiveTextSize(static_cast<int>(size)); });
    connect(browserOptions_, &BrowserOptionActions::priorityChosen, processPriority_,
            &desktop::ProcessPriority::apply);
    connect(userSettings_, &settings::UserSettings::priorityRequested, processPriority_,
            &desktop::ProcessPriority::apply);
    connect(processPriority_, &desktop::ProcessPriority::refused, this, &MainWindow::setStatusText);
    // The engine starts threads and processes as pages load; the priority reaches them too.
    connect(&tabs, &browser::TabManager::activeLoadEnded, processPriority_,
            &desktop::ProcessPriority::followNewThreads);
    connect(userSettings_, &settings::UserSettings::problem, this,
            &MainWindow::reportSettingsProblem);
    connect(siteMenus.categoryDialogAction(), &QAction::triggered, this,
            &MainWindow::openCategoryDialog);
}

// "辞書の追加・解除": its ticks start from the file (or the defaults); "閉じる" writes them and
// the menu follows at once.
void MainWindow::openCategoryDialog() {
    dialogs::CategoryVisibilityDialog dialog(userSettings_->storedCategoryVisibility(), this);
    if (dialog.exec() == QDialog::Accepted)
        userSettings_->saveCategoryVisibility(dialog.ticks());
}

void MainWindow::reportSettingsProblem(const QString& message) {
    // While the window goes nothing may wait for the user: at a logout that would hold the
    // whole session. The message goes to the session's log.
    if (closing_)
        std::fprintf(stderr, "Lexorra2: %s\n", message.toLocal8Bit().constData());
    else
        showError(message);
}

// The engine runs its navigation on this thread, in turns of the event loop that come after
// the window's own repaint (the search box, the tab caption, the history). Composing the
// window takes longer than the navigation's first steps, so after a lookup the repaint waits
// and the request leaves first. It waits on until the page has loaded, or a moment at most:
// the window's changes are then composed with the page's first picture, not just before it.
// Composing the whole window costs about twice what the page alone does, so the controls
// around the page wait a little longer and the page's first picture is composed on its own.
void MainWindow::holdPaintingAfterLookups(browser::TabManager& tabs) {
    paintHold_ = new PaintHold(*this, kPaintHoldMs, tabs.tabControl()->pageArea(), kControlsHoldMs);
    connect(&tabs, &browser::TabManager::activeLoadEnded, paintHold_, &PaintHold::release);
}

void MainWindow::openQueryUrls(const QStringList& urls) {
    if (urls.isEmpty())
        return;
    paintHold_->start();
    for (const QString& url : urls)
        tabs_->openAddress(url);
}

void MainWindow::setLongTextNotice(bool shown) {
    longTextNotice_->setVisible(shown);
    layOutToolbar();
}

void MainWindow::addToHistory(const QString& text) {
    if (const std::optional<int> dropped = history_.add(text))
        searchCombo_->removeItem(*dropped);
    searchCombo_->insertItem(0, text);
    // Inserting can move the box's current item, and with it the text shown; the box keeps
    // the text that was looked up.
    if (searchCombo_->currentText() != text)
        searchCombo_->setEditText(text);
}

QString MainWindow::searchText() const {
    return searchCombo_->currentText();
}

void MainWindow::setSearchText(const QString& text) {
    searchCombo_->setEditText(text);
}

bool MainWindow::isMinimised() const {
    return isMinimized();
}

void MainWindow::restoreIfMinimised() {
    raiser_.restoreIfMinimised();
}

void MainWindow::bringForward() {
    raiser_.bringForwardAfterLookup();
}

void MainWindow::showError(const QString& message) {
    // Not modal: the program goes on watching while the message is shown.
    auto* box =
        new QMessageBox(QMessageBox::Critical, windowTitle(), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolbarPanel_ && event->type() == QEvent::Resize)
        layOutToolbar();
    if (watched == toolbarPanel_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeLoadingBar();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::layOutToolbar() {
    const bool noticeShown = !longTextNotice_->isHidden();
    const int noticeWidth =
        longTextNotice_->fontMetrics().horizontalAdvance(longTextNotice_->text()) + 1;
    const ToolbarLayout layout = ToolbarLayout::forWidth(
        toolbarPanel_->width(), noticeShown, noticeWidth,
        [this](int width) { return longTextNotice_->heightForWidth(width); });
    searchCombo_->setGeometry(layout.searchBox);
    searchButton_->setGeometry(layout.searchButton);
    logo_->setGeometry(layout.logo);
    logo_->setVisible(layout.logoShown);
    if (noticeShown)
        longTextNotice_->setGeometry(layout.notice);
    if (toolbarPanel_->height() != layout.panelHeight)
        toolbarPanel_->setFixedHeight(layout.panelHeight);
}

} // namespace app
