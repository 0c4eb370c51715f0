// The painter's decisions on a recording surface: marks, line numbers, colours, selection pieces, the column
// limit, the update area, and hostile rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "PaintTestSupport.h"
#include "core/Cp932.h"

using namespace editor;
using painttest::Op;
using painttest::RecordingSurface;
using painttest::Scene;

namespace {

std::string hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c));
    return buf;
}

struct Painted {
    RecordingSurface surface;
    EditorLayout layout;
    GridOrigin origin;

    int rowTop(int k) const { return layout.textTop + k * layout.rowHeight; }
    int columnAt(int x) const { return (x - layout.textLeft) / layout.charWidth + origin.topCol; }

    // The text pieces drawn in the text area of screen row k: "text"@column text/background, in drawing order.
    std::string texts(int k) const {
        std::string out;
        for (const Op* op : surface.textsIn(rowTop(k), layout.rowHeight)) {
            if (op->rect.left < layout.textLeft) continue;
            if (!out.empty()) out += " | ";
            out +=
                '"' + op->text + "\"@" + std::to_string(columnAt(op->x)) + ' ' + hex(op->color) + '/' + hex(op->back);
        }
        return out;
    }
    // The line number of screen row k ("" when none) and its marks: "ret@col", "eof@col", "wrap@col", "hide@col".
    std::string row(int k) const {
        std::string number, marks;
        const int top = rowTop(k);
        for (const Op* op : surface.textsIn(top, layout.rowHeight)) {
            if (op->rect.right <= layout.textLeft) {
                number = op->text.substr(op->text.find_first_not_of(' ') == std::string::npos
                                             ? op->text.size()
                                             : op->text.find_first_not_of(' '));
            } else if (op->text == "[EOF]") {
                marks += " eof@" + std::to_string(columnAt(op->x));
            }
        }
        for (const Op* op : surface.linesIn(top, layout.rowHeight)) {
            const auto& p = op->points;
            if (p.size() == 2 && p[0].x == p[1].x) {
                marks += " ret@" + std::to_string(columnAt(p[0].x - layout.charWidth / 2));
            } else if (p.size() == 3 && p[0].x == p[2].x) {  // a chevron (an arrow's head has its ends level)
                const bool left = p[1].x < p[0].x;
                marks += std::string(left ? " wrap@" : " hide@") + std::to_string(columnAt(std::min(p[0].x, p[1].x)));
            }
        }
        return number + '|' + marks;
    }
};

Painted paint(Scene& scene, const std::function<void(PaintInput&)>& adjust = {}) {
    Painted out;
    PaintInput in = scene.input();
    if (adjust) adjust(in);
    EditorPainter painter;
    painter.Paint(out.surface, in);
    out.layout = in.layout;
    out.origin = in.origin;
    return out;
}

}  // namespace

TEST(Painter, MarksTheEndOfEveryRowAndNumbersThePhantomRow) {
    struct Case {
        const char* text;
        std::vector<std::string> rows;  // per screen row: number|marks
    } cases[] = {
        {"", {"1| eof@0", "|"}},
        {"a\r\nb\r\n", {"1| ret@1", "2| ret@1", "3| eof@0", "|"}},
        {"a\r\nbc", {"1| ret@1", "2| eof@2", "|"}},
        {"\tx\r\n", {"1| ret@9", "2| eof@0", "|"}},       // the tab takes eight columns
        {"\x95\x5C\r\n", {"1| ret@2", "2| eof@0", "|"}},  // 表, trail byte 0x5C: one character of two columns
    };
    for (const Case& c : cases) {
        Scene scene(c.text);
        const Painted p = paint(scene);
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            EXPECT_EQ(p.row(static_cast<int>(k)), c.rows[k]) << "text \"" << c.text << "\", screen row " << k;
        }
    }
}

