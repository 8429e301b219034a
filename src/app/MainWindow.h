#pragma once

#include "desktop/WindowRaiser.h"
#include "lookup/LookupView.h"

#include <QMainWindow>
#include <QString>
#include <cfenv>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace browser {
class ProxyOptionFollower;
class TabManager;
class WebBrowserFactory;
} // namespace browser

namespace input {
class ClipboardWatcher;
class QtClipboardSource;
class SearchBox;
} // namespace input

namespace lookup {
struct LookupCategory;
class LookupController;
} // namespace lookup

namespace settings {
class OptionsStore;
}

namespace app {

class ActionBar;
class OptionActions;
class ProxyDialogRunner;
class SiteMenus;
class StatusPanel;

// The one main window: it builds the controls, lays them out and wires the subsystems'
// signals to them. What a lookup does is decided by the lookup controller, what a tab does
// by the tab manager, what a copy does by the clipboard watcher.
//
// Controls carry the program's traditional names as their objectName (Search_Combobox,
// PageControl1, A_Settei_kokugo_Button, ...); tests find them by those names.
class MainWindow : public QMainWindow, private lookup::LookupView {
    Q_OBJECT
public:
    // browsers makes each tab's browser; null means the real engine. Tests pass a fake. The
    // factory must outlive the window.
    explicit MainWindow(browser::WebBrowserFactory* browsers = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The category button of a slot, in the order of the catalogue.
    QAction* categoryButton(const lookup::LookupCategory& slot) const;
    const std::vector<QAction*>& categoryButtons() const { return categoryButtons_; }

    // Text of the status bar's one panel.
    QString statusText() const;
    void setStatusText(const QString& text);

    settings::OptionsStore& options() const { return *options_; }
    // The proxy dialog, while it exists and when it is shown.
    ProxyDialogRunner& proxyDialog() const { return *proxyDialog_; }
    lookup::LookupController& lookups() const { return *lookups_; }
    browser::TabManager& tabs() const { return *tabs_; }

    // The search box's top edge in its normal place on the toolbar panel.
    static constexpr int kSearchBoxTop = 16;
    // ... and raised, with the long-text notice shown under it.
    static constexpr int kSearchBoxRaisedTop = 7;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbarPanel();
    void buildPageArea(browser::WebBrowserFactory* browsers);
    void buildActionBar();
    void buildStatusBar();
    void connectTabs();
    void connectLookups();
    void startWatchingClipboard();
    void buildProxyMenu(QMenu* optionsMenu);
    void runStartSequence();
    void placeLogo();
    void holdPainting();
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

    // The window's repaint waits this long after a lookup, so that the request leaves first.
    static constexpr int kPaintHoldMs = 40;

    settings::OptionsStore* options_ = nullptr;
    OptionActions* optionActions_ = nullptr;
    lookup::LookupController* lookups_ = nullptr;
    std::unique_ptr<browser::WebBrowserFactory> ownBrowsers_; // the real engine's, when none given
    browser::TabManager* tabs_ = nullptr;

    ActionBar* actionBar_ = nullptr;
    QWidget* toolbarPanel_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QComboBox* searchCombo_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QLabel* longTextNotice_ = nullptr;
    QLabel* logo_ = nullptr;
    StatusPanel* statusPanel_ = nullptr;
    std::vector<QAction*> categoryButtons_;
    QAction* pauseAction_ = nullptr;
    SiteMenus* siteMenus_ = nullptr;
    ProxyDialogRunner* proxyDialog_ = nullptr;
    browser::ProxyOptionFollower* proxyFollower_ = nullptr;

    input::QtClipboardSource* clipboard_ = nullptr;
    input::ClipboardWatcher* watcher_ = nullptr;
    input::SearchBox* searchBox_ = nullptr;
    desktop::WindowRaiser raiser_{this};

    // One shot, 1000 ms after creation: the start sequence.
    QTimer* startTimer_ = nullptr;
    bool startSequenceRun_ = false;
    std::fenv_t savedFloatingPointEnvironment_{};
};

} // namespace app
