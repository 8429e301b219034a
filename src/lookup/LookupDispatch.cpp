#include "lookup/LookupDispatch.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"
#include "lookup/SiteSelection.h"

namespace lookup {

LookupDispatch::Plan LookupDispatch::plan(const QString& text, const SiteSelection& selection) {
    return planIn(currentCategory_, text, selection);
}

LookupDispatch::Plan LookupDispatch::planInCategory(const QString& selectionName,
                                                    const QString& text,
                                                    const SiteSelection& selection) {
    QString category = selectionName;
    return planIn(category, text, selection);
}

LookupDispatch::Plan LookupDispatch::planIn(QString& categoryName, const QString& text,
                                            const SiteSelection& selection) {
    if (text.size() >= kLongText) {
        // Also when already long: the category to return to then becomes translation itself.
        longText_ = true;
        categoryAfterLongText_ = categoryName;
        categoryName = kTranslation;
    } else if (longText_) {
        longText_ = false;
        categoryName = categoryAfterLongText_;
    }

    Plan plan;
    if (const LookupCategory* category =
            Catalogue::instance().categoryBySelectionName(categoryName)) {
        for (const SiteEntry* site : category->dispatchOrder)
            if (selection.isChecked(*site)) {
                plan.urls << siteQueryUrl(*site, text);
                plan.sites.push_back(site);
            }
    }

    if (text != lastHistoryText_) {
        plan.recordHistory = true;
        lastHistoryText_ = text;
    }
    return plan;
}

void LookupDispatch::pressButton(const QString& selectionName) {
    if (Catalogue::instance().categoryBySelectionName(selectionName))
        currentCategory_ = selectionName;
    categoryAfterLongText_ = currentCategory_;
}

} // namespace lookup
