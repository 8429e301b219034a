#include "lookup/SiteSelection.h"

#include "lookup/Catalogue.h"

namespace lookup {

SiteSelection::SiteSelection(QObject* parent) : QObject(parent) {
    const Catalogue& catalogue = Catalogue::instance();
    checked_.assign(catalogue.entries().size(), false);
    for (const SiteEntry& entry : catalogue.entries())
        entryVisible_.push_back(entry.visible);
    for (const LookupCategory& category : catalogue.categories()) {
        checked_[category.defaultEntry->id] = true;
        categories_.push_back(
            {category.defaultIsSite(), category.defaultIsSite(), true, category.initialHint});
    }
}

bool SiteSelection::isChecked(const SiteEntry& entry) const {
    return checked_[entry.id];
}

bool SiteSelection::buttonVisible(const LookupCategory& category) const {
    return categories_[category.index].buttonVisible;
}

QString SiteSelection::buttonHint(const LookupCategory& category) const {
    return categories_[category.index].hint;
}

bool SiteSelection::menuActionChecked(const LookupCategory& category) const {
    return categories_[category.index].menuActionChecked;
}

void SiteSelection::setChecked(const SiteEntry& entry, bool checked) {
    if (checked_[entry.id] == checked)
        return;
    checked_[entry.id] = checked;
    Q_EMIT checkedChanged(&entry, checked);
}

const SiteEntry& SiteSelection::checkedEntry(const LookupCategory& category) const {
    if (checked_[category.noneEntry->id])
        return *category.noneEntry;
    for (const SiteEntry* e : category.dispatchOrder)
        if (checked_[e->id])
            return *e;
    return *category.noneEntry;
}

bool SiteSelection::entryVisible(const SiteEntry& entry) const {
    return entryVisible_[entry.id];
}

void SiteSelection::setEntryVisible(const SiteEntry& entry, bool visible) {
    if (entryVisible_[entry.id] == visible)
        return;
    entryVisible_[entry.id] = visible;
    Q_EMIT entryVisibleChanged(&entry, visible);
}

bool SiteSelection::submenuVisible(const LookupCategory& category) const {
    return categories_[category.index].submenuVisible;
}

void SiteSelection::setSubmenuVisible(const LookupCategory& category, bool visible) {
    CategoryState& state = categories_[category.index];
    if (state.submenuVisible == visible)
        return;
    state.submenuVisible = visible;
    Q_EMIT submenuVisibleChanged(&category, visible);
}

void SiteSelection::choose(const SiteEntry& entry) {
    select(entry, entry.caption);
}

void SiteSelection::restore(const SiteEntry& entry, const QString& hint) {
    select(entry, hint);
}

void SiteSelection::select(const SiteEntry& entry, const QString& hint) {
    const LookupCategory& category = *entry.category;
    // Hidden entries and the entry without a menu item are unchecked too.
    for (const SiteEntry* e : category.menuOrder)
        setChecked(*e, false);
    for (const SiteEntry* e : category.dispatchOrder)
        setChecked(*e, false);
    setChecked(entry, true);

    CategoryState& state = categories_[category.index];
    const bool isSite = !entry.isNone();
    if (state.buttonVisible != isSite) {
        state.buttonVisible = isSite;
        Q_EMIT buttonVisibleChanged(&category, isSite);
    }
    if (state.menuActionChecked != isSite) {
        state.menuActionChecked = isSite;
        Q_EMIT menuActionCheckedChanged(&category, isSite);
    }
    if (isSite && state.hint != hint) {
        state.hint = hint;
        Q_EMIT buttonHintChanged(&category, state.hint);
    }
}

} // namespace lookup
