#pragma once

#include "app/menus/MenuTable.h"

class QAction;
class QMenu;
class QWidget;

namespace app {

class CommandRegistry;

// Builds menus from the menu table with the actions of the command registry. One action
// serves the bar, a menu and the tray: the menu shows the action itself.
class MenuBuilder {
public:
    explicit MenuBuilder(const CommandRegistry& commands) : commands_(commands) {}

    // A new menu (owned by parent) with the entries whose actions have been made; a submenu
    // none of whose actions exist is left out, so that no entry shows that would do nothing.
    QMenu* build(const MenuEntry& menu, QWidget* parent) const;
    // Adds entries to an existing menu, before `before` (at the end when null).
    void addEntries(QMenu* menu, std::span<const MenuEntry> entries,
                    QAction* before = nullptr) const;

private:
    const CommandRegistry& commands_;
};

} // namespace app
