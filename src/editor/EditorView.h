// What the editor core asks of the view that shows it: repaint rows, move pixels after a scroll, repaint after
// an edit or a new layout, place the caret, update the scroll bars. The editor's display implements it (and the
// window carries its plans out); tests record the calls.
#pragma once

#include <climits>

#include "editor/EditorLayout.h"
#include "editor/RowAttribute.h"

class EditorView {
public:
    static constexpr int kToBottom = INT_MAX;

    virtual ~EditorView() = default;
    // Rows [first, last] of the text need repainting (last may be kToBottom).
    virtual void InvalidateRows(int first, int last) = 0;
    virtual void InvalidateAll() = 0;
    // TopRow or TopCol changed by these amounts: the window moves the pixels it can and repaints the rest.
    virtual void ViewScrolled(int rows, int cols) = 0;
    // The text was edited (change.Valid): the store's change record says which rows look different.
    virtual void TextChanged(const ChangeRecord& change) = 0;
    // The layout values (and perhaps the view's origin) changed from these.
    virtual void LayoutChanged(const editor::EditorLayout& old, const editor::GridOrigin& oldOrigin) = 0;
    // The caret moved, or its shape or visibility changed: place it (and the input method's window).
    virtual void CaretChanged() = 0;
    // The scroll ranges or positions changed.
    virtual void ScrollBarsChanged() = 0;
};

// A view that shows nothing (an editor without a window).
class NullEditorView : public EditorView {
public:
    void InvalidateRows(int, int) override {}
    void InvalidateAll() override {}
    void ViewScrolled(int, int) override {}
    void TextChanged(const ChangeRecord&) override {}
    void LayoutChanged(const editor::EditorLayout&, const editor::GridOrigin&) override {}
    void CaretChanged() override {}
    void ScrollBarsChanged() override {}
};
