// The caret, Modified and OnChange that every editor attached to a row store keeps.
#include "editor/EditorClient.h"

#include <algorithm>

#include "editor/EditorScreenStrings.h"

void BasicEditorClient::SetCaretPos(int row, int col) {
    caretRow_ = std::max(0, row);
    caretCol_ = std::max(0, col);
}

void BasicEditorClient::StoreTextChanged(const ChangeRecord& change) {
    if (!change.Valid) return;  // loaded or set, not edited
    modified_ = true;
    if (OnChange) OnChange();
}

void BasicEditorClient::StoreUpdateEnded(const TEditorScreenStrings& store) {
    const int count = store.Count();
    const int maxRow = count == 0 ? 0 : (store.RowAttribute(count - 1) == raTextEnd ? count - 1 : count);
    if (caretRow_ > maxRow) {
        caretRow_ = maxRow;
        caretCol_ = std::min(caretCol_, maxRow < count ? store.RowLength(maxRow) : 0);
    }
}
