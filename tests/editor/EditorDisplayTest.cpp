// The editor's own repaint path, natively: the core's requests through the display into pixel plans, carried
// out by a window that keeps an update region as Windows does, and painted on a recording surface. What edits
// and scrolls repaint, the phantom row at the top after PgDn and SB_BOTTOM, the left bar widening, the caret's
// shapes, a hidden control, and the composition window held back while a key repeats.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CaretTestSupport.h"
#include "PaintTestSupport.h"
#include "editor/EditorDisplay.h"
#include "editor/ScriptScheme.h"

using namespace editor;
using caret_test::press;
using painttest::RecordingSurface;

namespace {

// A window that keeps its update region as a list of rectangles: a scroll moves the pixels and the part of the
// region inside the scrolled rectangle (and leaves the region where it was, as Windows does), then the plan's
// rectangles are added.
class FakeWindow : public DisplayWindow {
public:
    bool showing = true;
    FontMetrics metrics{16, 0, 8};
    std::vector<PixelRect> region;
    std::vector<std::string> scrolls;  // "dy/rh" or "dx/cw" per window scroll
    std::vector<std::pair<int, int>> compositions;
    int fontChanges = 0;
    const EditorLayout* layout = nullptr;

    bool Showing() const override { return showing; }
    FontMetrics FontChanged(const EditorFont&) override {
        ++fontChanges;
        return metrics;
    }
    void Repaint(const PixelRepaint& plan) override {
        if (plan.scroll) {
            const std::size_t n = region.size();
            for (std::size_t i = 0; i < n; ++i) {
                const PixelRect inside = region[i].intersect(plan.scrollRect);
                if (inside.empty()) continue;
                region.push_back(PixelRect{inside.left + plan.dx, inside.top + plan.dy, inside.right + plan.dx,
                                           inside.bottom + plan.dy}
                                     .intersect(plan.scrollRect));
            }
            scrolls.push_back(plan.dy ? "rows " + std::to_string(plan.dy / layout->rowHeight)
                                      : "cols " + std::to_string(plan.dx / layout->charWidth));
        }
        for (const PixelRect& r : plan.invalid) region.push_back(r);
    }
    void CaretChanged() override {}
    void ScrollBarsChanged() override {}
    void MoveComposition(int x, int y) override { compositions.emplace_back(x, y); }
};

// A core with the script editor's look: 692 x 408 pixels, 25 whole rows of 16 pixels, ";" comments and tags.
struct Control {
    FakeWindow window;
    EditorCore core;
    EditorDisplay display{core, window};

    explicit Control(const std::string& text, int height = 408) {
        window.layout = &core.Layout();
        painttest::configureScriptEditor(display.Options());
        display.SetColor(clBlack);
        ApplyScriptScheme(core.View(), true);
        core.SetClientArea({692, height, 0, 0});
        core.Store().SetText(text);
        core.SetFocused(true);
        settle();
    }
    void settle() {
        window.region.clear();
        window.scrolls.clear();
    }
    // The screen rows whose text area the update region reaches ("5-6,24"), "bar" when it reaches the left
    // bar's numbers of rows, and the window scrolls: what painting the region costs.
    std::string repainted() const {
        const EditorLayout& l = core.Layout();
        std::set<int> rows, bar;
        for (const PixelRect& r : window.region) {
            for (int k = 0; k < l.shownRows; ++k) {
                const int top = l.textTop + k * l.rowHeight;
                if (r.intersects({l.textLeft, top, 692, top + l.rowHeight})) rows.insert(k);
                if (r.intersects({0, top, l.leftbarWidth, top + l.rowHeight})) bar.insert(k);
            }
        }
        auto ranges = [](const std::set<int>& s) {
            std::string out;
            for (auto it = s.begin(); it != s.end();) {
                int a = *it, b = a;
                while (++it != s.end() && *it == b + 1) b = *it;
                out += (out.empty() ? "" : ",") + std::to_string(a) + (b > a ? "-" + std::to_string(b) : "");
            }
            return out;
        };
        std::string out = "rows " + ranges(rows);
        if (!bar.empty()) out += " bar " + ranges(bar);
        for (const std::string& s : window.scrolls) out += " scroll " + s;
        return out;
    }
    // Paints the update region as TEditor does (rectangle by rectangle) and counts the text rows painted.
    int paintRegion() {
        EditorPainter painter;
        RecordingSurface s;
        int rows = 0;
        for (const PixelRect& r : window.region) {
            painter.Paint(s, display.Input(r));
            rows += painter.RowsPainted();
        }
        window.region.clear();
        return rows;
    }
    // The line number and the texts drawn on screen row k of a full paint.
    std::string screenRow(int k) {
        EditorPainter painter;
        RecordingSurface s;
        painter.Paint(s, display.Input({0, 0, 692, 408}));
        const EditorLayout& l = core.Layout();
        std::string out;
        for (const painttest::Op* op : s.textsIn(l.textTop + k * l.rowHeight, l.rowHeight)) {
            std::string t = op->text;
            t.erase(0, t.find_first_not_of(' '));
            if (!t.empty()) out += (out.empty() ? "" : " ") + t;
        }
        return out;
    }
};

std::string script(int rows) {
    std::string text;
    for (int r = 0; r < rows; ++r) text += (r % 3 == 0 ? ";comment " : "_.LINE 0,0 ") + std::to_string(r) + "\r\n";
    return text;
}

}  // namespace

