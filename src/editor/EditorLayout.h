// The layout values of an editor: row height, character width, visible rows and columns, where the text starts
// and how wide the left bar is, as functions of the font, the options and the client area; and the pixel
// arithmetic of the fixed character grid. Portable: the window passes its measurements in.
#pragma once

class TEditorStringList;

namespace editor {

// What the font's text metrics say.
struct FontMetrics {
    int height = 16;           // tmHeight
    int externalLeading = 0;   // tmExternalLeading
    int aveCharWidth = 8;      // tmAveCharWidth
};

// What the option objects contribute (Margin, Marks.Underline, Ruler, Leftbar, Imagebar), already clamped.
struct LayoutOptions {
    int marginLeft = 19;
    int marginTop = 2;
    int marginLine = 0;
    int marginCharacter = 0;
    bool underlineVisible = false;  // the caret-row underline takes one pixel row more per row
    bool rulerVisible = false;
    int rulerHeight = 0;            // pixels, when visible
    bool leftbarVisible = false;
    int leftbarColumn = 4;          // 1..8
    int leftbarLeftMargin = 8;
    int leftbarRightMargin = 4;
    bool leftbarShowNumber = true;  // the numbering decides the largest number, and so the digit columns
    bool leftbarByLine = false;     // nmLine: logical lines are numbered, not rows
    bool leftbarZeroBase = false;
    bool imagebarVisible = false;
    int imagebarWidth = 0;          // pixels, when visible
};

// The client area and the scroll bars that take room from it.
struct ClientArea {
    int width = 0;
    int height = 0;
    int hScrollHeight = 0;  // 0 when no horizontal scroll bar is shown
    int vScrollWidth = 0;   // 0 when no vertical scroll bar is shown
};

struct EditorLayout {
    int rowTextHeight = 16;  // font height plus its external leading
    int rowHeight = 16;      // row text height + Margin.Line (+1 with the underline)
    int charWidth = 8;       // every byte advances by this many pixels
    int visibleRows = 1;     // never below 1
    int shownRows = 1;       // rows that fit whole in the text area (never below 1): only these are drawn
    int visibleCols = 1;     // never below 1
    int textTop = 0;
    int textLeft = 0;
    int leftbarDigits = 4;   // digit columns of the left bar
    int leftbarWidth = 0;    // 0 when the left bar is hidden
};

// Number of decimal digits of n (1 for 0; negative numbers count their digits only).
int DecimalDigits(long long n) noexcept;

// The largest number the left bar shows for these rows by the options' numbering; 0 when no number is shown.
// The phantom row after a final line break (or of an empty text) is numbered too.
long long LargestLeftbarNumber(const TEditorStringList& rows, const LayoutOptions& options);

// The layout for `largestNumber`, the largest number the left bar shows (it decides the digit columns:
// min(8, max(Leftbar.Column, its digits))).
EditorLayout ComputeLayout(const FontMetrics& font, const LayoutOptions& options, const ClientArea& client,
                           long long largestNumber);

// Pixel arithmetic on the grid, with the view's first visible row and column.
struct GridOrigin {
    int topRow = 0;
    int topCol = 0;
};
int RowTop(const EditorLayout& layout, const GridOrigin& origin, int row) noexcept;
// The bottom of the shown rows: below it the text area holds the control's colour and never scrolls.
int RowsBottom(const EditorLayout& layout) noexcept;
int ColumnLeft(const EditorLayout& layout, const GridOrigin& origin, int col) noexcept;
// The row at a pixel height (rows above the text top give rows above TopRow, possibly negative).
int RowAtY(const EditorLayout& layout, const GridOrigin& origin, int y) noexcept;
// The column at a pixel position, rounded to the nearest character boundary (the caller snaps it off the
// second half of a double-byte character with the row's column map).
int ColumnAtX(const EditorLayout& layout, const GridOrigin& origin, int x) noexcept;

// ---- scrolling -------------------------------------------------------------------------------------------------

// The rightmost column the view can start at, and the rightmost a caret column reaches.
constexpr int kViewColumnLimit = 1000;

// A scroll bar's range and page, as SetScrollInfo takes them.
struct ScrollRange {
    int min = 0;
    int max = 0;
    int page = 1;
};

// `lastTopRow` is the last row that can be scrolled to the top: the phantom row after a final line break, else
// the last row (0 for an empty text). The range lets that row reach the top with a page of the visible rows.
ScrollRange VerticalRange(const EditorLayout& layout, int lastTopRow) noexcept;
ScrollRange HorizontalRange(const EditorLayout& layout) noexcept;
// TopCol is kept within 0..1000 - visible columns div 2.
int MaxTopCol(const EditorLayout& layout) noexcept;

// The scroll-bar requests of WM_VSCROLL and WM_HSCROLL (the values of SB_LINEUP .. SB_ENDSCROLL).
enum class ScrollCode { LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, ThumbPosition = 4, ThumbTrack = 5,
                        Top = 6, Bottom = 7, EndScroll = 8 };

// The new first row (or column) for a scroll-bar request from `current`: lines by one, pages by the page (at
// least 1), the thumb to `thumb`, clamped to 0..`limit`. Unknown codes and EndScroll keep `current`.
int ScrollTarget(int code, int current, int page, int thumb, int limit) noexcept;

// The view origin that brings the caret into view after a caret move: rows exactly to the edge, columns with a
// quarter of the view as context.
GridOrigin CaretIntoView(const EditorLayout& layout, GridOrigin origin, int caretRow, int caretCol) noexcept;
// EM_SCROLLCARET: when the caret is out of view, it ends up a third of the view from the top or left edge.
GridOrigin CaretIntoViewCentred(const EditorLayout& layout, GridOrigin origin, int caretRow, int caretCol,
                                int lastTopRow) noexcept;

}  // namespace editor
