// The plain word wrap: cut after WrapByte display columns, never inside a double-byte character.
#include "editor/WordWrapper.h"

#include "core/Cp932.h"

void CutWordWrapper::WrapLine(std::string_view line, std::vector<int>& rowLengths) const {
    const int wrap = option_.WrapByte();
    const int tab = tabSpaceCount_ > 0 ? tabSpaceCount_ : 8;
    std::size_t pos = 0;
    for (;;) {
        const std::string_view rest = line.substr(pos);
        int col = 0;
        std::size_t i = 0;
        while (i < rest.size() && col < wrap) {
            int w;
            std::size_t n = 1;
            if (rest[i] == '\t') {
                w = tab - col % tab;
                if (col + w > wrap) w = wrap - col;  // the tab's blank columns end at the wrap width
            } else {
                n = cp932::charLength(rest, i);
                w = static_cast<int>(n);
                if (col + w > wrap) break;  // a double-byte character that would straddle the cut
            }
            col += w;
            i += n;
        }
        if (i == rest.size() && col < wrap) {  // narrower than the wrap width: the line ends on this row
            rowLengths.push_back(static_cast<int>(rest.size()));
            return;
        }
        if (i == 0) i = cp932::charLength(rest, 0);  // never an empty cut
        rowLengths.push_back(static_cast<int>(i));
        pos += i;
        if (pos >= line.size()) {
            if (!option_.FollowRetMark()) rowLengths.push_back(0);  // the empty row that holds the line end
            return;
        }
    }
}
