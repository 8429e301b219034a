#include "lookup/Catalogue.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace lookup;

namespace {

const Catalogue& cat() {
    return Catalogue::instance();
}

QString u(const char* s) {
    return QString::fromUtf8(s);
}

std::vector<std::string> keys(const std::vector<const SiteEntry*>& entries) {
    std::vector<std::string> out;
    for (const auto* e : entries)
        out.push_back((e->isNone() ? e->actionName : e->siteKey).toStdString());
    return out;
}

const SiteEntry& site(const char* key) {
    const SiteEntry* e = cat().siteByKey(u(key));
    if (!e)
        throw std::runtime_error(std::string("no site ") + key);
    return *e;
}

} // namespace

TEST(Catalogue, Counts) {
    int sites = 0, none = 0;
    QSet<QString> categoryOneKeys;
    for (const auto& e : cat().entries()) {
        if (e.isNone()) {
            ++none;
            continue;
        }
        ++sites;
        if (!e.category->copyOf)
            categoryOneKeys.insert(e.siteKey);
    }
    EXPECT_EQ(cat().categories().size(), 26u);
    EXPECT_EQ(sites, 163);
    EXPECT_EQ(none, 26);
    EXPECT_EQ(categoryOneKeys.size(), 119);
}

TEST(Catalogue, NamesAreUnique) {
    QSet<QString> siteKeys, actions;
    for (const auto& e : cat().entries()) {
        if (!e.isNone()) {
            EXPECT_FALSE(siteKeys.contains(e.siteKey)) << e.siteKey.toStdString();
        }
        EXPECT_FALSE(actions.contains(e.actionName)) << e.actionName.toStdString();
        siteKeys.insert(e.siteKey);
        actions.insert(e.actionName);
    }
    for (const auto& category : cat().categories()) {
        QSet<QString> stored;
        for (const auto* e : category.menuOrder) {
            EXPECT_FALSE(stored.contains(e->storedName)) << e->storedName.toStdString();
            stored.insert(e->storedName);
        }
        for (const auto& name : {category.buttonAction, category.categoryMenuAction})
            EXPECT_FALSE(actions.contains(name)) << name.toStdString();
        actions << category.buttonAction << category.categoryMenuAction;
    }
}

TEST(Catalogue, CategoriesInButtonOrder) {
    const std::vector<std::string> expected{
        "kokugo",     "eiwa",      "eiwa2",     "eiwa3",  "eiei",    "eiei2",   "eiei3",
        "tyuugokugo", "kankokugo", "Honyaku",   "hyakka", "ruigo",   "kensaku", "auction",
        "shopping",   "shopping2", "shopping3", "map",    "weather", "music",   "movie",
        "QA",         "news",      "PC",        "blog",   "BBS"};
    std::vector<std::string> actual;
    for (const auto& s : cat().categories())
        actual.push_back(s.categoryKey.toStdString());
    EXPECT_EQ(actual, expected);
}

struct CategoryRowCase {
    CategoryId id;
    const char* key;
    const char* buttonAction;
    const char* buttonLabel;
    const char* buttonCaption;
    const char* hint;
    const char* menuAction;
    const char* menuLabel;
    const char* noneAction;
    const char* defaultSite; // nullptr: the none entry
};

class CatalogueCategory : public testing::TestWithParam<CategoryRowCase> {};

TEST_P(CatalogueCategory, Attributes) {
    const auto& c = GetParam();
    const LookupCategory* category = &cat().category(c.id);
    EXPECT_EQ(category->id, c.id);
    EXPECT_EQ(category->categoryKey, u(c.key));
    EXPECT_EQ(category->buttonAction, u(c.buttonAction));
    EXPECT_EQ(category->buttonLabel, u(c.buttonLabel));
    EXPECT_EQ(category->buttonCaption, u(c.buttonCaption));
    EXPECT_EQ(category->initialHint, u(c.hint));
    EXPECT_EQ(category->categoryMenuAction, u(c.menuAction));
    EXPECT_EQ(category->menuLabel, u(c.menuLabel));
    EXPECT_EQ(category->noneEntry->actionName, u(c.noneAction));
    EXPECT_EQ(category->menuOrder.front(), category->noneEntry);
    if (c.defaultSite)
        EXPECT_EQ(category->defaultEntry->siteKey, u(c.defaultSite));
    else
        EXPECT_TRUE(category->defaultEntry->isNone());
}

