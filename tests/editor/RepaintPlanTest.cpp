// The painter's option objects, the repaint and scroll plans, and the caret's place and shape.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "PaintTestSupport.h"

using namespace editor;
using painttest::RecordingSurface;
using painttest::Scene;

TEST(PaintOptions, SettersClampAndEveryObjectReportsItsChanges) {
    editor::PaintOptionSet o;
    struct Case {
        const char* name;
        std::function<void(int)> set;
        std::function<int()> get;
        int value, expected;
    } cases[] = {
        {"Leftbar.Column", [&](int v) { o.Leftbar.SetColumn(v); }, [&] { return o.Leftbar.Column(); }, 0, 1},
        {"Leftbar.Column", [&](int v) { o.Leftbar.SetColumn(v); }, [&] { return o.Leftbar.Column(); }, 9, 8},
        {"Leftbar.LeftMargin", [&](int v) { o.Leftbar.SetLeftMargin(v); }, [&] { return o.Leftbar.LeftMargin(); }, -3,
         0},
        {"Leftbar.RightMargin", [&](int v) { o.Leftbar.SetRightMargin(v); }, [&] { return o.Leftbar.RightMargin(); },
         101, 100},
        {"Margin.Left", [&](int v) { o.Margin.SetLeft(v); }, [&] { return o.Margin.Left(); }, -1, 0},
        {"Margin.Top", [&](int v) { o.Margin.SetTop(v); }, [&] { return o.Margin.Top(); }, 1000, 100},
        {"Margin.Line", [&](int v) { o.Margin.SetLine(v); }, [&] { return o.Margin.Line(); }, 100, 100},
        {"Margin.Character", [&](int v) { o.Margin.SetCharacter(v); }, [&] { return o.Margin.Character(); }, -100, 0},
        {"Ruler.GaugeRange", [&](int v) { o.Ruler.SetGaugeRange(v); }, [&] { return o.Ruler.GaugeRange(); }, 3, 8},
        {"Ruler.GaugeRange", [&](int v) { o.Ruler.SetGaugeRange(v); }, [&] { return o.Ruler.GaugeRange(); }, 9, 10},
        {"Imagebar.DigitWidth", [&](int v) { o.Imagebar.SetDigitWidth(v); }, [&] { return o.Imagebar.DigitWidth(); },
         200, 100},
        {"Font.Charset", [&](int v) { o.Font.SetCharset(v); }, [&] { return o.Font.Charset(); }, 300, 255},
        {"Font.Style", [&](int v) { o.Font.SetStyle(static_cast<TFontStyles>(v)); },
         [&] { return static_cast<int>(o.Font.Style()); }, 0xFF, 0x0F},
        {"Leftbar.ShowNumberMode", [&](int v) { o.Leftbar.SetShowNumberMode(static_cast<TShowNumberMode>(v)); },
         [&] { return static_cast<int>(o.Leftbar.ShowNumberMode()); }, 7, nmRow},
    };
    for (const Case& c : cases) {
        c.set(c.value);
        EXPECT_EQ(c.get(), c.expected) << c.name << " := " << c.value;
    }

    // A face name longer than the platform holds is cut, never inside a double-byte character.
    o.Font.SetName(std::string(30, 'a') + "\x83\x53" + "bc");  // ゴ straddles byte 31
    EXPECT_EQ(o.Font.Name(), std::string(30, 'a'));

    // Each object reports once per change, a mark through Marks, and nested updates report once at the end.
    int changes = 0;
    o.SetOnChange([&] { ++changes; });
    o.Marks.RetMark().SetVisible(!o.Marks.RetMark().Visible());
    o.Leftbar.SetColumn(o.Leftbar.Column());  // the same value is no change
    o.Leftbar.SetColumn(100);                 // clamped to 8, which it already is
    EXPECT_EQ(changes, 1);
    o.Marks.BeginUpdate();
    o.Marks.BeginUpdate();
    o.Marks.EofMark().SetColor(1);
    o.Marks.Underline().SetVisible(true);
    o.Marks.EndUpdate();
    EXPECT_EQ(changes, 1);
    o.Marks.EndUpdate();
    EXPECT_EQ(changes, 2);
    for (TNotifyPersistent* object :
         std::initializer_list<TNotifyPersistent*>{&o.Margin, &o.Ruler, &o.Imagebar, &o.Font}) {
        object->BeginUpdate();
        object->EndUpdate();
    }
    o.Margin.SetLeft(3);
    o.Ruler.SetVisible(true);
    o.Imagebar.SetVisible(true);
    o.Font.SetHeight(-20);
    EXPECT_EQ(changes, 6);
}

