#include "settings/SettingsLines.h"

#include "DefaultSettingsFile.h"
#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace settings;
using namespace testfiles;
using lookup::Catalogue;
using lookup::LookupCategory;
using lookup::SiteEntry;
using lookup::SiteSelection;

namespace {

using enum lookup::CategoryId;

const LookupCategory& category(lookup::CategoryId id) {
    return Catalogue::instance().category(id);
}

const SiteEntry& site(const char* key) {
    return *Catalogue::instance().siteByKey(QString::fromLatin1(key));
}

// The state the files keep: the options and the site selection.
struct State {
    Options options;
    SiteSelection selection;

    QStringList write() const { return SettingsLines::write(options, selection); }
    void read(const QStringList& lines) { SettingsLines::read(lines, options, selection); }
};

// Everything the selection says about every category, to compare two states.
std::vector<std::tuple<QString, bool, QString, bool>> selectionView(const SiteSelection& s) {
    std::vector<std::tuple<QString, bool, QString, bool>> view;
    for (const LookupCategory& c : Catalogue::instance().categories())
        view.emplace_back(s.checkedEntry(c).actionName, s.buttonVisible(c),
                          s.buttonVisible(c) ? s.buttonHint(c) : QString(), s.menuActionChecked(c));
    return view;
}

std::string at(int line) {
    return "line " + std::to_string(line);
}

} // namespace

TEST(SettingsLines, DefaultStateWritesTheDefaultFile) {
    State state;
    EXPECT_EQ(state.write(), defaultLines());
}

// Written, read into a fresh program and written again: the same lines and the same state.
struct RoundTrip {
    const char* name;
    std::function<void(State&)> change;
};

class SettingsRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(SettingsRoundTrip, SameLinesSameState) {
    State before;
    GetParam().change(before);
    const QStringList lines = before.write();
    ASSERT_EQ(lines.size(), SettingsLines::kLineCount);

    State after;
    after.read(lines);
    EXPECT_EQ(after.write(), lines);
    EXPECT_EQ(after.options, before.options);
    // Hints become the stored names, which the captions need not be; compare the rest.
    auto withoutHints = [](std::vector<std::tuple<QString, bool, QString, bool>> v) {
        for (auto& t : v)
            std::get<2>(t).clear();
        return v;
    };
    EXPECT_EQ(withoutHints(selectionView(after.selection)),
              withoutHints(selectionView(before.selection)));
}

