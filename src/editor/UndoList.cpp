// Undo and redo lists: the limit on the undo list, and the redo list that a new change clears.
#include "editor/UndoList.h"

TUndoData TUndoDataList::TakeLast() {
    TUndoData d = std::move(items_.back());
    items_.pop_back();
    return d;
}

void TEditorUndoObj::AddUndo(TUndoData data) {
    undo_.Add(std::move(data));
    while (undo_.Count() > max_) undo_.DropFirst();
    if (!running_) redo_.Clear();
}

void TEditorUndoObj::Clear() noexcept {
    undo_.Clear();
    redo_.Clear();
}
