#include "lookup/CurrentSiteText.h"

#include "lookup/Catalogue.h"
#include "lookup/LookupController.h"
#include "lookup/SiteSelection.h"

namespace lookup {

CurrentSiteText::CurrentSiteText(const LookupController& lookups, QObject* parent)
    : QObject(parent), lookups_(lookups) {
    connect(&lookups_, &LookupController::currentSlotChanged, this, &CurrentSiteText::update);
    // A site chosen in a menu, on a failure page or read from the settings file.
    connect(&lookups_.selection(), &SiteSelection::checkedChanged, this, &CurrentSiteText::update);
    text_ =
        describe(lookups_.currentSlot(), lookups_.selection().checkedEntry(lookups_.currentSlot()));
}

QString CurrentSiteText::describe(const LookupCategory& slot, const SiteEntry& chosen) {
    return slot.buttonCaption + QStringLiteral(": ") + chosen.caption;
}

void CurrentSiteText::update() {
    const LookupCategory& slot = lookups_.currentSlot();
    const QString text = describe(slot, lookups_.selection().checkedEntry(slot));
    if (text == text_)
        return;
    text_ = text;
    Q_EMIT changed(text_);
}

} // namespace lookup
