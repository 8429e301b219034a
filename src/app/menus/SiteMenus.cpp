#include "app/menus/SiteMenus.h"

#include "app/menus/CommandRegistry.h"
#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"

#include <QAction>
#include <QMenu>

namespace app {

using lookup::LookupCategory;
using lookup::SiteEntry;

SiteMenus::SiteMenus(lookup::SiteSelection& selection, CommandRegistry& commands, QWidget* parent)
    : QObject(parent) {
    const lookup::Catalogue& catalogue = lookup::Catalogue::instance();
    menu_ = new QMenu(QStringLiteral("辞書の選択"), parent);
    menu_->setObjectName(QStringLiteral("JISYO_NO_SENTAKU_Menu"));
    menu_->menuAction()->setObjectName(QStringLiteral("JISYO_NO_SENTAKU_Action"));
    // The dialog that chooses which of the submenus below are listed; the window's menu
    // table puts it at the head of the menu.
    categoryDialogAction_ = commands.make(Command::ChooseShownCategories, parent);

    entryActions_.assign(catalogue.entries().size(), nullptr);
    for (const LookupCategory& category : catalogue.categories()) {
        auto* submenu = new QMenu(category.menuLabel, menu_);
        QAction* categoryAction = submenu->menuAction();
        categoryAction->setObjectName(category.categoryMenuAction);
        categoryAction->setCheckable(true);
        categoryAction->setChecked(selection.menuActionChecked(category));
        categoryAction->setVisible(selection.submenuVisible(category));
        menu_->addMenu(submenu);
        categoryActions_.push_back(categoryAction);

        auto addEntry = [&](const SiteEntry& entry) {
            auto* action = new QAction(entry.menuLabel, submenu);
            action->setObjectName(entry.actionName);
            action->setCheckable(true);
            action->setChecked(selection.isChecked(entry));
            action->setVisible(selection.entryVisible(entry));
            // The site's caption is what a button's hint shows once the site is chosen.
            action->setToolTip(entry.caption);
            if (entry.inMenu)
                submenu->addAction(action);
            connect(action, &QAction::triggered, this,
                    [this, &entry] { Q_EMIT entryChosen(&entry); });
            entryActions_[entry.id] = action;
        };
        for (const SiteEntry* entry : category.menuOrder)
            addEntry(*entry);
        // A site without a menu entry still has its action: the settings can choose it.
        for (const SiteEntry* entry : category.dispatchOrder)
            if (!entry->inMenu)
                addEntry(*entry);
    }

    connect(&selection, &lookup::SiteSelection::checkedChanged, this,
            [this](const SiteEntry* entry, bool checked) {
                entryActions_[entry->id]->setChecked(checked);
            });
    connect(&selection, &lookup::SiteSelection::menuActionCheckedChanged, this,
            [this](const LookupCategory* category, bool checked) {
                categoryActions_[category->index]->setChecked(checked);
            });
    connect(&selection, &lookup::SiteSelection::submenuVisibleChanged, this,
            [this](const LookupCategory* category, bool visible) {
                categoryActions_[category->index]->setVisible(visible);
            });
    connect(&selection, &lookup::SiteSelection::entryVisibleChanged, this,
            [this](const SiteEntry* entry, bool visible) {
                entryActions_[entry->id]->setVisible(visible);
            });
}

QAction* SiteMenus::entryAction(const SiteEntry& entry) const {
    return entryActions_[entry.id];
}

QAction* SiteMenus::categoryMenuAction(const LookupCategory& category) const {
    return categoryActions_[category.index];
}

} // namespace app
