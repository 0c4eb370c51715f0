// The layout values and the scroll arithmetic of the editor: visible rows and columns, the left bar's width,
// scroll-bar requests, and bringing the caret into view.
#include <gtest/gtest.h>

#include <string>

#include "CaretTestSupport.h"

using namespace caret_test;
using namespace editor;

namespace {

TEST(EditorLayout, ValuesFollowFontOptionsAndClientArea) {
    LayoutOptions o;
    o.marginLeft = 10;
    o.marginTop = 6;
    o.leftbarVisible = true;
    o.leftbarLeftMargin = 1;
    o.leftbarRightMargin = 2;
    const FontMetrics font{16, 0, 8};
    const EditorLayout l = ComputeLayout(font, o, {692, 408, 17, 17}, 10);
    EXPECT_EQ(l.leftbarWidth, 1 + 4 * 8 + 2 + 2);
    EXPECT_EQ(l.textLeft, 10 + l.leftbarWidth);
    EXPECT_EQ(l.visibleRows, (408 - 6 - 5 - 17) / 16);
    EXPECT_EQ(l.visibleCols, (692 - l.textLeft - 4 - 17) / 8);
    EXPECT_EQ(ComputeLayout(font, o, {692, 408, 17, 17}, 10000).leftbarWidth, l.leftbarWidth + 8)
        << "the fifth digit widens the bar by one character";
    const EditorLayout tiny = ComputeLayout(font, o, {3, 3, 17, 17}, 1);
    EXPECT_EQ(tiny.visibleRows, 1);
    EXPECT_EQ(tiny.visibleCols, 1);
}

TEST(EditorLayout, ScrollRequestsMoveAndClamp) {
    struct Case {
        ScrollCode code;
        int current, thumb, want;
    };
    // page 10, last top 50
    const std::vector<Case> cases = {
        {ScrollCode::LineUp, 0, 0, 0},          {ScrollCode::LineDown, 5, 0, 6},
        {ScrollCode::PageDown, 45, 0, 50},      {ScrollCode::PageUp, 5, 0, 0},
        {ScrollCode::Top, 30, 0, 0},            {ScrollCode::Bottom, 3, 0, 50},
        {ScrollCode::ThumbTrack, 3, 70000, 50}, {ScrollCode::ThumbPosition, 3, 17, 17},
        {ScrollCode::EndScroll, 9, 0, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScrollTarget(static_cast<int>(c.code), c.current, 10, c.thumb, 50), c.want)
            << static_cast<int>(c.code);
    }
    EXPECT_EQ(ScrollTarget(static_cast<int>(ScrollCode::PageDown), 0, 0, 0, 50), 1) << "a page is at least a row";
    EXPECT_EQ(ScrollTarget(99, 7, 10, 0, 50), 7);
}

TEST(EditorLayout, BottomBringsTheLastRowOrThePhantomRowToTheTop) {
    for (const auto& [textValue, wantTop] : std::vector<std::pair<std::string, int>>{
             {"a\r\nb\r\nc\r\n", 3}, {"a\r\nb\r\nc", 2}, {"", 0}}) {
        EditorCore core;
        sizeLikeHost(core);
        core.Store().SetText(textValue);
        core.VScroll(static_cast<int>(ScrollCode::Bottom), 0);
        EXPECT_EQ(core.TopRow(), wantTop) << textValue;
        const ScrollRange r = core.VScrollRange();
        EXPECT_EQ(r.max - r.page + 1, std::max(wantTop, 1)) << "the thumb reaches that row: " << textValue;
    }
}

TEST(EditorLayout, CaretComesIntoViewWhileFocused) {
    std::string many;
    for (int i = 0; i < 200; ++i) many += std::string(300, 'x') + "\r\n";
    EditorCore core;
    sizeLikeHost(core);
    core.Store().SetText(many);
    const int rows = core.Layout().visibleRows;
    const int cols = core.Layout().visibleCols;
    core.SetCaretPos(100, 0);
    EXPECT_EQ(core.TopRow(), 0) << "without the focus the view stays";
    core.SetFocused(true);
    core.SetCaretPos(100, 0);
    EXPECT_EQ(core.TopRow(), 100 - rows + 1);
    core.SetCaretPos(10, 0);
    EXPECT_EQ(core.TopRow(), 10);
    core.SetCaretPos(10, cols + 5);
    EXPECT_EQ(core.TopCol(), std::max(cols + 5 - cols + 1, cols / 4));
    core.SetCaretPos(10, 0);
    EXPECT_EQ(core.TopCol(), 0);
    core.SetFocused(false);
    core.SetCaretPos(150, 200);
    core.ScrollCaret();
    EXPECT_EQ(core.TopRow(), 150 - rows / 3);
    EXPECT_EQ(core.TopCol(), 200 - cols / 3);
}

TEST(EditorLayout, PositionsAndPixelsAgree) {
    EditorCore core;
    sizeLikeHost(core);
    core.Store().SetText("a\x95\x5C" "b\r\ncd");  // a 表 b
    const auto& l = core.Layout();
    EXPECT_EQ(core.PosFromChar(3), std::make_pair(l.textLeft + 3 * l.charWidth, l.textTop));
    EXPECT_EQ(core.PosFromChar(6), std::make_pair(l.textLeft, l.textTop + l.rowHeight));
    // Column 2 is the second half of 表: a point there goes to the nearer boundary.
    EXPECT_EQ(core.PositionAt(l.textLeft + 2 * l.charWidth - 1, l.textTop + 1).second, 1);
    EXPECT_EQ(core.PositionAt(l.textLeft + 2 * l.charWidth + 1, l.textTop + 1).second, 3);
    const auto hit = core.CharFromPos(l.textLeft + 1 * l.charWidth, l.textTop + l.rowHeight + 1);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->first, 7);
    EXPECT_EQ(hit->second, 1);
    EXPECT_FALSE(core.CharFromPos(-1, 5));
    EXPECT_FALSE(core.CharFromPos(5, 100000));
}

}  // namespace
