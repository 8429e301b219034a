#pragma once

#include <QAction>
#include <QString>

namespace app {

// An action known by its name: menus, tests and the menu table find it through objectName.
inline QAction* makeNamedAction(QObject* parent, const char* name, const QString& text) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace app