TEST(Painter, ArrowAndChevronsHaveTheirExactGeometry) {
    // h = 16, w = 8: d = 2, f = 3, e = 4.
    Scene scene("ab\r\n");
    scene.options.Marks.HideMark().SetVisible(true);
    const Painted p = paint(scene);
    const int x = p.layout.textLeft + 2 * 8 + 4;
    const int y = p.rowTop(0);
    const auto lines = p.surface.linesIn(y, 16);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->points, (std::vector<PixelPoint>{{x, y + 4}, {x, y + 12}}));
    EXPECT_EQ(lines[1]->points, (std::vector<PixelPoint>{{x - 2, y + 10}, {x, y + 12}, {x + 2, y + 10}}));
    EXPECT_EQ(lines[0]->color, kBlue);

    // A wrapped row ends in "<", a row past the column limit in ">", each 4 pixels across, centred in the cell.
    Scene wrapped(std::string(30, 'w') + "\r\n");
    wrapped.store.WrapOption().SetWrapByte(20);
    wrapped.store.SetWordWrap(true);
    wrapped.options.Marks.WrapMark().SetVisible(true);
    wrapped.options.Marks.HideMark().SetVisible(true);
    const Painted q = paint(wrapped);
    EXPECT_EQ(q.row(0), "1| wrap@20");
    EXPECT_EQ(q.row(1), "2| ret@10");
    const auto wrap = q.surface.linesIn(q.rowTop(0), 16);
    ASSERT_EQ(wrap.size(), 1u);
    const int left = q.layout.textLeft + 20 * 8 + 2;
    EXPECT_EQ(
        wrap[0]->points,
        (std::vector<PixelPoint>{{left + 3, q.rowTop(0) + 5}, {left, q.rowTop(0) + 8}, {left + 3, q.rowTop(0) + 11}}));
    EXPECT_EQ(wrap[0]->color, kGray);
    // The hidden-text mark stands at the limit and the line-end mark after it.
    Scene plain(std::string(1005, 'h') + "\r\n");
    plain.options.Marks.HideMark().SetVisible(true);
    plain.client.width = 47 + 1010 * 8;
    EXPECT_EQ(paint(plain).row(0), "1| hide@1000 ret@1001");
}

TEST(Painter, ScriptColoursSelectionAndHits) {
    Scene scene("ABC\r\n;comment\r\nX [%FOLDER%] Y\r\n");
    // Rows drawn whole in the font colour on black, then the tokens with their own colours again.
    Painted p = paint(scene);
    EXPECT_EQ(p.texts(0), "\"ABC\"@0 FFFFFF/000000");
    EXPECT_EQ(p.texts(1), "\";comment\"@0 FFFFFF/000000 | \";comment\"@0 BBBB00/000000");
    EXPECT_EQ(p.texts(2), "\"X [%FOLDER%] Y\"@0 FFFFFF/000000 | \"[%FOLDER%]\"@2 4646FF/000000");

    // A stream selection from row 0 column 1 to row 1 column 3: selected text and the selected line break's
    // arrow white on navy; the comment colour only outside the selection.
    auto select = [](PaintInput& in) {
        in.selectionState = sstSelected;
        in.selection = SelectionRange{0, 1, 1, 1, 3, 3};
    };
    p = paint(scene, select);
    EXPECT_EQ(p.texts(0), "\"A\"@0 FFFFFF/000000 | \"BC \"@1 FFFFFF/800000 | \"\"@4 FFFFFF/000000");
    EXPECT_EQ(p.texts(1), "\";co\"@0 FFFFFF/800000 | \"mment\"@3 FFFFFF/000000 | \"mment\"@3 BBBB00/000000");
    EXPECT_EQ(p.surface.linesIn(p.rowTop(0), 16).at(0)->color, clWhite);
    EXPECT_EQ(p.surface.linesIn(p.rowTop(1), 16).at(0)->color, kBlue);

    // The same range as a box: the same columns on every row, nothing of the line break.
    p = paint(scene, [&](PaintInput& in) {
        select(in);
        in.selectionMode = smBox;
        in.selection.lastCol = 5;  // past the end of "ABC": selected blanks, and the arrow inside the box
    });
    EXPECT_EQ(p.texts(0), "\"A\"@0 FFFFFF/000000 | \"BC  \"@1 FFFFFF/800000 | \"\"@5 FFFFFF/000000");
    EXPECT_EQ(p.texts(1),
              "\";\"@0 FFFFFF/000000 | \";\"@0 BBBB00/000000 | \"comm\"@1 FFFFFF/800000 | \"ent\"@5 FFFFFF/000000 | "
              "\"ent\"@5 BBBB00/000000");
    EXPECT_EQ(p.surface.linesIn(p.rowTop(0), 16).at(0)->color, clWhite);
    EXPECT_EQ(p.surface.linesIn(p.rowTop(1), 16).at(0)->color, kBlue);

    // A search hit takes the Hit colours; without colours of its own it inverts the control's colours.
    p = paint(scene, [&](PaintInput& in) {
        select(in);
        in.selectionState = sstHitSelected;
    });
    EXPECT_EQ(p.texts(1), "\";co\"@0 000000/FFFFFF | \"mment\"@3 FFFFFF/000000 | \"mment\"@3 BBBB00/000000");

    // An anchor alone selects nothing.
    p = paint(scene, [&](PaintInput& in) {
        select(in);
        in.selectionState = sstAnchored;
    });
    EXPECT_EQ(p.texts(0), "\"ABC\"@0 FFFFFF/000000");
}

