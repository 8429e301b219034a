#include "app/menus/TrayCommands.h"

#include "app/menus/CommandRegistry.h"

#include <QAction>
#include <QWidget>
#include <stdexcept>

namespace app {

TrayCommands::TrayCommands(CommandRegistry& commands, QWidget* window) : QObject(window) {
    restore_ = commands.make(Command::RestoreWindow, window);
    bringForward_ = commands.make(Command::TrayBringForwardOnCopy, window);
    pause_ = commands.make(Command::TogglePause, window);
    minimise_ = commands.make(Command::MinimiseWindow, window);
    quit_ = commands.make(Command::QuitProgram, window);
    QAction* bringForwardOption = commands.action(Command::BringForwardOnCopy);
    if (!bringForwardOption)
        throw std::logic_error("the tray's commands come after the options' actions");

    // A tick in a menu that changes nothing would mislead: the entry is the option itself,
    // under the tray's caption.
    bringForward_->setCheckable(true);
    bringForward_->setChecked(bringForwardOption->isChecked());
    connect(bringForward_, &QAction::toggled, bringForwardOption, &QAction::setChecked);
    connect(bringForwardOption, &QAction::toggled, bringForward_, &QAction::setChecked);
}

} // namespace app
