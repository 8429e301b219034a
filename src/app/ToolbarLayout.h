#pragma once

#include <QRect>

namespace app {

// Where the toolbar panel's controls go at a given width. The panel is designed for a window
// 1008 pixels wide; a narrower window (a small screen, or 200 % scaling, where a 1280 by 1024
// screen is 640 by 512) keeps every control whole: the search box gives up width so that the
// Search button stays beside it, and the logo steps aside when it would cover the button. The
// long-text notice goes under the search box, on one line where that ends before the Search
// button, else wrapped to the box's width with the panel grown to hold it.
struct ToolbarLayout {
    QRect searchBox;
    QRect searchButton;
    QRect logo;
    bool logoShown = true;
    QRect notice;
    int panelHeight = 0;

    // The panel's controls at `panelWidth`. With `noticeShown`, the search box moves up and
    // the notice goes under it: `noticeWidth` is its width on one line, `noticeHeightForWidth`
    // its height when wrapped to a given width (QLabel::heightForWidth).
    template <typename HeightForWidth>
    static ToolbarLayout forWidth(int panelWidth, bool noticeShown, int noticeWidth,
                                  HeightForWidth noticeHeightForWidth) {
        ToolbarLayout layout = place(panelWidth, noticeShown);
        layout.placeNotice(panelWidth, noticeWidth,
                           noticeHeightForWidth(layout.noticeRoom(panelWidth)));
        return layout;
    }

    static constexpr int kDesignedPanelHeight = 53;
    static constexpr int kMinimumSearchBoxWidth = 120;

private:
    static ToolbarLayout place(int panelWidth, bool noticeShown);
    int noticeRoom(int panelWidth) const;
    void placeNotice(int panelWidth, int oneLineWidth, int wrappedHeight);
};

} // namespace app
