#pragma once

#include "lookup/LookupDispatch.h"
#include "lookup/SiteAlternatives.h"
#include "lookup/SiteSelection.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace settings {
struct Options;
}

namespace lookup {

struct LookupCategory;
struct SiteEntry;
class LookupView;

// Decides every lookup of the program: from the search box, a category button, a site chosen
// in a category's menu, the Search button's right click and every copied text. It keeps the
// current category, the site chosen per category and the first lookup of the run, and tells the
// view what to show.
class LookupController : public QObject {
    Q_OBJECT
public:
    LookupController(LookupView& view, const settings::Options& options, QObject* parent = nullptr);

    SiteSelection& selection() { return selection_; }
    const SiteSelection& selection() const { return selection_; }
    const LookupDispatch& dispatch() const { return dispatch_; }
    // The category that lookups go to now.
    const LookupCategory& currentCategory() const;

    // Looks the search box's text up in the current category.
    void lookUpSearchText();
    // A category button: its category becomes current and the text is looked up there.
    void lookUpInCategory(const LookupCategory& category);
    // A site chosen in a category's menu becomes the category's one site, the category becomes
    // current and the text is looked up there at once.
    void chooseSite(const SiteEntry& entry);
    // One lookup in the web-search category; the current category stays what it was.
    void searchWebOnce();

    // A copied text, already normalised: it goes into the search box and is looked up, or
    // waits for the start sequence when it is the first of the run.
    void takeCopiedText(const QString& text);
    QString searchText() const;

    // The start sequence: looks up a copy that arrived before it and returns true, or returns
    // false when there was none. Either way, later copies are looked up at once.
    bool lookUpWaitingCopy();
    bool firstLookupRequested() const { return firstLookupRequested_; }

    // A query the program sent: which site, for which text. The recent ones are kept, so that
    // a page that fails can say what it was and offer the category's other sites.
    struct SentQuery {
        QString address;
        const SiteEntry* site = nullptr;
        QString text;
    };
    static constexpr std::size_t kSentQueriesKept = 64;
    const std::deque<SentQuery>& sentQueries() const { return sentQueries_; }

    // The lookup behind a page that failed: the latest query whose address isFailedAddress
    // accepts, with the other sites its category's menu shows now to try instead. Those are
    // offered to the user, so they count as sent: their own failures are known as lookups.
    struct FailedLookup {
        const SiteEntry* site = nullptr;
        QString text;
        std::vector<SiteAlternative> alternatives;
    };
    std::optional<FailedLookup>
    lookupBehindFailure(const std::function<bool(const QString& address)>& isFailedAddress);

    // The window comes forward this long after a lookup's navigation was asked for.
    static constexpr int kBringForwardDelayMs = 5;

Q_SIGNALS:
    // The first copy of the run waits for the start sequence.
    void firstLookupDeferred();
    // Lookups go to another category from now on: a button, a site chosen in a menu or on a
    // failure page, or the long-text rule and its return.
    void currentCategoryChanged(const lookup::LookupCategory* category);

private:
    void rememberQuery(const QString& address, const SiteEntry& site, const QString& text);
    void carryOut(const LookupDispatch::Plan& plan, const QString& text);
    void tellCurrentCategory();

    LookupView& view_;
    const settings::Options& options_;
    SiteSelection selection_;
    LookupDispatch dispatch_;
    bool firstLookupRequested_ = false;
    CategoryId toldCategory_ = CategoryId::JapaneseDictionary;
    std::deque<SentQuery> sentQueries_;
};

} // namespace lookup
