#include "app/menus/WindowMenus.h"

#include "app/menus/MenuBuilder.h"
#include "app/menus/MenuTable.h"

#include <QMenu>

namespace app {

QMenu* buildOptionsMenu(const CommandRegistry& commands, QWidget& parent) {
    return MenuBuilder(commands).build(MenuTable::optionsMenu(), &parent);
}

void addDictionaryMenuHead(QMenu& dictionaryMenu, const CommandRegistry& commands) {
    const QList<QAction*> entries = dictionaryMenu.actions();
    MenuBuilder(commands).addEntries(&dictionaryMenu, MenuTable::dictionaryMenuHead(),
                                     entries.isEmpty() ? nullptr : entries.first());
}

QMenu* buildSupportMenu(const CommandRegistry& commands, QWidget& parent) {
    return MenuBuilder(commands).build(MenuTable::supportMenu(), &parent);
}

QMenu* buildTrayMenu(const CommandRegistry& commands, QWidget& parent) {
    return MenuBuilder(commands).build(MenuTable::trayMenu(), &parent);
}

} // namespace app
