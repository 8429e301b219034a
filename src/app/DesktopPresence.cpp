#include "app/DesktopPresence.h"

#include "app/menus/TrayCommands.h"
#include "app/menus/WindowMenus.h"
#include "desktop/HotkeyController.h"
#include "desktop/NotificationArea.h"
#include "desktop/ProgramIcons.h"
#include "desktop/WindowBehaviourFilter.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace app {

DesktopPresence::DesktopPresence(QWidget& window, DesktopPresenceHost& host,
                                 settings::OptionsStore& options, desktop::GlobalKeySource& keys,
                                 desktop::NotificationArea& tray, CommandRegistry& commands,
                                 QObject* parent)
    : QObject(parent), window_(window), host_(host), options_(options), tray_(tray) {
    hotkeys_ = new desktop::HotkeyController(keys, {}, {}, this);
    connect(hotkeys_, &desktop::HotkeyController::raiseRequested, this,
            [this] { host_.raiseWindow(); });
    connect(hotkeys_, &desktop::HotkeyController::pauseToggleRequested, this,
            [this] { host_.togglePause(); });
    connect(hotkeys_, &desktop::HotkeyController::unavailable, this,
            [this](const QString& why) { host_.showStatus(why); });

    behaviour_ = new desktop::WindowBehaviourFilter(window, tray, this);

    trayCommands_ = new TrayCommands(commands, &window);
    connect(trayCommands_->restoreAction(), &QAction::triggered, this,
            [this] { host_.restoreWindow(); });
    connect(trayCommands_->pauseAction(), &QAction::triggered, this,
            [this] { host_.togglePause(); });
    connect(trayCommands_->minimiseAction(), &QAction::triggered, behaviour_,
            &desktop::WindowBehaviourFilter::minimise);
    connect(trayCommands_->quitAction(), &QAction::triggered, this, &DesktopPresence::quit);
    trayMenu_ = buildTrayMenu(commands, window);
    tray_.setMenu(trayMenu_);
    connect(&tray_, &desktop::NotificationArea::clicked, this, [this] { host_.raiseWindow(); });

    connect(&options_, &settings::OptionsStore::changed, this, &DesktopPresence::applyOptions);
    applyOptions();
    setPaused(false);
    tray_.show();
}

DesktopPresence::~DesktopPresence() {
    stop();
}

void DesktopPresence::applyOptions() {
    const settings::Options& o = options_.options();
    hotkeys_->setRaiseWithF12(o.raiseWithF12);
    hotkeys_->setPauseWithEnd(o.pauseWithEnd);
    behaviour_->setCloseButtonMinimises(o.closeButtonMinimises);
    behaviour_->setMinimiseWhenInactive(o.minimiseWhenInactive);
}

void DesktopPresence::setPaused(bool paused) {
    tray_.setPaused(paused);
    window_.setWindowIcon(desktop::ProgramIcons::icon(paused));
}

void DesktopPresence::applyMinimiseAtStart() {
    behaviour_->applyMinimiseAtStart(options_.options().minimiseAtStart);
}

void DesktopPresence::quit() {
    stop();
    behaviour_->quit();
}

void DesktopPresence::stop() {
    hotkeys_->stop();
}

} // namespace app
