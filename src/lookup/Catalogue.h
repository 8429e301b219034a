#pragma once

#include "lookup/CategoryId.h"
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
    QStringList pieces; // the word goes between each two pieces
};

// One entry of a category's menu: a Site, or the category's "使わない" entry.
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
    CategoryId id = CategoryId::JapaneseDictionary;
    int index = 0;       // position in button order
    QString categoryKey; // the short name in its sites' keys (kokugo in yahoo2_kokugo)
    QString buttonAction;
    QString buttonLabel;
    QString buttonCaption; // the action's caption; differs from the label for the auction category
    QString initialHint;
    QString categoryMenuAction;
    QString menuLabel;
    const SiteEntry* noneEntry = nullptr;
    const SiteEntry* defaultEntry = nullptr;
    std::vector<const SiteEntry*> menuOrder;     // the none entry first
    std::vector<const SiteEntry*> dispatchOrder; // Sites only
    const LookupCategory* copyOf = nullptr;      // the first category a category 2 or 3 repeats

    bool defaultIsSite() const { return !defaultEntry->isNone(); }
};

// The fixed vocabulary of lookups: 26 categories in button order with their entries.
class Catalogue {
public:
    static const Catalogue& instance();

    const std::vector<LookupCategory>& categories() const { return categories_; }
    const LookupCategory& category(CategoryId id) const {
        return categories_[static_cast<std::size_t>(id)];
    }

    // Sites only; none entries are found through their category or their action name.
    const SiteEntry* siteByKey(QStringView siteKey) const;
    const SiteEntry* entryByActionName(QStringView actionName) const;
    // Stored names repeat across categories, so the look-up is always within one category.
    const SiteEntry* entryByStoredName(const LookupCategory& category,
                                       QStringView storedName) const;

    // Every entry, none entries included, category by category in menu order.
    const std::deque<SiteEntry>& entries() const { return entries_; }

    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

private:
    Catalogue();

    std::vector<LookupCategory> categories_;
    std::deque<SiteEntry> entries_;
};

} // namespace lookup
