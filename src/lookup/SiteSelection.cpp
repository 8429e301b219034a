#include "lookup/SiteSelection.h"

#include "lookup/Catalogue.h"

namespace lookup {

SiteSelection::SiteSelection(QObject* parent) : QObject(parent) {
    const Catalogue& catalogue = Catalogue::instance();
    checked_.assign(catalogue.entries().size(), false);
    for (const SiteEntry& entry : catalogue.entries())
        entryVisible_.push_back(entry.visible);
    for (const LookupCategory& slot : catalogue.slots()) {
        checked_[slot.defaultEntry->id] = true;
        slots_.push_back({slot.defaultIsSite(), slot.defaultIsSite(), true, slot.initialHint});
    }
}

bool SiteSelection::isChecked(const SiteEntry& entry) const {
    return checked_[entry.id];
}

bool SiteSelection::buttonVisible(const LookupCategory& slot) const {
    return slots_[slot.index].buttonVisible;
}

QString SiteSelection::buttonHint(const LookupCategory& slot) const {
    return slots_[slot.index].hint;
}

bool SiteSelection::menuActionChecked(const LookupCategory& slot) const {
    return slots_[slot.index].menuActionChecked;
}

void SiteSelection::setChecked(const SiteEntry& entry, bool checked) {
    if (checked_[entry.id] == checked)
        return;
    checked_[entry.id] = checked;
    Q_EMIT checkedChanged(&entry, checked);
}

const SiteEntry& SiteSelection::checkedEntry(const LookupCategory& slot) const {
    if (checked_[slot.noneEntry->id])
        return *slot.noneEntry;
    for (const SiteEntry* e : slot.dispatchOrder)
        if (checked_[e->id])
            return *e;
    return *slot.noneEntry;
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

bool SiteSelection::submenuVisible(const LookupCategory& slot) const {
    return slots_[slot.index].submenuVisible;
}

void SiteSelection::setSubmenuVisible(const LookupCategory& slot, bool visible) {
    SlotState& state = slots_[slot.index];
    if (state.submenuVisible == visible)
        return;
    state.submenuVisible = visible;
    Q_EMIT submenuVisibleChanged(&slot, visible);
}

void SiteSelection::choose(const SiteEntry& entry) {
    select(entry, entry.caption);
}

void SiteSelection::restore(const SiteEntry& entry, const QString& hint) {
    select(entry, hint);
}

void SiteSelection::select(const SiteEntry& entry, const QString& hint) {
    const LookupCategory& slot = *entry.category;
    // Hidden entries and the entry without a menu item are unchecked too.
    for (const SiteEntry* e : slot.menuOrder)
        setChecked(*e, false);
    for (const SiteEntry* e : slot.dispatchOrder)
        setChecked(*e, false);
    setChecked(entry, true);

    SlotState& state = slots_[slot.index];
    const bool isSite = !entry.isNone();
    if (state.buttonVisible != isSite) {
        state.buttonVisible = isSite;
        Q_EMIT buttonVisibleChanged(&slot, isSite);
    }
    if (state.menuActionChecked != isSite) {
        state.menuActionChecked = isSite;
        Q_EMIT menuActionCheckedChanged(&slot, isSite);
    }
    if (isSite && state.hint != hint) {
        state.hint = hint;
        Q_EMIT buttonHintChanged(&slot, state.hint);
    }
}

} // namespace lookup
