#include "lookup/SiteAlternatives.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"

namespace lookup {

std::vector<SiteAlternative> siteAlternatives(const SiteEntry& failed, const QString& text,
                                              const EntryShown& shown) {
    std::vector<SiteAlternative> out;
    if (failed.isNone() || !failed.category)
        return out;
    const QString failedUrl = siteQueryUrl(failed, text);
    for (const SiteEntry* entry : failed.category->menuOrder) {
        if (entry == &failed || entry->isNone() || !entry->inMenu)
            continue;
        if (shown ? !shown(*entry) : !entry->visible)
            continue;
        QString url = siteQueryUrl(*entry, text);
        if (url == failedUrl)
            continue;
        out.push_back({entry, std::move(url)});
    }
    return out;
}

} // namespace lookup
