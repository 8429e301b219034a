#include "input/EnterLookupRule.h"

#include <gtest/gtest.h>

using input::EnterLookupRule;

namespace {

// What the search box receives, one letter an event:
//   e / E  Enter pressed / released      x / X  another key pressed / released
//   c      the input method commits 日本語  a      the input method commits "a" (typing)
//   0      an empty commit (a preedit ends)  f      the box loses the focus
// The result has one letter per release: '!' when it looks the text up, '.' when not.
struct EnterCase {
    const char* name;
    const char16_t* text; // the box's text throughout
    const char* events;
    const char* lookups;
};

std::string run(const EnterCase& c) {
    EnterLookupRule rule;
    const QString text = QString::fromUtf16(c.text);
    std::string fired;
    for (const char* e = c.events; *e; ++e) {
        switch (*e) {
        case 'e':
            rule.keyPressed(Qt::Key_Return);
            break;
        case 'x':
            rule.keyPressed(Qt::Key_A);
            break;
        case 'E':
            fired += rule.keyReleased(Qt::Key_Return, text) ? '!' : '.';
            break;
        case 'X':
            fired += rule.keyReleased(Qt::Key_A, text) ? '!' : '.';
            break;
        case 'c':
            rule.textCommitted(QStringLiteral("日本語"));
            break;
        case 'a':
            rule.textCommitted(QStringLiteral("a"));
            break;
        case '0':
            rule.textCommitted(QString());
            break;
        case 'f':
            rule.focusLost();
            break;
        default:
            ADD_FAILURE() << "unknown event " << *e;
        }
    }
    return fired;
}

class EnterLookup : public testing::TestWithParam<EnterCase> {};

TEST_P(EnterLookup, Sequence) {
    EXPECT_EQ(run(GetParam()), GetParam().lookups);
}

// Keys that reach the box with their presses: the rule for double-byte text as it always was.
INSTANTIATE_TEST_SUITE_P(
    TypedKeys, EnterLookup,
    testing::Values(EnterCase{"EnglishAtOnce", u"apple", "eEeE", "!!"},
                    EnterCase{"JapaneseNeedsTwo", u"りんご", "eEeEeE", ".!."},
                    EnterCase{"OtherKeyClears", u"りんご", "eExXeE", "..."},
                    EnterCase{"HalfWidthKatakanaAtOnce", u"ﾘﾝｺﾞ", "eE", "!"},
                    EnterCase{"HttpNever", u"http://example.com/", "eEeE", ".."},
                    EnterCase{"HttpJapaneseNever", u"http://例え.jp", "eEeE", ".."},
                    EnterCase{"HttpsIsLookedUp", u"https://example.com/", "eE", "!"},
                    EnterCase{"HttpIsCaseSensitive", u"HTTP://EXAMPLE", "eE", "!"},
                    // Enter pressed while another key is still down: both releases count.
                    EnterCase{"OverlappingKeys", u"りんご", "eExeXE", "..."}),
    [](const auto& info) { return std::string(info.param.name); });

// What an input method does: it takes the presses it uses and commits the composed text; the
// Enter that ends the composition reaches the box at most as a release without its press.
INSTANTIATE_TEST_SUITE_P(
    InputMethod, EnterLookup,
    testing::Values(
        // fcitx5 with anthy: commit, then the commit Enter's release alone.
        EnterCase{"CommitThenOneEnter", u"日本語", "c0EeE", ".!"},
        // An input method that keeps the release too.
        EnterCase{"CommitWithoutReleaseThenOneEnter", u"日本語", "ceE", "!"},
        EnterCase{"SecondEnterAfterLookupHoldsBackAgain", u"日本語", "cEeEeEeE", ".!.!"},
        // A key typed after the commit (an arrow, a letter) is editing: two Enters again.
        EnterCase{"KeyAfterCommitClears", u"日本語", "cExXeEeE", "...!"},
        // Releases of keys the input method took while composing change nothing.
        EnterCase{"OrphanReleasesIgnored", u"日本語", "cXXXEeE", "....!"},
        // Typing passed through the input method as commits of single-byte text.
        EnterCase{"SingleByteCommitIsTyping", u"日本語a", "caeEeE", ".!"},
        EnterCase{"EmptyCommitChangesNothing", u"りんご", "eE0eE", ".!"},
        // A commit after an Enter was held back for pasted text: one Enter still suffices.
        EnterCase{"CommitAfterHeldBackEnter", u"りんご日本語", "eEceE", ".!"},
        // A release that arrives after the box lost and regained the focus belongs elsewhere.
        EnterCase{"FocusLossForgetsPresses", u"apple", "efE", "."},
        // Pasted double-byte text keeps the two Enters, also with an input method running.
        EnterCase{"PastedTextNeedsTwo", u"りんご", "xXeEeE", "..!"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
