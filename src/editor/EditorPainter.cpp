// The editor's painting decisions: rows drawn whole and then their coloured tokens, selection pieces, marks,
// line numbers, the ruler and the image bar, all on the fixed character grid.
#include "editor/EditorPainter.h"

#include <algorithm>
#include <climits>

#include "core/Cp932.h"
#include "editor/EditorStringList.h"
#include "editor/FountainParser.h"
#include "editor/InvisibleFaults.h"
#include "editor/RowStates.h"

namespace editor {

namespace {

constexpr int kOpenEnd = INT_MAX / 4;  // a column range that runs to the right edge
// Selection columns are cut to this, so that no pixel position computed from them can overflow.
constexpr int kSelectionColumns = 1 << 20;
constexpr char kEofText[] = "[EOF]";
constexpr int kEofColumns = 6;  // "[EOF]" is drawn clipped to six columns

int floorDiv(int a, int b) noexcept { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int ceilDiv(int a, int b) noexcept { return -floorDiv(-a, b); }

TColor orDefault(TColor color, TColor fallback) noexcept { return color == clNone ? fallback : color; }

bool anyItalic(const TFountain* fountain) {
    if (!fountain) return false;
    auto italic = [](const TFountainColor& c) { return (c.Style() & fsItalic) != 0; };
    if (italic(fountain->Reserve())) return true;
    const TFountainBracketCollection& pairs = fountain->Brackets();
    for (int k = 0; k < pairs.Count(); ++k) {
        if (italic(pairs[k].ItemColor())) return true;
    }
    if (const auto* own = dynamic_cast<const TEditorFountain*>(fountain)) {
        const TEditorColors& c = own->Colors();
        for (const TFountainColor* color :
             {&c.Ank(), &c.Comment(), &c.DBCS(), &c.Int(), &c.Mail(), &c.Str(), &c.Symbol(), &c.Url()}) {
            if (italic(*color)) return true;
        }
    }
    return false;
}

bool hasPhantomRow(const TEditorStringList& rows) {
    return rows.Count() == 0 || rows.RowAttribute(rows.Count() - 1) != raTextEnd;
}

}  // namespace

// ---- the display text of a row ---------------------------------------------------------------------------------

void DisplayRow::build(std::string_view row, int tabSpaceCount, bool wordWrap, int wrapByte) {
    const int tab = tabSpaceCount > 0 ? tabSpaceCount : 8;
    text.clear();
    trail.clear();
    columnOfByte.assign(row.size() + 1, 0);
    std::size_t i = 0;
    int col = 0;
    while (i < row.size() && col < kPaintColumnLimit) {
        const auto b = static_cast<unsigned char>(row[i]);
        columnOfByte[i] = col;
        if (b == '\t') {
            int width = tab - col % tab;
            if (wordWrap) width = std::max(1, std::min(width, wrapByte - col));
            width = std::min(width, kPaintColumnLimit - col);
            text.append(static_cast<std::size_t>(width), ' ');
            trail.insert(trail.end(), static_cast<std::size_t>(width), false);
            col += width;
            ++i;
        } else if (cp932::isLeadByte(b) && i + 1 < row.size()) {
            // A character starting in the last column is drawn whole: 1001 bytes then.
            text.append(row.data() + i, 2);
            trail.push_back(false);
            trail.push_back(true);
            columnOfByte[i + 1] = col + 1;
            col += 2;
            i += 2;
        } else {
            text.push_back(static_cast<char>(b));
            trail.push_back(false);
            ++col;
            ++i;
        }
    }
    cut = i < row.size();
    for (std::size_t j = i; j <= row.size(); ++j) columnOfByte[j] = col;
}

// ---- option wiring ---------------------------------------------------------------------------------------------

void PaintOptionSet::SetOnChange(const std::function<void()>& handler) {
    Leftbar.OnChange = handler;
    Margin.OnChange = handler;
    Marks.OnChange = handler;
    Ruler.OnChange = handler;
    Imagebar.OnChange = handler;
    Font.OnChange = handler;
}

// ---- one painting pass -----------------------------------------------------------------------------------------

// The resolved colours and the geometry of one pass.
struct EditorPainter::Pass {
    Pass(PaintSurface& s, const PaintInput& i) : surface(s), in(i), rows(i.rows), options(i.options) {}

