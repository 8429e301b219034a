#pragma once

class QMenu;
class QWidget;

namespace app {

// The window's menus, each built from its table (MenuTable) with the actions that exist
// under the window: one action serves the bar, a menu and the tray.

// "オプション": the settings submenu with the options, the proxy submenu and the command
// that shows the active page's address.
QMenu* buildOptionsMenu(QWidget& window);
// The head of "辞書の選択", put before its category submenus: the category dialog and a
// separator.
void addDictionaryMenuHead(QMenu& dictionaryMenu, QWidget& window);
// "サポート": the project's pages, the mail and the About box.
QMenu* buildSupportMenu(QWidget& window);
// The tray icon's menu.
QMenu* buildTrayMenu(QWidget& window);

} // namespace app