TEST(EditorDisplay, AnEditRepaintsOnlyTheRowsThatLookDifferent) {
    struct Case {
        const char* what;
        int rows;  // of the text; 10 keep its end in view, 60 do not
        int caretRow, caretCol;
        std::function<void(EditorCore&)> act;
        const char* repainted;
    } cases[] = {
        {"a typed character", 60, 5, 3, [](EditorCore& c) { c.Char("x", {}); }, "rows 5"},
        {"a typed double-byte character", 60, 5, 3, [](EditorCore& c) { c.Char("\x95\x5C", {}); }, "rows 5"},  // 表
        {"its undo", 60, 5, 3, [](EditorCore& c) { c.Char("x", {}); c.Undo(); }, "rows 5"},
        {"Enter inside a row", 60, 5, 3, [](EditorCore& c) { c.Enter(false); }, "rows 5-6 scroll rows 1"},
        {"Back-space joining two rows", 60, 6, 0, [](EditorCore& c) { c.BackSpace(); }, "rows 5,24 scroll rows -1"},
        {"a same-count change: a selection typed over", 60, 5, 2,
         [](EditorCore& c) {
             press(c, key::kRight, true);
             press(c, key::kRight, true);
             c.Char("x", {});
         },
         "rows 5"},
        {"a paste of three lines", 60, 5, 0, [](EditorCore& c) { c.ReplaceSelection("a\r\nb\r\nc\r\n"); },
         "rows 5-7 scroll rows 3"},
        {"a paste of more rows than the view", 60, 5, 0,
         [](EditorCore& c) { c.ReplaceSelection(script(30)); }, "rows 0-24 bar 0-24 scroll rows -12"},
        {"a tag left open colours the rows below", 60, 5, 0, [](EditorCore& c) { c.Char("[", {}); c.Char("%", {}); },
         "rows 5-24"},
        {"typing on the last row", 10, 9, 3, [](EditorCore& c) { c.Char("x", {}); }, "rows 9"},
        {"Enter at the end of the last row", 10, 9, 20, [](EditorCore& c) { c.Enter(false); },
         "rows 10 bar 9-24 scroll rows 1"},
        {"the final line break removed", 10, 10, 0, [](EditorCore& c) { c.BackSpace(); }, "rows 9-11 bar 9-24"},
    };
    for (const Case& c : cases) {
        Control control(script(c.rows));
        control.core.SetCaretPos(c.caretRow, c.caretCol);
        control.settle();
        c.act(control.core);
        EXPECT_EQ(control.repainted(), c.repainted) << c.what;
    }
}

TEST(EditorDisplay, ScrollingByOneRowPaintsOneRowAndTheEndStaysReachable) {
    // A row cut by the bottom edge is never drawn, so a scroll by a row uncovers exactly one.
    Control control(script(60), 408 - 9);
    const EditorLayout& l = control.core.Layout();
    ASSERT_NE((399 - l.textTop) % l.rowHeight, 0);
    control.core.VScroll(static_cast<int>(ScrollCode::LineDown), 0);
    EXPECT_EQ(control.repainted(), "rows 23 bar 23 scroll rows -1");
    EXPECT_EQ(control.paintRegion(), 1);
    control.core.VScroll(static_cast<int>(ScrollCode::LineUp), 0);
    EXPECT_EQ(control.paintRegion(), 1);
    press(control.core, key::kDown, false, true);  // Ctrl+Down scrolls the view
    EXPECT_EQ(control.paintRegion(), 1);

    // PgDn until it stops, and SB_BOTTOM: the phantom row after the final line break reaches the top, numbered;
    // without a final line break the last row does.
    struct Case {
        const char* what;
        std::string text;
        bool pageDown;
        const char* topRow;
    } cases[] = {
        {"PgDn", script(60), true, "[EOF] 61"},
        {"SB_BOTTOM", script(60), false, "[EOF] 61"},
        {"SB_BOTTOM without a final line break", script(60) + "last", false, "last [EOF] 61"},
        {"PgDn without a final line break", script(60) + "last", true, "last [EOF] 61"},
    };
    for (const Case& c : cases) {
        Control end(c.text);
        if (c.pageDown) {
            for (int i = 0; i < 20; ++i) press(end.core, key::kNext);
        } else {
            end.core.VScroll(static_cast<int>(ScrollCode::Bottom), 0);
        }
        EXPECT_EQ(end.screenRow(0), c.topRow) << c.what;
        EXPECT_EQ(end.screenRow(1), "") << c.what;
    }
}