    PaintSurface& surface;
    const PaintInput& in;
    TEditorStringList& rows;
    const PaintOptionSet& options;

    TColor back = clWhite;     // the control's colour
    TColor text = clBlack;     // the font colour
    TFontStyles style = 0;     // the font's style
    TColor selText = clBlack;  // the selection's (or the search hit's) colours
    TColor selBack = clWhite;
    TFontStyles selStyle = 0;
    bool perToken = false;  // italic somewhere: rows are cleared and drawn token by token
    bool selecting = false;
    int cw = 8, rh = 16;
    PixelRect textClip;  // the text area within the update area
    int rowCount = 0;

    int colX(int col) const noexcept { return in.layout.textLeft + (col - in.origin.topCol) * cw; }
    // The columns whose cells reach into [left, right).
    int colAt(int x) const noexcept { return in.origin.topCol + floorDiv(x - in.layout.textLeft, cw); }
    int colAfter(int x) const noexcept { return in.origin.topCol + ceilDiv(x - in.layout.textLeft, cw); }
    PixelRect cells(int fromCol, int toCol, int top) const noexcept {
        const int left = colX(fromCol);
        const int right = toCol >= kOpenEnd ? in.clientWidth : colX(toCol);
        return PixelRect{left, top, right, top + rh}.intersect(textClip);
    }
};

ViewGeometry ViewGeometryOf(const PaintInput& in) {
    ViewGeometry v;
    v.layout = in.layout;
    v.origin = in.origin;
    v.clientWidth = in.clientWidth;
    v.clientHeight = in.clientHeight;
    v.barLeft = in.options.Imagebar.Visible() ? in.options.Imagebar.Width() : 0;
    v.showing = in.showing;
    return v;
}

EditorPainter::EditorPainter() = default;
EditorPainter::~EditorPainter() = default;

BackgroundKey EditorPainter::BackgroundKeyOf(const PaintInput& in) {
    const TEditorLeftbar& bar = in.options.Leftbar;
    const TColor back = orDefault(in.color, clWhite);
    const TColor text = orDefault(in.options.Font.Color(), clBlack);
    BackgroundKey key;
    key.width = in.clientWidth;
    key.height = in.clientHeight;
    key.textLeft = in.layout.textLeft;
    key.textTop = in.layout.textTop;
    key.back = back;
    if (bar.Visible() && in.layout.leftbarWidth > 0) {
        key.barLeft = in.options.Imagebar.Visible() ? in.options.Imagebar.Width() : 0;
        key.barWidth = in.layout.leftbarWidth;
        key.barBack = orDefault(bar.BkColor(), back);
        key.edgeLight = bar.Edge() ? clWhite : key.barBack;
        key.edgeDark = bar.Edge() ? kGray : orDefault(bar.Color(), text);
    }
    return key;
}

void EditorPainter::PaintBackground(PaintSurface& surface, const PaintInput& in) {
    const BackgroundKey key = BackgroundKeyOf(in);
    surface.FillRect({0, 0, key.width, key.height}, key.back);
    if (key.barWidth <= 0) return;
    const int right = key.barLeft + key.barWidth;
    surface.FillRect({key.barLeft, 0, right - 2, key.height}, key.barBack);
    surface.FillRect({right - 2, 0, right - 1, key.height}, key.edgeLight);
    surface.FillRect({right - 1, 0, right, key.height}, key.edgeDark);
}

void EditorPainter::Paint(PaintSurface& surface, const PaintInput& in) {
    rowsPainted_ = 0;
    if (!in.showing || in.clientWidth <= 0 || in.clientHeight <= 0) return;
    const PixelRect client{0, 0, in.clientWidth, in.clientHeight};
    const PixelRect update = in.update.intersect(client);
    if (update.empty()) return;

    Pass pass(surface, in);
    pass.back = orDefault(in.color, clWhite);
    pass.text = orDefault(in.options.Font.Color(), clBlack);
    pass.style = in.options.Font.Style();
    pass.cw = std::max(1, in.layout.charWidth);
    pass.rh = std::max(1, in.layout.rowHeight);
    pass.rowCount = in.rows.Count();
    pass.textClip = PixelRect{in.layout.textLeft, in.layout.textTop, in.clientWidth, in.clientHeight}.intersect(update);
    pass.perToken = (pass.style & fsItalic) != 0 || anyItalic(in.fountain);
    pass.selecting = HasSelection(in.selectionState);
    if (pass.selecting) {
        const TFountainColor* c = nullptr;
        if (in.viewColors) c = in.selectionState == sstHitSelected ? &in.viewColors->Hit() : &in.viewColors->Select();
        // clNone in the selection colours inverts the control's colours.
        pass.selText = c ? orDefault(c->Color(), pass.back) : pass.back;
        pass.selBack = c ? orDefault(c->BkColor(), pass.text) : pass.text;
        pass.selStyle = pass.style | (c ? c->Style() : 0);
    }
    parser_ = in.fountain ? in.fountain->CreateParser() : nullptr;

    // Margins and the left bar come from the background bitmap.
    const PixelRect leftStrip = PixelRect{0, 0, in.layout.textLeft, in.clientHeight}.intersect(update);
    const PixelRect topStrip = PixelRect{in.layout.textLeft, 0, in.clientWidth, in.layout.textTop}.intersect(update);
    if (!leftStrip.empty()) surface.CopyBackground(leftStrip);
    if (!topStrip.empty()) surface.CopyBackground(topStrip);
    if (in.options.Ruler.Visible()) paintRuler(pass);

    const int shown = std::max(1, in.layout.shownRows);
    for (int k = 0;; ++k) {
        const int top = in.layout.textTop + k * pass.rh;
        if (top >= in.clientHeight || top >= update.bottom) break;
        if (k >= shown) {
            // Under the last whole row: the control's colour, never a row cut in part.
            pass.surface.FillRect(PixelRect{in.layout.textLeft, top, in.clientWidth, in.clientHeight}.intersect(
                                      pass.textClip),
                                  pass.back);
            break;
        }
        if (top + pass.rh <= update.top) continue;
        const int row = in.origin.topRow + k;
        if (!pass.textClip.empty() && top + pass.rh > pass.textClip.top) {
            paintRow(pass, row, top);
            ++rowsPainted_;
        }
        if (update.left < in.layout.textLeft) {
            paintImagebar(pass, row, top);
            paintNumber(pass, row, top);
        }
    }
    parser_.reset();
}

void EditorPainter::paintRow(Pass& pass, int row, int top) {
    const PaintInput& in = pass.in;
    const PixelRect rowRect = PixelRect{in.layout.textLeft, top, in.clientWidth, top + pass.rh};
    if (row >= pass.rowCount) {
        pass.surface.FillRect(rowRect.intersect(pass.textClip), pass.back);
        if (row == pass.rowCount && hasPhantomRow(pass.rows) && in.options.Marks.EofMark().Visible()) {
            paintEofMark(pass, 0, top, false);
        }
        return;
    }
    if (in.states && pass.rows.ElementIndex(row) == rowbits::kElementNotComputed) {
        in.states->UpdateStatesFrom(pass.rows, row);
    }
    display_.build(pass.rows.RowView(row), in.tabSpaceCount, in.wordWrap, in.wrapByte);
    const int endCol = display_.columns() + (display_.cut && in.options.Marks.HideMark().Visible() ? 1 : 0);

    // The selected columns of this row: [selFrom, selTo). A line break inside a stream selection is one
    // selected column after the text, where its mark goes.
    int selFrom = 0, selTo = 0;
    if (pass.selecting && row >= in.selection.firstRow && row <= in.selection.lastRow) {
        const SelectionRange& s = in.selection;
        if (in.selectionMode == smBox) {
            selFrom = std::min(s.firstCol, s.lastCol);
            selTo = std::max(s.firstCol, s.lastCol);
        } else {
            selFrom = row == s.firstRow ? s.firstCol : 0;
            selTo = row == s.lastRow ? s.lastCol : endCol + 1;
            if (row < s.lastRow) selFrom = std::min(selFrom, endCol);
        }
        selFrom = std::max(0, std::min(selFrom, kSelectionColumns));
        selTo = std::max(0, std::min(selTo, kSelectionColumns));
    }
    const bool selected = selTo > selFrom;
    if (selected) {
        if (selFrom > 0) paintNormal(pass, row, top, 0, selFrom, pass.cells(0, selFrom, top));
        paintSelected(pass, top, selFrom, selTo, pass.cells(selFrom, selTo, top));
        paintNormal(pass, row, top, selTo, kOpenEnd, pass.cells(selTo, kOpenEnd, top));
    } else {
        paintNormal(pass, row, top, 0, kOpenEnd, pass.cells(0, kOpenEnd, top));
    }
    if (in.onDrawLine) {
        in.onDrawLine(pass.surface, display_.text, pass.colX(0), top, row, rowRect, selected);
    }
    if (in.options.Marks.TrailingBlanks()) paintTrailingBlanks(pass, row, top, selected ? selFrom : 0, selected ? selTo : 0);
    paintMarks(pass, row, top, selected ? selFrom : 0, selected ? selTo : 0);
    if (in.options.Marks.Underline().Visible() && in.caretUnderline && row == in.caretRow) {
        const int y = top + pass.rh - 1;
        if (y >= pass.textClip.top && y < pass.textClip.bottom) {
            const PixelPoint line[] = {{pass.textClip.left, y}, {pass.textClip.right - 1, y}};
            pass.surface.DrawPolyline(line, 2, orDefault(in.options.Marks.Underline().Color(), pass.text));
        }
    }
}

void EditorPainter::paintNormal(Pass& pass, int row, int top, int fromCol, int toCol, const PixelRect& rect) {
    if (rect.empty()) return;
    const DisplayRow& d = display_;
    const int visFrom = std::max(fromCol, pass.colAt(rect.left));
    const int visTo = std::min({toCol, pass.colAfter(rect.right), d.columns()});
    // The drawn bytes: whole characters covering the visible columns.
    int from = visFrom;
    if (from > 0 && from < d.columns() && d.trail[static_cast<std::size_t>(from)]) --from;
    int to = visTo;
    if (to > 0 && to < d.columns() && d.trail[static_cast<std::size_t>(to)]) ++to;
    const bool visible = from < to;
    auto textOf = [&d](int a, int b) {
        return std::string_view(d.text).substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
    };

    if (pass.perToken) {
        pass.surface.FillRect(rect, pass.back);
    } else {
        pass.surface.DrawText(pass.colX(visible ? from : visFrom), top, rect, visible ? textOf(from, to) : "", pass.cw,
                              pass.text, pass.back, pass.style);
        if ((pass.style & fsUnderline) && visible) {
            const PixelRect under = pass.cells(from, to, top).intersect(rect);
            pass.surface.DrawDottedLine(under.left, under.right, top + pass.rh - 2, pass.text);
        }
    }
    if (!visible || !parser_) return;

    // Tokens with colours of their own are drawn again over the row (in per-token mode, every token).
    TRowAttributeData state = pass.rows.RowAttributeData(row);
    const TokenStartState start{
        state.ElementIndex == rowbits::kElementNotComputed ? kOutsideBrackets : state.ElementIndex, state.WrappedKind,
        state.WrappedRemain};
    const std::string_view rowText = pass.rows.RowView(row);
    std::string_view source = rowText;
    if (pass.rows.RowAttribute(row) == raWrapped && row + 1 < pass.rowCount) {
        // A token cut by the wrap is seen whole, so that its colour is the colour of the whole token.
        buffer_.assign(rowText);
        buffer_.append(pass.rows.RowView(row + 1));
        source = buffer_;
    }
    TFountainParser& parser = *parser_;
    parser.Start(source, start);
    while (parser.Next() != tkEnd) {
        const std::size_t pos = parser.SourcePos();
        if (pos >= rowText.size()) break;
        const int tokFrom = d.columnOfByte[pos];
        const int tokTo = d.columnOfByte[std::min(pos + parser.TokenLength(), rowText.size())];
        if (tokFrom >= to) break;  // starts right of what is visible
        if (tokTo <= from) continue;
        const TFountainColor* c = parser.ColorOf();
        const TColor fg = c ? orDefault(c->Color(), pass.text) : pass.text;
        const TColor bg = c ? orDefault(c->BkColor(), pass.back) : pass.back;
        const TFontStyles style = pass.style | (c ? c->Style() : 0);
        if (!pass.perToken && fg == pass.text && bg == pass.back && style == pass.style) continue;
        // A lead byte before a byte below 0x40 is one character of the grid but ends a token of its own: the
        // text is drawn from whole characters, clipped to the token's columns.
        int a = std::max(tokFrom, from);
        int b = std::min(tokTo, to);
        if (a >= b) continue;
        if (a < d.columns() && d.trail[static_cast<std::size_t>(a)]) --a;
        if (b < d.columns() && d.trail[static_cast<std::size_t>(b)]) ++b;
        const PixelRect tokenRect = pass.cells(std::max(tokFrom, fromCol), std::min(tokTo, toCol), top).intersect(rect);
        if (tokenRect.empty()) continue;
        const TColor drawBack = pass.perToken && !(c && c->BkColor() != clNone) ? clNone : bg;
        pass.surface.DrawText(pass.colX(a), top, tokenRect, textOf(a, b), pass.cw, fg, drawBack, style);
        if (style & fsUnderline) pass.surface.DrawDottedLine(tokenRect.left, tokenRect.right, top + pass.rh - 2, fg);
    }
}

void EditorPainter::paintSelected(Pass& pass, int top, int fromCol, int toCol, const PixelRect& rect) {
    if (rect.empty()) return;
    const DisplayRow& d = display_;
    int from = std::max(fromCol, pass.colAt(rect.left));
    int to = std::min(toCol, pass.colAfter(rect.right));
    if (from > 0 && from < d.columns() && d.trail[static_cast<std::size_t>(from)]) --from;
    if (to > 0 && to < d.columns() && d.trail[static_cast<std::size_t>(to)]) ++to;
    // Columns past the text (a box wider than the row, the line break) are selected blanks.
    std::string text;
    if (from < to) {
        const int inText = std::max(0, std::min(to, d.columns()) - from);
        if (inText > 0) text.assign(d.text, static_cast<std::size_t>(from), static_cast<std::size_t>(inText));
        text.append(static_cast<std::size_t>(std::min(to - from - inText, kPaintColumnLimit + 2)), ' ');
    }
    pass.surface.DrawText(pass.colX(std::min(from, to)), top, rect, text, pass.cw, pass.selText, pass.selBack,
                          pass.selStyle);
    if ((pass.selStyle & fsUnderline) && !text.empty()) {
        pass.surface.DrawDottedLine(rect.left, rect.right, top + pass.rh - 2, pass.selText);
    }
}

void EditorPainter::paintEofMark(Pass& pass, int col, int top, bool selected) {
    const PixelRect rect = pass.cells(col, col + kEofColumns, top);
    if (rect.empty()) return;
    const TColor color = selected ? pass.selText : orDefault(pass.in.options.Marks.EofMark().Color(), pass.text);
    pass.surface.DrawText(pass.colX(col), top, rect, kEofText, pass.cw, color, selected ? pass.selBack : pass.back,
                          pass.style & ~fsUnderline);
}

void EditorPainter::paintMarks(Pass& pass, int row, int top, int selFrom, int selTo) {
    const TEditorMarks& marks = pass.in.options.Marks;
    const DisplayRow& d = display_;
    const int cw = pass.cw;
    const int h = pass.rh;
    auto inSelection = [&](int col) { return col >= selFrom && col < selTo; };
    auto markColor = [&](const TEditorMark& mark, int col) {
        return inSelection(col) ? pass.selText : orDefault(mark.Color(), pass.text);
    };
    // Lines are drawn only for a cell that reaches into the text area being painted.
    auto cellShown = [&](int col) { return !pass.cells(col, col + 1, top).empty(); };
    auto chevron = [&](const TEditorMark& mark, int col, bool pointsLeft) {
        if (!cellShown(col)) return;
        const int e = std::max(2, cw * 3 / 5);
        const int left = pass.colX(col) + (cw - e) / 2;
        const int mid = top + h / 2;
        const int tip = pointsLeft ? left : left + e - 1;
        const int ends = pointsLeft ? left + e - 1 : left;
        const PixelPoint points[] = {{ends, mid - (e - 1)}, {tip, mid}, {ends, mid + (e - 1)}};
        pass.surface.DrawPolyline(points, 3, markColor(mark, col));
    };

    int col = d.columns();
    if (d.cut && marks.HideMark().Visible()) {
        chevron(marks.HideMark(), col, false);
        ++col;  // the end-of-row mark follows the hidden-text mark
    }
    const TRowAttribute attribute = pass.rows.RowAttribute(row);
    if (row == pass.rowCount - 1 && attribute == raTextEnd && marks.EofMark().Visible()) {
        paintEofMark(pass, col, top, inSelection(col));
    } else if (attribute == raLineEnd && marks.RetMark().Visible()) {
        if (!cellShown(col)) return;
        // A down arrow: the stem from 2d below the row top to 2d above its bottom, then two strokes of f pixels
        // going up-left and up-right from the stem's lower end.
        const int dd = std::max(1, h / 8);
        const int f = std::max(dd, 3);
        const int x = pass.colX(col) + cw / 2;
        const int bottom = top + h - 2 * dd;
        const PixelPoint stem[] = {{x, top + 2 * dd}, {x, bottom}};
        const PixelPoint head[] = {{x - (f - 1), bottom - (f - 1)}, {x, bottom}, {x + (f - 1), bottom - (f - 1)}};
        const TColor color = markColor(marks.RetMark(), col);
        pass.surface.DrawPolyline(stem, 2, color);
        pass.surface.DrawPolyline(head, 3, color);
    } else if (attribute == raWrapped && marks.WrapMark().Visible()) {
        chevron(marks.WrapMark(), col, true);
    }
}

namespace {

// Whether the rows after a wrapped row, up to the end of its line, hold blanks only: then the row's own blanks
// end the line too.
bool restOfLineBlank(const TEditorStringList& rows, int row) {
    for (int r = row + 1; r < rows.Count() && rows.RowAttribute(r - 1) == raWrapped; ++r) {
        const std::string_view text = rows.RowView(r);
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n = cp932::charLength(text, i);
            if (blankAt(text, i, n) == Blank::None) return false;
            i += n;
        }
    }
    return true;
}

}  // namespace

// Each blank after the row's last other character gets a thin mark: a cup under a space (across both columns
// under a full-width space), a dotted arrow along a tab. The marks keep two pixels off the cell's left edge,
// where the caret stands, and above the two pixel rows the brief caret takes.
void EditorPainter::paintTrailingBlanks(Pass& pass, int row, int top, int selFrom, int selTo) {
    const std::string_view text = pass.rows.RowView(row);
    if (pass.rows.RowAttribute(row) == raWrapped && !restOfLineBlank(pass.rows, row)) return;
    std::size_t from = 0;  // after the last character that is not a blank
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = cp932::charLength(text, i);
        if (blankAt(text, i, n) == Blank::None) from = i + n;
        i += n;
    }
    const DisplayRow& d = display_;
    const int cw = pass.cw;
    const int h = pass.rh;
    const int inset = std::max(1, cw / 4);
    const int rise = std::max(1, h / 8);
    const int base = top + h - std::max(3, h / 5);
    const TColor own = orDefault(pass.in.options.Marks.RetMark().Color(), pass.text);
    for (std::size_t i = from; i < text.size();) {
        const std::size_t n = cp932::charLength(text, i);
        const Blank kind = blankAt(text, i, n);
        const int col = d.columnOfByte[i];
        const int width = d.columnOfByte[i + n] - col;  // 0 past the column limit
        i += n;
        if (width <= 0 || pass.cells(col, col + width, top).empty()) continue;
        const TColor color = col >= selFrom && col < selTo ? pass.selText : own;
        const int left = pass.colX(col) + inset;
        const int right = pass.colX(col + width) - 1 - inset;
        // A line's pixels are not clipped: a mark is drawn only where it lies wholly in the text area.
        auto inArea = [&](int a, int b) { return a >= pass.in.layout.textLeft && b < pass.in.clientWidth; };
        if (kind == Blank::Tab) {
            const int y = top + h / 2;
            const int head = std::max(2, std::min(cw / 2, h / 5));
            const PixelRect shown = pass.cells(col, col + width, top);
            if (y >= shown.top && y < shown.bottom) {
                pass.surface.DrawDottedLine(std::max(left, shown.left), std::min(right - 1, shown.right), y, color);
            }
            if (pass.cells(col + width - 1, col + width, top).empty() || !inArea(right - head, right)) continue;
            const PixelPoint arrow[] = {{right - head, y - head}, {right, y}, {right - head, y + head}};
            pass.surface.DrawPolyline(arrow, 3, color);
        } else if (inArea(left, right)) {
            const PixelPoint cup[] = {{left, base - rise}, {left, base}, {right, base}, {right, base - rise}};
            pass.surface.DrawPolyline(cup, 4, color);
        }
    }
}

