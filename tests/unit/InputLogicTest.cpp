#include "input/ClipboardSource.h"
#include "input/ClipboardWatcher.h"
#include "input/OneClickRule.h"
#include "input/ZenkakuHankaku.h"

#include <gtest/gtest.h>

using namespace input;

struct ZenkakuCase {
    const char* name;
    const char16_t* in;
    const char16_t* out;
};

class Zenkaku : public testing::TestWithParam<ZenkakuCase> {};

TEST_P(Zenkaku, Converts) {
    EXPECT_EQ(ZENKAKU_HANKAKU(QString::fromUtf16(GetParam().in)),
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

// Key releases in the search box: E = Enter, x = any other key. '!' marks a release that
// looks the text up.
struct OneClickCase {
    const char* name;
    const char16_t* text;
    const char* keys;
    const char* lookups;
};

class OneClick : public testing::TestWithParam<OneClickCase> {};

TEST_P(OneClick, Sequence) {
    OneClickRule rule;
    std::string fired;
    for (const char* k = GetParam().keys; *k; ++k)
        fired += rule.keyUp(*k == 'E', QString::fromUtf16(GetParam().text)) ? '!' : '.';
    EXPECT_EQ(fired, GetParam().lookups);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OneClick,
    testing::Values(OneClickCase{"EnglishAtOnce", u"apple", "EE", "!!"},
                    OneClickCase{"JapaneseNeedsTwo", u"りんご", "EEE", ".!."},
                    OneClickCase{"OtherKeyClears", u"りんご", "ExE", "..."},
                    OneClickCase{"HalfWidthKatakanaAtOnce", u"ﾘﾝｺﾞ", "E", "!"},
                    OneClickCase{"HttpNever", u"http://example.com/", "EE", ".."},
                    OneClickCase{"HttpJapaneseNever", u"http://例え.jp", "EE", ".."},
                    OneClickCase{"HttpsIsLookedUp", u"https://example.com/", "E", "!"},
                    OneClickCase{"HttpIsCaseSensitive", u"HTTP://EXAMPLE", "E", "!"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

class FakeClipboard : public ClipboardSource {
public:
    Content content;
    Content read() override { return content; }
    void copy(const QString& text) {
        content = {Content::Text, text, {}};
        Q_EMIT changed();
    }
};

class FakeHost : public ClipboardWatcherHost {
public:
    QString box;
    bool forward = true, fullWidth = true, minimised = false, first = true;
    QStringList calls;

    QString searchText() const override { return box; }
    void setSearchText(const QString& t) override { box = t; }
    bool bringWindowForwardOnCopy() const override { return forward; }
    bool turnFullWidthToAscii() const override { return fullWidth; }
    bool isMinimised() const override { return minimised; }
    void MOTO_NI_MODOSHUClick() override {
        calls << QStringLiteral("restore[%1]").arg(box);
        minimised = false;
    }
    bool firstLookupRequested() const override { return first; }
    void deferFirstLookup() override {
        calls << QStringLiteral("defer[%1]").arg(box);
        first = true;
    }
    void _okuru() override { calls << QStringLiteral("okuru[%1]").arg(box); }
    void showError(const QString& m) override { calls << QStringLiteral("error[%1]").arg(m); }
};

struct Watch {
    FakeClipboard clip;
    FakeHost host;
    ClipboardWatcher watcher{clip, host};
};

} // namespace

TEST(ClipboardWatcher, SameTextTwiceLooksUpOnce) {
    Watch w;
    w.clip.copy(u"猫"_qs);
    w.clip.copy(u"猫"_qs);
    EXPECT_EQ(w.host.calls, QStringList{u"okuru[猫]"_qs});
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
    EXPECT_EQ(w.host.calls, (QStringList{u"okuru[ABC]"_qs, u"okuru[ABC]"_qs}));

    Watch off;
    off.host.fullWidth = false;
    off.clip.copy(u"ＡＢＣ"_qs);
    EXPECT_EQ(off.host.calls, QStringList{u"okuru[ＡＢＣ]"_qs});
}

TEST(ClipboardWatcher, TextKeptAsCopied) {
    Watch w;
    const QString odd = QString::fromUtf16(u" line1\r\nline2\t\0end ", 19);
    w.clip.copy(odd);
    EXPECT_EQ(w.host.box, odd);
    w.clip.copy(QString());
    EXPECT_EQ(w.host.calls.last(), u"okuru[]");
}

TEST(ClipboardWatcher, PausedCopiesAreNotReplayed) {
    Watch w;
    QList<bool> states;
    QObject::connect(&w.watcher, &ClipboardWatcher::pausedChanged, [&](bool p) { states << p; });
    w.watcher.kyuushiExecute();
    w.clip.copy(u"a"_qs);
    w.clip.copy(u"b"_qs);
    EXPECT_TRUE(w.host.calls.isEmpty());
    EXPECT_TRUE(w.host.box.isEmpty());
    w.watcher.kyuushiExecute();
    EXPECT_TRUE(w.host.calls.isEmpty());
    w.clip.copy(u"c"_qs);
    EXPECT_EQ(w.host.calls, QStringList{u"okuru[c]"_qs});
    EXPECT_EQ(states, (QList<bool>{true, false}));
}

TEST(ClipboardWatcher, ProxyDialogSuppresses) {
    Watch w;
    w.watcher.setCopyDame(true);
    w.clip.copy(u"a"_qs);
    EXPECT_TRUE(w.host.calls.isEmpty());
}

TEST(ClipboardWatcher, MinimisedWindow) {
    Watch w;
    w.host.minimised = true;
    w.clip.copy(u"a"_qs);
    // Restored before the box is filled.
    EXPECT_EQ(w.host.calls, (QStringList{u"restore[]"_qs, u"okuru[a]"_qs}));

    Watch off;
    off.host.minimised = true;
    off.host.forward = false;
    off.clip.copy(u"a"_qs);
    EXPECT_EQ(off.host.calls, QStringList{u"okuru[a]"_qs});
    EXPECT_TRUE(off.host.minimised);
}

TEST(ClipboardWatcher, FirstCaptureIsLeftToTheStartSequence) {
    Watch w;
    w.host.first = false;
    w.clip.copy(u"ＡＢ"_qs);
    w.clip.copy(u"c"_qs);
    // Normalised with the options in force at the time; the second copy looks up at once.
    EXPECT_EQ(w.host.calls, (QStringList{u"defer[AB]"_qs, u"okuru[c]"_qs}));
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
