// What a script's invisible characters do: blanks that end a line (AutoCAD takes each as an Enter) and a last
// line without a line end (its command is left waiting). Found in the rows without changing any text.
#pragma once

#include <cstddef>
#include <string_view>

class TEditorStringList;

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

}  // namespace editor
