#include "lookup/LookupDispatch.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"
#include "lookup/SiteSelection.h"

namespace lookup {

LookupDispatch::Plan LookupDispatch::plan(const QString& text, const SiteSelection& selection) {
    return planIn(currentSlot_, text, selection);
}

LookupDispatch::Plan LookupDispatch::planInSlot(const QString& selectionName, const QString& text,
                                                const SiteSelection& selection) {
    QString slot = selectionName;
    return planIn(slot, text, selection);
}

LookupDispatch::Plan LookupDispatch::planIn(QString& slotName, const QString& text,
                                            const SiteSelection& selection) {
    if (text.size() >= kLongText) {
        // Also when already long: the slot to return to then becomes translation itself.
        longText_ = true;
        slotAfterLongText_ = slotName;
        slotName = kTranslation;
    } else if (longText_) {
        longText_ = false;
        slotName = slotAfterLongText_;
    }

    Plan plan;
    if (const LookupCategory* slot = Catalogue::instance().slotBySelectionName(slotName)) {
        for (const SiteEntry* site : slot->dispatchOrder)
            if (selection.isChecked(*site))
                plan.urls << siteQueryUrl(*site, text);
    }

    if (text != lastHistoryText_) {
        plan.recordHistory = true;
        lastHistoryText_ = text;
    }
    return plan;
}

void LookupDispatch::pressButton(const QString& selectionName) {
    if (Catalogue::instance().slotBySelectionName(selectionName))
        currentSlot_ = selectionName;
    slotAfterLongText_ = currentSlot_;
}

} // namespace lookup