TEST(Painter, StylesUnderlineWithDotsAndItalicDrawsTokenByToken) {
    Scene scene("ab ;c\r\n");
    scene.view.Colors().Comment().SetStyle(fsUnderline);
    Painted p = paint(scene);
    const Op* dots = nullptr;
    for (const Op& op : p.surface.ops) {
        if (op.kind == Op::Dots) dots = &op;
    }
    ASSERT_NE(dots, nullptr);
    EXPECT_EQ(dots->x, p.layout.textLeft + 3 * 8);  // across the comment ";c", one pixel above the row's bottom
    EXPECT_EQ(dots->right, p.layout.textLeft + 5 * 8);
    EXPECT_EQ(dots->y, p.rowTop(0) + 14);
    EXPECT_EQ(dots->color, painttest::kCommentColor);

    // Italic somewhere: the row is cleared, then every token drawn; tokens without a background of their own
    // are drawn on what is there.
    scene.view.Colors().Comment().SetStyle(fsItalic);
    scene.view.Colors().Comment().SetBkColor(clNone);
    p = paint(scene);
    EXPECT_EQ(p.texts(0), "\"ab\"@0 FFFFFF/1FFFFFFF | \";c\"@3 BBBB00/1FFFFFFF");
}

TEST(Painter, RowsAreDrawnToTheColumnLimit) {
    const std::string kanji = "\x8A\xBF";  // 漢
    struct Case {
        std::string row;
        int topCol;
        int width;  // client width
        bool hideMark;
        std::string drawn;  // first column and bytes of the row's text piece
        std::string marks;
    } cases[] = {
        // A row of 1200 bytes draws its first 1000; wide enough to show them all, in one piece.
        {std::string(1200, 'x'), 0, 47 + 1010 * 8, false, "0:1000", "1| ret@1000"},
        {std::string(1200, 'x'), 0, 47 + 1010 * 8, true, "0:1000", "1| hide@1000 ret@1001"},
        // A double-byte character in columns 999 and 1000 is drawn whole: 1001 bytes.
        {std::string(999, 'x') + kanji + "yyy", 0, 47 + 1010 * 8, false, "0:1001", "1| ret@1001"},
        // Scrolled to the right end of the view: only the visible part is drawn, ending at the limit.
        {std::string(1200, 'x'), 960, 692, false, "960:40", "1| ret@1000"},
        // A tab that would run past the limit stops there.
        {std::string(996, 'x') + "\tz", 960, 692, false, "960:40", "1| ret@1000"},
    };
    for (const Case& c : cases) {
        Scene scene(c.row + "\r\n");
        scene.client.width = c.width;
        scene.options.Marks.HideMark().SetVisible(c.hideMark);
        const Painted p = paint(scene, [&](PaintInput& in) { in.origin.topCol = c.topCol; });
        const auto texts = p.surface.textsIn(p.rowTop(0), 16);
        const Op* piece = nullptr;
        for (const Op* op : texts) {
            if (op->rect.left >= p.layout.textLeft && op->text != "[EOF]") piece = op;
        }
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(std::to_string(p.columnAt(piece->x)) + ":" + std::to_string(piece->text.size()), c.drawn)
            << c.row.size() << " bytes from column " << c.topCol;
        EXPECT_EQ(p.row(0), c.marks) << c.row.size() << " bytes from column " << c.topCol;
    }
}

