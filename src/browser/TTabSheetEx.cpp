#include "browser/TTabSheetEx.h"

namespace browser {

TTabSheetEx::TTabSheetEx(QWidget* parent) : TTabSheet(parent) {}

// The browser goes before the rest of the page, so that none of its late events finds a
// half-destroyed page.
TTabSheetEx::~TTabSheetEx() {
    delete EWB;
}

} // namespace browser
