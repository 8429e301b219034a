#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace lookup {

struct SiteEntry;

// Another site of a category, and the URL that looks the same text up there.
struct SiteAlternative {
    const SiteEntry* site = nullptr;
    QString url;
};

// Whether a category's menu shows an entry now.
using EntryShown = std::function<bool(const SiteEntry&)>;

// The sites a user can turn to when a lookup of `text` at `failed` went wrong: the other
// sites of its category that the category's menu shows, in menu order, each with its query URL.
// Entries the menu hides, and any whose query would be the very address that failed, are
// left out. Without `shown`, an entry counts as shown when the catalogue shows it at start.
std::vector<SiteAlternative> siteAlternatives(const SiteEntry& failed, const QString& text,
                                              const EntryShown& shown = {});

} // namespace lookup
