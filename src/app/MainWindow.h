#pragma once

#include "app/DesktopPresence.h"
#include "app/menus/CommandRegistry.h"
#include "desktop/WindowRaiser.h"
#include "lookup/LookupView.h"
#include "lookup/SearchHistory.h"

#include <QMainWindow>
#include <QString>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace browser {
class ProxyOptionFollower;
class TabManager;
class WebBrowserFactory;
} // namespace browser

namespace desktop {
class GlobalKeySource;
class NotificationArea;
class WindowPlacement;
} // namespace desktop

namespace input {
class ClipboardWatcher;
class ClipboardSource;
class SelectionWatcher;
class SearchBox;
} // namespace input

namespace lookup {
struct LookupCategory;
class LookupController;
} // namespace lookup

namespace settings {
class OptionsStore;
class UserSettings;
} // namespace settings

namespace desktop {
class ProcessPriority;
}

namespace app {

class ActionBar;
class LoadingBar;
class BrowserOptionActions;
class OptionActions;
class PaintHold;
class PauseIndicator;
class StartSequence;
class ProxyCommands;
class ProxyDialogRunner;
class SiteMenus;
class StatusPanel;

// The one main window: it builds the controls, lays them out and wires the subsystems'
// signals to them. What a lookup does is decided by the lookup controller, what a tab does
// by the tab manager, what a copy does by the clipboard watcher.
//
// Controls carry the program's traditional names as their objectName (Search_Combobox,
// PageControl1, A_Settei_kokugo_Button, ...); tests find them by those names.
class MainWindow : public QMainWindow, private lookup::LookupView, private DesktopPresenceHost {
    Q_OBJECT
public:
    // browsers makes each tab's browser; null means the real engine. Tests pass a fake. The
    // factory must outlive the window. keys and tray likewise: null means the desktop's own
    // (F12 and END on the X11 display, the system tray).
    explicit MainWindow(browser::WebBrowserFactory* browsers = nullptr, QWidget* parent = nullptr,
                        desktop::GlobalKeySource* keys = nullptr,
                        desktop::NotificationArea* tray = nullptr);
    ~MainWindow() override;

    // The category button of a category, in the order of the catalogue.
    QAction* categoryButton(const lookup::LookupCategory& category) const;
    const std::vector<QAction*>& categoryButtons() const { return categoryButtons_; }

    // Text of the status bar's message panel; its permanent part beside it says where a copy
    // goes and whether watching is paused.
    QString statusText() const;
    void setStatusText(const QString& text);

    settings::OptionsStore& options() const { return *options_; }
    // The action of every menu command.
    const CommandRegistry& commands() const { return commands_; }
    // The settings files: read by the start sequence, written when the window goes.
    settings::UserSettings& userSettings() const { return *userSettings_; }
    lookup::LookupController& lookups() const { return *lookups_; }
    browser::TabManager& tabs() const { return *tabs_; }
    DesktopPresence& desktopPresence() const { return *presence_; }

    // Ends the run as the tray's "Lexorra2を閉じる" does: the window closes whatever the
    // options say, the event loop ends, and the settings are written as the window goes.
    void endRun();
    // Writes the settings file now, once in the window's life; a failure goes to stderr.
    // Called when the window goes, and by the process's exit when the display went away.
    void saveSettingsAtEnd();
    // Commands sent by a later start of the program (lexorra2 --toggle-pause, --look-up).
    void togglePauseAsked() { togglePause(); }
    void lookUpAsked(const QString& text);

