#include "app/ToolbarLayout.h"

#include <algorithm>

namespace app {

namespace {

// The designed places (a panel 1008 pixels wide).
constexpr int kSearchBoxLeft = 164;
constexpr int kSearchBoxTop = 16;
constexpr int kSearchBoxRaisedTop = 7; // while the long-text notice is shown
constexpr int kSearchBoxWidth = 553;
constexpr int kSearchBoxHeight = 21;
constexpr int kButtonGap = 18; // 735 - (164 + 553)
constexpr int kButtonTop = 6;
constexpr int kButtonWidth = 62;
constexpr int kButtonHeight = 41;
constexpr int kLogoWidth = 155;
constexpr int kLogoHeight = 40;
constexpr int kRightMargin = 8; // the logo's gap to the panel's right edge
constexpr int kNoticeTop = 34;
constexpr int kNoticeBottomMargin = 6;

} // namespace

ToolbarLayout ToolbarLayout::place(int panelWidth, bool noticeShown) {
    ToolbarLayout layout;
    const int room = panelWidth - kSearchBoxLeft - kButtonGap - kButtonWidth - kRightMargin;
    const int boxWidth = std::clamp(room, kMinimumSearchBoxWidth, kSearchBoxWidth);
    layout.searchBox = QRect(kSearchBoxLeft, noticeShown ? kSearchBoxRaisedTop : kSearchBoxTop,
                             boxWidth, kSearchBoxHeight);
    layout.searchButton =
        QRect(layout.searchBox.right() + 1 + kButtonGap, kButtonTop, kButtonWidth, kButtonHeight);
    layout.logo =
        QRect(panelWidth - kRightMargin - kLogoWidth, kButtonTop, kLogoWidth, kLogoHeight);
    // The logo keeps the same gap to the button as to the panel's edge, or steps aside.
    layout.logoShown = layout.logo.left() >= layout.searchButton.right() + 1 + kRightMargin;
    layout.panelHeight = kDesignedPanelHeight;
    return layout;
}

int ToolbarLayout::noticeRoom(int /*panelWidth*/) const {
    return searchBox.width();
}

void ToolbarLayout::placeNotice(int /*panelWidth*/, int oneLineWidth, int wrappedHeight) {
    if (searchBox.top() != kSearchBoxRaisedTop) {
        notice = QRect();
        return;
    }
    if (kSearchBoxLeft + oneLineWidth + kRightMargin <= searchButton.left()) {
        notice = QRect(kSearchBoxLeft, kNoticeTop, oneLineWidth, kDesignedPanelHeight - kNoticeTop);
        return;
    }
    // On one line it would run under the Search button, which hides its end: it wraps under
    // the search box instead, and the panel grows to hold it.
    notice = QRect(kSearchBoxLeft, kNoticeTop, searchBox.width(), wrappedHeight);
    panelHeight = std::max(kDesignedPanelHeight, notice.bottom() + 1 + kNoticeBottomMargin);
}

} // namespace app
