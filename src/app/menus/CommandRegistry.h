#pragma once

#include "app/menus/Command.h"

#include <QPointer>
#include <array>

class QAction;
class QObject;

namespace app {

// The one action of each command. Whoever owns a command's behaviour makes its action here
// (named and labelled by the menu table); the menus, the tray and the window take it by key.
class CommandRegistry {
public:
    // Makes the command's action as a child of parent, with the table's objectName and label.
    // A command has one action: making it again is a programming error.
    QAction* make(Command command, QObject* parent);
    // The command's action, or null while nothing has made it.
    QAction* action(Command command) const;

private:
    std::array<QPointer<QAction>, kCommandCount> actions_{};
};

} // namespace app
