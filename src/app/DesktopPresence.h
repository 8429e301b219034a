#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace desktop {
class GlobalKeySource;
class HotkeyController;
class NotificationArea;
class WindowBehaviourFilter;
} // namespace desktop

namespace settings {
class OptionsStore;
} // namespace settings

namespace app {

class CommandRegistry;
class TrayCommands;

// What the main window does for the presence beside other programs.
class DesktopPresenceHost {
public:
    virtual ~DesktopPresenceHost() = default;

    // Restore (also from maximised) and bring to the front: F12, a click on the tray icon.
    virtual void raiseWindow() = 0;
    // Restore if minimised: the tray menu's "元に戻す".
    virtual void restoreWindow() = 0;
    // Pause or resume the clipboard watcher: END, the tray menu's pause entry.
    virtual void togglePause() = 0;
    virtual void showStatus(const QString& text) = 0;
};

// Puts the main window beside the other programs of the desktop: F12 and END from any
// program, the tray icon and its menu, the window's icon following pause and resume, and the
// window's close, deactivation and start-up behaviour, each following its option.
//
// The window creates it at the end of its creation and stops it first when it is destroyed:
// after stop() nothing of it calls into the window.
class DesktopPresence : public QObject {
    Q_OBJECT
public:
    // keys and tray are the real desktop's or a test's; they must outlive the presence. The
    // tray's actions go into commands, beside the options' actions made before.
    DesktopPresence(QWidget& window, DesktopPresenceHost& host, settings::OptionsStore& options,
                    desktop::GlobalKeySource& keys, desktop::NotificationArea& tray,
                    CommandRegistry& commands, QObject* parent = nullptr);
    ~DesktopPresence() override;

    // The tray's menu (PopupMenu3), built from the menu table with the window's actions.
    QMenu* trayMenu() const { return trayMenu_; }
    TrayCommands* trayCommands() const { return trayCommands_; }
    desktop::HotkeyController* hotkeys() const { return hotkeys_; }
    desktop::WindowBehaviourFilter* behaviour() const { return behaviour_; }

    // The clipboard watcher was paused or resumed: the tray's and the window's pictures.
    void setPaused(bool paused);
    // The settings were read at start-up.
    void applyMinimiseAtStart();
    // Ends the program from the tray: closes the window whatever the options say.
    void quit();
    // Stops the global keys; nothing calls into the window after it.
    void stop();

private:
    void applyOptions();

    QWidget& window_;
    DesktopPresenceHost& host_;
    settings::OptionsStore& options_;
    desktop::NotificationArea& tray_;
    desktop::HotkeyController* hotkeys_ = nullptr;
    desktop::WindowBehaviourFilter* behaviour_ = nullptr;
    TrayCommands* trayCommands_ = nullptr;
    QMenu* trayMenu_ = nullptr;
};

} // namespace app
