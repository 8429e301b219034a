#include "lookup/LookupDispatch.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"
#include "lookup/SiteSelection.h"

namespace lookup {

LookupDispatch::Plan LookupDispatch::plan(const QString& text, const SiteSelection& selection) {
    return planIn(currentCategory_, text, selection);
}

LookupDispatch::Plan LookupDispatch::planInCategory(CategoryId category, const QString& text,
                                                    const SiteSelection& selection) {
    return planIn(category, text, selection);
}

LookupDispatch::Plan LookupDispatch::planIn(CategoryId& category, const QString& text,
                                            const SiteSelection& selection) {
    if (text.size() >= kLongText) {
        // Also when already long: the category to return to then becomes translation itself.
        longText_ = true;
        categoryAfterLongText_ = category;
        category = CategoryId::Translation;
    } else if (longText_) {
        longText_ = false;
        category = categoryAfterLongText_;
    }

    Plan plan;
    for (const SiteEntry* site : Catalogue::instance().category(category).dispatchOrder)
        if (selection.isChecked(*site)) {
            plan.urls << siteQueryUrl(*site, text);
            plan.sites.push_back(site);
        }

    if (text != lastHistoryText_) {
        plan.recordHistory = true;
        lastHistoryText_ = text;
    }
    return plan;
}

void LookupDispatch::pressButton(CategoryId category) {
    currentCategory_ = category;
    categoryAfterLongText_ = currentCategory_;
}

} // namespace lookup
