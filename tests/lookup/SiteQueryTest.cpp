#include "lookup/SiteQuery.h"

#include "lookup/Catalogue.h"
#include "lookup/EncodeQueryText.h"

#include <gtest/gtest.h>

using namespace lookup;

namespace {

QString url(const char* siteKey, const char16_t* text) {
    const SiteEntry* site = Catalogue::instance().siteByKey(QString::fromUtf8(siteKey));
    if (!site)
        throw std::runtime_error(std::string("no site ") + siteKey);
    return siteQueryUrl(*site, QString::fromUtf16(text));
}

} // namespace

struct UrlCase {
    const char* name;
    const char* siteKey;
    const char16_t* text;
    const char* url;
};

class SiteQueryUrlTest : public testing::TestWithParam<UrlCase> {};

TEST_P(SiteQueryUrlTest, BuildsTheSitesUrl) {
    const auto& c = GetParam();
    EXPECT_EQ(url(c.siteKey, c.text).toStdString(), c.url);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, SiteQueryUrlTest,
    testing::Values(
        UrlCase{"Utf8", "yahoo2_kokugo", u"辞書",
                "http://dic.yahoo.co.jp/detail?p=%E8%BE%9E%E6%9B%B8&stype=0&dtype=0"},
        UrlCase{"ShiftJis", "Excite_kokugo", u"東京 駅",
                "http://www.excite.co.jp/dictionary/japanese/"
                "?match=beginswith&_ie=Shift_JIS&search=%93%8C%8B%9E+%89w&dic=ja"},
        UrlCase{"EucJp", "hatena_hyakka", u"日本",
                "http://search.hatena.ne.jp/search?word=%C6%FC%CB%DC&from="},
        UrlCase{"EucJpHalfWidthKatakana", "goo_QA", u"ｱ",
                "http://oshiete.goo.ne.jp/search_goo/result/?MT=%8E%B1"},
        // A raw template puts the text in unescaped: it becomes part of the URL's structure.
        UrlCase{"RawKeepsStructureCharacters", "goo_kokugo", u"a b&c#d?e/f",
                "http://dictionary.goo.ne.jp/srch/all/a b&c#d?e/f/m0u/"},
        UrlCase{"RawJapanese", "goo2_tyuugokugo", u"中文",
                "http://dictionary.goo.ne.jp/srch/jc/中文/m0u/"},
        UrlCase{"RawAfterFragment", "google_Honyaku", u"hello world",
                "http://translate.google.co.jp/#auto/ja/hello world"},
        UrlCase{"EmptyText", "Wikipedia_hyakka", u"", "http://ja.wikipedia.org/wiki/"},
        UrlCase{"TwiceEncoded", "BOOKOFF_shopping", u"あ b",
                "http://shopping.bookoff.co.jp/display/L001,q=%2582%25A0%2Bb"},
        UrlCase{"TwiceEncodedCopy", "BOOKOFF_3_shopping", u"あ",
                "http://shopping.bookoff.co.jp/display/L001,q=%2582%25A0"},
        UrlCase{"NoSchemeYouku", "youku_movie", u"猫", "so.youku.com/search_video/q_%E7%8C%AB"},
        UrlCase{"PandoraWithSuffix", "Pandora_movie", u"cat",
                "http://search.pandora.tv/?&query=cat&sq=JP"},
        UrlCase{"N56comWithoutSuffix", "N56com_movie", u"cat",
                "http://search.pandora.tv/?&query=cat"},
        UrlCase{"YahooBoardsUseBlogSearch", "yahoo_BBS", u"猫",
                "http://search.livedoor.com/blog?c=ld_blog_sb&o_st=livedoor&sm=ldb_top&q="
                "%E7%8C%AB&search_btn=%E6%A4%9C%E7%B4%A2"},
        UrlCase{"AmazonKeepsKatakanaAndNoTag", "amazon_2_shopping", u"本",
                "http://www.amazon.co.jp/gp/search?index=blended&tag=&field-keywords=%96%7B"
                "&__mk_ja_JP=カタカナ&linkCode=qs"},
        UrlCase{"WordTwice", "N2chMONAMI_BBS", u"a b",
                "http://www.google.co.jp/cse?cx=&ie=UTF-8&q=a+b&ref="
                "http%3A%2F%2Fwww.google.co.jp%2Furl%3Fq%3Dhttp%3A%2F%2Ffind.5ch.net%2F"
                "#gsc.tab=0&gsc.q=a+b&gsc.page=1+"},
        UrlCase{"WordThreeTimes", "sitaraba_BBS", u"板",
                "https://www.google.co.jp/search?q=%94%C2&ie=Shift_JIS&oe=Shift_JIS&hl=ja"
                "&btnG=%83T%83C%83g%93%E0+%8C%9F%8D%F5"
                "&sitesearch=ja.stackoverflow.com%2Fquestions%2Ftagged%2Fdelphi"
                "#hl=ja&inlang=ja&safe=off&tbo=d&oe=Shift_JIS&sclient=psy-ab&q=%94%C2+site:"
                "http%3A%2F%2Fjbbs.shitaraba.net%2F&oq=%94%C2+site:"
                "http%3A%2F%2Fjbbs.shitaraba.net%2F&gs_l=&pbx=1&fp=1&bpcl=39650382&biw=1787"
                "&bih=1159&cad=b&sei=undefined&bav=on.2,or.r_gc.r_pw.r_qf.&sei=undefined"},
        UrlCase{"FixedPathBeforeQuery", "DelphiML_BBS", u"型",
                "http://www.mail-archive.com/search?screen=0&select=0&key=%B7%BF"},
        UrlCase{"HttpsTemplate", "google_news", u"x",
                "https://www.google.co.jp/search?hl=ja&gl=jp&tbm=nws&q=x"},
        // English-Japanese sites and Excite translation choose by the text's language.
        UrlCase{"EnglishTextRaw", "yahoo_eiwa", u"take off",
                "http://dic.yahoo.co.jp/dsearch?p=take off&stype=0&dtype=1"},
        UrlCase{"JapaneseTextUtf8", "yahoo_eiwa", u"離陸",
                "http://dic.yahoo.co.jp/dsearch?p=%E9%9B%A2%E9%99%B8&stype=0&dtype=3"},
        UrlCase{"HalfWidthKatakanaCountsAsEnglish", "yahoo_3_eiwa", u"ｱｲ",
                "http://dic.yahoo.co.jp/dsearch?p=ｱｲ&stype=0&dtype=1"},
        UrlCase{"FullWidthLettersAreNotEnglish", "goo_eiwa", u"ＡＢ",
                "http://dictionary.goo.ne.jp/srch/je/ＡＢ/m0u/"},
        UrlCase{"HiddenAlcEnglish", "ALC_2_eiwa", u"run", "http://eow.alc.co.jp/run/UTF-8/?ref=sa"},
        UrlCase{"HiddenAlcJapanese", "ALC_eiwa", u"走る",
                "http://eow.alc.co.jp/%E8%B5%B0%E3%82%8B/UTF-8/?ref=sae"},
        UrlCase{"EmptyTextIsEnglish", "infoseek_eiwa", u"",
                "http://dictionary.infoseek.ne.jp/search/result?q=&t=0&r=ejje"},
        UrlCase{"ExciteTranslateEnglish", "Excite_Honyaku", u"a+b",
                "http://www.excite.co.jp/world/english/?wb_lp=ENJA&before=a%2Bb"},
        UrlCase{"ExciteTranslateJapanese", "Excite_Honyaku", u"猫",
                "http://www.excite.co.jp/world/english/?wb_lp=JAEN&before=%E7%8C%AB"},
        UrlCase{"UnmappableCharacterIsQuestionMark", "kakaku_shopping", u"€1",
                "http://kakaku.com/search_results/%3F1/?search.x=0&search.y=0"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every site, every kind of text: the URL is the template with the site's encoding of the
// text in each word category. The expected words are written out per encoding, not computed.
struct SampleText {
    const char* name;
    const char16_t* text;
    bool english;
    const char* utf8;
    const char* shiftJis;
    const char* eucJp;
    const char* shiftJisTwice;
};

const SampleText kSamples[] = {
    {"AsciiWord", u"apple", true, "apple", "apple", "apple", "apple"},
    {"Japanese", u"日本", false, "%E6%97%A5%E6%9C%AC", "%93%FA%96%7B", "%C6%FC%CB%DC",
     "%2593%25FA%2596%257B"},
    {"HalfWidthKatakana", u"ｱ", true, "%EF%BD%B1", "%B1", "%8E%B1", "%25B1"},
    {"Blanks", u"a b", true, "a+b", "a+b", "a+b", "a%2Bb"},
    {"UrlStructure", u"&#?/=%", true, "%26%23%3F%2F%3D%25", "%26%23%3F%2F%3D%25",
     "%26%23%3F%2F%3D%25", "%2526%2523%253F%252F%253D%2525"},
    {"Empty", u"", true, "", "", "", ""},
};

const char* expectedWord(const SampleText& s, QueryEncoding e) {
    switch (e) {
    case QueryEncoding::Utf8:
        return s.utf8;
    case QueryEncoding::ShiftJis:
        return s.shiftJis;
    case QueryEncoding::EucJp:
        return s.eucJp;
    case QueryEncoding::ShiftJisTwice:
        return s.shiftJisTwice;
    case QueryEncoding::Raw:
        break;
    }
    return nullptr;
}

class EverySiteTest : public testing::TestWithParam<SampleText> {};

TEST_P(EverySiteTest, FollowsItsTemplate) {
    const SampleText& s = GetParam();
    const QString text = QString::fromUtf16(s.text);
    for (const SiteEntry& site : Catalogue::instance().entries()) {
        if (site.isNone())
            continue;
        const UrlTemplate& t = site.choosesByLanguage && !s.english ? site.other : site.english;
        const char* word = expectedWord(s, t.encoding);
        const QString w = word ? QString::fromLatin1(word) : text;
        const QString expected = t.pieces.join(w);
        EXPECT_EQ(siteQueryUrl(site, text), expected) << site.siteKey.toStdString();
        const QString start = site.siteKey == u"youku_movie" ? QStringLiteral("so.youku.com/")
                                                             : QStringLiteral("http");
        EXPECT_TRUE(expected.startsWith(start)) << site.siteKey.toStdString();
        EXPECT_GE(t.pieces.size(), 2) << site.siteKey.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, EverySiteTest, testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });
