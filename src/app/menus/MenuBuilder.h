#pragma once

#include "app/menus/MenuTable.h"

#include <QStringList>

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace app {

// Builds menus from the menu table with the actions that exist under one root object (the
// main window), found by their objectNames. One action serves the bar, a menu and the tray:
// the menu shows the action itself, with the table's label as its text.
class MenuBuilder {
public:
    explicit MenuBuilder(QObject& actionRoot) : root_(actionRoot) {}

    // A new menu (owned by parent) with the entries whose actions exist; a submenu none of
    // whose actions exist is left out, so that no entry shows that would do nothing.
    QMenu* build(const MenuEntry& menu, QWidget* parent);
    // Adds entries to an existing menu, before `before` (at the end when null).
    void addEntries(QMenu* menu, std::span<const MenuEntry> entries, QAction* before = nullptr);

    // The objectNames of table entries that had no action, in the order met.
    const QStringList& missing() const { return missing_; }

private:
    QAction* findAction(const char* objectName) const;

    QObject& root_;
    QStringList missing_;
};

} // namespace app
