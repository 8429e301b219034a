#include "app/menus/WindowMenus.h"

#include "app/menus/MenuBuilder.h"
#include "app/menus/MenuTable.h"

#include <QMenu>

namespace app {

QMenu* buildOptionsMenu(QWidget& window) {
    return MenuBuilder(window).build(MenuTable::optionsMenu(), &window);
}

void addDictionaryMenuHead(QMenu& dictionaryMenu, QWidget& window) {
    const QList<QAction*> entries = dictionaryMenu.actions();
    MenuBuilder(window).addEntries(&dictionaryMenu, MenuTable::dictionaryMenuHead(),
                                   entries.isEmpty() ? nullptr : entries.first());
}

QMenu* buildSupportMenu(QWidget& window) {
    return MenuBuilder(window).build(MenuTable::supportMenu(), &window);
}

QMenu* buildTrayMenu(QWidget& window) {
    return MenuBuilder(window).build(MenuTable::trayMenu(), &window);
}

} // namespace app
