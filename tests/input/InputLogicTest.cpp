#include "input/ClipboardSource.h"
#include "input/ClipboardWatcher.h"
#include "input/FullWidthToAscii.h"
#include "lookup/Catalogue.h"
#include "lookup/LookupController.h"
#include "lookup/LookupView.h"
#include "lookup/SiteQuery.h"
#include "settings/Options.h"
#include "support/FakeLookupView.h"

#include <functional>
#include <gtest/gtest.h>

using namespace input;

struct ZenkakuCase {
    const char* name;
    const char16_t* in;
    const char16_t* out;
};

class Zenkaku : public testing::TestWithParam<ZenkakuCase> {};

TEST_P(Zenkaku, Converts) {
    EXPECT_EQ(fullWidthToAscii(QString::fromUtf16(GetParam().in)),
              QString::fromUtf16(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Zenkaku,
    testing::Values(ZenkakuCase{"LettersAndDigits", u"ＡＢＣ１２３ａｂｃ", u"ABC123abc"},
                    ZenkakuCase{"Brackets", u"［ａ］", u"[a]"},
                    ZenkakuCase{"RangeEnds", u"０＿ｚ＠：｀", u"0_z@:`"},
                    ZenkakuCase{"JustOutsideTheRange", u"！／｛～", u"！／｛～"},
                    ZenkakuCase{"IdeographicSpaceStays", u"Ｔｏｋｙｏ　ｔｏｗｅｒ",
                                u"Tokyo　tower"},
                    ZenkakuCase{"HalfWidthKatakanaStay", u"ｱｲｳ", u"ｱｲｳ"},
                    ZenkakuCase{"KanaAndAsciiStay", u"かなabc", u"かなabc"},
                    ZenkakuCase{"Empty", u"", u""}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

class FakeClipboard : public ClipboardSource {
public:
    Content content;
    int reads = 0;
    // Whether requestRead() leaves the read under way until finishRead(), as a read on
    // another thread does.
    bool readsLater = false;
    bool reading = false;

    Content read() override {
        ++reads;
        return content;
    }
    void requestRead() override {
        if (!readsLater) {
            ClipboardSource::requestRead();
            return;
        }
        ++reads;
        reading = true;
    }
    void finishRead() {
        reading = false;
        Q_EMIT readFinished(content);
    }
    void copy(const QString& text) {
        content = {Content::Text, text, {}};
        Q_EMIT changed();
    }
};

// A watcher with the real lookup controller; the start sequence has run unless a test says
// otherwise.
struct Watch {
    explicit Watch(bool startSequenceRun = true) {
        if (startSequenceRun)
            lookups.lookUpWaitingCopy();
        QObject::connect(&lookups, &lookup::LookupController::firstLookupDeferred,
                         [this] { host.calls << QStringLiteral("defer[%1]").arg(host.box); });
        QObject::connect(
            &watcher, &ClipboardWatcher::clipboardUnreadable,
            [this](const QString& m) { host.calls << QStringLiteral("error[%1]").arg(m); });
        QObject::connect(&watcher, &ClipboardWatcher::clipboardTooLong, [this](const QString& m) {
            host.calls << QStringLiteral("status[%1]").arg(m);
        });
    }
    FakeClipboard clip;
    FakeLookupView host;
    settings::Options options;
    lookup::LookupController lookups{host, options};
    ClipboardWatcher watcher{clip, lookups, options};
};

} // namespace

TEST(ClipboardWatcher, SameTextTwiceLooksUpOnce) {
    Watch w;
    w.clip.copy(u"猫"_qs);
    w.clip.copy(u"猫"_qs);
    EXPECT_EQ(w.host.calls, QStringList{u"lookup[猫]"_qs});
    // Edited box, same copy again: a new lookup.
    w.host.box = u"猫x"_qs;
    w.clip.copy(u"猫"_qs);
    EXPECT_EQ(w.host.calls.size(), 2);
}

TEST(ClipboardWatcher, FullWidthCopies) {
    Watch w;
    w.clip.copy(u"ＡＢＣ"_qs);
    w.clip.copy(u"ＡＢＣ"_qs); // differs from the box's ABC
    w.clip.copy(u"ABC"_qs);    // equals it
    EXPECT_EQ(w.host.calls, (QStringList{u"lookup[ABC]"_qs, u"lookup[ABC]"_qs}));

    Watch off;
    off.options.fullWidthToAscii = false;
    off.clip.copy(u"ＡＢＣ"_qs);
    EXPECT_EQ(off.host.calls, QStringList{u"lookup[ＡＢＣ]"_qs});
}

TEST(ClipboardWatcher, TextKeptAsCopied) {
    Watch w;
    const QString odd = QString::fromUtf16(u" line1\r\nline2\t\0end ", 19);
    w.clip.copy(odd);
    EXPECT_EQ(w.host.box, odd);
    w.clip.copy(QString());
    EXPECT_EQ(w.host.calls.last(), u"lookup[]");
}

TEST(ClipboardWatcher, PausedCopiesAreNotReplayed) {
    Watch w;
    QList<bool> states;
    QObject::connect(&w.watcher, &ClipboardWatcher::pausedChanged, [&](bool p) { states << p; });
    w.watcher.togglePause();
    w.clip.copy(u"a"_qs);
    w.clip.copy(u"b"_qs);
    EXPECT_TRUE(w.host.calls.isEmpty());
    EXPECT_TRUE(w.host.box.isEmpty());
    w.watcher.togglePause();
    EXPECT_TRUE(w.host.calls.isEmpty());
    w.clip.copy(u"c"_qs);
    EXPECT_EQ(w.host.calls, QStringList{u"lookup[c]"_qs});
    EXPECT_EQ(states, (QList<bool>{true, false}));
}

TEST(ClipboardWatcher, ProxyDialogSuppresses) {
    Watch w;
    w.watcher.setSuppressed(true);
    w.clip.copy(u"a"_qs);
    EXPECT_TRUE(w.host.calls.isEmpty());
}

// Paused or suppressed, a copy is not even read: an owner that hangs costs nothing then.
struct QuietCase {
    const char* name;
    bool paused;
    bool suppressed;
};

void PrintTo(const QuietCase& row, std::ostream* out) {
    *out << row.name;
}

class QuietWatcher : public testing::TestWithParam<QuietCase> {};

TEST_P(QuietWatcher, ReadsNothing) {
    Watch w;
    if (GetParam().paused)
        w.watcher.togglePause();
    w.watcher.setSuppressed(GetParam().suppressed);
    w.clip.copy(u"a"_qs);
    EXPECT_EQ(w.clip.reads, 0);
    EXPECT_TRUE(w.host.calls.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, QuietWatcher,
                         testing::Values(QuietCase{"Paused", true, false},
                                         QuietCase{"Suppressed", false, true},
                                         QuietCase{"Both", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A read that ends after the watcher was paused (or the proxy dialog opened) starts nothing;
// one that ends while watching is taken.
struct LateReadCase {
    const char* name;
    std::function<void(Watch&)> meanwhile;
    QStringList calls;
};

void PrintTo(const LateReadCase& row, std::ostream* out) {
    *out << row.name;
}

class LateRead : public testing::TestWithParam<LateReadCase> {};

TEST_P(LateRead, IsTakenOnlyWhileWatching) {
    Watch w;
    w.clip.readsLater = true;
    w.clip.copy(u"遅い"_qs);
    ASSERT_TRUE(w.clip.reading);
    EXPECT_TRUE(w.host.calls.isEmpty());
    GetParam().meanwhile(w);
    w.clip.finishRead();
    EXPECT_EQ(w.host.calls, GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LateRead,
    testing::Values(
        LateReadCase{"Watching", [](Watch&) {}, {u"lookup[遅い]"_qs}},
        LateReadCase{"PausedMeanwhile", [](Watch& w) { w.watcher.togglePause(); }, {}},
        LateReadCase{"ProxyDialogMeanwhile", [](Watch& w) { w.watcher.setSuppressed(true); }, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Text a command asks to look up: normalised as a copy, looked up also while paused and when
// the search box holds it already; only the proxy dialog holds it back.
struct AskedTextCase {
    const char* name;
    std::function<void(Watch&)> before;
    QString text;
    QStringList calls;
};

void PrintTo(const AskedTextCase& row, std::ostream* out) {
    *out << row.name;
}

class AskedText : public testing::TestWithParam<AskedTextCase> {};

TEST_P(AskedText, IsLookedUpAsAsked) {
    Watch w;
    GetParam().before(w);
    w.host.calls.clear();
    w.clip.reads = 0;
    w.watcher.takeAskedText(GetParam().text);
    EXPECT_EQ(w.host.calls, GetParam().calls);
    EXPECT_EQ(w.clip.reads, 0) << "the clipboard is not read for a command";
}

INSTANTIATE_TEST_SUITE_P(
    Table, AskedText,
    testing::Values(
        AskedTextCase{"Watching", [](Watch&) {}, u"犬"_qs, {u"lookup[犬]"_qs}},
        AskedTextCase{"FullWidthNormalised", [](Watch&) {}, u"ＡＢＣ"_qs, {u"lookup[ABC]"_qs}},
        AskedTextCase{
            "WhilePaused", [](Watch& w) { w.watcher.togglePause(); }, u"犬"_qs, {u"lookup[犬]"_qs}},
        AskedTextCase{"SameAsTheSearchBox",
                      [](Watch& w) { w.clip.copy(u"犬"_qs); },
                      u"犬"_qs,
                      {u"lookup[犬]"_qs}},
        AskedTextCase{
            "ProxyDialogOpen", [](Watch& w) { w.watcher.setSuppressed(true); }, u"犬"_qs, {}},
        AskedTextCase{"OnlyBlanks", [](Watch&) {}, u" \t"_qs, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClipboardWatcher, AskedTextBeforeTheStartSequenceWaitsForIt) {
    Watch w(false);
    w.watcher.takeAskedText(u"犬"_qs);
    EXPECT_EQ(w.host.calls, QStringList{u"defer[犬]"_qs});
}

// A copy longer than any site takes: the status bar says so, the search box keeps its text and
// nothing is looked up.
TEST(ClipboardWatcher, TooLongIsToldAndLooksUpNothing) {
    Watch w;
    w.host.box = u"kept"_qs;
    w.clip.content = {ClipboardSource::Content::TooLong, {}, u"（1024 KiB を超えています）"_qs};
    Q_EMIT w.clip.changed();
    EXPECT_EQ(w.host.calls, QStringList{u"status[コピーされた文字列は長すぎるため検索しません"
                                        u"（1024 KiB を超えています）]"_qs});
    EXPECT_EQ(w.host.box, u"kept");
}

TEST(ClipboardWatcher, MinimisedWindow) {
    Watch w;
    w.host.minimised = true;
    w.clip.copy(u"a"_qs);
    // Restored before the box is filled.
    EXPECT_EQ(w.host.calls, (QStringList{u"restore[]"_qs, u"lookup[a]"_qs}));

    Watch off;
    off.host.minimised = true;
    off.options.bringForwardOnCopy = false;
    off.clip.copy(u"a"_qs);
    EXPECT_EQ(off.host.calls, QStringList{u"lookup[a]"_qs});
    EXPECT_TRUE(off.host.minimised);
}

TEST(ClipboardWatcher, FirstCaptureIsLeftToTheStartSequence) {
    Watch w(false);
    w.clip.copy(u"ＡＢ"_qs);
    w.clip.copy(u"c"_qs);
    // Normalised with the options in force at the time; the second copy looks up at once.
    EXPECT_EQ(w.host.calls, (QStringList{u"defer[AB]"_qs, u"lookup[c]"_qs}));
}

TEST(ClipboardWatcher, NoTextAndUnreadable) {
    Watch w;
    w.host.box = u"kept"_qs;
    w.clip.content = {ClipboardSource::Content::NoText, {}, {}};
    Q_EMIT w.clip.changed();
    EXPECT_TRUE(w.host.calls.isEmpty());
    w.clip.content = {ClipboardSource::Content::Unreadable, {}, u"(owner gone)"_qs};
    Q_EMIT w.clip.changed();
    EXPECT_EQ(w.host.calls, QStringList{u"error[クリップボード (owner gone) を開けません]"_qs});
    EXPECT_EQ(w.host.box, u"kept");
}

// What a failed page is told of the lookup behind it: each query sent, with its site and
// text, the recent ones only.
TEST(LookupController, RemembersTheQueriesItSent) {
    Watch w;
    const lookup::Catalogue& catalogue = lookup::Catalogue::instance();
    w.clip.copy(u"猫"_qs);
    w.lookups.chooseSite(*catalogue.siteByKey(u"weblio_kokugo"));
    const auto& sent = w.lookups.sentQueries();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].site, catalogue.siteByKey(u"yahoo2_kokugo"));
    EXPECT_EQ(sent[1].site, catalogue.siteByKey(u"weblio_kokugo"));
    EXPECT_EQ(sent[1].address, lookup::siteQueryUrl(*sent[1].site, u"猫"_qs));
    EXPECT_EQ(sent[1].text, u"猫"_qs);

    for (int i = 0; i < int(lookup::LookupController::kSentQueriesKept) + 5; ++i)
        w.clip.copy(QStringLiteral("word%1").arg(i));
    EXPECT_EQ(sent.size(), lookup::LookupController::kSentQueriesKept);
    EXPECT_EQ(sent.back().text,
              QStringLiteral("word%1").arg(lookup::LookupController::kSentQueriesKept + 4));
}

// A failed page is matched to the lookup behind it; the sites it offers instead are the
// category's shown ones, and a failure of one of those is known as a lookup too.
TEST(LookupController, FindsTheLookupBehindAFailure) {
    Watch w;
    const lookup::Catalogue& catalogue = lookup::Catalogue::instance();
    const lookup::SiteEntry& chosen = *catalogue.siteByKey(u"weblio_kokugo");
    const lookup::SiteEntry& hidden = *catalogue.siteByKey(u"yahoo2_kokugo");
    w.lookups.chooseSite(chosen);
    w.lookups.selection().setEntryVisible(hidden, false);
    w.clip.copy(u"猫"_qs);
    const QString failedUrl = lookup::siteQueryUrl(chosen, u"猫"_qs);
    const auto isUrl = [](const QString& url) {
        return [url](const QString& address) { return address == url; };
    };

    EXPECT_FALSE(w.lookups.lookupBehindFailure(isUrl(u"http://127.0.0.1/elsewhere"_qs)));
    const auto found = w.lookups.lookupBehindFailure(isUrl(failedUrl));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->site, &chosen);
    EXPECT_EQ(found->text, u"猫"_qs);
    ASSERT_FALSE(found->alternatives.empty());
    for (const lookup::SiteAlternative& alternative : found->alternatives) {
        EXPECT_NE(alternative.site, &chosen);
        EXPECT_NE(alternative.site, &hidden) << "a site the menu hides is offered";
    }

    const lookup::SiteAlternative offered = found->alternatives.front();
    const auto behindOffered = w.lookups.lookupBehindFailure(isUrl(offered.url));
    ASSERT_TRUE(behindOffered);
    EXPECT_EQ(behindOffered->site, offered.site);
    EXPECT_EQ(behindOffered->text, u"猫"_qs);
}
