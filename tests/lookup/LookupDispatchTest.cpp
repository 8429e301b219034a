#include "lookup/LookupDispatch.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"
#include "lookup/SiteSelection.h"

#include <gtest/gtest.h>
#include <optional>

using namespace lookup;

namespace {

const Catalogue& cat() {
    return Catalogue::instance();
}
const SiteEntry& site(const char* key) {
    return *cat().siteByKey(QString::fromUtf8(key));
}

QString text(qsizetype units) {
    return QString(units, u'a');
}

constexpr CategoryId kKokugo = CategoryId::JapaneseDictionary;
constexpr CategoryId kEiei = CategoryId::EnglishEnglish;
constexpr CategoryId kHonyaku = CategoryId::Translation;
constexpr CategoryId kKensaku = CategoryId::WebSearch;

} // namespace

// The long-text rule as a sequence of lookups: text lengths in, the category each lookup goes to
// and the state afterwards out.
struct LongTextStep {
    qsizetype length;
    std::optional<CategoryId> pressedBefore; // a category button pressed before this lookup
    CategoryId expectCategory;               // the category the lookup went to
    bool expectLong;
};

struct LongTextCase {
    const char* name;
    std::vector<LongTextStep> steps;
};

class LongTextRule : public testing::TestWithParam<LongTextCase> {};

TEST_P(LongTextRule, Sequence) {
    LookupDispatch d;
    SiteSelection selection;
    int i = 0;
    for (const LongTextStep& step : GetParam().steps) {
        if (step.pressedBefore)
            d.pressButton(*step.pressedBefore);
        d.plan(text(step.length), selection);
        EXPECT_EQ(d.currentCategory(), step.expectCategory) << "step " << i;
        EXPECT_EQ(d.isLongText(), step.expectLong) << "step " << i;
        ++i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LongTextRule,
    testing::Values(
        LongTextCase{"Boundary",
                     {{255, std::nullopt, kKokugo, false}, {256, std::nullopt, kHonyaku, true}}},
        LongTextCase{"ShortAfterLongReturns",
                     {{300, std::nullopt, kHonyaku, true}, {3, std::nullopt, kKokugo, false}}},
        // The second long text saves translation itself as the category to return to.
        LongTextCase{"TwoLongThenShortStaysInTranslation",
                     {{300, std::nullopt, kHonyaku, true},
                      {300, std::nullopt, kHonyaku, true},
                      {3, std::nullopt, kHonyaku, false}}},
        LongTextCase{"ButtonWhileLong",
                     {{300, std::nullopt, kHonyaku, true},
                      {300, kEiei, kHonyaku, true},
                      {3, std::nullopt, kEiei, false}}},
        LongTextCase{"ButtonThenLongText",
                     {{300, kEiei, kHonyaku, true}, {3, std::nullopt, kEiei, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LookupDispatch, RightClickSearchWhileLong) {
    // What the Search button's right click does around a lookup.
    LookupDispatch d;
    SiteSelection selection;
    const CategoryId saved = d.currentCategory();
    const auto plan = d.planInCategory(kKensaku, text(300), selection);
    // The long text goes to translation, not to the web search it was asked for.
    const auto* translation = lookup::Catalogue::instance().siteByKey(u"google_Honyaku");
    EXPECT_EQ(plan.urls, QStringList{lookup::siteQueryUrl(*translation, text(300))});
    EXPECT_EQ(d.currentCategory(), saved);
    EXPECT_EQ(d.categoryAfterLongText(), kKensaku);
    d.plan(text(2), selection);
    EXPECT_EQ(d.currentCategory(), kKensaku);
}

TEST(LookupDispatch, LoadsCheckedSitesInDispatchOrder) {
    LookupDispatch d;
    SiteSelection selection;
    auto plan = d.plan(QStringLiteral("猫"), selection);
    ASSERT_EQ(plan.urls.size(), 1);
    EXPECT_TRUE(plan.urls[0].startsWith(u"http://dic.yahoo.co.jp/detail?p=%E7%8C%AB"));

    // Two checked at once (as a settings file can leave them): both load, in dispatch order,
    // which puts goo辞書すべて before goo国語辞典 although the menu lists them the other way.
    selection.choose(site("goo2_kokugo"));
    selection.setChecked(site("goo_kokugo"), true);
    plan = d.plan(QStringLiteral("犬"), selection);
    ASSERT_EQ(plan.urls.size(), 2);
    EXPECT_TRUE(plan.urls[0].contains(u"/srch/all/犬/"));
    EXPECT_TRUE(plan.urls[1].contains(u"/srch/jn/犬/"));
    // Each URL with its site, so that a page that fails can name it.
    ASSERT_EQ(plan.sites.size(), 2u);
    EXPECT_EQ(plan.sites[0], &site("goo_kokugo"));
    EXPECT_EQ(plan.sites[1], &site("goo2_kokugo"));
    for (std::size_t i = 0; i < plan.sites.size(); ++i)
        EXPECT_EQ(plan.urls[qsizetype(i)], siteQueryUrl(*plan.sites[i], QStringLiteral("犬")));
}

TEST(LookupDispatch, NoneCheckedLoadsNothingButRecordsHistory) {
    LookupDispatch d;
    SiteSelection selection;
    selection.choose(*cat().category(kKokugo).noneEntry);
    auto plan = d.plan(QStringLiteral("a"), selection);
    EXPECT_TRUE(plan.urls.isEmpty());
    EXPECT_TRUE(plan.recordHistory);
    EXPECT_EQ(d.lastHistoryText(), u"a");
}

TEST(LookupDispatch, HistoryComparesWithThePreviousTextOnly) {
    LookupDispatch d;
    SiteSelection selection;
    std::vector<bool> recorded;
    for (const char* t : {"A", "A", "B", "A", "", ""})
        recorded.push_back(d.plan(QString::fromUtf8(t), selection).recordHistory);
    // The empty text differs from the last word and enters the history once.
    EXPECT_EQ(recorded, (std::vector<bool>{true, false, true, true, true, false}));
}

TEST(LookupDispatch, EmptyTextStillLoads) {
    LookupDispatch d;
    SiteSelection selection;
    d.setCurrentCategory(CategoryId::Encyclopedia);
    EXPECT_EQ(d.plan(QString(), selection).urls, QStringList{u"http://ja.wikipedia.org/wiki/"_qs});
}
