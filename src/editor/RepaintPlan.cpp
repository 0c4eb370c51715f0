// Repaint and scroll plans of the editor view, and the caret's place and shape.
#include "editor/RepaintPlan.h"

#include <algorithm>
#include <cstdlib>

namespace editor {

EditRepaint PlanEditRepaint(const ChangeRecord& change, int rowCount, int topRow, int visibleRows,
                            TShowNumberMode numberMode) {
    EditRepaint plan;
    if (!change.Valid) return plan;
    const int first = change.FirstRow;
    const int inserted = change.InsertedRows;
    const int moved = inserted - change.RemovedRows;
    const int viewEnd = topRow + std::max(1, visibleRows) + 1;  // the part-shown row under the last whole one
    auto inView = [&](RowSpan s) {
        s.first = std::max(s.first, topRow);
        s.last = std::min(s.last, viewEnd);
        return s.empty() ? RowSpan{} : s;
    };
    if (std::abs(moved) > visibleRows) {
        plan.whole = true;
        plan.numbers = NumberRepaint::All;
        return plan;
    }
    // The rows that look different now: from the first row the change did not keep (a wrapped row above the
    // block is drawn with the block's first row) to the last whose text or colouring state changed. A record
    // that does not say where the states end counts them from the block's first row.
    const int from = change.KeptFirstRows == 0 && change.ContinuesAbove ? first - 1 : first + change.KeptFirstRows;
    const int c = change.StateRowsEnd >= 0
                      ? std::max(first + inserted - change.KeptLastRows, change.StateRowsEnd)
                      : first + inserted + std::max(0, change.ChangedStates - inserted);
    // The end-of-file mark and the numbers at the end move only when the text's end changed.
    const bool endChanged = c >= rowCount && !change.TextEndKept;
    plan.rows = inView({from, c});
    if (moved == 0) {
        if (endChanged) plan.endRows = inView({c, c + 2});
    } else {
        // Rows from c on show what stood `moved` rows above them; when rows came in, their pixels start higher.
        if (c - std::max(moved, 0) < viewEnd) {
            plan.scrollFrom = c;
            plan.scrollRows = moved;
        }
        if (endChanged) plan.endRows = inView({rowCount, rowCount + 1});
    }

    if (numberMode == nmLine) {
        // Line numbers follow lines, not rows: every number from the change down may have moved (with word
        // wrap also those of the changed rows themselves).
        if (from < viewEnd) {
            plan.numbers = NumberRepaint::From;
            plan.numbersFrom = std::max(from, topRow);
        }
    } else if (moved != 0 || endChanged) {
        // Row numbers belong to screen rows: only the numbers at the end of the text change, when rows come or
        // go, or when the last row gains or loses its line break (the phantom row is numbered).
        const int oldCount = rowCount - moved;
        const RowSpan changed =
            inView({std::max(0, std::min(oldCount, rowCount) - 1), std::max(oldCount, rowCount) + 1});
        if (!changed.empty()) {
            plan.numbers = NumberRepaint::From;
            plan.numbersFrom = changed.first;
        }
    }
    return plan;
}

namespace {
PixelRect rowsRect(const ViewGeometry& v, int left, int right, RowSpan rows) {
    const PixelRect area{left, v.layout.textTop, right, v.clientHeight};
    return PixelRect{left, RowTop(v.layout, v.origin, rows.first), right, RowTop(v.layout, v.origin, rows.last)}
        .intersect(area);
}
void addRect(PixelRepaint& out, const PixelRect& r) {
    if (!r.empty()) out.invalid.push_back(r);
}
}  // namespace

PixelRepaint EditRepaintPixels(const EditRepaint& plan, const ViewGeometry& v) {
    PixelRepaint out;
    if (!v.showing || v.clientWidth <= 0 || v.clientHeight <= 0) return out;
    const EditorLayout& l = v.layout;
    const int w = v.clientWidth;
    const int h = v.clientHeight;
    if (plan.whole) {
        addRect(out, PixelRect{0, l.textTop, w, h});
        return out;
    }
    if (plan.scrollRows != 0) {
        const int rh = l.rowHeight;
        const int bottom = std::min(h, RowsBottom(l));
        const int top = std::max(l.textTop, RowTop(l, v.origin, plan.scrollFrom - std::max(plan.scrollRows, 0)));
        if (top < bottom) {
            out.scroll = true;
            out.scrollRect = PixelRect{l.textLeft, top, w, bottom};
            out.dy = plan.scrollRows * rh;
            if (out.dy > 0) {
                addRect(out, PixelRect{l.textLeft, top, w, std::min(bottom, top + out.dy)});
            } else {
                addRect(out, PixelRect{l.textLeft, std::max(top, bottom + out.dy), w, bottom});
            }
            // Row marks in the image bar move with their rows.
            if (v.barLeft > 0) addRect(out, PixelRect{0, top, v.barLeft, bottom});
        }
    }
    addRect(out, rowsRect(v, l.textLeft, w, plan.rows));
    addRect(out, rowsRect(v, l.textLeft, w, plan.endRows));
    const int barRight = v.barLeft + l.leftbarWidth;
    if (l.leftbarWidth > 0 && plan.numbers != NumberRepaint::None) {
        const int from = plan.numbers == NumberRepaint::All ? l.textTop : RowTop(l, v.origin, plan.numbersFrom);
        addRect(out, PixelRect{v.barLeft, std::max(from, l.textTop), barRight, h});
    }
    return out;
}

namespace {
// `area` moved by `moved` cells of `cell` pixels, down or right for a positive count: the pixels that stay in view
// are scrolled and only the uncovered strip is repainted; the whole area when nothing stays.
PixelRepaint moveArea(const PixelRect& area, int moved, int cell, bool vertical) {
    PixelRepaint out;
    if (moved == 0 || area.empty()) return out;
    const long long shift = static_cast<long long>(moved) * cell;
    if (std::llabs(shift) >= (vertical ? area.height() : area.width())) {
        out.invalid.push_back(area);
        return out;
    }
    const int by = static_cast<int>(shift);
    out.scroll = true;
    out.scrollRect = area;
    PixelRect uncovered = area;
    if (vertical) {
        out.dy = by;
        if (by > 0)
            uncovered.bottom = area.top + by;
        else
            uncovered.top = area.bottom + by;
    } else {
        out.dx = by;
        if (by > 0)
            uncovered.right = area.left + by;
        else
            uncovered.left = area.right + by;
    }
    out.invalid.push_back(uncovered);
    return out;
}
}  // namespace

PixelRepaint PlanTopRowChange(int oldTopRow, const ViewGeometry& v) {
    if (!v.showing || v.clientWidth <= 0) return {};
    return moveArea({0, v.layout.textTop, v.clientWidth, std::min(v.clientHeight, RowsBottom(v.layout))},
                    oldTopRow - v.origin.topRow, v.layout.rowHeight, true);
}

PixelRepaint PlanTopColChange(int oldTopCol, const ViewGeometry& v) {
    if (!v.showing || v.clientHeight <= 0) return {};
    return moveArea({v.layout.textLeft, 0, v.clientWidth, v.clientHeight}, oldTopCol - v.origin.topCol,
                    v.layout.charWidth, false);
}

PixelRepaint PlanTextLeftChange(const EditorLayout& oldLayout, const ViewGeometry& v) {
    PixelRepaint out;
    const int oldLeft = oldLayout.textLeft;
    const int newLeft = v.layout.textLeft;
    if (!v.showing || oldLeft == newLeft || v.clientWidth <= 0 || v.clientHeight <= 0) return out;
    const int w = v.clientWidth;
    const int h = v.clientHeight;
    const int dx = newLeft - oldLeft;
    if (std::min(oldLeft, newLeft) + std::abs(dx) < w) {
        out.scroll = true;
        out.scrollRect = PixelRect{std::min(oldLeft, newLeft), 0, w, h};
        out.dx = dx;
        if (dx < 0) addRect(out, PixelRect{w + dx, 0, w, h});  // the right edge uncovered
    } else {
        addRect(out, PixelRect{newLeft, 0, w, h});
    }
    addRect(out, PixelRect{0, 0, std::min(newLeft, w), h});  // the bar, wider or narrower, and every number
    return out;
}

PixelRect RulerArea(const ViewGeometry& v, bool rulerVisible) {
    if (!rulerVisible) return {};
    const int height = std::min(TEditorRuler::HeightFor(v.layout.rowTextHeight), v.layout.textTop);
    return PixelRect{v.layout.textLeft, 0, v.clientWidth, height};
}

CaretPlacement CaretGeometry(CaretShapeKind shape, const EditorLayout& layout, const GridOrigin& origin, int caretRow,
                             int caretCol, int aveCharWidth, bool onDoubleByte) noexcept {
    const int x = ColumnLeft(layout, origin, caretCol);
    const int top = RowTop(layout, origin, caretRow);
    const int wide = std::max(1, aveCharWidth) * (onDoubleByte ? 2 : 1);
    switch (shape) {
        case CaretShapeKind::Underline:
            return {x, top + layout.rowHeight - 2, wide, 2};
        case CaretShapeKind::Block:
            return {x, top, wide, layout.rowTextHeight};
        case CaretShapeKind::Bar:
            break;
    }
    return {x, top, 2, layout.rowTextHeight};
}

}  // namespace editor
