#pragma once

class QAction;
class QMenu;
class QWidget;

namespace app {

class OptionActions;

// The "オプション" menu: the settings submenu with the on/off options, then the command that
// shows the active page's address.
QMenu* buildOptionsMenu(const OptionActions& options, QAction* showAddressAction, QWidget* parent);

} // namespace app
