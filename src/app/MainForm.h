#pragma once

#include "app/ActionBar.h"

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

namespace lookup {
struct LookupCategory;
}

namespace app {

// The one main window. It owns every control that the other parts of the program use by
// name, and the state that window creation puts in place; each subsystem's handlers live in
// that subsystem's own classes, which this window creates and connects.
//
// Members keep the names the program's vocabulary gives them, so that the objectName of
// every action and control equals its member name.
//
// The tabbed browser is a browser::TabManager (tabs) whose tab control is PageControl1; the
// window wires its signals to the toolbar buttons, the status bar and the search box.
class TMain_Form : public QMainWindow {
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

    // --- state set by window creation ---
    bool _64bit = false;
    int Screen_Height_ = 0;
    QString LOGO_URL;
    QString Settei_Sentaku;      // SelectionName of the current slot
    QString Moto_Settei_Sentaku; // the slot that the long-text state returns to
    std::fenv_t SaveFPUMask{};   // floating-point environment in force before creation
    quint8 Proxy_N_ = 0;         // 1: no proxy

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
    QAction* cbOpenNew = nullptr; // option: every page load opens a new tab
    QAction* Action24 = nullptr;  // shows the active page's address in the search box

    // The search box's top edge in its normal place on the toolbar panel.
    static constexpr int kSearchBoxTop = 16;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActionBar();
    void buildToolbarPanel();
    void buildPageArea(browser::WebBrowserFactory* browsers);
    void buildStatusBar();
    void connectTabs();

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void Timer1Timer();

    void placeLogo();

    std::unique_ptr<browser::WebBrowserFactory> ownBrowsers_; // the real engine's, when no factory was given
    std::vector<QAction*> categoryButtons_;
    bool startSequenceRun_ = false;
    QLabel* stBarPanel_ = nullptr;
};

} // namespace app