TEST(EditorDisplay, TheLeftBarWidensWhenItsNumbersGainADigitAndItsHitAreaIsWhereItIsDrawn) {
    std::string text;
    for (int i = 0; i < 9998; ++i) text += "a\r\n";
    Control control(text);
    control.core.SetCaretPos(9998, 0);
    control.core.SetTopRow(9990);
    const int before = control.core.Layout().textLeft;
    control.settle();
    control.core.Enter(false);  // 9,999 rows: the phantom row is numbered 10000
    EXPECT_EQ(control.core.Layout().leftbarDigits, 5);
    EXPECT_EQ(control.core.Layout().textLeft, before + 8);
    ASSERT_FALSE(control.window.scrolls.empty());
    EXPECT_EQ(control.window.scrolls.front(), "cols 1") << "the text moved right by the new digit";
    EXPECT_EQ(control.screenRow(9), "[EOF] 10000");

    // The core's digits follow the bar's numbering as the painter's do: 0-based rows end at 9999, and a bar
    // without numbers keeps Leftbar.Column.
    struct Numbering {
        bool zeroBase, showNumber;
        TShowNumberMode mode;
        int digits;
    } numberings[] = {{true, true, nmRow, 4}, {false, false, nmRow, 4}, {false, true, nmLine, 5}};
    for (const Numbering& n : numberings) {
        TEditorLeftbar& bar = control.display.Options().Leftbar;
        bar.SetZeroBase(n.zeroBase);
        bar.SetShowNumber(n.showNumber);
        bar.SetShowNumberMode(n.mode);
        EXPECT_EQ(control.core.Layout().leftbarDigits, n.digits) << n.zeroBase << n.showNumber << n.mode;
    }

    // The pointer counts as over the left bar exactly where the bar (and the image bar left of it) is drawn.
    for (bool imagebar : {false, true}) {
        control.display.Options().Imagebar.SetVisible(imagebar);
        EditorPainter painter;
        const BackgroundKey key = EditorPainter::BackgroundKeyOf(control.display.Input({}));
        for (int x = 0; x < control.core.Layout().textLeft + 4; ++x) {
            const bool drawnBar = x < key.barLeft + key.barWidth;
            EXPECT_EQ(control.core.CursorAt(x, 40, false) == crEditorRightArrow, drawnBar)
                << "x " << x << (imagebar ? " with the image bar" : "");
        }
    }
}

TEST(EditorDisplay, OptionsTakeEffectAndAHiddenControlPaintsAndScrollsNothing) {
    Control control(script(60));
    // A margin moves the text; a new font is measured by the window and decides the grid.
    control.display.Options().Margin.SetLeft(20);
    EXPECT_EQ(control.core.Layout().textLeft, 20 + 37);
    EXPECT_EQ(control.repainted(), "rows 0-24 bar 0-24");
    control.window.metrics = {20, 2, 10};
    const int measured = control.window.fontChanges;
    control.display.Options().Font.SetHeight(-20);
    EXPECT_EQ(control.window.fontChanges, measured + 1);
    EXPECT_EQ(control.core.Layout().rowHeight, 22);
    EXPECT_EQ(control.core.Layout().charWidth, 10);

    // The caret's shape: a bar, the brief underline, a block in Overwrite mode, twice as wide on a double-byte
    // character.
    control.core.Store().SetText("\x95\x5C" "a\r\n");  // 表
    control.core.SetCaretPos(0, 0);
    EXPECT_EQ(control.display.Caret().width, 2);
    control.core.Caret().SetStyle(csBrief);
    EXPECT_EQ(control.display.Caret().width, 20);
    EXPECT_EQ(control.display.Caret().height, 2);
    control.core.SetOverwrite(true);
    control.core.SetCaretPos(0, 2);
    EXPECT_EQ(control.display.Caret().width, 10);
    EXPECT_EQ(control.display.Caret().height, 22);

    // Hidden: the top row still follows the scroll bar, but nothing is scrolled or painted.
    control.window.showing = false;
    control.core.Store().SetText(script(60));
    control.settle();
    control.core.Char("x", {});
    control.core.VScroll(static_cast<int>(ScrollCode::PageDown), 0);
    EXPECT_GT(control.core.TopRow(), 0);
    EXPECT_EQ(control.repainted(), "rows ");
    EditorPainter painter;
    RecordingSurface s;
    painter.Paint(s, control.display.Input({0, 0, 692, 408}));
    EXPECT_TRUE(s.ops.empty());
}

TEST(EditorDisplay, TheCompositionWindowWaitsForARepeatingKey) {
    Control control(script(60));
    control.window.compositions.clear();
    control.display.SetKeyRepeating(true);
    control.core.VScroll(static_cast<int>(ScrollCode::LineDown), 0);
    control.core.VScroll(static_cast<int>(ScrollCode::LineDown), 0);
    EXPECT_TRUE(control.window.compositions.empty());
    control.display.SetKeyRepeating(false);
    ASSERT_EQ(control.window.compositions.size(), 1u);
    EXPECT_EQ(control.window.compositions[0].second, control.core.CaretY());
    control.core.VScroll(static_cast<int>(ScrollCode::LineUp), 0);
    EXPECT_EQ(control.window.compositions.size(), 2u);
}
