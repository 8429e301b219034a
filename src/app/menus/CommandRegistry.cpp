#include "app/menus/CommandRegistry.h"

#include "app/menus/MenuTable.h"

#include <QAction>
#include <stdexcept>

namespace app {

QAction* CommandRegistry::make(Command command, QObject* parent) {
    QPointer<QAction>& held = actions_[static_cast<std::size_t>(command)];
    if (held)
        throw std::logic_error(std::string("a command's action made twice: ") +
                               MenuTable::command(command).objectName);
    const CommandName& name = MenuTable::command(command);
    auto* action = new QAction(QString::fromUtf8(name.label), parent);
    action->setObjectName(QString::fromLatin1(name.objectName));
    held = action;
    return action;
}

QAction* CommandRegistry::action(Command command) const {
    return actions_[static_cast<std::size_t>(command)];
}

} // namespace app
