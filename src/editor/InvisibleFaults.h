// What a script's invisible characters do: blanks that end a line (AutoCAD takes each as an Enter) and a last
// line without a line end (its command is left waiting). Found in the rows without changing any text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TEditorStringList;
struct ChangeRecord;

namespace editor {

enum class Blank { None, Space, WideSpace, Tab };

// The blank the character of `length` bytes at `i` is: a half-width space, a tab, a full-width space (81 40).
Blank blankAt(std::string_view text, std::size_t i, std::size_t length) noexcept;

struct InvisibleFaults {
    int trailingBlankLines = 0;        // lines whose last character is a blank (a line of blanks only counts)
    bool missingFinalLineEnd = false;  // the text is not empty and its last line has no line end
};

// One pass over every row; a line wrapped over several rows counts once, by the end of its last row.
InvisibleFaults FindInvisibleFaults(const TEditorStringList& rows);

// The same count kept up to date edit by edit, so that typing into a long text costs the rows an edit
// changed, not a pass over the whole text.
class InvisibleFaultTally {
public:
    // Counts every row anew (after loading, or when a change cannot be followed).
    void Reset(const TEditorStringList& rows);
    // Follows one change of the rows as the store's change record describes it.
    void Changed(const TEditorStringList& rows, const ChangeRecord& change);
    InvisibleFaults Faults(const TEditorStringList& rows) const;

private:
    std::vector<std::uint8_t> counted_;  // per row: 1 when the row ends a line whose last character is a blank
    int total_ = 0;
};

}  // namespace editor
