#include "app/menus/ProxyMenu.h"

#include <QAction>
#include <QMenu>

namespace app {

namespace {

// The menu shows the entry with its accelerator; the action keeps its caption.
void addEntry(QMenu* menu, QAction* action, const QString& label) {
    auto* item = menu->addAction(label);
    item->setObjectName(action->objectName() + QStringLiteral("_MenuItem"));
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
}

} // namespace

QMenu* buildProxyMenu(QAction* setProxy, QAction* checkProxy, QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("Proxy(プロキシ）(&P)"), parent);
    menu->menuAction()->setObjectName(QStringLiteral("ProxyMenu"));
    addEntry(menu, setProxy, QStringLiteral("設定する(&Z)"));
    addEntry(menu, checkProxy, QStringLiteral("チェック(&Y)"));
    return menu;
}

} // namespace app
