// The display of an editor control: options into layout, the core's repaint requests into pixel plans.
#include "editor/EditorDisplay.h"

#include <algorithm>

#include "core/Cp932.h"
#include "editor/EditorScreenStrings.h"
#include "editor/RowStates.h"

namespace editor {

EditorDisplay::EditorDisplay(EditorCore& core, DisplayWindow& window) : core_(core), window_(window) {
    options_.SetOnChange([this] { optionsChanged(); });
    options_.Font.OnChange = [this] { fontChanged(); };
    metrics_ = core_.GetFontMetrics();
    core_.SetView(this);
    core_.SetLayoutOptions(options_.Layout(metrics_));
}

EditorDisplay::~EditorDisplay() { core_.SetView(nullptr); }

void EditorDisplay::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    InvalidateAll();
}

void EditorDisplay::optionsChanged() {
    repaintingAll_ = true;  // no partial plans for a layout that is repainted whole anyway
    core_.SetLayoutOptions(options_.Layout(metrics_));
    repaintingAll_ = false;
    InvalidateAll();  // colours and marks change no layout value
}

void EditorDisplay::fontChanged() { FontMeasured(window_.FontChanged(options_.Font)); }

void EditorDisplay::FontMeasured(const FontMetrics& metrics) {
    metrics_ = metrics;
    repaintingAll_ = true;
    core_.SetLayoutInputs(metrics_, options_.Layout(metrics_));  // the ruler's height follows the font
    repaintingAll_ = false;
    InvalidateAll();
}

ViewGeometry EditorDisplay::Geometry() const {
    ViewGeometry v;
    v.layout = core_.Layout();
    v.origin = {core_.TopRow(), core_.TopCol()};
    v.clientWidth = core_.Client().width;
    v.clientHeight = core_.Client().height;
    v.barLeft = options_.Imagebar.Visible() ? options_.Imagebar.Width() : 0;
    v.showing = window_.Showing();
    return v;
}

PaintInput EditorDisplay::Input(const PixelRect& update) const {
    TEditorScreenStrings& store = core_.Store();
    PaintInput in(store, options_);
    in.states = &core_.States();
    in.fountain = core_.States().ActiveFountain();
    in.viewColors = &core_.View().Colors();
    in.color = color_;
    in.layout = core_.Layout();
    in.origin = {core_.TopRow(), core_.TopCol()};
    in.clientWidth = core_.Client().width;
    in.clientHeight = core_.Client().height;
    in.update = update;
    in.caretRow = core_.CaretRow();
    in.caretCol = core_.CaretCol();
    in.caretUnderline = CaretVisible();
    in.selectionMode = core_.SelectionMode();
    in.selectionState = core_.SelectionState();
    in.selection = core_.Selection();
    in.tabSpaceCount = store.TabSpaceCount();
    in.wordWrap = store.WordWrap();
    in.wrapByte = store.WrapOption().WrapByte();
    in.showing = window_.Showing();
    in.onDrawLine = OnDrawLine;
    return in;
}

CaretPlacement EditorDisplay::Caret() const {
    const CaretShapeKind shape = core_.Overwrite()                     ? CaretShapeKind::Block
                                 : core_.Caret().Style() == csBrief ? CaretShapeKind::Underline
                                                                    : CaretShapeKind::Bar;
    bool onDoubleByte = false;
    const int row = core_.CaretRow();
    if (row < core_.Store().Count()) {
        const std::string_view text = core_.Store().RowView(row);
        const auto pos = static_cast<std::size_t>(std::max(0, core_.CaretPos().pos));
        onDoubleByte = pos < text.size() && cp932::charLength(text, pos) == 2;
    }
    return CaretGeometry(shape, core_.Layout(), {core_.TopRow(), core_.TopCol()}, row, core_.CaretCol(),
                         metrics_.aveCharWidth, onDoubleByte);
}

void EditorDisplay::SetKeyRepeating(bool repeating) {
    repeating_ = repeating;
    if (!repeating_ && compositionPending_) moveComposition();
}

void EditorDisplay::moveComposition() {
    compositionPending_ = repeating_;
    if (!compositionPending_) window_.MoveComposition(core_.CaretX(), core_.CaretY());
}

