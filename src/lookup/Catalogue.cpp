#include "lookup/Catalogue.h"

#include "lookup/CatalogueTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>

namespace lookup {

namespace {

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

QString fixedValue(QStringView name) {
    for (const auto& v : table::kFixedValues)
        if (name == QLatin1StringView(v.name))
            return fromUtf8(v.value);
    throw std::logic_error("unknown fixed value in a query template: " +
                           name.toString().toStdString());
}

// "{W}" splits the pieces; every other "{NAME}" is replaced by its fixed value.
UrlTemplate parseTemplate(const table::TemplateRow& row) {
    UrlTemplate t;
    t.encoding = row.encoding;
    static const QRegularExpression placeholder(QStringLiteral("\\{(\\w+)\\}"));
    const QString url = fromUtf8(row.url);
    QString piece;
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(url); it.hasNext();) {
        const auto m = it.next();
        piece += QStringView(url).mid(at, m.capturedStart() - at);
        if (m.capturedView(1) == u"W") {
            t.pieces << piece;
            piece.clear();
        } else {
            piece += fixedValue(m.capturedView(1));
        }
        at = m.capturedEnd();
    }
    piece += QStringView(url).mid(at);
    t.pieces << piece;
    return t;
}

// yahoo_eiwa -> yahoo_2_eiwa: the category number goes after the key's first part.
QString numberedKey(const QString& key, int number) {
    const qsizetype cut = key.indexOf(u'_');
    return key.left(cut + 1) + QString::number(number) + u'_' + key.mid(cut + 1);
}

const char* derivedMenuLabel(CategoryId category, const char* siteKey) {
    for (const auto& d : table::kDerivedMenuLabels)
        if (d.category == category && qstrcmp(d.siteKey, siteKey) == 0)
            return d.menuLabel;
    return nullptr;
}

const char* derivedFirstSite(CategoryId category) {
    for (const auto& d : table::kDerivedFirstSites)
        if (d.category == category)
            return d.siteKey;
    return nullptr;
}

} // namespace

const Catalogue& Catalogue::instance() {
    static const Catalogue catalogue;
    return catalogue;
}

Catalogue::Catalogue() {
    static_assert(std::size(table::kCategories) == std::size_t(kCategoryCount));
    categories_.resize(std::size(table::kCategories));
    for (std::size_t i = 0; i < std::size(table::kCategories); ++i) {
        const table::CategoryRow& row = table::kCategories[i];
        LookupCategory& category = categories_[i];
        if (row.id != static_cast<CategoryId>(i))
            throw std::logic_error("the catalogue's categories are out of order");
        category.id = row.id;
        category.index = static_cast<int>(i);
        category.categoryKey = fromUtf8(row.categoryKey);
        category.buttonAction = fromUtf8(row.buttonAction);
        category.buttonLabel = fromUtf8(row.buttonLabel);
        category.buttonCaption = fromUtf8(row.buttonCaption);
        category.initialHint = fromUtf8(row.initialHint);
        category.categoryMenuAction = fromUtf8(row.menuAction);
        category.menuLabel = fromUtf8(row.menuLabel);

        SiteEntry& none = entries_.emplace_back();
        none.id = static_cast<int>(entries_.size()) - 1;
        none.actionName = fromUtf8(row.noneAction);
        none.caption = fromUtf8(table::kNoneCaption);
        none.menuLabel = fromUtf8(table::kNoneMenuLabel);
        none.storedName = none.caption;
        none.category = &category;
        category.noneEntry = &none;
        category.defaultEntry = &none;
        category.menuOrder.push_back(&none);

        std::span<const table::SiteRow> sites = row.sites;
        if (row.copyOf) {
            const auto first = static_cast<std::size_t>(*row.copyOf);
            sites = table::kCategories[first].sites;
            category.copyOf = &categories_[first];
        }
        std::vector<const table::SiteRow*> menuRows;
        for (const auto& s : sites)
            menuRows.push_back(&s);
        if (const char* firstKey = row.copyOf ? derivedFirstSite(row.id) : nullptr) {
            const auto it = std::find_if(menuRows.begin(), menuRows.end(), [&](const auto* s) {
                return qstrcmp(s->siteKey, firstKey) == 0;
            });
            std::rotate(menuRows.begin(), it, it + 1);
        }

        std::vector<std::pair<int, const SiteEntry*>> ranked;
        for (const table::SiteRow* s : menuRows) {
            SiteEntry& e = entries_.emplace_back();
            e.id = static_cast<int>(entries_.size()) - 1;
            e.siteKey =
                row.copyOf ? numberedKey(fromUtf8(s->siteKey), row.number) : fromUtf8(s->siteKey);
            e.actionName = QStringLiteral("A_%1_check").arg(e.siteKey);
            e.caption = fromUtf8(s->caption);
            const char* label = row.copyOf ? derivedMenuLabel(row.id, s->siteKey) : nullptr;
            e.menuLabel = fromUtf8(label ? label : s->menuLabel);
            e.inMenu = s->menuLabel != nullptr;
            e.visible = e.inMenu && !table::hasFlag(s->flags, table::SiteFlag::Hidden);
            e.storedName = fromUtf8(s->storedName);
            e.category = &category;
            e.english = parseTemplate(s->english);
            e.choosesByLanguage = s->other.url != nullptr;
            if (e.choosesByLanguage)
                e.other = parseTemplate(s->other);
            // The repeated categories start with nothing chosen.
            if (!row.copyOf && table::hasFlag(s->flags, table::SiteFlag::Default))
                category.defaultEntry = &e;
            if (e.inMenu)
                category.menuOrder.push_back(&e);
            ranked.emplace_back(s->dispatchRank, &e);
        }
        std::sort(ranked.begin(), ranked.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [rank, e] : ranked)
            category.dispatchOrder.push_back(e);
    }
}

namespace {

// The first element of `range` for which `match` holds, or null.
template <typename Range, typename Match> auto findFirst(const Range& range, Match match) {
    const auto it = std::find_if(std::begin(range), std::end(range), match);
    return it == std::end(range) ? nullptr : &*it;
}

} // namespace

const SiteEntry* Catalogue::siteByKey(QStringView siteKey) const {
    if (siteKey.isEmpty())
        return nullptr;
    return findFirst(entries_, [&](const auto& e) { return e.siteKey == siteKey; });
}

const SiteEntry* Catalogue::entryByActionName(QStringView actionName) const {
    return findFirst(entries_, [&](const auto& e) { return e.actionName == actionName; });
}

const SiteEntry* Catalogue::entryByStoredName(const LookupCategory& category,
                                              QStringView storedName) const {
    return findFirst(entries_, [&](const auto& e) {
        return e.category == &category && e.storedName == storedName;
    });
}

} // namespace lookup
