#include "lookup/SiteAlternatives.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"

#include <gtest/gtest.h>

using namespace lookup;

namespace {

const SiteEntry& site(const char* key) {
    const SiteEntry* e = Catalogue::instance().siteByKey(QString::fromUtf8(key));
    if (!e)
        throw std::runtime_error(std::string("no site ") + key);
    return *e;
}

std::vector<std::string> keys(const std::vector<SiteAlternative>& alternatives) {
    std::vector<std::string> out;
    for (const auto& a : alternatives)
        out.push_back(a.site->siteKey.toStdString());
    return out;
}

using Keys = std::vector<std::string>;

} // namespace

// Every shown site of every category, failing in turn: what is offered instead.
TEST(SiteAlternatives, EveryCategoryOffersItsOtherShownSitesWithTheirQueries) {
    const QString text = QStringLiteral("辞書");
    for (const LookupCategory& category : Catalogue::instance().categories()) {
        for (const SiteEntry* failed : category.dispatchOrder) {
            SCOPED_TRACE(failed->siteKey.toStdString());
            const auto offered = siteAlternatives(*failed, text);
            std::size_t position = 0;
            for (const SiteAlternative& a : offered) {
                EXPECT_NE(a.site, failed);
                EXPECT_EQ(a.site->category, &category) << a.site->siteKey.toStdString();
                EXPECT_TRUE(a.site->visible && a.site->inMenu) << a.site->siteKey.toStdString();
                EXPECT_EQ(a.url, siteQueryUrl(*a.site, text));
                EXPECT_NE(a.url, siteQueryUrl(*failed, text));
                // Menu order, so the page lists them as the menu does.
                const auto at =
                    std::find(category.menuOrder.begin(), category.menuOrder.end(), a.site);
                ASSERT_NE(at, category.menuOrder.end());
                const auto index = static_cast<std::size_t>(at - category.menuOrder.begin());
                EXPECT_GT(index, position) << a.site->siteKey.toStdString();
                position = index;
            }
            // Nothing shown is left out unless it would ask the same address.
            std::size_t expected = 0;
            for (const SiteEntry* e : category.menuOrder)
                if (e != failed && !e->isNone() && e->visible &&
                    siteQueryUrl(*e, text) != siteQueryUrl(*failed, text))
                    ++expected;
            EXPECT_EQ(offered.size(), expected);
        }
    }
}

struct AlternativesCase {
    const char* name;
    const char* failed;
    const char16_t* text;
    Keys expected;
};

class SiteAlternativesCases : public testing::TestWithParam<AlternativesCase> {};

TEST_P(SiteAlternativesCases, OffersTheseSites) {
    const auto& c = GetParam();
    EXPECT_EQ(keys(siteAlternatives(site(c.failed), QString::fromUtf16(c.text))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Categories, SiteAlternativesCases,
    testing::Values(AlternativesCase{"FirstOfCategory",
                                     "yahoo2_kokugo",
                                     u"辞書",
                                     {"goo2_kokugo", "goo_kokugo", "infoseek_kokugo",
                                      "infoseek2_kokugo", "Excite_kokugo", "weblio_kokugo"}},
                    AlternativesCase{"LastOfCategory",
                                     "weblio_kokugo",
                                     u"辞書",
                                     {"yahoo2_kokugo", "goo2_kokugo", "goo_kokugo",
                                      "infoseek_kokugo", "infoseek2_kokugo", "Excite_kokugo"}},
                    // ALC is in the menu but hidden until its marker file turns it on.
                    AlternativesCase{
                        "HiddenEntryLeftOut",
                        "weblio_eiwa",
                        u"word",
                        {"yahoo_eiwa", "goo_eiwa", "infoseek_eiwa", "Excite_eiwa", "weblio2_eiwa"}},
                    AlternativesCase{"RepeatedCategoryOffersItsOwnEntries",
                                     "goo_2_eiwa",
                                     u"word",
                                     {"yahoo_2_eiwa", "infoseek_2_eiwa", "Excite_2_eiwa",
                                      "weblio_2_eiwa", "weblio2_2_eiwa"}},
                    AlternativesCase{
                        "CategoryOfOneSiteOffersNothing", "NAVER_kankokugo", u"사전", {}},
                    AlternativesCase{"EntryWithoutMenuItemLeftOut",
                                     "Brandear_Auction",
                                     u"時計",
                                     {"Voreziv_Auction", "yahoo_Auction", "Aucfan_Auction",
                                      "Aucfan2_Auction", "mobaoku_Auction", "rakuten_Auction",
                                      "goo_Auction", "Excite_Auction", "girlsauction_Auction"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SiteAlternatives, HiddenEntryOfferedOnceTheMenuShowsIt) {
    const SiteEntry& alc = site("ALC_eiwa");
    const auto shown = [&](const SiteEntry& e) { return e.visible || &e == &alc; };
    const auto offered = siteAlternatives(site("goo_eiwa"), QStringLiteral("word"), shown);
    EXPECT_EQ(keys(offered), (Keys{"yahoo_eiwa", "infoseek_eiwa", "Excite_eiwa", "weblio_eiwa",
                                   "weblio2_eiwa", "ALC_eiwa"}));
    // And a shown entry the menu has since hidden is not offered.
    const auto withoutYahoo = [](const SiteEntry& e) {
        return e.visible && e.siteKey != QStringLiteral("yahoo_eiwa");
    };
    EXPECT_EQ(keys(siteAlternatives(site("goo_eiwa"), QStringLiteral("word"), withoutYahoo)),
              (Keys{"infoseek_eiwa", "Excite_eiwa", "weblio_eiwa", "weblio2_eiwa"}));
}

TEST(SiteAlternatives, QueriesCarryTheTextInEachSitesOwnEncoding) {
    // Excite takes Shift_JIS, Weblio UTF-8: the same text, the bytes each site expects.
    const auto offered = siteAlternatives(site("goo_kokugo"), QStringLiteral("辞書"));
    const auto url = [&](const char* key) {
        for (const auto& a : offered)
            if (a.site->siteKey == QString::fromUtf8(key))
                return a.url.toStdString();
        return std::string("<not offered>");
    };
    EXPECT_EQ(url("Excite_kokugo"), "http://www.excite.co.jp/dictionary/japanese/"
                                    "?match=beginswith&_ie=Shift_JIS&search=%8E%AB%8F%91&dic=ja");
    EXPECT_EQ(url("weblio_kokugo"), "http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8");
}

TEST(SiteAlternatives, NoneEntryHasNoAlternatives) {
    const LookupCategory* category =
        &Catalogue::instance().category(CategoryId::JapaneseDictionary);
    ASSERT_NE(category, nullptr);
    EXPECT_TRUE(siteAlternatives(*category->noneEntry, QStringLiteral("x")).empty());
}
