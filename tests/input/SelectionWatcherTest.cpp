#include "input/SelectionWatcher.h"

#include "input/ClipboardSource.h"
#include "input/ClipboardWatcher.h"
#include "lookup/LookupController.h"
#include "lookup/LookupView.h"
#include "settings/Options.h"
#include "support/FakeLookupView.h"
#include "support/ManualTimers.h"

#include <functional>
#include <gtest/gtest.h>

using namespace input;
using Content = ClipboardSource::Content;

namespace {

// A selection that changes when told and is read when asked, at once or when the test says.
class FakeSelection : public ClipboardSource {
public:
    Content content;
    int reads = 0;
    bool readsLater = false;

    Content read() override { return content; }
    void requestRead() override {
        ++reads;
        if (!readsLater)
            Q_EMIT readFinished(content);
    }
    void finishRead() { Q_EMIT readFinished(content); }
    void select(const QString& text) {
        content = {Content::Text, text, {}};
        Q_EMIT changed();
    }
};

class FakeClipboard : public ClipboardSource {
public:
    Content read() override { return {}; }
};

// The selection watcher beside the clipboard's, with the option on and the start sequence run;
// the settle count is ended by hand.
struct Watch {
    Watch() {
        options.lookUpSelection = true;
        lookups.lookUpWaitingCopy();
        QObject::connect(&watcher, &SelectionWatcher::notice,
                         [this](const QString& m) { notices << m; });
    }
    // The count of the last change is up.
    void settle() {
        ASSERT_EQ(timers.size(), 1);
        timers.at(0).fire();
    }
    bool counting() const { return timers.at(0).isActive(); }

    FakeSelection selection;
    FakeClipboard clipboard;
    FakeLookupView view;
    settings::Options options;
    ManualTimers timers;
    lookup::LookupController lookups{view, options};
    ClipboardWatcher copies{clipboard, lookups, options};
    SelectionWatcher watcher{selection, copies, options, timers.factory()};
    QStringList notices;
};

} // namespace

// A drag: the selection grows every 0.1 s, then stays. Each change starts the count afresh,
// so nothing is read while the drag goes on and the end is looked up once.
TEST(SelectionWatcher, DragIsLookedUpOnceAtItsEnd) {
    Watch w;
    for (const QString& text : {u"東"_qs, u"東京"_qs, u"東京タ"_qs, u"東京タワー"_qs}) {
        w.selection.select(text);
        ASSERT_TRUE(w.counting());
        EXPECT_EQ(w.timers.at(0).milliseconds(), SelectionWatcher::kSettleMs);
        EXPECT_EQ(w.selection.reads, 0) << "read before the drag ended";
    }
    w.settle();
    EXPECT_EQ(w.selection.reads, 1);
    EXPECT_EQ(w.view.lookups, QStringList{u"東京タワー"_qs});
    EXPECT_FALSE(w.counting());
}

// Every rule of a copy, and the selection's own: what one settled selection leads to.
struct SettledCase {
    const char* name;
    std::function<void(Watch&)> before; // what holds when the selection changes
    Content content;                    // what the read gives
    std::function<void(Watch&)> whileReading;
    QStringList lookups;
    QStringList notices;
    int reads;
};

void PrintTo(const SettledCase& row, std::ostream* out) {
    *out << row.name;
}

class Settled : public testing::TestWithParam<SettledCase> {};

TEST_P(Settled, LooksUpOnlyWhatACopyWould) {
    const SettledCase& row = GetParam();
    Watch w;
    w.selection.readsLater = true;
    if (row.before)
        row.before(w);
    w.selection.content = row.content;
    Q_EMIT w.selection.changed();
    w.timers.at(0).fire();
    if (row.whileReading)
        row.whileReading(w);
    if (w.selection.reads > 0)
        w.selection.finishRead();
    EXPECT_EQ(w.view.lookups, row.lookups);
    EXPECT_EQ(w.notices, row.notices);
    EXPECT_EQ(w.selection.reads, row.reads);
}

const Content kWord{Content::Text, u"ＡＢＣ"_qs, {}};

INSTANTIATE_TEST_SUITE_P(
    Table, Settled,
    testing::Values(
        SettledCase{"Watching", {}, kWord, {}, {u"ABC"_qs}, {}, 1},
        SettledCase{"FullWidthKept",
                    [](Watch& w) { w.options.fullWidthToAscii = false; },
                    kWord,
                    {},
                    {u"ＡＢＣ"_qs},
                    {},
                    1},
        SettledCase{
            "OptionOff", [](Watch& w) { w.options.lookUpSelection = false; }, kWord, {}, {}, {}, 0},
        SettledCase{"Paused", [](Watch& w) { w.copies.togglePause(); }, kWord, {}, {}, {}, 0},
        SettledCase{
            "ProxyDialog", [](Watch& w) { w.copies.setSuppressed(true); }, kWord, {}, {}, {}, 0},
        SettledCase{
            "PausedWhileReading", {}, kWord, [](Watch& w) { w.copies.togglePause(); }, {}, {}, 1},
        SettledCase{"SwitchedOffWhileReading",
                    {},
                    kWord,
                    [](Watch& w) { w.options.lookUpSelection = false; },
                    {},
                    {},
                    1},
        SettledCase{"SameTextAsTheSearchBox",
                    [](Watch& w) { w.view.box = u"ＡＢＣ"_qs; },
                    kWord,
                    {},
                    {},
                    {},
                    1},
        SettledCase{"MadeInTheProgramsOwnWindow", {}, {Content::OwnWindow, {}, {}}, {}, {}, {}, 1},
        SettledCase{"FilesOrAPicture", {}, {Content::NoText, {}, {}}, {}, {}, {}, 1},
        SettledCase{"TooLong",
                    {},
                    {Content::TooLong, {}, u"（1024 KiB を超えています）"_qs},
                    {},
                    {},
                    {u"選択された文字列は長すぎるため検索しません（1024 KiB を超えています）"_qs},
                    1},
        SettledCase{"Unreadable",
                    {},
                    {Content::Unreadable, {}, u"（応答しません）"_qs},
                    {},
                    {},
                    {u"選択された文字列を読めません（応答しません）"_qs},
                    1}),
    [](const auto& info) { return std::string(info.param.name); });

// A selection made while paused is not looked up after resuming: its count was not kept.
TEST(SelectionWatcher, SelectionWhilePausedIsNotReplayed) {
    Watch w;
    w.selection.select(u"a"_qs);
    w.copies.togglePause();
    w.selection.select(u"b"_qs);
    EXPECT_FALSE(w.counting());
    w.copies.togglePause();
    w.timers.at(0).fire();
    EXPECT_EQ(w.selection.reads, 0);
    w.selection.select(u"c"_qs);
    w.settle();
    EXPECT_EQ(w.view.lookups, QStringList{u"c"_qs});
}

// Selecting the same text again after it was looked up starts nothing; another text does.
TEST(SelectionWatcher, SameSelectionTwiceLooksUpOnce) {
    Watch w;
    w.selection.select(u"猫"_qs);
    w.settle();
    w.selection.select(u"猫"_qs);
    w.settle();
    w.selection.select(u"犬"_qs);
    w.settle();
    EXPECT_EQ(w.view.lookups, (QStringList{u"猫"_qs, u"犬"_qs}));
}
