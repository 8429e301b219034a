#pragma once

#include <QString>

namespace lookup {

struct SiteEntry;

// The URL that a lookup of `text` at `site` loads. `site` must be a Site, not a none entry.
QString siteQueryUrl(const SiteEntry& site, const QString& text);

} // namespace lookup