    // The search box's top edge in its normal place on the toolbar panel.
    static constexpr int kSearchBoxTop = 16;
    // ... and raised, with the long-text notice shown under it.
    static constexpr int kSearchBoxRaisedTop = 7;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbarPanel();
    browser::TabManager* buildPageArea(browser::WebBrowserFactory* browsers);
    void buildActionBar(browser::TabManager& tabs, lookup::LookupController& lookups);
    void buildStatusBar(lookup::LookupController& lookups);
    void markCurrentCategory();
    void connectTabs(browser::TabManager& tabs);
    void connectFailurePages(browser::TabManager& tabs, lookup::LookupController& lookups);
    void buildLoadingBar(QWidget* parent, browser::TabManager& tabs);
    void placeLoadingBar();
    void connectLookups(lookup::LookupController& lookups, SiteMenus& siteMenus);
    void connectSettings(browser::TabManager& tabs, SiteMenus& siteMenus);
    void openCategoryDialog();
    void reportSettingsProblem(const QString& message);
    void startWatchingClipboard(DesktopPresence& presence, ProxyDialogRunner& proxyDialog);
    void watchPrimarySelection();
    DesktopPresence* liveBesideOtherPrograms(desktop::GlobalKeySource* keys,
                                             desktop::NotificationArea* tray);
    StartSequence* makeStartSequence(settings::UserSettings& settings, DesktopPresence& presence,
                                     lookup::LookupController& lookups, browser::TabManager& tabs);
    void layOutToolbar();
    void watchForHeldBackCopies();
    void holdPaintingAfterLookups(browser::TabManager& tabs);
    void showError(const QString& message);

    // What a lookup asks of the window.
    QString searchText() const override;
    void setSearchText(const QString& text) override;
    void addToHistory(const QString& text) override;
    void setLongTextNotice(bool shown) override;
    void openQueryUrls(const QStringList& urls) override;
    bool isMinimised() const override;
    void restoreIfMinimised() override;
    void bringForward() override;

    // What the keys, the tray and the window's options ask of the window.
    void raiseWindow() override;
    void restoreWindow() override;
    void togglePause() override;
    void showStatus(const QString& text) override;

    // The window's repaint waits after a lookup until the page has loaded, this long at most.
    static constexpr int kPaintHoldMs = 150;
    // ... and the controls around the page this much longer, so the page shows first.
    static constexpr int kControlsHoldMs = 40;

    // The one action of each menu command, made by the part whose command it is.
    CommandRegistry commands_;
    settings::OptionsStore* options_ = nullptr;
    OptionActions* optionActions_ = nullptr;
    PaintHold* paintHold_ = nullptr;
    BrowserOptionActions* browserOptions_ = nullptr;
    settings::UserSettings* userSettings_ = nullptr;
    desktop::ProcessPriority* processPriority_ = nullptr;
    bool closing_ = false;
    bool settingsSavedAtEnd_ = false;
    lookup::LookupController* lookups_ = nullptr;
    std::unique_ptr<browser::WebBrowserFactory> ownBrowsers_; // the real engine's, when none given
    browser::TabManager* tabs_ = nullptr;

    ActionBar* actionBar_ = nullptr;
    QWidget* toolbarPanel_ = nullptr;
    LoadingBar* loadingBar_ = nullptr; // the active tab's loading, under the toolbar
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QComboBox* searchCombo_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QLabel* longTextNotice_ = nullptr;
    QLabel* logo_ = nullptr;
    StatusPanel* statusPanel_ = nullptr;
    QLabel* currentSite_ = nullptr; // where a copy goes now, in the status bar's permanent part
    PauseIndicator* pauseIndicator_ = nullptr;
    std::vector<QAction*> categoryButtons_;
    QAction* pauseAction_ = nullptr;
    SiteMenus* siteMenus_ = nullptr;
    ProxyCommands* proxyCommands_ = nullptr;
    browser::ProxyOptionFollower* proxyFollower_ = nullptr;

    input::ClipboardSource* clipboard_ = nullptr;
    input::ClipboardWatcher* watcher_ = nullptr;
    input::ClipboardSource* primarySelection_ = nullptr;
    input::SelectionWatcher* selectionWatcher_ = nullptr;
    input::SearchBox* searchBox_ = nullptr;
    desktop::WindowRaiser raiser_{this};
    // The real desktop's key source and tray, when none were given.
    std::unique_ptr<desktop::GlobalKeySource> ownKeys_;
    std::unique_ptr<desktop::NotificationArea> ownTray_;
    DesktopPresence* presence_ = nullptr;

    // What the search box's list holds.
    lookup::SearchHistory history_;
    desktop::WindowPlacement* placement_ = nullptr;
    // A second after creation: the settings and the first page.
    StartSequence* startSequence_ = nullptr;
};

} // namespace app
