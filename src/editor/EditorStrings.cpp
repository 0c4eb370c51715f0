// Lines: logical lines over the row store; every change is one ReplaceRows call, so one undo step.
#include "editor/EditorStrings.h"

#include "editor/ColumnMap.h"
#include "editor/EditorScreenStrings.h"

namespace {

// Line breaks in `s`, and the length of the text after the last one.
void measure(std::string_view s, int& breaks, std::size_t& tail) {
    breaks = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            ++breaks;
            start = i + 1;
        }
    }
    tail = s.size() - start;
}

}  // namespace

int TEditorStrings::Count() const { return store_.LineCount(); }

std::string TEditorStrings::Get(int index) const {
    if (index < 0 || index >= Count()) throw EListError();
    return store_.LineText(index);
}

// Puts the caret of the editor at byte `pos` of logical line `line`.
void TEditorStrings::caretAfter(int line, int pos) {
    if (!editor_) return;
    int row = store_.LineFirstRow(line);
    while (row < store_.Count()) {
        const int len = store_.RowLength(row);
        if (pos < len || store_.RowAttribute(row) != raWrapped) break;
        pos -= len;
        ++row;
    }
    int col = 0;
    if (row < store_.Count()) col = ColumnOfBytePos(ColumnMap(store_.RowView(row), store_.ColumnOptions()), pos);
    editor_->SetCaretPos(row, col);
}

void TEditorStrings::Put(int index, std::string_view text) {
    if (index < 0 || index >= Count()) throw EListError();
    const int first = store_.LineFirstRow(index);
    const int last = store_.LineLastRow(first);
    std::string replacement(text);
    if (store_.RowAttribute(last) == raLineEnd) replacement += "\r\n";
    store_.ReplaceRows(first, last - first + 1, replacement);
    int breaks;
    std::size_t tail;
    measure(text, breaks, tail);
    caretAfter(index + breaks, static_cast<int>(tail));
}

void TEditorStrings::Insert(int index, std::string_view text) {
    if (index < 0 || index > Count()) throw EListError();
    if (index == Count()) {
        Add(text);
        return;
    }
    std::string replacement(text);
    replacement += "\r\n";
    store_.ReplaceRows(store_.LineFirstRow(index), 0, replacement);
    int breaks;
    std::size_t tail;
    measure(text, breaks, tail);
    caretAfter(index + breaks, static_cast<int>(tail));
}

int TEditorStrings::Add(std::string_view text) {
    const int rows = store_.Count();
    std::string addition;
    // A last line without a line break is completed first, in the same change.
    if (rows > 0 && store_.RowAttribute(rows - 1) == raTextEnd) addition = "\r\n";
    addition.append(text.data(), text.size());
    addition += "\r\n";
    const int firstNewLine = Count();  // the new line's index, whether or not the last line was completed
    store_.ReplaceRows(rows, 0, addition);
    int breaks;
    std::size_t tail;
    measure(text, breaks, tail);
    caretAfter(firstNewLine + breaks, static_cast<int>(tail));
    return firstNewLine;
}

void TEditorStrings::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError();
    const int first = store_.LineFirstRow(index);
    const int last = store_.LineLastRow(first);
    store_.ReplaceRows(first, last - first + 1, {});
    if (editor_) editor_->SetCaretPos(first, 0);
}

void TEditorStrings::Clear() {
    if (store_.Count() > 0) store_.ReplaceRows(0, store_.Count(), {});
    if (editor_) editor_->SetCaretPos(0, 0);
}

std::string TEditorStrings::Text() const { return store_.Text(); }
void TEditorStrings::SetText(std::string_view text) { store_.SetText(text); }
void TEditorStrings::LoadFromFile(const std::string& path) { store_.LoadFromFile(path); }
void TEditorStrings::SaveToFile(const std::string& path) const { store_.SaveToFile(path); }

void TEditorStrings::BeginUpdate() {
    if (updateCount_++ == 0 && editor_) editor_->LinesUpdateBegin();
    store_.BeginUpdate();
}

void TEditorStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    store_.EndUpdate();
    if (--updateCount_ == 0 && editor_) editor_->LinesUpdateEnd();
}
