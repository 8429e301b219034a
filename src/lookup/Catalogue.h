#pragma once

#include "lookup/QueryEncoding.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <deque>
#include <vector>

namespace lookup {

struct LookupCategory;

// How a site's query URL is made: literal pieces with the encoded word between each two.
struct UrlTemplate {
    QueryEncoding encoding = QueryEncoding::Raw;
    QStringList pieces; // pieces.size() - 1 word slots
};

// One entry of a slot's menu: a Site, or the slot's "使わない" entry.
struct SiteEntry {
    int id = 0;         // position in Catalogue::entries()
    QString siteKey;    // empty for the none entry
    QString actionName; // A_<SiteKey>_check, or the none entry's own name
    QString caption;
    QString menuLabel; // with its accelerator; empty when the entry has no menu entry
    QString storedName;
    bool inMenu = true;
    bool visible = true; // shown in the menu when the window is created
    const LookupCategory* category = nullptr;
    UrlTemplate english; // the only template, or the one for single-byte text
    UrlTemplate other;   // used for other text when choosesByLanguage
    bool choosesByLanguage = false;

    bool isNone() const { return siteKey.isEmpty(); }
};

struct LookupCategory {
    int index = 0; // position in button order
    QString categoryKey;
    QString selectionName;
    QString buttonAction;
    QString buttonLabel;
    QString buttonCaption; // the action's caption; differs from the label for the auction slot
    QString initialHint;
    QString categoryMenuAction;
    QString menuLabel;
    const SiteEntry* noneEntry = nullptr;
    const SiteEntry* defaultEntry = nullptr;
    std::vector<const SiteEntry*> menuOrder;     // the none entry first
    std::vector<const SiteEntry*> dispatchOrder; // Sites only
    const LookupCategory* copyOf = nullptr;      // the first slot a slot 2 or 3 repeats

    bool defaultIsSite() const { return !defaultEntry->isNone(); }
};

// The fixed vocabulary of lookups: 26 slots in button order with their entries.
class Catalogue {
public:
    static const Catalogue& instance();

    const std::vector<LookupCategory>& slots() const { return slots_; }
    const LookupCategory* slotByKey(QStringView categoryKey) const;
    const LookupCategory* slotBySelectionName(QStringView selectionName) const;

    // Sites only; none entries are found through their slot or their action name.
    const SiteEntry* siteByKey(QStringView siteKey) const;
    const SiteEntry* entryByActionName(QStringView actionName) const;
    // Stored names repeat across slots, so the look-up is always within one slot.
    const SiteEntry* entryByStoredName(const LookupCategory& slot, QStringView storedName) const;

    // Every entry, none entries included, slot by slot in menu order.
    const std::deque<SiteEntry>& entries() const { return entries_; }

    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

private:
    Catalogue();

    std::vector<LookupCategory> slots_;
    std::deque<SiteEntry> entries_;
};

} // namespace lookup
