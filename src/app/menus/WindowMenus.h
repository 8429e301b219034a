#pragma once

class QMenu;
class QWidget;

namespace app {

class CommandRegistry;

// The window's menus, each built from its table (MenuTable) with the commands' actions: one
// action serves the bar, a menu and the tray. Each menu is owned by parent.

// "オプション": the settings submenu with the options, the proxy submenu and the command
// that shows the active page's address.
QMenu* buildOptionsMenu(const CommandRegistry& commands, QWidget& parent);
// The head of "辞書の選択", put before its category submenus: the category dialog and a
// separator.
void addDictionaryMenuHead(QMenu& dictionaryMenu, const CommandRegistry& commands);
// "サポート": the project's pages, the mail and the About box.
QMenu* buildSupportMenu(const CommandRegistry& commands, QWidget& parent);
// The tray icon's menu.
QMenu* buildTrayMenu(const CommandRegistry& commands, QWidget& parent);

} // namespace app