void EditorDisplay::repaint(const PixelRepaint& plan) {
    if (plan.scroll || !plan.invalid.empty()) window_.Repaint(plan);
}

// ---- EditorView ------------------------------------------------------------------------------------------------

void EditorDisplay::InvalidateRows(int first, int last) {
    const ViewGeometry v = Geometry();
    if (!v.showing) return;
    const EditorLayout& l = v.layout;
    const long long top = RowTop(l, v.origin, 0) + static_cast<long long>(first) * l.rowHeight;
    const long long bottom = last == kToBottom ? v.clientHeight
                                               : RowTop(l, v.origin, 0) + (static_cast<long long>(last) + 1) * l.rowHeight;
    const long long from = std::max<long long>(top, l.textTop);
    const long long to = std::min<long long>(bottom, v.clientHeight);
    if (from >= to || l.textLeft >= v.clientWidth) return;
    // The text area: a selection or the caret-row underline changes nothing in the left bar.
    PixelRepaint plan;
    plan.invalid.push_back({l.textLeft, static_cast<int>(from), v.clientWidth, static_cast<int>(to)});
    repaint(plan);
}

void EditorDisplay::InvalidateAll() {
    const ViewGeometry v = Geometry();
    if (!v.showing || v.clientWidth <= 0 || v.clientHeight <= 0) return;
    PixelRepaint plan;
    plan.invalid.push_back({0, 0, v.clientWidth, v.clientHeight});
    repaint(plan);
}

void EditorDisplay::ViewScrolled(int rows, int cols) {
    const ViewGeometry v = Geometry();
    if (rows != 0) repaint(PlanTopRowChange(v.origin.topRow - rows, v));
    if (cols != 0) repaint(PlanTopColChange(v.origin.topCol - cols, v));
    if (core_.Focused()) moveComposition();
}

void EditorDisplay::TextChanged(const ChangeRecord& change) {
    const ViewGeometry v = Geometry();
    const EditRepaint plan = PlanEditRepaint(change, core_.Store().Count(), v.origin.topRow, v.layout.visibleRows,
                                             options_.Leftbar.ShowNumberMode());
    repaint(EditRepaintPixels(plan, v));
}

void EditorDisplay::LayoutChanged(const EditorLayout& old, const GridOrigin& oldOrigin) {
    if (repaintingAll_) return;
    const ViewGeometry v = Geometry();
    const EditorLayout& l = v.layout;
    const bool sameOrigin = oldOrigin.topRow == v.origin.topRow && oldOrigin.topCol == v.origin.topCol;
    // Only the left bar's width changed: the text moves sideways and the bar is drawn again.
    const bool barOnly = sameOrigin && old.rowTextHeight == l.rowTextHeight && old.rowHeight == l.rowHeight &&
                         old.charWidth == l.charWidth && old.textTop == l.textTop &&
                         old.visibleRows == l.visibleRows && old.shownRows == l.shownRows;
    if (barOnly && old.textLeft == l.textLeft && old.leftbarWidth == l.leftbarWidth) return;
    if (barOnly) {
        repaint(PlanTextLeftChange(old, v));
    } else {
        InvalidateAll();
    }
}

void EditorDisplay::CaretChanged() {
    // The ruler marks the caret's column and the underline its row: they follow it.
    const int row = core_.CaretRow();
    const int col = core_.CaretCol();
    if (options_.Ruler.Visible() && col != shownCaretCol_) {
        PixelRepaint plan;
        const PixelRect ruler = RulerArea(Geometry(), true);
        if (!ruler.empty() && window_.Showing()) plan.invalid.push_back(ruler);
        repaint(plan);
    }
    if (options_.Marks.Underline().Visible() && row != shownCaretRow_) {
        if (shownCaretRow_ >= 0) InvalidateRows(shownCaretRow_, shownCaretRow_);
        InvalidateRows(row, row);
    }
    shownCaretRow_ = row;
    shownCaretCol_ = col;
    window_.CaretChanged();
}

void EditorDisplay::ScrollBarsChanged() { window_.ScrollBarsChanged(); }

}  // namespace editor
