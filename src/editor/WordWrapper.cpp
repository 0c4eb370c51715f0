// Word wrap by the Japanese line-breaking rules, on the column map of what is left of the line.
#include "editor/WordWrapper.h"

#include <string>

#include "core/Cp932.h"

namespace {

// One row being cut out of `rest`, in display columns of its column map.
class Cut {
public:
    Cut(std::string_view rest, const std::string& map) noexcept : rest_(rest), map_(map) {}

    std::size_t bytesBefore(int col) const { return static_cast<std::size_t>(BytePosOfColumn(map_, col)); }
    bool textAfter(int col) const { return bytesBefore(col) < rest_.size(); }
    char code(int col) const { return map_[static_cast<std::size_t>(col)]; }

    // The character that starts at column `col` (there must be one).
    std::string_view charAt(int col) const {
        const std::size_t p = bytesBefore(col);
        return rest_.substr(p, cp932::charLength(rest_, p));
    }
    // The column after that character: a double-byte character takes two, a tab its blanks too.
    int charEnd(int col) const {
        std::size_t e = static_cast<std::size_t>(col) + 1;
        while (e < map_.size() && (map_[e] == columncode::kTrail || map_[e] == columncode::kTabBlank)) ++e;
        return static_cast<int>(e);
    }
    // The column where the character that ends at column `col` starts.
    int charStartBefore(int col) const {
        int c = col - 1;
        if (code(c) == columncode::kTrail) return c - 1;
        while (c > 0 && code(c) == columncode::kTabBlank) --c;  // back to the tab itself
        return c;
    }
    std::string_view lastChar(int col) const { return charAt(charStartBefore(col)); }

private:
    std::string_view rest_;
    const std::string& map_;
};

bool isWordColumn(char code) { return code == columncode::kWord || code == columncode::kLead; }

// Columns of the row cut out of a rest at least `wrap` columns wide.
int cutColumns(const Cut& cut, const TEditorWrapOption& option, int wrap) {
    int taken = wrap;
    if (cut.code(taken - 1) == columncode::kLead) --taken;

    if (option.WordBreak() && cut.textAfter(taken)) {
        const int floor = wrap / 3;
        int c = taken;
        while (c > floor && isWordColumn(cut.code(c - 1))) --c;
        if (!isWordColumn(cut.code(c - 1))) taken = c;  // a word longer than the row is cut where it stands
    }

    if (option.FollowPunctuation()) {
        while (taken < wrap + 2 && cut.textAfter(taken) && option.PunctuationSet().Contains(cut.charAt(taken))) {
            taken = cut.charEnd(taken);
        }
    }

    if (option.Leading() && cut.textAfter(taken)) {
        const int floor = wrap / 5 * 4;
        while (taken > floor && option.LeadSet().Contains(cut.lastChar(taken))) taken = cut.charStartBefore(taken);
        if (option.FollowSet().Contains(cut.charAt(taken))) {
            while (taken > floor && (option.LeadSet().Contains(cut.lastChar(taken)) ||
                                     option.FollowSet().Contains(cut.charAt(taken)))) {
                taken = cut.charStartBefore(taken);
            }
        }
    }
    return taken > 0 ? taken : cut.charEnd(0);
}

}  // namespace

void JapaneseWordWrapper::WrapLine(std::string_view line, const TEditorWrapOption& option,
                                   const ColumnMapOptions& columns, std::vector<int>& rowLengths) const {
    const int wrap = option.WrapByte();
    ColumnMapOptions rules = columns;
    rules.wordWrap = true;
    rules.wrapByte = wrap;
    std::size_t pos = 0;
    for (;;) {
        const std::string_view rest = line.substr(pos);
        const std::string map = ColumnMap(rest, rules);  // WrapByte + 3 columns at most
        if (static_cast<int>(map.size()) < wrap) {       // the rest fits: the line ends on this row
            rowLengths.push_back(static_cast<int>(rest.size()));
            return;
        }
        const Cut cut(rest, map);
        std::size_t bytes = cut.bytesBefore(cutColumns(cut, option, wrap));
        if (bytes == 0) bytes = cp932::charLength(rest, 0);  // never an empty row in the middle of a line
        rowLengths.push_back(static_cast<int>(bytes));
        pos += bytes;
        if (pos >= line.size()) {
            if (!option.FollowRetMark()) rowLengths.push_back(0);  // the empty row that holds the line end
            return;
        }
    }
}
