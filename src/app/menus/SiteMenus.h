#pragma once

#include <QObject>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace lookup {
struct LookupCategory;
struct SiteEntry;
class SiteSelection;
} // namespace lookup

namespace app {

class CommandRegistry;

// The "辞書の選択" menu: the entry of the add/remove dialog, then one submenu per category, in
// button order, listing the category's entries with their accelerators. Check marks, the
// submenus' in-use marks, which submenus are listed and the visibility of the hidden entries
// follow the selection's signals; choosing an entry is reported, not handled.
class SiteMenus : public QObject {
    Q_OBJECT
public:
    SiteMenus(lookup::SiteSelection& selection, CommandRegistry& commands, QWidget* parent);

    QMenu* menu() const { return menu_; }
    QAction* entryAction(const lookup::SiteEntry& entry) const;
    QAction* categoryMenuAction(const lookup::LookupCategory& category) const;
    // "辞書の追加・解除": opens the dialog (the window connects it).
    QAction* categoryDialogAction() const { return categoryDialogAction_; }

Q_SIGNALS:
    void entryChosen(const lookup::SiteEntry* entry);

private:
    QMenu* menu_;
    QAction* categoryDialogAction_;
    std::vector<QAction*> entryActions_;    // by entry id
    std::vector<QAction*> categoryActions_; // by category index
};

} // namespace app
