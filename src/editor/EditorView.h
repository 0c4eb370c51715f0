// What the editor core asks of the window that shows it: repaint rows, move pixels after a scroll, place the
// caret, update the scroll bars. The Win32 window implements it; tests record the calls.
#pragma once

#include <climits>

class EditorView {
public:
    static constexpr int kToBottom = INT_MAX;

    virtual ~EditorView() = default;
    // Rows [first, last] of the text need repainting (last may be kToBottom).
    virtual void InvalidateRows(int first, int last) = 0;
    virtual void InvalidateAll() = 0;
    // TopRow or TopCol changed by these amounts: the window moves the pixels it can and repaints the rest.
    virtual void ViewScrolled(int rows, int cols) = 0;
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
    void CaretChanged() override {}
    void ScrollBarsChanged() override {}
};
