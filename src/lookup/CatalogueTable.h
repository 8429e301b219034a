#pragma once

// The raw rows of the site catalogue, as compiled into the program. Catalogue builds its
// model from them; nothing else reads these rows.

#include "lookup/CategoryId.h"
#include "lookup/QueryEncoding.h"

#include <optional>
#include <span>

namespace lookup::table {

enum class SiteFlag : unsigned {
    None = 0,
    Default = 1, // checked before any settings are read
    Hidden = 2,  // exists but is not shown in the category's menu
};
constexpr SiteFlag operator|(SiteFlag a, SiteFlag b) {
    return static_cast<SiteFlag>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool hasFlag(SiteFlag flags, SiteFlag flag) {
    return (static_cast<unsigned>(flags) & static_cast<unsigned>(flag)) != 0;
}

// A URL with {W} where the encoded word goes and {NAME} where a fixed value goes.
struct TemplateRow {
    QueryEncoding encoding = QueryEncoding::Raw;
    const char* url = nullptr;
};

struct SiteRow {
    const char* siteKey;
    const char* caption;
    const char* menuLabel; // nullptr: the site has no menu entry at all
    const char* storedName;
    SiteFlag flags;
    int dispatchRank;       // position among the category's sites when a lookup visits them
    TemplateRow english;    // the only template, or the one for single-byte text
    TemplateRow other = {}; // url == nullptr unless the site chooses by the text's language
};

struct CategoryRow {
    CategoryId id;
    const char* categoryKey; // the short name in its sites' keys
    const char* buttonAction;
    const char* buttonLabel;
    const char* buttonCaption;
    const char* initialHint;
    const char* menuAction;
    const char* menuLabel;
    const char* noneAction;
    std::span<const SiteRow> sites;   // empty for a derived category
    std::optional<CategoryId> copyOf; // the category a derived category repeats
    int number;                       // 1, or 2 and 3 for the derived categories
};

// What a derived category does differently from its first category.
struct DerivedMenuLabel {
    CategoryId category;
    const char* siteKey; // the first category's SiteKey
    const char* menuLabel;
};
struct DerivedFirstSite {
    CategoryId category;
    const char* siteKey; // listed right after the none entry
};

struct FixedValue {
    const char* name;
    const char* value;
};

extern const CategoryRow kCategories[26];
extern const DerivedMenuLabel kDerivedMenuLabels[6];
extern const DerivedFirstSite kDerivedFirstSites[2];
extern const FixedValue kFixedValues[11];

constexpr const char* kNoneCaption = "使わない";
constexpr const char* kNoneMenuLabel = "使わない(&Z)";

} // namespace lookup::table