TEST(PaintOptions, TheScriptEditorsLayout) {
    // Margin.Left 10 + a bar of LeftMargin 1, four digits of 8 pixels, RightMargin 2 and the 2-pixel edge.
    Scene scene("a\r\n");
    const EditorLayout l = scene.layout();
    EXPECT_EQ(l.leftbarWidth, 37);
    EXPECT_EQ(l.textLeft, 47);
    EXPECT_EQ(l.textTop, 6);
    EXPECT_EQ(l.rowHeight, 16);
    // The caret-row underline takes a pixel row, the ruler sits above the text, the image bar left of the bar.
    scene.options.Marks.Underline().SetVisible(true);
    scene.options.Ruler.SetVisible(true);
    scene.options.Imagebar.SetVisible(true);
    const EditorLayout m = scene.layout();
    EXPECT_EQ(m.rowHeight, 17);
    EXPECT_EQ(m.textTop, 6 + TEditorRuler::HeightFor(16));
    EXPECT_EQ(m.textLeft, 47 + 8);
}

namespace {
std::string describe(const EditRepaint& p) {
    if (p.whole) return "whole";
    std::string out = "rows " + std::to_string(p.rows.first) + "-" + std::to_string(p.rows.last);
    if (!p.endRows.empty()) out += " end " + std::to_string(p.endRows.first) + "-" + std::to_string(p.endRows.last);
    if (p.scrollRows != 0)
        out += " scroll " + std::to_string(p.scrollFrom) + (p.scrollRows > 0 ? "+" : "") + std::to_string(p.scrollRows);
    if (p.numbers == NumberRepaint::From) out += " numbers " + std::to_string(p.numbersFrom);
    return out;
}
}  // namespace