void EditorPainter::paintNumber(Pass& pass, int row, int top) {
    const PaintInput& in = pass.in;
    const TEditorLeftbar& bar = in.options.Leftbar;
    if (!bar.Visible() || !bar.ShowNumber() || in.layout.leftbarWidth <= 2) return;
    const long long number = bar.NumberOfRow(pass.rows, row);
    if (number < 0) return;  // rows past the phantom row, and rows that continue a line, stay blank
    const int left = in.options.Imagebar.Visible() ? in.options.Imagebar.Width() : 0;
    const PixelRect clip =
        PixelRect{left, top, left + in.layout.leftbarWidth - 2, top + pass.rh}.intersect(in.update).intersect(
            PixelRect{0, 0, in.clientWidth, in.clientHeight});
    if (clip.empty()) return;
    const TColor barBack = orDefault(bar.BkColor(), pass.back);
    pass.surface.DrawText(left + bar.LeftMargin(), top, clip, bar.NumberText(number, in.layout.leftbarDigits), pass.cw,
                          orDefault(bar.Color(), pass.text), barBack, pass.style & ~fsUnderline);
}

void EditorPainter::paintImagebar(Pass& pass, int row, int top) {
    const TEditorImagebar& image = pass.in.options.Imagebar;
    if (!image.Visible() || row >= pass.rowCount) return;
    const std::uint16_t marks = pass.rows.Marks(row);
    if (!marks) return;
    const PixelRect clip = pass.in.update.intersect({0, 0, pass.in.clientWidth, pass.in.clientHeight});
    const int boxTop = top + std::min(2, pass.rh / 4);
    const int boxBottom = top + pass.rh - std::min(2, pass.rh / 4);
    const int digitLeft = image.LeftMargin();
    if (marks & 0x03FF) {  // the digit marks 0 to 9
        pass.surface.FillRect(PixelRect{digitLeft, boxTop, digitLeft + image.DigitWidth(), boxBottom}.intersect(clip),
                              pass.text);
    }
    if (marks & 0xFC00) {
        const int markLeft = digitLeft + image.DigitWidth();
        pass.surface.FillRect(PixelRect{markLeft, boxTop, markLeft + image.MarkWidth(), boxBottom}.intersect(clip),
                              pass.text);
    }
}

