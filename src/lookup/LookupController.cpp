#include "lookup/LookupController.h"

#include "lookup/Catalogue.h"
#include "lookup/LookupView.h"
#include "settings/Options.h"

#include <QTimer>

namespace lookup {

LookupController::LookupController(LookupView& view, const settings::Options& options,
                                   QObject* parent)
    : QObject(parent), view_(view), options_(options) {
    selection_.setObjectName(QStringLiteral("SiteSelection"));
}

void LookupController::lookUpSearchText() {
    const QString text = view_.searchText();
    carryOut(dispatch_.plan(text, selection_), text);
}

void LookupController::lookUpInSlot(const LookupCategory& slot) {
    dispatch_.pressButton(slot.selectionName);
    lookUpSearchText();
}

void LookupController::chooseSite(const SiteEntry& entry) {
    selection_.choose(entry);
    dispatch_.setCurrentSlot(entry.category->selectionName);
    lookUpSearchText();
}

void LookupController::searchWebOnce() {
    const QString text = view_.searchText();
    carryOut(dispatch_.planInSlot(LookupDispatch::kWebSearch, text, selection_), text);
}

void LookupController::carryOut(const LookupDispatch::Plan& plan, const QString& text) {
    view_.setLongTextNotice(dispatch_.isLongText());
    view_.openQueryUrls(plan.urls);
    if (plan.recordHistory)
        view_.addToHistory(text);
    if (!options_.bringForwardOnCopy)
        return;
    // Raising the window costs round trips to the X server and the window manager; it waits
    // until the engine has sent the request, which shares this thread with it.
    if (plan.urls.isEmpty())
        view_.bringForward();
    else
        QTimer::singleShot(kBringForwardDelayMs, this, [this] { view_.bringForward(); });
}

QString LookupController::searchText() const {
    return view_.searchText();
}

void LookupController::takeCopiedText(const QString& text) {
    if (options_.bringForwardOnCopy && view_.isMinimised())
        view_.restoreIfMinimised();
    view_.setSearchText(text);
    if (firstLookupRequested_) {
        lookUpSearchText();
        return;
    }
    firstLookupRequested_ = true;
    Q_EMIT firstLookupDeferred();
}

bool LookupController::lookUpWaitingCopy() {
    const bool waiting = firstLookupRequested_;
    firstLookupRequested_ = true;
    if (waiting)
        lookUpSearchText();
    return waiting;
}

} // namespace lookup
