#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace app {

class CommandRegistry;

// The commands of the tray icon's menu, as actions of the window: restore, bring forward on
// copy, pause, minimise and close. What they do is the window's to connect.
class TrayCommands : public QObject {
    Q_OBJECT
public:
    // Makes the tray's actions as children of window. The tray's entry for bringing the window
    // forward shows and sets the option's action (BringForwardOnCopy, made already) under its
    // own caption.
    TrayCommands(CommandRegistry& commands, QWidget* window);

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
