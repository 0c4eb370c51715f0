// The layout values of an editor and the pixel arithmetic of its character grid.
#include "editor/EditorLayout.h"

#include <algorithm>

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
    l.visibleCols = std::max(1, (client.width - l.textLeft - l.charWidth / 2 - client.vScrollWidth) / l.charWidth);
    return l;
}

int RowTop(const EditorLayout& layout, const GridOrigin& origin, int row) noexcept {
    return layout.textTop + (row - origin.topRow) * layout.rowHeight;
}

int ColumnLeft(const EditorLayout& layout, const GridOrigin& origin, int col) noexcept {
    return layout.textLeft + (col - origin.topCol) * layout.charWidth;
}

int RowAtY(const EditorLayout& layout, const GridOrigin& origin, int y) noexcept {
    return origin.topRow + floorDiv(y - layout.textTop, layout.rowHeight);
}

int ColumnAtX(const EditorLayout& layout, const GridOrigin& origin, int x) noexcept {
    return origin.topCol + floorDiv(x - layout.textLeft + layout.charWidth / 2, layout.charWidth);
}

}  // namespace editor
