#pragma once

#include "app/ActionBar.h"
#include "input/ClipboardWatcher.h"
#include "input/WindowRaiser.h"
#include "lookup/LookupDispatch.h"

#include <QMainWindow>
#include <QString>
#include <cfenv>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTimer;

namespace browser {
class TabManager;
class WebBrowserFactory;
} // namespace browser

namespace input {
class QtClipboardSource;
class SearchBox;
} // namespace input

namespace lookup {
struct LookupCategory;
struct SiteEntry;
class SiteSelection;
} // namespace lookup

namespace app {

class StatusPanel;

// The one main window. It owns every control that the other parts of the program use by
// name, and the state that window creation puts in place; each subsystem's handlers live in
// that subsystem's own classes, which this window creates and connects.
//
// Members keep the names the program's vocabulary gives them, so that the objectName of
// every action and control equals its member name.
//
// The tabbed browser is a browser::TabManager (tabs) whose tab control is PageControl1; the
// window wires its signals to the toolbar buttons, the status bar and the search box.
class SiteMenus;

class TMain_Form : public QMainWindow, private input::ClipboardWatcherHost {
    Q_OBJECT
public:
    // browsers makes each tab's browser; null means the real engine. Tests pass a fake. The
    // factory must outlive the window.
    explicit TMain_Form(browser::WebBrowserFactory* browsers = nullptr, QWidget* parent = nullptr);
    ~TMain_Form() override;

    // The category button of a slot, in the order of the catalogue.
    QAction* categoryButton(const lookup::LookupCategory& slot) const;
    const std::vector<QAction*>& categoryButtons() const { return categoryButtons_; }

    // Text of the status bar's one panel.
    QString statusText() const;
    void setStatusText(const QString& text);

    // Looks the search box's text up in the current slot.
    void _okuru() override;

    // --- state set by window creation ---
    bool _64bit = false;
    int Screen_Height_ = 0;
    QString LOGO_URL;
    // The current slot (Settei_Sentaku), the one a long text returns to, the last word put
    // into the history and the long-text state.
    lookup::LookupDispatch dispatch;
    std::fenv_t SaveFPUMask{}; // floating-point environment in force before creation
    quint8 Proxy_N_ = 0;       // 1: no proxy

    // --- controls, top to bottom ---
    ActionBar* ActionMainMenuBar1 = nullptr;
    ActionBarColorMap XPColorMap1;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr; // Back
    QPushButton* Button2 = nullptr; // Forward
    QComboBox* Search_Combobox = nullptr;
    QPushButton* Button3 = nullptr; // Search
    QLabel* Label1 = nullptr;       // the long-text notice
    QLabel* ROGO_pro_Image = nullptr;
    QWidget* PageControl1 = nullptr; // the tab control of tabs
    QStatusBar* stBar = nullptr;

    // --- non-visual members ---
    QTimer* Timer1 = nullptr; // the start timer: one shot, 1000 ms
    browser::TabManager* tabs = nullptr;
    QAction* Action24 = nullptr; // shows the active page's address in the search box
    QAction* kyuushi = nullptr;  // pauses and resumes the clipboard watcher

    // --- options: checkable actions, read when they take effect ---
    QAction* copy_window_zenmen_on = nullptr; // bring the window forward after a lookup
    QAction* kidouji_saisyouka_on = nullptr;
    QAction* F12_de_saizennmen_on = nullptr;
    QAction* End_kyuushi_on = nullptr;
    QAction* Batu_OFF = nullptr;
    QAction* cbOpenNew = nullptr; // every page load opens a new tab
    QAction* Lexorra2_off_active = nullptr;
    QAction* jidou_zenkaku_eimoji_hankaku = nullptr; // full-width letters to ASCII on copy
    QAction* hankaku_zenkaku_batu = nullptr;
    QAction* Max_mojishuu = nullptr;
    QAction* kigou_batu = nullptr;

    // --- lookups ---
    lookup::SiteSelection* selection = nullptr; // the site chosen per slot
    SiteMenus* siteMenus = nullptr;             // the "辞書の選択" menu
    input::ClipboardWatcher* watcher = nullptr;
    input::SearchBox* searchBox = nullptr;
    input::WindowRaiser raiser{this};
    // The first lookup of the run has been asked for (by a copy or by the start sequence).
    bool hajimeteno_okuru = false;

    // The search box's top edge in its normal place on the toolbar panel.
    static constexpr int kSearchBoxTop = 16;
    // ... and raised, with the long-text notice shown under it.
    static constexpr int kSearchBoxRaisedTop = 7;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildOptionActions();
    void buildOptionsMenu();
    void buildSiteMenu();
    void buildActionBar();
    void connectLookups();
    void setLongTextLayout(bool on);
    void holdPainting();
    static constexpr int kPaintHoldMs = 40;
    // The window comes forward this long after a lookup's navigation was asked for.
    static constexpr int kBringForwardDelayMs = 5;
    void recordHistory(const QString& text);

    // What the clipboard watcher asks of the window.
    QString searchText() const override;
    void setSearchText(const QString& text) override;
    bool bringWindowForwardOnCopy() const override;
    bool turnFullWidthToAscii() const override;
    bool isMinimised() const override;
    void MOTO_NI_MODOSHUClick() override;
    bool firstLookupRequested() const override;
    void deferFirstLookup() override;
    void showError(const QString& message) override;
    void buildToolbarPanel();
    void buildPageArea(browser::WebBrowserFactory* browsers);
    void buildStatusBar();
    void connectTabs();

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void Timer1Timer();

    void placeLogo();

    input::QtClipboardSource* clipboard_ = nullptr;
    std::unique_ptr<browser::WebBrowserFactory>
        ownBrowsers_; // the real engine's, when no factory was given
    std::vector<QAction*> categoryButtons_;
    bool startSequenceRun_ = false;
    StatusPanel* stBarPanel_ = nullptr;
};

} // namespace app
