// What the editor repaints and scrolls after an edit (from the store's change record), after a change of the
// top row or the top column, and after the left bar changed its width: pure functions of the change and the
// view, so the window only carries the plan out: ScrollWindowEx with SW_INVALIDATE (without it Wine invalidates
// the whole window), then InvalidateRect for every rectangle of the plan (the uncovered part among them).
#pragma once

#include <vector>

#include "editor/EditorLayout.h"
#include "editor/PaintOptions.h"
#include "editor/PaintSurface.h"
#include "editor/RowAttribute.h"

namespace editor {

// Rows [first, last).
struct RowSpan {
    int first = 0;
    int last = 0;
    bool empty() const noexcept { return last <= first; }
    bool operator==(const RowSpan& o) const noexcept { return first == o.first && last == o.last; }
};

enum class NumberRepaint { None, All, From };

// The plan after an edit, in text rows (after the change), limited to the rows in view.
struct EditRepaint {
    bool whole = false;  // the whole text area and the line numbers
    RowSpan rows;        // the changed rows, and those whose colouring state changed below them
    RowSpan endRows;     // rows after the text, for the end-of-file mark
    int scrollFrom = 0;  // with scrollRows != 0: rows from here on show what stood scrollRows rows above
    int scrollRows = 0;  // rows inserted minus rows removed; 0: nothing moves
    NumberRepaint numbers = NumberRepaint::None;
    int numbersFrom = 0;  // with From: the first row whose number is drawn again
};

// `change` is the store's record (first row, rows removed, rows inserted, rows whose state was stored, and
// what it says of the rows it kept, of the states and of the text's end); `rowCount` the rows after the change;
// the view shows `visibleRows` rows from `topRow` (and perhaps one more). An invalid record plans nothing.
EditRepaint PlanEditRepaint(const ChangeRecord& change, int rowCount, int topRow, int visibleRows,
                            TShowNumberMode numberMode);

// Where the parts of the view are, in pixels.
struct ViewGeometry {
    EditorLayout layout;
    GridOrigin origin;
    int clientWidth = 0;
    int clientHeight = 0;
    int barLeft = 0;      // left edge of the left bar (the image bar's width when it shows)
    bool showing = true;  // not showing: nothing is scrolled or repainted
};

// A window scroll (when `scroll`), then the rectangles to repaint.
struct PixelRepaint {
    bool scroll = false;
    PixelRect scrollRect;  // the pixels that move, clipped to this rectangle too
    int dx = 0;
    int dy = 0;
    std::vector<PixelRect> invalid;
};

PixelRepaint EditRepaintPixels(const EditRepaint& plan, const ViewGeometry& view);
// The view's origin changed from `oldTopRow` to view.origin.topRow: rows and the left bar move together, and
// only the uncovered rows are repainted (the whole area when nothing stays in view).
PixelRepaint PlanTopRowChange(int oldTopRow, const ViewGeometry& view);
// The same for the top column: the text area right of the left bar (and the ruler) moves sideways.
PixelRepaint PlanTopColChange(int oldTopCol, const ViewGeometry& view);
// The left bar changed its width (its largest number gained or lost a digit): the text moves sideways by the
// difference and the bar is repainted. `view` holds the new layout.
PixelRepaint PlanTextLeftChange(const EditorLayout& oldLayout, const ViewGeometry& view);
// The ruler strip (empty without a ruler), repainted when the caret's column changes.
PixelRect RulerArea(const ViewGeometry& view, bool rulerVisible);

// Where the caret goes and its size (csDefault: Bar; csBrief: Underline; Overwrite mode: Block).
enum class CaretShapeKind { Bar, Underline, Block };
struct CaretPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const CaretPlacement& o) const noexcept {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};
// `aveCharWidth` is the font's average character width (without Margin.Character); `onDoubleByte` tells that
// the caret stands on the first half of a double-byte character, where the underline and the block are twice
// as wide.
CaretPlacement CaretGeometry(CaretShapeKind shape, const EditorLayout& layout, const GridOrigin& origin, int caretRow,
                             int caretCol, int aveCharWidth, bool onDoubleByte) noexcept;

}  // namespace editor
