// The display of an editor control: the painter's option objects and the control's colour, the layout they
// give the editor core, and every repaint the core asks for turned into a pixel plan for the window (rows,
// scrolls, edits by the store's change record, the left bar widening, the ruler and the caret-row underline
// following the caret); the caret's shape and place; what one paint reads. Portable: the window only carries
// the plans out and paints (TEditor with GDI).
#pragma once

#include "editor/EditorCore.h"
#include "editor/EditorPainter.h"
#include "editor/RepaintPlan.h"

namespace editor {

// What the display needs of the window that shows it.
class DisplayWindow {
public:
    virtual ~DisplayWindow() = default;
    // Whether the window shows (it and its parents visible); while it does not, nothing is painted or scrolled.
    virtual bool Showing() const = 0;
    // The font changed: the window makes it and returns its metrics (without a window yet, the metrics so far).
    virtual FontMetrics FontChanged(const EditorFont& font) = 0;
    // A window scroll of plan.scrollRect by (dx, dy) when plan.scroll (the parts of the update region inside
    // it moving along), then every rectangle of the plan invalidated.
    virtual void Repaint(const PixelRepaint& plan) = 0;
    // The caret's place, shape or visibility may have changed.
    virtual void CaretChanged() = 0;
    virtual void ScrollBarsChanged() = 0;
    // The input method's composition window goes to this client pixel.
    virtual void MoveComposition(int x, int y) = 0;
};

class EditorDisplay : public EditorView {
public:
    // Becomes the core's view until it goes; both must outlive it.
    EditorDisplay(EditorCore& core, DisplayWindow& window);
    ~EditorDisplay() override;
    EditorDisplay(const EditorDisplay&) = delete;
    EditorDisplay& operator=(const EditorDisplay&) = delete;

    // Leftbar, Margin, Marks, Ruler, Imagebar and Font: every change gives the core a new layout and repaints.
    PaintOptionSet& Options() noexcept { return options_; }
    const PaintOptionSet& Options() const noexcept { return options_; }
    // The control's colour (the background of text and margins).
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);
    TDrawLineEvent OnDrawLine;

    // The window measured the font again (it got its handle, or a font by WM_SETFONT).
    void FontMeasured(const FontMetrics& metrics);
    const FontMetrics& Metrics() const noexcept { return metrics_; }

    // What painting `update` (client pixels) reads.
    PaintInput Input(const PixelRect& update) const;
    ViewGeometry Geometry() const;
    // The caret: a bar (csDefault), an underline (csBrief) or, in Overwrite mode, a block; twice as wide on
    // the first half of a double-byte character. Shown while the core is focused and has not hidden it.
    CaretPlacement Caret() const;
    bool CaretVisible() const noexcept { return core_.Focused() && core_.CaretShown(); }

    // While a key auto-repeats, scrolling leaves the composition window where it is until the key is released.
    void SetKeyRepeating(bool repeating);

    // EditorView
    void InvalidateRows(int first, int last) override;
    void InvalidateAll() override;
    void ViewScrolled(int rows, int cols) override;
    void TextChanged(const ChangeRecord& change) override;
    void LayoutChanged(const EditorLayout& old, const GridOrigin& oldOrigin) override;
    void CaretChanged() override;
    void ScrollBarsChanged() override;

private:
    void optionsChanged();
    void fontChanged();
    void repaint(const PixelRepaint& plan);
    void moveComposition();

    EditorCore& core_;
    DisplayWindow& window_;
    PaintOptionSet options_;
    TColor color_ = clWhite;
    FontMetrics metrics_;
    int shownCaretRow_ = -1;  // where the ruler mark and the caret-row underline were drawn
    int shownCaretCol_ = -1;
    bool repeating_ = false;
    bool repaintingAll_ = false;
    bool compositionPending_ = false;
};

}  // namespace editor
