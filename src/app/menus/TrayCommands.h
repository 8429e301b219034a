#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace app {

// The commands of the tray icon's menu, as actions of the window: restore, bring forward on
// copy, pause, minimise and close. What they do is the window's to connect.
class TrayCommands : public QObject {
    Q_OBJECT
public:
    // bringForwardOption is the option copy_window_zenmen_on; the tray's entry shows and sets
    // it under its own caption.
    TrayCommands(QWidget* window, QAction* bringForwardOption);

    QAction* restoreAction() const { return restore_; }           // MOTO_NI_MODOSHU
    QAction* bringForwardAction() const { return bringForward_; } // N43
    QAction* pauseAction() const { return pause_; }               // N40
    QAction* minimiseAction() const { return minimise_; }         // N41
    QAction* quitAction() const { return quit_; }                 // Lexorra23

private:
    QAction* restore_ = nullptr;
    QAction* bringForward_ = nullptr;
    QAction* pause_ = nullptr;
    QAction* minimise_ = nullptr;
    QAction* quit_ = nullptr;
};

} // namespace app
