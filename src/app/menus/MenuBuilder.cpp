#include "app/menus/MenuBuilder.h"

#include "app/menus/CommandRegistry.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

namespace app {

QMenu* MenuBuilder::build(const MenuEntry& entry, QWidget* parent) const {
    auto* menu = new QMenu(QString::fromUtf8(entry.label), parent);
    menu->setObjectName(QString::fromLatin1(entry.objectName) + QStringLiteral("_Menu"));
    menu->menuAction()->setObjectName(QString::fromLatin1(entry.objectName));
    addEntries(menu, entry.entries);
    return menu;
}

void MenuBuilder::addEntries(QMenu* menu, std::span<const MenuEntry> entries,
                             QAction* before) const {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator:
            // Separators next to each other or at an end fold away (the menu's default).
            menu->insertSeparator(before);
            break;
        case MenuEntry::Kind::Action:
            if (QAction* action = commands_.action(entry.command))
                menu->insertAction(before, action);
            break;
        case MenuEntry::Kind::Submenu: {
            QMenu* submenu = build(entry, menu);
            const QList<QAction*> inside = submenu->actions();
            if (std::none_of(inside.begin(), inside.end(),
                             [](const QAction* a) { return !a->isSeparator(); })) {
                delete submenu;
                break;
            }
            menu->insertMenu(before, submenu);
            break;
        }
        }
    }
}

} // namespace app