// The categories whose names do not follow one pattern, and one of each kind.
INSTANTIATE_TEST_SUITE_P(
    Irregular, CatalogueCategory,
    testing::Values(
        CategoryRowCase{CategoryId::JapaneseDictionary, "kokugo", "A_Settei_kokugo_Button", "国語",
                        "国語", "yahoo!国語辞書", "Action2", "国語辞書(&Z)",
                        "A_no_uses_kokugo_check", "yahoo2_kokugo"},
        CategoryRowCase{CategoryId::EnglishJapanese2, "eiwa2", "A_Settei_eiwa_Button2",
                        "英和・和英2", "英和・和英2", "", "Action9", "英和、和英辞典2(&2)",
                        "A_no_uses_2_eiwa_check", nullptr},
        CategoryRowCase{CategoryId::EnglishEnglish, "eiei", "A_Settei_eiei_Button", "英英", "英英",
                        "LongmanWebDictionary_eiei_check", "Action12", "英英辞典(&X)",
                        "A_no_uses_eiei_check", "LongmanWebDictionary_eiei"},
        CategoryRowCase{CategoryId::Chinese, "tyuugokugo", "A_Settei_tyuugokugo_button", "中国語",
                        "中国語", "NAVER中国語", "Action11", "中国語辞典(&W)",
                        "A_no_uses_tyuugokugo_check", "NAVER_tyuugokugo"},
        CategoryRowCase{CategoryId::Korean, "kankokugo", "A_Settei_Kankokugo_Button", "韓国語",
                        "韓国語", "NAVER韓国語辞典", "Action13", "韓国語辞書(&V)",
                        "A_no_uses_kankokugo_check", "NAVER_kankokugo"},
        CategoryRowCase{CategoryId::Translation, "Honyaku", "A_Settei_Honyaku_Button", "翻訳",
                        "翻訳", "google翻訳　自動検出→日本語", "Action14", "翻訳(&U)",
                        "A_no_uses_Honyaku_check", "google_Honyaku"},
        CategoryRowCase{CategoryId::Auction, "auction", "A_Settei_auction_Button", "競売",
                        "オークション", "Voreziv オークション検索", "Action21", "オークション(&O)",
                        "A_no_uses_Auction_check", "Voreziv_Auction"},
        CategoryRowCase{CategoryId::Shopping3, "shopping3", "A_Settei_shopping_Button3", "買物3",
                        "買物3", "", "Action41", "ショッピング3", "A_no_uses_3_shopping_check",
                        nullptr},
        CategoryRowCase{CategoryId::News, "news", "A_Settei_news_Button", "News", "News",
                        "Vuravuv ニュース検索", "Action32", "ニュース検索(&J)",
                        "A_no_uses_news_check", "Voreziv_news"},
        CategoryRowCase{CategoryId::ComputerTerms, "PC", "A_Settei_pc_Button", "IT", "IT",
                        "IT用語辞典 E-words", "Action33", "パソコン用語(&I)", "A_no_uses_PC_check",
                        "ITEwords_PC"},
        CategoryRowCase{CategoryId::Blog, "blog", "A_settei_blog_button", "blog", "blog",
                        "Seesaaブログ", "Action34", "ブログ(&H)", "A_no_uses_blog_check",
                        "Seesaa_blog"},
        CategoryRowCase{CategoryId::MessageBoard, "BBS", "A_Settei_BBS_Button", "BBS", "BBS",
                        "2ちゃんねる", "Action35", "掲示板(&G)", "A_no_uses_BBS_check",
                        "N2ch_BBS"}),
    [](const auto& info) { return std::string(info.param.key); });

TEST(Catalogue, OnlyTheSixExtraCategoriesStartUnused) {
    QStringList unused;
    for (const auto& s : cat().categories())
        if (!s.defaultIsSite())
            unused << s.categoryKey;
    EXPECT_EQ(unused.join(u' ').toStdString(), "eiwa2 eiwa3 eiei2 eiei3 shopping2 shopping3");
}

struct EntryCase {
    const char* siteKey;
    const char* caption;
    const char* menuLabel;
    const char* storedName;
};

class CatalogueEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(CatalogueEntry, StringsAndStoredNameLookup) {
    const auto& c = GetParam();
    const SiteEntry& e = site(c.siteKey);
    EXPECT_EQ(e.caption, u(c.caption));
    EXPECT_EQ(e.menuLabel, u(c.menuLabel));
    EXPECT_EQ(e.storedName, u(c.storedName));
    EXPECT_EQ(e.actionName, QStringLiteral("A_%1_check").arg(u(c.siteKey)));
    EXPECT_EQ(cat().entryByStoredName(*e.category, u(c.storedName)), &e);
}

