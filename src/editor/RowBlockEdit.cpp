// The working copy of a run of rows behind multi-row edits.
#include "editor/RowBlockEdit.h"

#include <algorithm>

#include "editor/EditorScreenStrings.h"

namespace editor {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

RowBlockEdit::RowBlockEdit(const TEditorScreenStrings& store, int first, int last) : store_(store), first_(first) {
    first_ = std::max(0, std::min(first, store.Count()));
    EnsureRow(std::max(first_, last));
}

void RowBlockEdit::EnsureRow(int row) {
    const int count = store_.Count();
    while (End() <= row) {
        const int next = first_ + loaded_;
        if (!pastEnd_ && next < count) {
            rows_.emplace_back(store_.RowView(next));
            attributes_.push_back(store_.RowAttribute(next));
            ++loaded_;
            continue;
        }
        // Past the text: the phantom row after a final line break, or a new row after the last one.
        if (!attributes_.empty() && attributes_.back() != raLineEnd) attributes_.back() = raLineEnd;
        pastEnd_ = true;
        rows_.emplace_back();
        attributes_.push_back(raTextEnd);
    }
}

std::string& RowBlockEdit::Row(int row) {
    EnsureRow(row);
    return rows_[static_cast<std::size_t>(row - first_)];
}

void RowBlockEdit::Erase(RowPos from, RowPos to) {
    if (to.row < from.row || (to.row == from.row && to.pos <= from.pos)) return;
    EnsureRow(to.row);
    const auto f = static_cast<std::size_t>(from.row - first_);
    const auto t = static_cast<std::size_t>(to.row - first_);
    std::string& head = rows_[f];
    const std::string& tail = rows_[t];
    const std::size_t fromPos = std::min(head.size(), static_cast<std::size_t>(std::max(0, from.pos)));
    const std::size_t toPos = std::min(tail.size(), static_cast<std::size_t>(std::max(0, to.pos)));
    std::string joined = head.substr(0, fromPos);
    joined.append(tail, toPos, std::string::npos);
    head = std::move(joined);
    attributes_[f] = attributes_[t];
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(f + 1), rows_.begin() + static_cast<std::ptrdiff_t>(t + 1));
    attributes_.erase(attributes_.begin() + static_cast<std::ptrdiff_t>(f + 1),
                      attributes_.begin() + static_cast<std::ptrdiff_t>(t + 1));
}

RowPos RowBlockEdit::Insert(RowPos at, std::string_view text) {
    std::string& row = Row(at.row);
    const auto pos = static_cast<std::size_t>(std::max(0, at.pos));
    if (row.size() < pos) row.append(pos - row.size(), ' ');
    const std::vector<std::string_view> lines = SplitLines(text);
    const std::string tail = row.substr(pos);
    row.resize(pos);
    row.append(lines.front());
    if (lines.size() == 1) {
        row.append(tail);
        return {at.row, static_cast<int>(pos + lines.front().size())};
    }
    const auto index = static_cast<std::size_t>(at.row - first_);
    const TRowAttribute lastAttribute = attributes_[index];
    attributes_[index] = raLineEnd;
    std::vector<std::string> added;
    std::vector<TRowAttribute> addedAttributes;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        added.emplace_back(lines[k]);
        addedAttributes.push_back(k + 1 < lines.size() ? raLineEnd : lastAttribute);
    }
    const int endPos = static_cast<int>(added.back().size());
    added.back().append(tail);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index + 1), added.begin(), added.end());
    attributes_.insert(attributes_.begin() + static_cast<std::ptrdiff_t>(index + 1), addedAttributes.begin(),
                       addedAttributes.end());
    return {at.row + static_cast<int>(lines.size()) - 1, endPos};
}

std::string RowBlockEdit::Text() const {
    std::string out;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        out.append(rows_[i]);
        if (attributes_[i] == raLineEnd) out.append("\r\n");
    }
    return out;
}

void RowBlockEdit::Commit(TEditorScreenStrings& store) const { store.ReplaceRows(first_, loaded_, Text()); }

}  // namespace editor
