// The caret and speed option objects of the editor.
#include "editor/EditorOptions.h"

TEditorCaret::TEditorCaret() {
    // A change of a cursor is a change of the caret options.
    cursors_.OnChange = [this] { Changed(); };
}

void TEditorCaret::SetTabSpaceCount(int v) {
    const int clamped = v < 2 ? 2 : v > 8 ? 8 : v;
    setField(tabSpaceCount_, clamped & ~1);
}
