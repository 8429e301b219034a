#include "desktop/WaylandCopyNotice.h"
#include "desktop/WindowPlacement.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A 1008 by 599 client area with openbox's frame (4 pixels around, a 22 pixel title bar).
const QSize kWindow(1008, 599);
const QMargins kFrame(4, 22, 4, 4);

struct PlacementCase {
    const char* name;
    QSize wanted;
    QRect available; // logical pixels
};

class Placement : public testing::TestWithParam<PlacementCase> {};

// The frame lies inside the available area; in each direction the window keeps its designed
// size, centred, or, where that does not fit, fills the area.
TEST_P(Placement, InsideTheAvailableArea) {
    const PlacementCase& c = GetParam();
    const QRect client = desktop::placeWindow(c.wanted, kFrame, c.available);
    const QRect frame = client.marginsAdded(kFrame);
    EXPECT_TRUE(c.available.contains(frame)) << "the frame leaves the available area";
    if (client.width() == c.wanted.width())
        EXPECT_LE(std::abs((frame.left() - c.available.left()) -
                           (c.available.right() - frame.right())),
                  1)
            << "not centred across";
    else
        EXPECT_EQ(frame.width(), c.available.width()) << "narrower than it needs to be";
    if (client.height() == c.wanted.height())
        EXPECT_LE(std::abs((frame.top() - c.available.top()) -
                           (c.available.bottom() - frame.bottom())),
                  1)
            << "not centred down";
    else
        EXPECT_EQ(frame.height(), c.available.height()) << "lower than it needs to be";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Placement,
    testing::Values(
        // 1280 by 1024 at 100 %: the designed size, centred.
        PlacementCase{"FitsAt100", kWindow, QRect(0, 0, 1280, 1024)},
        // The same screen at 200 % is 640 by 512 logical pixels.
        PlacementCase{"ShrinksAt200", kWindow, QRect(0, 0, 640, 512)},
        // A panel at the top takes 30 pixels: the window keeps below it.
        PlacementCase{"BelowAPanel", kWindow, QRect(0, 30, 640, 482)},
        // A second screen to the right of the first.
        PlacementCase{"SecondScreen", kWindow, QRect(1280, 0, 1920, 1080)},
        // Only the width is short (a tall portrait screen at 150 %).
        PlacementCase{"OnlyNarrower", kWindow, QRect(0, 0, 720, 1280)}),
    [](const auto& info) { return std::string(info.param.name); });

// An area too small for even the frame: the window keeps a size and its title bar starts at
// the area's top left, where the user can reach it.
TEST(PlacementTinyArea, KeepsTheTitleBarOnScreen) {
    const QRect client = desktop::placeWindow(kWindow, kFrame, QRect(10, 20, 6, 20));
    EXPECT_FALSE(client.isEmpty());
    EXPECT_EQ(client.marginsAdded(kFrame).topLeft(), QPoint(10, 20));
}

// Events in time order: 'A' window activated, 'D' deactivated, a digit d: the clipboard
// changes d hundred milliseconds after the last event. The result has one letter per change:
// '!' when the user is told now, '.' when not.
struct NoticeCase {
    const char* name;
    bool wayland;
    const char* events;
    const char* told;
};

class Notice : public testing::TestWithParam<NoticeCase> {};

TEST_P(Notice, Sequence) {
    desktop::WaylandCopyNotice notice(GetParam().wayland);
    qint64 now = 1000;
    std::string told;
    for (const char* e = GetParam().events; *e; ++e) {
        if (*e == 'A') {
            now += 5000;
            notice.windowActivated(now);
        } else if (*e == 'D') {
            now += 5000;
            notice.windowDeactivated();
        } else {
            now += (*e - '0') * 100;
            told += notice.clipboardChanged(now) ? '!' : '.';
        }
    }
    EXPECT_EQ(told, GetParam().told);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, Notice,
    testing::Values(NoticeCase{"HeldBackCopyTurnsUpOnActivation", true, "A1", "!"},
                    NoticeCase{"TellsOnlyOnce", true, "A1DA1DA0", "!.."},
                    NoticeCase{"AtTheEdgeOfTheWindow", true, "A4", "!"},
                    NoticeCase{"LaterCopyIsOrdinary", true, "A5", "."},
                    NoticeCase{"CopiesWhileInactiveAreFine", true, "A9D1D1", "..."},
                    NoticeCase{"SecondChangeAfterActivation", true, "A5A1", ".!"},
                    NoticeCase{"X11SessionNeverTells", false, "A1A0", ".."},
                    NoticeCase{"NeverActivated", true, "1", "."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
