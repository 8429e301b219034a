#include "lookup/LookupController.h"

#include "lookup/Catalogue.h"
#include "lookup/LookupView.h"
#include "settings/Options.h"

#include <QTimer>
#include <algorithm>

namespace lookup {

LookupController::LookupController(LookupView& view, const settings::Options& options,
                                   QObject* parent)
    : QObject(parent), view_(view), options_(options) {
    selection_.setObjectName(QStringLiteral("SiteSelection"));
    toldCategory_ = dispatch_.currentCategory();
}

const LookupCategory& LookupController::currentCategory() const {
    return Catalogue::instance().category(dispatch_.currentCategory());
}

void LookupController::tellCurrentCategory() {
    if (dispatch_.currentCategory() == toldCategory_)
        return;
    toldCategory_ = dispatch_.currentCategory();
    Q_EMIT currentCategoryChanged(&currentCategory());
}

void LookupController::lookUpSearchText() {
    const QString text = view_.searchText();
    carryOut(dispatch_.plan(text, selection_), text);
}

void LookupController::lookUpInCategory(const LookupCategory& category) {
    dispatch_.pressButton(category.id);
    lookUpSearchText();
}

void LookupController::chooseSite(const SiteEntry& entry) {
    selection_.choose(entry);
    dispatch_.setCurrentCategory(entry.category->id);
    lookUpSearchText();
}

void LookupController::searchWebOnce() {
    const QString text = view_.searchText();
    carryOut(dispatch_.planInCategory(CategoryId::WebSearch, text, selection_), text);
}

void LookupController::rememberQuery(const QString& address, const SiteEntry& site,
                                     const QString& text) {
    sentQueries_.push_back({address, &site, text});
    if (sentQueries_.size() > kSentQueriesKept)
        sentQueries_.pop_front();
}

std::optional<LookupController::FailedLookup> LookupController::lookupBehindFailure(
    const std::function<bool(const QString& address)>& isFailedAddress) {
    const auto sent = std::find_if(sentQueries_.rbegin(), sentQueries_.rend(),
                                   [&](const SentQuery& q) { return isFailedAddress(q.address); });
    if (sent == sentQueries_.rend())
        return std::nullopt;
    // A copy: remembering the alternatives may push the found query out.
    FailedLookup failed{sent->site, sent->text, {}};
    failed.alternatives =
        siteAlternatives(*failed.site, failed.text,
                         [this](const SiteEntry& entry) { return selection_.entryVisible(entry); });
    for (const SiteAlternative& alternative : failed.alternatives)
        rememberQuery(alternative.url, *alternative.site, failed.text);
    return failed;
}

void LookupController::carryOut(const LookupDispatch::Plan& plan, const QString& text) {
    for (std::size_t i = 0; i < plan.sites.size() && i < std::size_t(plan.urls.size()); ++i)
        rememberQuery(plan.urls[qsizetype(i)], *plan.sites[i], text);
    tellCurrentCategory();
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
