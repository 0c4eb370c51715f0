// The free-standing row list: whole text in and out.
#include "editor/EditorStringList.h"

#include "editor/TextFile.h"

void TEditorStringList::SetTextStr(std::string_view text) {
    const std::string copy(text);  // the text may be a view of these very rows
    BeginUpdate();
    Clear();
    textfile::TextToRows(copy, *this);
    TRowAttribute prev = raLineEnd;
    for (int i = 0; i < Count(); ++i) {
        SetPrevRowAttribute(i, prev);
        prev = RowAttribute(i);
    }
    EndUpdate();
}
