// Trailing blanks and a missing final line end, counted over the rows.
#include "editor/InvisibleFaults.h"

#include <algorithm>

#include "core/Cp932.h"
#include "editor/EditorStringList.h"
#include "editor/RowAttribute.h"

namespace editor {

Blank blankAt(std::string_view text, std::size_t i, std::size_t length) noexcept {
    if (length == 1 && text[i] == ' ') return Blank::Space;
    if (length == 1 && text[i] == '\t') return Blank::Tab;
    if (length == 2 && text[i] == '\x81' && text[i + 1] == '\x40') return Blank::WideSpace;  // 　 full-width space
    return Blank::None;
}

namespace {

// Whether `row` ends a line whose last character is a blank. An empty row that ends a wrapped line leaves
// the last character to the rows before it.
std::uint8_t endsLineInBlank(const TEditorStringList& rows, int row) {
    if (rows.RowAttribute(row) == raWrapped) return 0;
    for (int r = row; r >= 0; --r) {
        const std::string_view text = rows.RowView(r);
        if (!text.empty()) {
            const std::size_t last = cp932::prevCharPos(text, text.size());
            return blankAt(text, last, text.size() - last) != Blank::None ? 1 : 0;
        }
        if (r == 0 || rows.RowAttribute(r - 1) != raWrapped) return 0;
    }
    return 0;
}

}  // namespace

InvisibleFaults FindInvisibleFaults(const TEditorStringList& rows) {
    InvisibleFaultTally tally;
    tally.Reset(rows);
    return tally.Faults(rows);
}

void InvisibleFaultTally::Reset(const TEditorStringList& rows) {
    const int count = rows.Count();
    counted_.assign(static_cast<std::size_t>(count), 0);
    total_ = 0;
    for (int row = 0; row < count; ++row) {
        total_ += counted_[static_cast<std::size_t>(row)] = endsLineInBlank(rows, row);
    }
}

void InvisibleFaultTally::Changed(const TEditorStringList& rows, const ChangeRecord& change) {
    const int first = change.FirstRow, removed = change.RemovedRows, inserted = change.InsertedRows;
    const int held = static_cast<int>(counted_.size());
    if (!change.Valid || first < 0 || removed < 0 || inserted < 0 || first + removed > held ||
        held - removed + inserted != rows.Count()) {
        Reset(rows);  // a change this tally did not see the whole of
        return;
    }
    const auto at = counted_.begin() + first;
    for (auto it = at; it != at + removed; ++it) total_ -= *it;
    counted_.insert(counted_.erase(at, at + removed), static_cast<std::size_t>(inserted), 0);
    // The new rows, and the rows around them whose line end may have moved into or out of the block.
    const int from = std::max(0, first - 1), to = std::min(rows.Count(), first + inserted + 1);
    for (int row = from; row < to; ++row) {
        std::uint8_t& c = counted_[static_cast<std::size_t>(row)];
        total_ -= c;
        total_ += c = endsLineInBlank(rows, row);
    }
}

InvisibleFaults InvisibleFaultTally::Faults(const TEditorStringList& rows) const {
    InvisibleFaults found;
    found.trailingBlankLines = total_;
    // The last row holds what follows the last line end: nothing when the text ends with one.
    const int count = rows.Count();
    found.missingFinalLineEnd =
        count > 0 && rows.RowAttribute(count - 1) == raTextEnd && !rows.RowView(count - 1).empty();
    return found;
}

}  // namespace editor
