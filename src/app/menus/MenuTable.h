#pragma once

#include "app/menus/Command.h"

#include <span>

namespace app {

// A command's action: its objectName (the program's traditional name, which tests find it
// by) and what it shows, with its accelerator where a menu lists it.
struct CommandName {
    Command command;
    const char* objectName;
    const char* label;
};

// One entry of a menu: a command's action, a separator, or a submenu with its own entries.
struct MenuEntry {
    enum class Kind { Action, Separator, Submenu };
    Kind kind;
    Command command; // for an action
    // For a submenu: the objectName of its menu action and what the menu shows.
    const char* objectName;
    const char* label;
    std::span<const MenuEntry> entries;
};

// The command structure of the main window: the name and label of every command, and one
// table per menu. Whoever owns a command's behaviour (the window's options, the settings, the
// support, proxy and tray commands) makes its action, and the menus are built from the
// registry of those actions.
class MenuTable {
public:
    static const CommandName& command(Command command);

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
