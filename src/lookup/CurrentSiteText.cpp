#include "lookup/CurrentSiteText.h"

#include "lookup/Catalogue.h"
#include "lookup/LookupController.h"
#include "lookup/SiteSelection.h"

namespace lookup {

CurrentSiteText::CurrentSiteText(const LookupController& lookups, QObject* parent)
    : QObject(parent), lookups_(lookups) {
    connect(&lookups_, &LookupController::currentCategoryChanged, this, &CurrentSiteText::update);
    // A site chosen in a menu, on a failure page or read from the settings file.
    connect(&lookups_.selection(), &SiteSelection::checkedChanged, this, &CurrentSiteText::update);
    text_ = describe(lookups_.currentCategory(),
                     lookups_.selection().checkedEntry(lookups_.currentCategory()));
}

QString CurrentSiteText::describe(const LookupCategory& category, const SiteEntry& chosen) {
    return category.buttonCaption + QStringLiteral(": ") + chosen.caption;
}

void CurrentSiteText::update() {
    const LookupCategory& category = lookups_.currentCategory();
    const QString text = describe(category, lookups_.selection().checkedEntry(category));
    if (text == text_)
        return;
    text_ = text;
    Q_EMIT changed(text_);
}

} // namespace lookup