TEST(Painter, LeftBarNumbersAndItsWidth) {
    // 9,999 rows with a final line break number their phantom row 10000: the bar widens from 4 to 5 digits
    // and the text moves right by one character.
    std::string text;
    for (int i = 0; i < 9998; ++i) text += "a\r\n";
    Scene narrow(text);
    Scene wide(text + "a\r\n");
    EXPECT_EQ(narrow.layout().leftbarDigits, 4);
    EXPECT_EQ(wide.layout().leftbarDigits, 5);
    EXPECT_EQ(wide.layout().textLeft, narrow.layout().textLeft + 8);
    // The phantom row scrolled to the top shows "[EOF]" and its number; the rows past it stay blank.
    const Painted p = paint(wide, [](PaintInput& in) { in.origin.topRow = 9999; });
    EXPECT_EQ(p.row(0), "10000| eof@0");
    EXPECT_EQ(p.row(1), "|");
    const Op* number = nullptr;
    for (const Op* op : p.surface.textsIn(p.rowTop(0), 16)) {
        if (op->rect.right <= p.layout.textLeft) number = op;
    }
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->text, "10000");
    EXPECT_EQ(number->x, 1);  // Leftbar.LeftMargin into the bar
    EXPECT_EQ(number->rect, (PixelRect{0, p.rowTop(0), wide.layout().leftbarWidth - 2, p.rowTop(1)}));
    EXPECT_EQ(number->color, kSilver);
    EXPECT_EQ(number->back, clNavy);

    // Numbering modes on a wrapped text: a line of 45 columns wrapped at 20, then a short line.
    struct Case {
        TShowNumberMode mode;
        bool zeroBase, zeroLead;
        std::vector<std::string> numbers;  // screen rows 0..4
    } cases[] = {
        {nmRow, false, false, {"   1", "   2", "   3", "   4", "   5"}},
        {nmRow, true, true, {"0000", "0001", "0002", "0003", "0004"}},
        {nmLine, false, false, {"   1", "", "", "   2", "   3"}},
        {nmLine, true, false, {"   0", "", "", "   1", "   2"}},
    };
    for (const Case& c : cases) {
        Scene scene(std::string(45, 'w') + "\r\nshort\r\n");
        scene.store.WrapOption().SetWrapByte(20);
        scene.store.SetWordWrap(true);
        scene.options.Leftbar.SetShowNumberMode(c.mode);
        scene.options.Leftbar.SetZeroBase(c.zeroBase);
        scene.options.Leftbar.SetZeroLead(c.zeroLead);
        const Painted q = paint(scene);
        for (int k = 0; k < 5; ++k) {
            std::string number;
            for (const Op* op : q.surface.textsIn(q.rowTop(k), 16)) {
                if (op->rect.right <= q.layout.textLeft) number = op->text;
            }
            EXPECT_EQ(number, c.numbers[static_cast<std::size_t>(k)]) << "mode " << c.mode << ", row " << k;
        }
    }
}

