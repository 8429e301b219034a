#pragma once

#include <span>

namespace app {

// One entry of a menu: an action found by its objectName, a separator, or a submenu with its
// own entries.
struct MenuEntry {
    enum class Kind { Action, Separator, Submenu };
    Kind kind;
    // The action's objectName; for a submenu, the objectName of its menu action.
    const char* objectName;
    // What the menu shows, with its accelerator.
    const char* label;
    std::span<const MenuEntry> entries;
};

// The command structure of the main window, one table per menu. Entries name their actions;
// whoever owns an action (the window's options, the tab manager, the settings, the support
// commands, the tray commands) makes it, and the menus are built from what exists.
class MenuTable {
public:
    // "オプション" on the action bar.
    static const MenuEntry& optionsMenu();
    // The entries "辞書の選択" begins with, before the category submenus.
    static std::span<const MenuEntry> dictionaryMenuHead();
    // "サポート" on the action bar.
    static const MenuEntry& supportMenu();
    // The tray icon's menu.
    static const MenuEntry& trayMenu();
};

} // namespace app
