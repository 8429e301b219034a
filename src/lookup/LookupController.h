#pragma once

#include "lookup/LookupDispatch.h"
#include "lookup/SiteSelection.h"

#include <QObject>
#include <QString>

namespace settings {
struct Options;
}

namespace lookup {

struct LookupCategory;
struct SiteEntry;
class LookupView;

// Decides every lookup of the program: from the search box, a category button, a site chosen
// in a slot's menu, the Search button's right click and every copied text. It keeps the
// current slot, the site chosen per slot and the first lookup of the run, and tells the view
// what to show.
class LookupController : public QObject {
    Q_OBJECT
public:
    LookupController(LookupView& view, const settings::Options& options, QObject* parent = nullptr);

    SiteSelection& selection() { return selection_; }
    const SiteSelection& selection() const { return selection_; }
    const LookupDispatch& dispatch() const { return dispatch_; }

    // Looks the search box's text up in the current slot.
    void lookUpSearchText();
    // A category button: its slot becomes current and the text is looked up there.
    void lookUpInSlot(const LookupCategory& slot);
    // A site chosen in a slot's menu becomes the slot's one site, the slot becomes current
    // and the text is looked up there at once.
    void chooseSite(const SiteEntry& entry);
    // One lookup in the web-search slot; the current slot stays what it was.
    void searchWebOnce();

    // A copied text, already normalised: it goes into the search box and is looked up, or
    // waits for the start sequence when it is the first of the run.
    void takeCopiedText(const QString& text);
    QString searchText() const;

    // The start sequence: looks up a copy that arrived before it and returns true, or returns
    // false when there was none. Either way, later copies are looked up at once.
    bool lookUpWaitingCopy();
    bool firstLookupRequested() const { return firstLookupRequested_; }

    // The window comes forward this long after a lookup's navigation was asked for.
    static constexpr int kBringForwardDelayMs = 5;

Q_SIGNALS:
    // The first copy of the run waits for the start sequence.
    void firstLookupDeferred();

private:
    void carryOut(const LookupDispatch::Plan& plan, const QString& text);

    LookupView& view_;
    const settings::Options& options_;
    SiteSelection selection_;
    LookupDispatch dispatch_;
    bool firstLookupRequested_ = false;
};

} // namespace lookup
