// Undo and redo: each record names a block of rows and the text it replaced; replaying it swaps the two and
// leaves the inverse record on the other list.
#include "editor/UndoList.h"

#include "editor/EditorScreenStrings.h"

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

void TEditorUndoObj::Undo() { replay(undo_, true); }
void TEditorUndoObj::Redo() { replay(redo_, false); }

void TEditorUndoObj::replay(TUndoDataList& from, bool undo) {
    if (from.Empty() || running_) return;
    TUndoData record = from.TakeLast();
    TEditorScreenStrings& s = store_;
    if (record.FirstRow < 0 || record.RowCount < 0 || record.FirstRow + record.RowCount > s.Count()) {
        // The rows were changed behind the store's back: the lists no longer describe the text.
        Clear();
        return;
    }
    {
        // Ends the update on the way out of an exception too (quietly: a second exception would end the
        // program); the normal way out ends it below, where an editor's OnChange may throw to the caller.
        struct Guard {
            TEditorScreenStrings& s;
            bool& running;
            bool open = true;
            ~Guard() {
                running = false;
                if (open) {
                    try {
                        s.EndUpdate();
                    } catch (...) {
                    }
                }
            }
        } guard{s, running_};
        s.BeginUpdate();
        running_ = true;
        TEditorScreenStrings::PrimitiveScope primitive(s);
        TUndoData inverse;
        if (const EditorClient* e = s.ActiveEditor()) {
            inverse.CaretRow = e->CaretRow();
            inverse.CaretCol = e->CaretCol();
        }
        inverse.FirstRow = record.FirstRow;
        inverse.OldText = s.RowsText(record.FirstRow, record.RowCount);
        inverse.OldAttribute = record.RowCount > 0 ? s.RowAttribute(record.FirstRow + record.RowCount - 1) : raNone;

        TEditorScreenStrings::Split split;
        if (record.OldAttribute != raNone) s.splitBlock(record.OldText, record.OldAttribute, true, split);
        s.putBlock(record.FirstRow, record.RowCount, split, 0);
        inverse.RowCount = static_cast<int>(split.rows.size());
        s.fillChange(record.FirstRow, record.RowCount, inverse.RowCount);
        s.updateStatesFrom(record.FirstRow);
        if (undo) {
            redo_.Add(std::move(inverse));
        } else {
            AddUndo(std::move(inverse));
        }
        running_ = false;
        guard.open = false;
        s.EndUpdate();
    }
    if (EditorClient* e = s.ActiveEditor()) e->SetCaretPos(record.CaretRow, record.CaretCol);
}
