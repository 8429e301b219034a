#pragma once

#include <QAction>
#include <QMenu>
#include <QStringList>

// A menu as text, one line per entry: "objectName label", "-" for a separator (also those Qt
// folds away when it shows the menu), submenus indented under their entry.
inline QStringList menuOutline(const QMenu* menu, const QString& indent = QString()) {
    QStringList lines;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines << indent + QStringLiteral("-");
            continue;
        }
        lines << indent + action->objectName() + QLatin1Char(' ') + action->text();
        if (action->menu())
            lines << menuOutline(action->menu(), indent + QStringLiteral("  "));
    }
    return lines;
}
