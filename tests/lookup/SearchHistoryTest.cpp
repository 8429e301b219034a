#include "lookup/SearchHistory.h"

#include <gtest/gtest.h>
#include <optional>

using lookup::SearchHistory;

namespace {

struct HistoryCase {
    const char* name;
    int before; // entries already in the list
    std::optional<int> dropped;
    int after;
};

class SearchHistoryLength : public testing::TestWithParam<HistoryCase> {};

TEST_P(SearchHistoryLength, NewestFirstOldestDropped) {
    const HistoryCase& c = GetParam();
    SearchHistory history;
    for (int i = 0; i < c.before; ++i)
        history.add(QString::number(i));
    EXPECT_EQ(history.add(QStringLiteral("new")), c.dropped);
    ASSERT_EQ(history.entries().size(), c.after);
    EXPECT_EQ(history.entries().front(), u"new");
    if (c.before > 0) {
        // What the list held before follows, newest first; the oldest is the one dropped.
        EXPECT_EQ(history.entries().at(1), QString::number(c.before - 1));
        EXPECT_EQ(history.entries().back(), QString::number(c.before - c.after + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchHistoryLength,
                         testing::Values(HistoryCase{"First", 0, std::nullopt, 1},
                                         HistoryCase{"OneBeforeFull", 19, std::nullopt, 20},
                                         HistoryCase{"FillsTheList", 20, std::nullopt, 21},
                                         HistoryCase{"FullDropsTheOldest", 21, 20, 21},
                                         HistoryCase{"StaysFull", 30, 20, 21}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SearchHistory, TheSameTextTwiceIsTwoEntries) {
    // Whether a text enters at all is the dispatch's decision; the list keeps what it is given.
    SearchHistory history;
    history.add(QStringLiteral("a"));
    history.add(QStringLiteral("a"));
    EXPECT_EQ(history.entries(), (QStringList{"a", "a"}));
}

} // namespace