INSTANTIATE_TEST_SUITE_P(
    StoredNameDiffersFromCaption, CatalogueEntry,
    testing::Values(
        EntryCase{"ALC_eiwa", "英辞郎 on the WEB", "英辞郎 on the WEB", "アルク"},
        EntryCase{"ALC_3_eiwa", "英辞郎 on the WEB", "英辞郎 on the WEB", "アルク"},
        EntryCase{"LongmanWebDictionary_eiei", "LongmanWebDictionary", "&LongmanWebDictionary",
                  "Longman Web Dictionary"},
        EntryCase{"MerriamWebsterOnline_2_eiei", "Merriam Webster Online",
                  "&Merriam Webster Online", "MerriamWebsterOnline"},
        EntryCase{"Dictionary_eiei", "Dictionary.com", "&Dictionary.com", "Dictionary"},
        EntryCase{"NAVER_tyuugokugo", "NAVER中国語", "NAVER中国語(&N)", "NAVER中国語辞書"},
        EntryCase{"youku_movie", "youku优酷", "youku优酷(&O)", "youku"},
        EntryCase{"Letv_movie", "Letv乐视网", "Letv乐视网(&L)", "Letv"},
        EntryCase{"goo_QA", "教えて!goo", "教えて!goo(&G)", "教えて！goo"},
        EntryCase{"N2ch_BBS", "2チャンネル", "2チャンネル(&2)", "2ちゃんねる"},
        EntryCase{"DelphiML_BBS", "Delphi_ML", "D&elphi_ML", "Delphi ML"},
        EntryCase{"Delphi_BBS", "Delphi Q&&A BBS", "&Delphi Q&&A BBS", "Delphi Q&&A BBS"},
        EntryCase{"VCBBS_BBS", "Visual C++ Q&&A BBS", "&Visual C++ Q&&A BBS",
                  "Visual C++ Q&&A BBS"},
        EntryCase{"google3_Honyaku", "google翻訳　自動検出→中国語(簡体字)",
                  "google翻訳　自動検出→中国語(簡体字)(&L)", "google翻訳　自動検出→中国語(簡体字)"},
        EntryCase{"yahoo_2_eiwa", "yahoo!英和、和英", "yahoo!英和、和英(&Y)", "yahoo!英和、和英"},
        EntryCase{"yodobashi_2_shopping", "ヨドバシ.com", "ヨドバシ.com(&O)", "ヨドバシ.com"},
        EntryCase{"coneco_shopping", "coneco.net", "c&oneco.net", "coneco.net"},
        EntryCase{"coneco_2_shopping", "coneco.net", "con&eco.net", "coneco.net"},
        EntryCase{"coneco_3_shopping", "coneco.net", "coneco.net", "coneco.net"}),
    [](const auto& info) { return std::string(info.param.siteKey); });

TEST(Catalogue, StoredNameLookupStaysInItsCategory) {
    const auto* shopping2 = &cat().category(CategoryId::Shopping2);
    EXPECT_EQ(cat().entryByStoredName(*shopping2, u"amazon")->siteKey, u"amazon_2_shopping");
    EXPECT_EQ(cat().entryByStoredName(*shopping2, u"使わない"), shopping2->noneEntry);
    // A plain space instead of the ideographic one names nothing.
    EXPECT_FALSE(cat().entryByStoredName(cat().category(CategoryId::Translation),
                                         u"google翻訳 自動検出→日本語"));
    // The caption is not the stored name.
    EXPECT_FALSE(
        cat().entryByStoredName(cat().category(CategoryId::QuestionAndAnswer), u"教えて!goo"));
}

TEST(Catalogue, NoneEntries) {
    for (const auto& category : cat().categories()) {
        const SiteEntry* none = category.noneEntry;
        EXPECT_EQ(none->caption, u"使わない");
        EXPECT_EQ(none->menuLabel, u"使わない(&Z)");
        EXPECT_EQ(none->storedName, u"使わない");
        EXPECT_EQ(cat().entryByActionName(none->actionName), none);
        EXPECT_FALSE(cat().siteByKey(none->siteKey));
    }
}

struct OrderCase {
    CategoryId category;
    const char* name;
    std::vector<std::string> menu;     // after the none entry
    std::vector<std::string> dispatch; // empty: the same as the menu
};

class CatalogueOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(CatalogueOrder, MenuAndDispatch) {
    const auto& c = GetParam();
    const LookupCategory* category = &cat().category(c.category);
    auto menu = keys(category->menuOrder);
    menu.erase(menu.begin());
    EXPECT_EQ(menu, c.menu);
    EXPECT_EQ(keys(category->dispatchOrder), c.dispatch.empty() ? c.menu : c.dispatch);
}