TEST(RepaintPlan, AnEditRepaintsItsRowsAndMovesTheRest) {
    struct Case {
        const char* what;
        ChangeRecord change;  // first row, removed, inserted, states stored
        int rowCount, topRow;
        TShowNumberMode mode;
        const char* plan;
    } cases[] = {
        // 24 whole rows in view.
        {"a typed character", {5, 2, 2, 3, true}, 100, 0, nmRow, "rows 5-8"},
        {"Enter", {5, 2, 3, 4, true}, 101, 0, nmRow, "rows 5-9 scroll 9+1"},
        {"a line deleted", {5, 1, 0, 1, true}, 99, 0, nmRow, "rows 5-6 scroll 6-1"},
        {"a bracket opened", {5, 2, 2, 12, true}, 100, 0, nmRow, "rows 5-17"},
        {"the state change runs out of view", {5, 2, 2, 60, true}, 100, 0, nmRow, "rows 5-25"},
        {"a paste of more rows than the view", {5, 2, 27, 27, true}, 125, 0, nmRow, "whole"},
        {"Enter under the view", {50, 2, 3, 3, true}, 101, 0, nmRow, "rows 0-0"},
        {"Enter above the view", {10, 2, 3, 3, true}, 101, 50, nmRow, "rows 0-0 scroll 13+1"},
        // At the end of the text the end-of-file mark's rows are repainted, and so are the numbers there.
        {"typing on the last row", {2, 1, 1, 1, true}, 3, 0, nmRow, "rows 2-3 end 3-5 numbers 2"},
        {"a line added at the end", {2, 1, 2, 2, true}, 4, 0, nmRow, "rows 2-4 end 4-5 scroll 4+1 numbers 2"},
        {"the final line break removed", {0, 1, 1, 1, true}, 1, 0, nmRow, "rows 0-1 end 1-3 numbers 0"},
        {"lines numbered by line", {5, 2, 3, 4, true}, 101, 0, nmLine, "rows 5-9 scroll 9+1 numbers 5"},
        {"no change", {5, 2, 3, 4, false}, 101, 0, nmRow, "rows 0-0"},
        // With what the store says of the rows it kept, of the states and of the text's end: only the rows that
        // look different.
        {"a typed character, the row below kept", {5, 2, 2, 3, true, 0, 1, 6, true}, 100, 0, nmRow, "rows 5-6"},
        {"Enter, the rows around it kept", {5, 2, 3, 4, true, 1, 1, 7, true}, 101, 0, nmRow, "rows 6-7 scroll 7+1"},
        {"a bracket opened, states to row 17", {5, 2, 2, 12, true, 0, 1, 17, true}, 100, 0, nmRow, "rows 5-17"},
        {"typing on the last row", {2, 1, 1, 1, true, 0, 0, 3, true}, 3, 0, nmRow, "rows 2-3"},
        {"the final line break removed", {0, 1, 1, 1, true, 0, 0, 1, false}, 1, 0, nmRow, "rows 0-1 end 1-3 numbers 0"},
        {"a wrapped row above the block", {5, 2, 2, 3, true, 0, 1, 6, true, true}, 100, 0, nmRow, "rows 4-6"},
        {"a line deleted at the end", {2, 1, 0, 1, true, 0, 0, 0, true}, 2, 0, nmRow, "rows 0-0 scroll 2-1 numbers 1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describe(PlanEditRepaint(c.change, c.rowCount, c.topRow, 24, c.mode)), c.plan) << c.what;
    }
}

TEST(RepaintPlan, PixelsOfAnEditAndOfScrolling) {
    Scene scene("a\r\n");
    PaintInput in = scene.input();
    const int h = 6 + 25 * 16;  // 25 whole rows, and 9 pixels under them that never scroll
    in.clientHeight = h + 9;
    in.update = {0, 0, in.clientWidth, in.clientHeight};
    ViewGeometry v = ViewGeometryOf(in);
    const int w = in.clientWidth, ch = in.clientHeight;
    auto y = [](int row) { return 6 + row * 16; };

    // Enter on row 5: rows 5..8 repainted, the rows below moved down by one row (their pixels start at row 8).
    PixelRepaint enter = EditRepaintPixels(PlanEditRepaint({5, 2, 3, 4, true}, 101, 0, 24, nmRow), v);
    ASSERT_TRUE(enter.scroll);
    EXPECT_EQ(enter.scrollRect, (PixelRect{47, y(8), w, h}));
    EXPECT_EQ(enter.dy, 16);
    EXPECT_EQ(enter.invalid, (std::vector<PixelRect>{{47, y(8), w, y(9)}, {47, y(5), w, y(9)}}));
    // A deleted line: the rows below move up and the bottom row is uncovered.
    PixelRepaint del = EditRepaintPixels(PlanEditRepaint({5, 1, 0, 1, true}, 99, 0, 24, nmRow), v);
    EXPECT_EQ(del.scrollRect, (PixelRect{47, y(6), w, h}));
    EXPECT_EQ(del.dy, -16);
    EXPECT_EQ(del.invalid, (std::vector<PixelRect>{{47, h - 16, w, h}, {47, y(5), w, y(6)}}));
    // Numbers at the end of the text: the bar from that row down.
    PixelRepaint end = EditRepaintPixels(PlanEditRepaint({2, 1, 2, 2, true}, 4, 0, 24, nmRow), v);
    EXPECT_EQ(end.invalid.back(), (PixelRect{0, y(2), 37, ch}));

    // Scrolling by one row moves the whole rows with the bar, and paints one row.
    v.origin.topRow = 11;
    PixelRepaint down = PlanTopRowChange(10, v);
    ASSERT_TRUE(down.scroll);
    EXPECT_EQ(down.scrollRect, (PixelRect{0, 6, w, h}));
    EXPECT_EQ(down.dy, -16);
    ASSERT_EQ(down.invalid.size(), 1u);
    std::string text;
    for (int i = 0; i < 40; ++i) text += ";row\r\n";
    Scene rows(text);
    PaintInput again = rows.input();
    again.clientHeight = ch;
    again.origin.topRow = 11;
    again.update = down.invalid[0];
    RecordingSurface s;
    EditorPainter painter;
    painter.Paint(s, again);
    EXPECT_EQ(painter.RowsPainted(), 1);
    // A jump past the view repaints it whole, a column scroll moves only the text, a hidden view nothing.
    v.origin.topRow = 40;
    EXPECT_EQ(PlanTopRowChange(10, v).scroll, false);
    EXPECT_EQ(PlanTopRowChange(10, v).invalid, (std::vector<PixelRect>{{0, 6, w, h}}));
    v.origin.topCol = 3;
    PixelRepaint right = PlanTopColChange(0, v);
    EXPECT_EQ(right.scrollRect, (PixelRect{47, 0, w, ch}));
    EXPECT_EQ(right.dx, -24);
    EXPECT_EQ(right.invalid, (std::vector<PixelRect>{{w - 24, 0, w, ch}}));
    v.showing = false;
    EXPECT_FALSE(PlanTopColChange(0, v).scroll);
    EXPECT_TRUE(EditRepaintPixels(PlanEditRepaint({5, 2, 3, 4, true}, 101, 0, 24, nmRow), v).invalid.empty());
    v.showing = true;

    // The bar gains a digit: the text moves right by a character and the bar is drawn again.
    EditorLayout wider = v.layout;
    wider.leftbarDigits = 5;
    wider.leftbarWidth += 8;
    wider.textLeft += 8;
    ViewGeometry after = v;
    after.layout = wider;
    PixelRepaint widen = PlanTextLeftChange(v.layout, after);
    EXPECT_EQ(widen.scrollRect, (PixelRect{47, 0, w, ch}));
    EXPECT_EQ(widen.dx, 8);
    EXPECT_EQ(widen.invalid, (std::vector<PixelRect>{{0, 0, 55, ch}}));
    PixelRepaint narrow = PlanTextLeftChange(wider, v);
    EXPECT_EQ(narrow.dx, -8);
    EXPECT_EQ(narrow.invalid, (std::vector<PixelRect>{{w - 8, 0, w, ch}, {0, 0, 47, ch}}));
}

TEST(CaretGeometry, ShapesAndPlaces) {
    Scene scene("a\r\n");
    EditorLayout l = scene.layout();
    const GridOrigin origin{2, 3};
    // Row 5, column 7 seen from row 2, column 3: x = 47 + 4 * 8, y = 6 + 3 * 16.
    struct Case {
        CaretShapeKind shape;
        bool onDoubleByte;
        CaretPlacement expected;
    } cases[] = {
        {CaretShapeKind::Bar, false, {79, 54, 2, 16}},      {CaretShapeKind::Bar, true, {79, 54, 2, 16}},
        {CaretShapeKind::Underline, false, {79, 68, 8, 2}}, {CaretShapeKind::Underline, true, {79, 68, 16, 2}},
        {CaretShapeKind::Block, false, {79, 54, 8, 16}},    {CaretShapeKind::Block, true, {79, 54, 16, 16}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaretGeometry(c.shape, l, origin, 5, 7, 8, c.onDoubleByte), c.expected)
            << static_cast<int>(c.shape) << (c.onDoubleByte ? " on a double-byte character" : "");
    }
    // Margin.Character widens the grid but not the caret; Margin.Line lowers the underline.
    scene.options.Margin.SetCharacter(2);
    scene.options.Margin.SetLine(3);
    l = scene.layout();
    EXPECT_EQ(CaretGeometry(CaretShapeKind::Underline, l, origin, 5, 7, 8, false),
              (CaretPlacement{l.textLeft + 4 * 10, 6 + 3 * 19 + 17, 8, 2}));
}
