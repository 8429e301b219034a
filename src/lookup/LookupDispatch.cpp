#include "lookup/LookupDispatch.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"
#include "lookup/SiteSelection.h"

namespace lookup {

LookupDispatch::Plan LookupDispatch::okuru(const QString& text, const SiteSelection& selection) {
    if (text.size() >= kLongText) {
        // Also when already long: the slot to return to then becomes translation itself.
        longText = true;
        Moto_Settei_Sentaku = Settei_Sentaku;
        Settei_Sentaku = kTranslation;
    } else if (longText) {
        longText = false;
        Settei_Sentaku = Moto_Settei_Sentaku;
    }

    Plan plan;
    if (const LookupCategory* slot = Catalogue::instance().slotBySelectionName(Settei_Sentaku)) {
        for (const SiteEntry* site : slot->dispatchOrder)
            if (selection.isChecked(*site))
                plan.urls << SiteQueryUrl(*site, text);
    }

    if (text != List_mae_moij) {
        plan.recordHistory = true;
        List_mae_moij = text;
    }
    return plan;
}

void LookupDispatch::pressButton(const QString& selectionName) {
    if (Catalogue::instance().slotBySelectionName(selectionName))
        Settei_Sentaku = selectionName;
    Moto_Settei_Sentaku = Settei_Sentaku;
}

} // namespace lookup