TEST(Painter, PaintsOnlyTheUpdateAreaAndNothingWhileHidden) {
    Scene scene("a\r\nb\r\nc\r\n");
    EditorPainter painter;
    RecordingSurface s;
    PaintInput in = scene.input();
    in.update = {0, in.layout.textTop + 16, 400, in.layout.textTop + 32};  // screen row 1 exactly
    painter.Paint(s, in);
    EXPECT_EQ(painter.RowsPainted(), 1);
    for (const Op& op : s.ops) {
        if (op.kind != Op::Line && op.kind != Op::Dots) {
            EXPECT_TRUE(op.rect.intersect(in.update) == op.rect) << "op outside the update area";
        }
    }
    in.showing = false;
    RecordingSurface hidden;
    painter.Paint(hidden, in);
    EXPECT_TRUE(hidden.ops.empty());

    // OnDrawLine: once per text row, with the display text and the row's place.
    in.showing = true;
    in.update = {0, 0, scene.client.width, scene.client.height};
    std::vector<std::string> seen;
    in.onDrawLine = [&](PaintSurface&, std::string_view line, int x, int y, int index, const PixelRect& rect,
                        bool selected) {
        seen.push_back(std::string(line) + "@" + std::to_string(index) + "," + std::to_string(x) + "," +
                       std::to_string(y) + "," + std::to_string(rect.left) + (selected ? " selected" : ""));
    };
    in.selectionState = sstSelected;
    in.selection = SelectionRange{1, 0, 0, 1, 1, 1};
    painter.Paint(s, in);
    EXPECT_EQ(seen, (std::vector<std::string>{"a@0,47,6,47", "b@1,47,22,47 selected", "c@2,47,38,47"}));
}

TEST(Painter, RulerImageBarAndCaretRowUnderline) {
    Scene scene("a\r\nb\r\n");
    scene.options.Ruler.SetVisible(true);
    scene.options.Ruler.SetMarkColor(0x0000FF);
    scene.options.Imagebar.SetVisible(true);
    scene.options.Marks.Underline().SetVisible(true);
    scene.store.SetMarks(1, 1 << 3);  // row mark 3 on the second row
    const Painted p = paint(scene, [](PaintInput& in) {
        in.caretRow = 1;
        in.caretCol = 12;
        in.caretUnderline = true;
    });
    const int rh = p.layout.rowHeight;  // one pixel row more for the underline
    ASSERT_EQ(rh, 17);
    std::vector<std::string> gauge;
    const Op* caretMark = nullptr;
    std::vector<int> boxRows;
    const Op* underline = nullptr;
    for (const Op& op : p.surface.ops) {
        if (op.kind == Op::Text && op.y == 0) gauge.push_back(op.text + "@" + std::to_string(p.columnAt(op.x - 1)));
        if (op.kind == Op::Fill && op.color == 0x0000FF) caretMark = &op;
        if (op.kind == Op::Fill && op.rect.right <= 8 && op.color == clWhite) boxRows.push_back(op.rect.top);
        if (op.kind == Op::Line && op.color == kGray) underline = &op;
    }
    // Column numbers every ten columns, the caret's column marked below them.
    ASSERT_GE(gauge.size(), 3u);
    EXPECT_EQ(gauge[0], "10@10");
    EXPECT_EQ(gauge[1], "20@20");
    ASSERT_NE(caretMark, nullptr);
    EXPECT_EQ(caretMark->rect.left, p.layout.textLeft + 12 * 8);
    EXPECT_LT(caretMark->rect.bottom, p.layout.textTop);
    // The image bar marks the row that carries a row mark, and only it.
    EXPECT_EQ(boxRows, (std::vector<int>{p.rowTop(1) + 2}));
    // The caret row is underlined along its last pixel row.
    ASSERT_NE(underline, nullptr);
    EXPECT_EQ(underline->points.front(), (PixelPoint{p.layout.textLeft, p.rowTop(1) + rh - 1}));
}