void EditorPainter::paintRuler(Pass& pass) {
    const PaintInput& in = pass.in;
    const TEditorRuler& ruler = in.options.Ruler;
    const int height = std::min(TEditorRuler::HeightFor(in.layout.rowTextHeight), in.layout.textTop);
    const PixelRect area = PixelRect{in.layout.textLeft, 0, in.clientWidth, height}.intersect(in.update).intersect(
        PixelRect{0, 0, in.clientWidth, in.clientHeight});
    if (area.empty()) return;
    const TColor ink = orDefault(ruler.Color(), pass.text);
    pass.surface.FillRect(area, orDefault(ruler.BkColor(), pass.back));
    const int band = height - 2;  // the ticks stand on this pixel row; the edge line is below it
    const int half = ruler.GaugeRange() / 2;
    const int first = std::max(0, pass.colAt(area.left));
    const int last = pass.colAfter(area.right);
    for (int col = first; col <= last; ++col) {
        const int x = pass.colX(col);
        const int length = col % ruler.GaugeRange() == 0 ? TEditorRuler::kTickBand - 1 : col % half == 0 ? 3 : 1;
        const PixelPoint tick[] = {{x, band - length + 1}, {x, band}};
        pass.surface.DrawPolyline(tick, 2, ink);
        if (col % ruler.GaugeRange() == 0 && col > 0) {
            pass.surface.DrawText(x + 1, 0, area, std::to_string(col), pass.cw, ink, clNone, 0);
        }
    }
    const PixelRect mark =
        PixelRect{pass.colX(in.caretCol), band - 2, pass.colX(in.caretCol + 1), band + 1}.intersect(area);
    if (!mark.empty()) pass.surface.FillRect(mark, orDefault(ruler.MarkColor(), ink));
    if (ruler.Edge() && height - 1 >= area.top && height - 1 < area.bottom) {
        const PixelPoint edge[] = {{area.left, height - 1}, {area.right - 1, height - 1}};
        pass.surface.DrawPolyline(edge, 2, ink);
    }
}

}  // namespace editor
