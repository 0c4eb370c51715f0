// The layout values of an editor and the pixel arithmetic of its character grid.
#include "editor/EditorLayout.h"

#include <algorithm>

#include "editor/EditorStringList.h"

namespace editor {

namespace {
// Floor division, so that pixels left of or above the text map to columns and rows before it.
int floorDiv(int a, int b) noexcept { return a >= 0 ? a / b : -((-a + b - 1) / b); }
}  // namespace

int DecimalDigits(long long n) noexcept {
    unsigned long long v = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    int digits = 1;
    while (v >= 10) {
        v /= 10;
        ++digits;
    }
    return digits;
}

long long LargestLeftbarNumber(const TEditorStringList& rows, const LayoutOptions& options) {
    if (!options.leftbarShowNumber) return 0;
    const int count = rows.Count();
    const bool phantom = count == 0 || rows.RowAttribute(count - 1) != raTextEnd;
    const int last = phantom ? count : count - 1;
    const long long base = options.leftbarZeroBase ? 0 : 1;
    if (!options.leftbarByLine) return last + base;
    // The last numbered line: the phantom row starts a line of its own; else the line of the last row.
    return rows.LineEndsBefore(last) + base;
}

EditorLayout ComputeLayout(const FontMetrics& font, const LayoutOptions& options, const ClientArea& client,
                           long long largestNumber) {
    EditorLayout l;
    l.rowTextHeight = std::max(1, font.height + font.externalLeading);
    l.rowHeight = l.rowTextHeight + options.marginLine + (options.underlineVisible ? 1 : 0);
    l.charWidth = std::max(1, font.aveCharWidth + options.marginCharacter);
    l.textTop = options.marginTop + (options.rulerVisible ? options.rulerHeight : 0);
    l.leftbarDigits = std::min(8, std::max(options.leftbarColumn, DecimalDigits(largestNumber)));
    l.leftbarWidth = options.leftbarVisible ? options.leftbarLeftMargin + l.leftbarDigits * l.charWidth +
                                                  options.leftbarRightMargin + 2
                                            : 0;
    l.textLeft = options.marginLeft + l.leftbarWidth + (options.imagebarVisible ? options.imagebarWidth : 0);
    l.visibleRows = std::max(1, (client.height - l.textTop - 5 - client.hScrollHeight) / l.rowHeight);
    // A row cut by the bottom edge is not drawn: scrolling by one row then uncovers exactly one row.
    l.shownRows = std::max(1, (client.height - l.textTop - client.hScrollHeight) / l.rowHeight);
    l.visibleCols = std::max(1, (client.width - l.textLeft - l.charWidth / 2 - client.vScrollWidth) / l.charWidth);
    return l;
}

int RowTop(const EditorLayout& layout, const GridOrigin& origin, int row) noexcept {
    return layout.textTop + (row - origin.topRow) * layout.rowHeight;
}

int RowsBottom(const EditorLayout& layout) noexcept { return layout.textTop + layout.shownRows * layout.rowHeight; }

int ColumnLeft(const EditorLayout& layout, const GridOrigin& origin, int col) noexcept {
    return layout.textLeft + (col - origin.topCol) * layout.charWidth;
}

int RowAtY(const EditorLayout& layout, const GridOrigin& origin, int y) noexcept {
    return origin.topRow + floorDiv(y - layout.textTop, layout.rowHeight);
}

int ColumnAtX(const EditorLayout& layout, const GridOrigin& origin, int x) noexcept {
    return origin.topCol + floorDiv(x - layout.textLeft + layout.charWidth / 2, layout.charWidth);
}

ScrollRange VerticalRange(const EditorLayout& layout, int lastTopRow) noexcept {
    const int page = std::max(1, layout.visibleRows);
    return {0, std::max(page, std::max(0, lastTopRow) + page - 1), page};
}

ScrollRange HorizontalRange(const EditorLayout& layout) noexcept {
    const int page = std::max(1, layout.visibleCols);
    return {0, kViewColumnLimit + page / 2, page};
}

int MaxTopCol(const EditorLayout& layout) noexcept { return std::max(0, kViewColumnLimit - layout.visibleCols / 2); }

int ScrollTarget(int code, int current, int page, int thumb, int limit) noexcept {
    const int step = std::max(1, page);
    long long target = current;
    switch (static_cast<ScrollCode>(code)) {
        case ScrollCode::LineUp: target = current - 1LL; break;
        case ScrollCode::LineDown: target = current + 1LL; break;
        case ScrollCode::PageUp: target = current - static_cast<long long>(step); break;
        case ScrollCode::PageDown: target = current + static_cast<long long>(step); break;
        case ScrollCode::ThumbPosition:
        case ScrollCode::ThumbTrack: target = thumb; break;
        case ScrollCode::Top: target = 0; break;
        case ScrollCode::Bottom: target = limit; break;
        default: break;
    }
    return static_cast<int>(std::max(0LL, std::min<long long>(target, std::max(0, limit))));
}

GridOrigin CaretIntoView(const EditorLayout& layout, GridOrigin origin, int caretRow, int caretCol) noexcept {
    const int rows = std::max(1, layout.visibleRows);
    const int cols = std::max(1, layout.visibleCols);
    if (caretRow < origin.topRow) {
        origin.topRow = caretRow;
    } else if (caretRow > origin.topRow + rows - 1) {
        origin.topRow = caretRow - rows + 1;
    }
    if (caretCol < origin.topCol) {
        origin.topCol = std::max(0, std::min(caretCol, origin.topCol - cols / 4));
    } else if (caretCol > origin.topCol + cols - 1) {
        origin.topCol = std::min(std::max(caretCol - cols + 1, origin.topCol + cols / 4), MaxTopCol(layout));
    }
    return origin;
}

GridOrigin CaretIntoViewCentred(const EditorLayout& layout, GridOrigin origin, int caretRow, int caretCol,
                                int lastTopRow) noexcept {
    const int rows = std::max(1, layout.visibleRows);
    const int cols = std::max(1, layout.visibleCols);
    if (caretRow < origin.topRow || caretRow > origin.topRow + rows - 1) {
        origin.topRow = std::max(0, std::min(caretRow - rows / 3, std::max(0, lastTopRow)));
    }
    if (caretCol < origin.topCol || caretCol > origin.topCol + cols - 1) {
        origin.topCol = std::max(0, std::min(caretCol - cols / 3, MaxTopCol(layout)));
    }
    return origin;
}

}  // namespace editor
