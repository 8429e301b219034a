#pragma once

class QAction;
class QMenu;
class QWidget;

namespace app {

// The options menu's "Proxy(プロキシ）(&P)" submenu: the entry that opens the proxy dialog
// (setProxy) and the one that opens the proxy check page (checkProxy).
QMenu* buildProxyMenu(QAction* setProxy, QAction* checkProxy, QWidget* parent);

} // namespace app