// Rows of hostile bytes (lone lead bytes, NUL, 0x5C trail bytes, tabs at the limit, very long rows) painted
// from random columns with random selections and update areas: everything stays inside the update area, and
// every piece of text starts on a character of the row's display text, shows exactly that text (selected blanks
// after it) and holds at most 1001 bytes.
TEST(Painter, HostileRowsStayOnTheGrid) {
    std::mt19937 rng(20240613);
    const unsigned char palette[] = {'a', ' ', '\t', 0x81, 0x5C, 0x95, 0x00, 0xA0, 0xFC, 0x40, ';', '[', '%', ']'};
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 150; ++round) {
        std::string text;
        const int rows = 1 + pick(6);
        for (int r = 0; r < rows; ++r) {
            const int length = pick(4) == 0 ? 900 + pick(400) : pick(40);
            for (int i = 0; i < length; ++i) text += static_cast<char>(palette[pick(sizeof palette)]);
            if (r + 1 < rows || pick(2)) text += "\r\n";
        }
        Scene scene(text);
        scene.options.Marks.HideMark().SetVisible(pick(2) != 0);
        scene.options.Marks.SetTrailingBlanks(pick(2) != 0);
        PaintInput in = scene.input();
        in.origin.topCol = pick(3) == 0 ? 0 : pick(1000);
        in.tabSpaceCount = 2 * (1 + pick(4));
        if (pick(2)) {
            in.selectionState = sstSelected;
            in.selectionMode = pick(2) ? smBox : smStream;
            const int a = pick(rows), b = pick(rows);
            const int far = pick(8) == 0 ? 2000000000 : 1100;  // a column far outside every row
            in.selection = SelectionRange{std::min(a, b), pick(1100), 0, std::max(a, b), pick(far), 0};
            if (in.selection.firstRow == in.selection.lastRow && in.selection.firstCol > in.selection.lastCol) {
                std::swap(in.selection.firstCol, in.selection.lastCol);
            }
        }
        const int x = pick(in.clientWidth), y = pick(in.clientHeight);
        in.update = {x, y, x + 1 + pick(in.clientWidth), y + 1 + pick(in.clientHeight)};
        const PixelRect area = in.update.intersect({0, 0, in.clientWidth, in.clientHeight});

        RecordingSurface s;
        EditorPainter painter;
        painter.Paint(s, in);
        for (const Op& op : s.ops) {
            if (op.kind == Op::Line) {
                for (const PixelPoint& pt : op.points) {
                    ASSERT_TRUE(pt.x >= 0 && pt.x < in.clientWidth && pt.y >= 0 && pt.y < in.clientHeight);
                }
                continue;
            }
            if (op.kind == Op::Dots) {
                ASSERT_TRUE(op.y >= area.top && op.y < area.bottom && op.x >= area.left && op.right <= area.right)
                    << "round " << round;
                continue;
            }
            ASSERT_TRUE(op.rect.intersect(area) == op.rect) << "round " << round;
            if (op.kind != Op::Text || op.rect.left < in.layout.textLeft || op.text == "[EOF]") continue;
            ASSERT_LE(op.text.size(), 1001u);
            ASSERT_EQ((op.x - in.layout.textLeft) % 8, 0);
            const int row = in.origin.topRow + (op.y - in.layout.textTop) / 16;
            std::string display;
            std::vector<bool> trail;
            if (row < scene.store.Count()) {
                DisplayRow d;
                d.build(scene.store.RowView(row), in.tabSpaceCount, false, 80);
                display = d.text;
                trail = d.trail;
            }
            const int col = (op.x - in.layout.textLeft) / 8 + in.origin.topCol;
            const int columns = static_cast<int>(display.size());
            const int inText = std::max(0, std::min(static_cast<int>(op.text.size()), columns - col));
            if (inText > 0) {
                ASSERT_FALSE(trail[static_cast<std::size_t>(col)])
                    << "round " << round << ", row " << row << ", column " << col;
                ASSERT_EQ(op.text.substr(0, static_cast<std::size_t>(inText)),
                          display.substr(static_cast<std::size_t>(col), static_cast<std::size_t>(inText)));
                ASSERT_TRUE(col + inText == columns || !trail[static_cast<std::size_t>(col + inText)]);
            }
            ASSERT_EQ(op.text.find_first_not_of(' ', static_cast<std::size_t>(inText)), std::string::npos);
        }
    }
}

