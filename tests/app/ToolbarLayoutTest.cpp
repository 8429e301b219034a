#include "app/ToolbarLayout.h"

#include <gtest/gtest.h>

using app::ToolbarLayout;

namespace {

struct ToolbarCase {
    const char* name;
    int panelWidth;
    int notice; // the notice's width on one line; 0 when it is not shown
    QRect searchBox;
    QRect searchButton;
    bool logoShown;
    QRect noticeRect;
    int panelHeight;
};

class Toolbar : public testing::TestWithParam<ToolbarCase> {};

TEST_P(Toolbar, Layout) {
    const ToolbarCase& c = GetParam();
    // Wrapped, the notice takes 14 pixels a line.
    const auto heightForWidth = [&c](int width) { return 14 * ((c.notice + width - 1) / width); };
    const ToolbarLayout layout =
        ToolbarLayout::forWidth(c.panelWidth, c.notice > 0, c.notice, heightForWidth);
    EXPECT_EQ(layout.searchBox, c.searchBox);
    EXPECT_EQ(layout.searchButton, c.searchButton);
    EXPECT_EQ(layout.logoShown, c.logoShown);
    EXPECT_EQ(layout.notice, c.noticeRect);
    EXPECT_EQ(layout.panelHeight, c.panelHeight);
    // Whatever the width, the controls stay whole inside the panel and apart.
    const QRect panel(0, 0, c.panelWidth, layout.panelHeight);
    EXPECT_TRUE(panel.contains(layout.searchButton)) << "the Search button is cut off";
    EXPECT_FALSE(layout.searchBox.intersects(layout.searchButton));
    if (layout.logoShown) {
        EXPECT_TRUE(panel.contains(layout.logo));
        EXPECT_FALSE(layout.logo.intersects(layout.searchButton));
    }
    if (c.notice > 0) {
        EXPECT_TRUE(panel.contains(layout.notice)) << "the notice is cut off";
        EXPECT_FALSE(layout.notice.intersects(layout.searchButton)) << "the button hides it";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Widths, Toolbar,
    testing::Values(
        // The designed window, 1008 wide.
        ToolbarCase{"Designed", 1008, 0, QRect(164, 16, 553, 21), QRect(735, 6, 62, 41), true,
                    QRect(), 53},
        // A notice that ends before the Search button stays on one line.
        ToolbarCase{"DesignedWithShortNotice", 1008, 500, QRect(164, 7, 553, 21),
                    QRect(735, 6, 62, 41), true, QRect(164, 34, 500, 19), 53},
        // One that would run under the button wraps under the box.
        ToolbarCase{"DesignedWithNotice", 1008, 600, QRect(164, 7, 553, 21), QRect(735, 6, 62, 41),
                    true, QRect(164, 34, 553, 28), 68},
        // Wider: the box keeps its size, the logo stays at the right edge.
        ToolbarCase{"Wide", 1600, 0, QRect(164, 16, 553, 21), QRect(735, 6, 62, 41), true, QRect(),
                    53},
        // 1280 by 1024 at 200 %: 632 logical pixels inside the frame.
        ToolbarCase{"At200Percent", 632, 0, QRect(164, 16, 380, 21), QRect(562, 6, 62, 41), false,
                    QRect(), 53},
        ToolbarCase{"At200PercentWithNotice", 632, 600, QRect(164, 7, 380, 21),
                    QRect(562, 6, 62, 41), false, QRect(164, 34, 380, 28), 68},
        // Just wide enough for the logo beside the button.
        ToolbarCase{"LogoJustFits", 968, 0, QRect(164, 16, 553, 21), QRect(735, 6, 62, 41), true,
                    QRect(), 53},
        ToolbarCase{"LogoJustDoesNot", 967, 0, QRect(164, 16, 553, 21), QRect(735, 6, 62, 41),
                    false, QRect(), 53},
        // The narrowest the window allows: the box at its minimum.
        ToolbarCase{"Narrowest", 372, 600, QRect(164, 7, 120, 21), QRect(302, 6, 62, 41), false,
                    QRect(164, 34, 120, 70), 110}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
