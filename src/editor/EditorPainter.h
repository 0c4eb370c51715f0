// The painting decisions of the editor control: which rows are drawn, in which pieces and colours, where the
// marks and the line numbers go, and what the background bitmap holds. Portable; it draws through a
// PaintSurface and reads everything through a PaintInput, so the window only fills the input in.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/Fountain.h"
#include "editor/PaintOptions.h"
#include "editor/PaintSurface.h"
#include "editor/RepaintPlan.h"
#include "editor/SelectionRange.h"

class TEditorStringList;
class TFountainParser;
class RowStates;

namespace editor {

// Fired after each text row is drawn, before its marks: the row's display text, the pixel position of its
// column 0, its index, its rectangle in the text area and whether the selection touches it. `Canvas` is the
// surface being painted, for a handler that draws over the row.
using TDrawLineEvent = std::function<void(PaintSurface& Canvas, std::string_view LineStr, int X, int Y, int Index,
                                          const PixelRect& ARect, bool Selected)>;

// The option objects and colours the painter reads, owned by the editor. SetOnChange wires one handler to
// every object (recompute the layout, prepare the background, repaint).
struct PaintOptionSet {
    TEditorLeftbar Leftbar;
    TEditorMargin Margin;
    TEditorMarks Marks;
    TEditorRuler Ruler;
    TEditorImagebar Imagebar;
    EditorFont Font;

    void SetOnChange(const std::function<void()>& handler);
    LayoutOptions Layout(const FontMetrics& metrics) const {
        return PaintLayoutOptions(Margin, Leftbar, Marks, Ruler, Imagebar, metrics);
    }
};

// Everything one painting pass reads.
struct PaintInput {
    PaintInput(TEditorStringList& rowList, const PaintOptionSet& optionSet) : rows(rowList), options(optionSet) {}

    TEditorStringList& rows;  // rows whose colouring state is not computed get it on the way
    const PaintOptionSet& options;
    RowStates* states = nullptr;                // computes missing states without repaint requests (null: none)
    const TFountain* fountain = nullptr;        // tokeniser and token colours (null: no colouring)
    const TEditorColors* viewColors = nullptr;  // View.Colors, for Select and Hit (null: inverted colours)
    TColor color = clWhite;                     // the control's Color (the font colour is options.Font's)

    EditorLayout layout;
    GridOrigin origin;  // TopRow, TopCol
    int clientWidth = 0;
    int clientHeight = 0;
    PixelRect update;  // the area to paint

    int caretRow = 0;
    int caretCol = 0;
    bool caretUnderline = false;  // the caret-row underline may show now (focused, not hidden)
    TSelectionMode selectionMode = smStream;
    TSelectionState selectionState = sstNone;
    SelectionRange selection;

    int tabSpaceCount = 8;
    bool wordWrap = false;
    int wrapByte = 80;
    bool showing = true;  // not showing: nothing is painted
    TDrawLineEvent onDrawLine;
};

// The view's geometry as the repaint plans read it.
ViewGeometry ViewGeometryOf(const PaintInput& input);

// What the background bitmap depends on: when this changes, the bitmap is prepared again.
struct BackgroundKey {
    int width = 0, height = 0, textLeft = 0, textTop = 0, barLeft = 0, barWidth = 0;
    TColor back = 0, barBack = 0, edgeLight = 0, edgeDark = 0;
    bool operator==(const BackgroundKey& o) const noexcept {
        return width == o.width && height == o.height && textLeft == o.textLeft && textTop == o.textTop &&
               barLeft == o.barLeft && barWidth == o.barWidth && back == o.back && barBack == o.barBack &&
               edgeLight == o.edgeLight && edgeDark == o.edgeDark;
    }
    bool operator!=(const BackgroundKey& o) const noexcept { return !(*this == o); }
};

// Every byte of a row is drawn in one column; rows are drawn up to this column (a double-byte character that
// starts in the last column is drawn whole).
constexpr int kPaintColumnLimit = 1000;

// A row as it is drawn: tabs expanded to spaces (with word wrap never past the wrap width), cut at the column
// limit. Each byte of `text` fills one column.
struct DisplayRow {
    std::string text;
    std::vector<int> columnOfByte;  // column of each byte of the row, and of its end; bytes past the cut: the end
    std::vector<bool> trail;        // per column: the second half of a double-byte character
    bool cut = false;               // the row goes on past the column limit

    int columns() const noexcept { return static_cast<int>(text.size()); }
    void build(std::string_view row, int tabSpaceCount, bool wordWrap, int wrapByte);
};

class EditorPainter {
public:
    EditorPainter();
    ~EditorPainter();
    EditorPainter(const EditorPainter&) = delete;
    EditorPainter& operator=(const EditorPainter&) = delete;

    // Paints the update area: background strips, ruler, rows from TopRow, marks, image bar and line numbers.
    void Paint(PaintSurface& surface, const PaintInput& input);
    // Draws what the background bitmap holds (margins, left bar with its edge) over the whole client area.
    static void PaintBackground(PaintSurface& surface, const PaintInput& input);
    static BackgroundKey BackgroundKeyOf(const PaintInput& input);

    // Text rows drawn by the last Paint (rows past the text count too).
    int RowsPainted() const noexcept { return rowsPainted_; }

private:
    struct Pass;
    void paintRow(Pass& pass, int row, int top);
    void paintNormal(Pass& pass, int row, int top, int fromCol, int toCol, const PixelRect& rect);
    void paintSelected(Pass& pass, int top, int fromCol, int toCol, const PixelRect& rect);
    void paintMarks(Pass& pass, int row, int top, int selFrom, int selTo);
    void paintTrailingBlanks(Pass& pass, int row, int top, int selFrom, int selTo);
    void paintNumber(Pass& pass, int row, int top);
    void paintImagebar(Pass& pass, int row, int top);
    void paintRuler(Pass& pass);
    void paintEofMark(Pass& pass, int col, int top, bool selected);

    DisplayRow display_;
    std::string buffer_;  // a wrapped row and the row after it, for the tokeniser
    std::unique_ptr<TFountainParser> parser_;
    int rowsPainted_ = 0;
};

}  // namespace editor
