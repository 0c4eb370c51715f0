// Trailing blanks and a missing final line end, counted over the rows.
#include "editor/InvisibleFaults.h"

#include "core/Cp932.h"
#include "editor/EditorStringList.h"

namespace editor {

Blank blankAt(std::string_view text, std::size_t i, std::size_t length) noexcept {
    if (length == 1 && text[i] == ' ') return Blank::Space;
    if (length == 1 && text[i] == '\t') return Blank::Tab;
    if (length == 2 && text[i] == '\x81' && text[i + 1] == '\x40') return Blank::WideSpace;  // 　 full-width space
    return Blank::None;
}

InvisibleFaults FindInvisibleFaults(const TEditorStringList& rows) {
    InvisibleFaults found;
    bool endsInBlank = false;  // the line so far ends in a blank
    const int count = rows.Count();
    for (int row = 0; row < count; ++row) {
        const std::string_view text = rows.RowView(row);
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n = cp932::charLength(text, i);
            endsInBlank = blankAt(text, i, n) != Blank::None;
            i += n;
        }
        const TRowAttribute end = rows.RowAttribute(row);
        if (end == raWrapped) continue;
        if (endsInBlank) ++found.trailingBlankLines;
        // The last row holds what follows the last line end: nothing when the text ends with one.
        if (end == raTextEnd && row == count - 1 && !text.empty()) found.missingFinalLineEnd = true;
        endsInBlank = false;
    }
    return found;
}

}  // namespace editor