INSTANTIATE_TEST_SUITE_P(
    Categories, CatalogueOrder,
    testing::Values(
        OrderCase{CategoryId::JapaneseDictionary,
                  "kokugo",
                  {"yahoo2_kokugo", "goo2_kokugo", "goo_kokugo", "infoseek_kokugo",
                   "infoseek2_kokugo", "Excite_kokugo", "weblio_kokugo"},
                  {"yahoo2_kokugo", "goo_kokugo", "goo2_kokugo", "infoseek2_kokugo",
                   "infoseek_kokugo", "Excite_kokugo", "weblio_kokugo"}},
        OrderCase{CategoryId::EnglishJapanese,
                  "eiwa",
                  {"yahoo_eiwa", "goo_eiwa", "infoseek_eiwa", "Excite_eiwa", "weblio_eiwa",
                   "weblio2_eiwa", "ALC_eiwa"},
                  {"ALC_eiwa", "yahoo_eiwa", "goo_eiwa", "infoseek_eiwa", "Excite_eiwa",
                   "weblio_eiwa", "weblio2_eiwa"}},
        OrderCase{CategoryId::EnglishJapanese2,
                  "eiwa2",
                  {"ALC_2_eiwa", "yahoo_2_eiwa", "goo_2_eiwa", "infoseek_2_eiwa", "Excite_2_eiwa",
                   "weblio_2_eiwa", "weblio2_2_eiwa"},
                  {}},
        OrderCase{CategoryId::EnglishEnglish3,
                  "eiei3",
                  {"LongmanWebDictionary_3_eiei", "OxfordAdvancedLearnersDictionary_3_eiei",
                   "cobuild_3_eiei", "Onelook_3_eiei", "MerriamWebsterOnline_3_eiei",
                   "Dictionary_3_eiei"},
                  {}},
        OrderCase{CategoryId::Translation,
                  "Honyaku",
                  {"google_Honyaku", "google2_Honyaku", "google3_Honyaku", "google4_Honyaku",
                   "google5_Honyaku", "Excite_Honyaku"},
                  {"Excite_Honyaku", "google_Honyaku", "google2_Honyaku", "google3_Honyaku",
                   "google4_Honyaku", "google5_Honyaku"}},
        // WANTED AUCTION has no menu entry but is served when chosen.
        OrderCase{CategoryId::Auction,
                  "auction",
                  {"Voreziv_Auction", "yahoo_Auction", "Aucfan_Auction", "Aucfan2_Auction",
                   "mobaoku_Auction", "rakuten_Auction", "goo_Auction", "Excite_Auction",
                   "girlsauction_Auction", "Brandear_Auction"},
                  {"Voreziv_Auction", "yahoo_Auction", "Aucfan_Auction", "Aucfan2_Auction",
                   "mobaoku_Auction", "rakuten_Auction", "goo_Auction", "Excite_Auction",
                   "WANTEDAUCTION_Auction", "girlsauction_Auction", "Brandear_Auction"}},
        OrderCase{CategoryId::Shopping2,
                  "shopping2",
                  {"amazon_2_shopping", "rakuten_2_shopping", "kakaku_2_shopping",
                   "yodobashi_2_shopping", "yahoo_2_shopping", "honto_2_shopping",
                   "BOOKOFF_2_shopping", "surugaya_2_shopping", "coneco_2_shopping"},
                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Catalogue, HiddenAndUnlistedSites) {
    for (const char* key : {"ALC_eiwa", "ALC_2_eiwa", "ALC_3_eiwa"}) {
        EXPECT_FALSE(site(key).visible) << key;
        EXPECT_TRUE(site(key).inMenu) << key;
    }
    const SiteEntry& wanted = site("WANTEDAUCTION_Auction");
    EXPECT_FALSE(wanted.inMenu);
    EXPECT_FALSE(wanted.visible);
    EXPECT_EQ(cat().entryByStoredName(*wanted.category, u"WANTED AUCTION !"), &wanted);
    int hidden = 0;
    for (const auto& e : cat().entries())
        hidden += e.visible ? 0 : 1;
    EXPECT_EQ(hidden, 4);
}

TEST(Catalogue, RepeatedCategoriesCopyTheirFirstCategory) {
    using enum CategoryId;
    for (CategoryId id : {EnglishJapanese2, EnglishJapanese3, EnglishEnglish2, EnglishEnglish3,
                          Shopping2, Shopping3}) {
        const LookupCategory* category = &cat().category(id);
        ASSERT_TRUE(category->copyOf) << category->categoryKey.toStdString();
        ASSERT_EQ(category->dispatchOrder.size(), category->copyOf->dispatchOrder.size());
        for (std::size_t i = 0; i < category->dispatchOrder.size(); ++i) {
            const SiteEntry* copy = category->dispatchOrder[i];
            const SiteEntry* first = category->copyOf->dispatchOrder[i];
            EXPECT_EQ(copy->category, category);
            EXPECT_EQ(copy->caption, first->caption);
            EXPECT_EQ(copy->storedName, first->storedName);
            EXPECT_EQ(copy->visible, first->visible);
            EXPECT_EQ(copy->english.pieces, first->english.pieces);
            EXPECT_EQ(copy->other.pieces, first->other.pieces);
        }
    }
}