INSTANTIATE_TEST_SUITE_P(
    States, SettingsRoundTrip,
    ::testing::Values(
        RoundTrip{"defaults", [](State&) {}},
        // The last Site each category would visit, never the default one.
        RoundTrip{"every_category_another_site",
                  [](State& s) {
                      for (const LookupCategory& c : Catalogue::instance().categories()) {
                          const SiteEntry* e = c.dispatchOrder.back();
                          if (e == c.defaultEntry)
                              e = c.dispatchOrder.front();
                          s.selection.choose(*e);
                      }
                  }},
        RoundTrip{"nothing_anywhere",
                  [](State& s) {
                      for (const LookupCategory& c : Catalogue::instance().categories())
                          s.selection.choose(*c.noneEntry);
                  }},
        RoundTrip{"hidden_alc", [](State& s) { s.selection.choose(site("ALC_eiwa")); }},
        RoundTrip{"site_without_menu_entry",
                  [](State& s) { s.selection.choose(site("WANTEDAUCTION_Auction")); }},
        RoundTrip{"double_ampersand_delphi",
                  [](State& s) { s.selection.choose(site("Delphi_BBS")); }},
        RoundTrip{"double_ampersand_vc", [](State& s) { s.selection.choose(site("VCBBS_BBS")); }},
        RoundTrip{"every_option_flipped",
                  [](State& s) {
                      for (const Switch& sw : kSwitches)
                          s.options.*sw.member = !(s.options.*sw.member);
                      s.options.priority = ProcessPriority::RealTime;
                      s.options.textSize = TextSize::Max;
                      s.options.proxyChoice = 0;
                      s.options.proxyAddress = QStringLiteral("127.0.0.1:8080");
                  }},
        RoundTrip{"proxy_off_keeps_address",
                  [](State& s) { s.options.proxyAddress = QStringLiteral("proxy.example:3128"); }},
        RoundTrip{"priority_high_small",
                  [](State& s) {
                      s.options.priority = ProcessPriority::High;
                      s.options.textSize = TextSize::Small;
                  }},
        RoundTrip{"priority_idle_medium",
                  [](State& s) {
                      s.options.priority = ProcessPriority::Idle;
                      s.options.textSize = TextSize::Medium;
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// A category line that names no entry of its category checks the category's fallback Site, shows
// its button with the line as its hint and marks its submenu, the six repeated categories included.
TEST(SettingsLines, FallbackSitePerLine) {
    const std::pair<int, const char*> fallbacks[] = {
        {0, "yahoo2_kokugo"},
        {1, "yahoo_eiwa"},
        {2, "LongmanWebDictionary_eiei"},
        {3, "NAVER_tyuugokugo"},
        {4, "NAVER_kankokugo"},
        {5, "google_Honyaku"},
        {6, "Wikipedia_hyakka"},
        {7, "weblio_ruigo"},
        {8, "google_kensaku"},
        {9, "Voreziv_Auction"},
        {10, "amazon_shopping"},
        {11, "google_map"},
        {12, "yahoo_weather"},
        {13, "Voreziv_music"},
        {14, "youtube_movie"},
        {15, "yahoo_QA"},
        {16, "Voreziv_news"},
        {17, "ITEwords_PC"},
        {18, "Seesaa_blog"},
        {19, "N2ch_BBS"},
        {36, "yahoo_2_eiwa"},
        {37, "yahoo_3_eiwa"},
        {38, "LongmanWebDictionary_2_eiei"},
        {39, "LongmanWebDictionary_3_eiei"},
        {40, "amazon_2_shopping"},
        {41, "amazon_3_shopping"},
    };
    for (const auto& [line, key] : fallbacks) {
        for (const QString& value :
             {QStringLiteral("no such site"), QString(), u("使わない "), u("Yahoo!英和、和英")}) {
            State state;
            for (const LookupCategory& c : Catalogue::instance().categories())
                state.selection.choose(*c.noneEntry);
            QStringList lines = defaultLines();
            lines[line] = value;
            state.read(lines);
            const LookupCategory& c = *SettingsLines::categoryOfLine(line);
            EXPECT_EQ(&state.selection.checkedEntry(c), &site(key)) << at(line);
            EXPECT_EQ(&SettingsLines::fallbackSite(c), &site(key)) << at(line);
            EXPECT_TRUE(state.selection.buttonVisible(c)) << at(line);
            EXPECT_TRUE(state.selection.menuActionChecked(c)) << at(line);
            EXPECT_EQ(state.selection.buttonHint(c), value) << at(line);
        }
    }
}

TEST(SettingsLines, CategoryLinesCoverEveryCategoryOnce) {
    std::set<const LookupCategory*> seen;
    for (int line = 0; line < SettingsLines::kLineCount; ++line) {
        if (const LookupCategory* c = SettingsLines::categoryOfLine(line)) {
            EXPECT_TRUE(seen.insert(c).second) << at(line);
        }
    }
    EXPECT_EQ(seen.size(), Catalogue::instance().categories().size());
    EXPECT_EQ(SettingsLines::categoryOfLine(20), nullptr);
    EXPECT_EQ(SettingsLines::categoryOfLine(35), nullptr);
    EXPECT_EQ(SettingsLines::categoryOfLine(42), nullptr);
    EXPECT_EQ(SettingsLines::categoryOfLine(-1), nullptr);
}

// What reading a category line does to the category's button, hint and submenu mark.
TEST(SettingsLines, CategoryLineEffects) {
    State state;
    QStringList lines = defaultLines();
    lines[1] = u("アルク");   // the hidden Site, named by its stored name
    lines[2] = u("使わない"); // the English-English category not used
    lines[36] = u("goo英和、和英");
    state.read(lines);

    EXPECT_EQ(&state.selection.checkedEntry(category(EnglishJapanese)), &site("ALC_eiwa"));
    EXPECT_EQ(state.selection.buttonHint(category(EnglishJapanese)), u("アルク"));
    EXPECT_TRUE(state.selection.buttonVisible(category(EnglishJapanese)));

    EXPECT_EQ(&state.selection.checkedEntry(category(EnglishEnglish)),
              category(EnglishEnglish).noneEntry);
    EXPECT_FALSE(state.selection.buttonVisible(category(EnglishEnglish)));
    EXPECT_FALSE(state.selection.menuActionChecked(category(EnglishEnglish)));

    EXPECT_EQ(&state.selection.checkedEntry(category(EnglishJapanese2)), &site("goo_2_eiwa"));
    EXPECT_TRUE(state.selection.buttonVisible(category(EnglishJapanese2)));
    EXPECT_TRUE(state.selection.menuActionChecked(category(EnglishJapanese2)));
    EXPECT_EQ(state.selection.buttonHint(category(EnglishJapanese2)), u("goo英和、和英"));

    // Reading the hidden Site's name does not show it in the menu: only the marker file does.
    EXPECT_FALSE(state.selection.entryVisible(site("ALC_eiwa")));
}

struct ValueCase {
    const char* name;
    int line;
    const char* value;
    std::function<bool(const Options&)> expect;
};

class SettingsValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SettingsValue, ReadsAs) {
    State state;
    QStringList lines = defaultLines();
    lines[GetParam().line] = QString::fromUtf8(GetParam().value);
    state.read(lines);
    EXPECT_TRUE(GetParam().expect(state.options));
}

INSTANTIATE_TEST_SUITE_P(
    Options, SettingsValue,
    ::testing::Values(
        ValueCase{"toolbar_True", 20, "True", [](const Options& o) { return o.showToolbar; }},
        ValueCase{"toolbar_False", 20, "False", [](const Options& o) { return !o.showToolbar; }},
        ValueCase{"toolbar_lower_true_is_off", 20, "true",
                  [](const Options& o) { return !o.showToolbar; }},
        ValueCase{"toolbar_upper_is_off", 20, "TRUE",
                  [](const Options& o) { return !o.showToolbar; }},
        ValueCase{"toolbar_blank_is_off", 20, " True",
                  [](const Options& o) { return !o.showToolbar; }},
        ValueCase{"minimise_True", 22, "True", [](const Options& o) { return o.minimiseAtStart; }},
        ValueCase{"last_option_True", 31, "True", [](const Options& o) { return o.ignoreSymbols; }},
        ValueCase{"full_width_empty_is_off", 28, "",
                  [](const Options& o) { return !o.fullWidthToAscii; }},
        ValueCase{"priority_high", 32, "高い",
                  [](const Options& o) { return o.priority == ProcessPriority::High; }},
        ValueCase{"priority_idle", 32, "低い",
                  [](const Options& o) { return o.priority == ProcessPriority::Idle; }},
        ValueCase{"priority_realtime", 32, "リアルタイム",
                  [](const Options& o) { return o.priority == ProcessPriority::RealTime; }},
        ValueCase{"priority_unknown_is_normal", 32, "最高",
                  [](const Options& o) { return o.priority == ProcessPriority::Normal; }},
        ValueCase{"size_small", 33, "小",
                  [](const Options& o) { return o.textSize == TextSize::Small; }},
        ValueCase{"size_medium", 33, "中",
                  [](const Options& o) { return o.textSize == TextSize::Medium; }},
        ValueCase{"size_max", 33, "Max",
                  [](const Options& o) { return o.textSize == TextSize::Max; }},
        ValueCase{"size_caption_is_standard", 33, "最大",
                  [](const Options& o) { return o.textSize == TextSize::Large; }},
        ValueCase{"size_lower_max_is_standard", 33, "max",
                  [](const Options& o) { return o.textSize == TextSize::Large; }},
        ValueCase{"proxy_on", 34, "0", [](const Options& o) { return o.proxyChoice == 0; }},
        ValueCase{"proxy_off", 34, "1", [](const Options& o) { return o.proxyChoice == 1; }},
        // A byte-sized wrap of 256 would be 0: proxy on from a stray number.
        ValueCase{"proxy_256_is_off", 34, "256",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_minus_256_is_off", 34, "-256",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_2_is_off", 34, "2", [](const Options& o) { return o.proxyChoice == 1; }},
        // A decimal number: zero however it is written.
        ValueCase{"proxy_00_is_on", 34, "00", [](const Options& o) { return o.proxyChoice == 0; }},
        ValueCase{"proxy_long_zero_is_on", 34, "0000000000000000000000",
                  [](const Options& o) { return o.proxyChoice == 0; }},
        ValueCase{"proxy_signed_zero_is_on", 34, "-0",
                  [](const Options& o) { return o.proxyChoice == 0; }},
        ValueCase{"proxy_01_is_off", 34, "01", [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_hex_zero_is_off", 34, "0x0",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_sign_alone_is_off", 34, "-",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_word_is_off", 34, "on",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_blank_zero_is_off", 34, " 0",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_empty_is_off", 34, "",
                  [](const Options& o) { return o.proxyChoice == 1; }},
        ValueCase{"proxy_address_as_is", 35, " 10.0.0.1:8080 ",
                  [](const Options& o) { return o.proxyAddress == " 10.0.0.1:8080 "; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A file cut short (an older program's 36 lines, a truncated copy) changes what it holds and
// nothing else; lines past the 42nd mean nothing.
TEST(SettingsLines, ShortAndLongFiles) {
    State state;
    state.selection.choose(site("goo_2_eiwa"));
    QStringList lines = defaultLines();
    lines[0] = u("goo国語辞典");
    lines[1] = u("使わない");
    for (int line = 20; line < 32; ++line)
        lines[line] = "False";
    state.read(lines.mid(0, 21)); // categories 0-19 and the toolbar line
    EXPECT_EQ(&state.selection.checkedEntry(category(JapaneseDictionary)), &site("goo2_kokugo"));
    EXPECT_FALSE(state.selection.buttonVisible(category(EnglishJapanese)));
    EXPECT_FALSE(state.options.showToolbar);
    // Not in the short file: as before.
    EXPECT_TRUE(state.options.bringForwardOnCopy);
    EXPECT_TRUE(state.options.fullWidthToAscii);
    EXPECT_EQ(&state.selection.checkedEntry(category(EnglishJapanese2)), &site("goo_2_eiwa"));
    EXPECT_FALSE(state.selection.buttonVisible(category(EnglishEnglish2)));

    State older;
    older.read(defaultLines().mid(0, 36));
    for (int line = 36; line < 42; ++line)
        EXPECT_FALSE(older.selection.buttonVisible(*SettingsLines::categoryOfLine(line)))
            << at(line);

    State longer;
    QStringList extra = defaultLines();
    extra << u("goo国語辞典") << "True"
          << "0";
    longer.read(extra);
    EXPECT_EQ(longer.write(), defaultLines());

    State empty;
    empty.read({});
    EXPECT_EQ(empty.write(), defaultLines());
}