TEST(Painter, TrailingBlanksAreMarkedInTheLineEndColourWhenAsked) {
    // Per row: "cup@col" under a space, "wide@col" under a full-width space, "tab@from-to" along a tab, each
    // with its colour when it is not the line-end mark's blue.
    auto blanks = [](const Painted& p, int k) {
        std::string out;
        const int top = p.rowTop(k);
        auto col = [&](int x) { return std::to_string(p.columnAt(x)); };
        for (const Op& op : p.surface.ops) {
            std::string mark;
            if (op.kind == Op::Dots && op.y >= top && op.y < top + 16) {
                mark = "tab@" + col(op.x) + "-" + col(op.right);
            } else if (op.kind == Op::Line && op.points.size() == 4 && op.points[0].y >= top &&
                       op.points[0].y < top + 16) {
                const int width = op.points[3].x - op.points[0].x;
                mark = (width > 8 ? "wide@" : "cup@") + col(op.points[0].x);
            } else {
                continue;
            }
            if (op.color != kBlue) mark += " " + hex(op.color);
            out += (out.empty() ? "" : " ") + mark;
        }
        return out;
    };
    struct Case {
        const char* what;
        std::string text;
        bool on;
        std::vector<std::string> rows;
    } cases[] = {
        {"off by default", "ab \r\n", false, {""}},
        {"a space, a tab and a full-width space ending a line", "ab \t\x81\x40\r\n", true,
         {"cup@2 tab@3-7 wide@8"}},
        {"blanks between words stay unmarked", "a b\t;c\r\n", true, {""}},
        {"a row of blanks only, and the last row without a line break", "  \r\nx \t", true,
         {"cup@0 cup@1", "cup@1 tab@2-7"}},
        {"a tab after a double-byte character", "\x95\x5C\t\r\n", true, {"tab@2-7"}},  // 表, trail byte 0x5C
    };
    for (const Case& c : cases) {
        Scene scene(c.text);
        scene.options.Marks.SetTrailingBlanks(c.on);
        const Painted p = paint(scene);
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            EXPECT_EQ(blanks(p, static_cast<int>(k)), c.rows[k]) << c.what << ", row " << k;
        }
        EXPECT_EQ(scene.store.Text(), c.text) << "the text is never changed";
    }

    // Selected blanks take the selection's text colour; a wrapped row whose line goes on is not its end.
    Scene scene("ab  \r\n");
    scene.options.Marks.SetTrailingBlanks(true);
    const Painted selected = paint(scene, [](PaintInput& in) {
        in.selectionState = sstSelected;
        in.selection = SelectionRange{0, 3, 3, 0, 4, 4};
    });
    EXPECT_EQ(blanks(selected, 0), "cup@2 cup@3 FFFFFF");
    Scene wrapped(std::string(18, 'w') + "  next\r\n");
    wrapped.store.WrapOption().SetWrapByte(20);
    wrapped.store.SetWordWrap(true);
    wrapped.options.Marks.SetTrailingBlanks(true);
    ASSERT_EQ(wrapped.store.RowAttribute(0), raWrapped);
    EXPECT_EQ(blanks(paint(wrapped), 0), "");
}
