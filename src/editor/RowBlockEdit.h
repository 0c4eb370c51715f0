// A working copy of a run of rows, changed in memory and put back with one ReplaceRows call, so that deleting a
// selection and inserting text (a paste over a selection, a block, a dropped drag) is one change and one undo
// step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/RowAttribute.h"
#include "editor/WordMotion.h"

class TEditorScreenStrings;

namespace editor {

class RowBlockEdit {
public:
    // Copies rows [first, last] of the store; rows past the text are added as needed (the phantom row after a
    // final line break first, then new rows, the last row of the text getting a line break).
    RowBlockEdit(const TEditorScreenStrings& store, int first, int last);

    int First() const noexcept { return first_; }
    int End() const noexcept { return first_ + static_cast<int>(rows_.size()); }
    // The copy's row `row` (an index of the text), loaded or added first when it lies past the copy.
    std::string& Row(int row);
    void EnsureRow(int row);

    // Removes the text between two positions (from before to); positions past a row's end count as its end.
    void Erase(RowPos from, RowPos to);
    // Inserts text (breaks as CR LF, lone CR or LF) at a position, padding the row with spaces up to it; returns
    // the position after the inserted text.
    RowPos Insert(RowPos at, std::string_view text);

    // The copy as the text that replaces the loaded rows.
    std::string Text() const;
    // One ReplaceRows call; nothing when the copy replaces no row and holds no text.
    void Commit(TEditorScreenStrings& store) const;

private:
    const TEditorScreenStrings& store_;
    int first_;
    int loaded_ = 0;      // rows of the store the copy replaces
    bool pastEnd_ = false;  // rows past the text were added
    std::vector<std::string> rows_;
    std::vector<TRowAttribute> attributes_;
};

// Lines of a text split at CR LF, lone CR and lone LF (a final break gives an empty last line).
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace editor
