// Column maps of rows, byte positions of display columns and indent widths.
#include "editor/ColumnMap.h"

#include <algorithm>

#include "core/Cp932.h"

const DelimiterSet& DefaultDelimiters() {
    static const DelimiterSet set = [] {
        DelimiterSet s;
        auto range = [&s](int from, int to) {
            for (int b = from; b <= to; ++b) s.set(static_cast<std::size_t>(b));
        };
        range(0x00, 0x2F);
        range(0x3A, 0x40);
        range(0x5B, 0x5E);
        range(0x60, 0x60);
        range(0x7B, 0x80);
        range(0xA0, 0xA5);
        range(0xFD, 0xFF);
        return s;
    }();
    return set;
}

std::string ColumnMap(std::string_view row, const ColumnMapOptions& options) {
    const DelimiterSet& delimiters = options.delimiters ? *options.delimiters : DefaultDelimiters();
    const int tab = ClampTabSpaceCount(options.tabSpaceCount);
    const std::size_t limit =
        static_cast<std::size_t>(options.wordWrap ? options.wrapByte + 3 : kColumnMapLimit);
    std::string map;
    map.reserve(std::min(row.size() + 16, limit));
    for (std::size_t i = 0; i < row.size() && map.size() < limit;) {
        const auto b = static_cast<unsigned char>(row[i]);
        if (cp932::isLeadByte(b) && i + 1 < row.size()) {
            map += columncode::kLead;
            map += columncode::kTrail;
            i += 2;
        } else if (b == '\t') {
            const int c = static_cast<int>(map.size());
            int blanks = tab - (c % tab) - 1;
            if (options.wordWrap) blanks = std::max(0, std::min(blanks, options.wrapByte - c - 1));
            map += columncode::kDelimiter;
            map.append(static_cast<std::size_t>(blanks), columncode::kTabBlank);
            ++i;
        } else {
            map += delimiters.test(b) ? columncode::kDelimiter : columncode::kWord;
            ++i;
        }
    }
    if (map.size() > limit) map.resize(limit);
    return map;
}

int BytePosOfColumn(std::string_view map, int col) {
    if (col <= 0) return 0;
    const std::size_t upto = std::min(map.size(), static_cast<std::size_t>(col));
    const auto blanks = std::count(map.begin(), map.begin() + static_cast<std::ptrdiff_t>(upto), columncode::kTabBlank);
    return col - static_cast<int>(blanks);
}

int ColumnOfBytePos(std::string_view map, int pos) {
    int bytes = 0;
    for (std::size_t c = 0; c < map.size(); ++c) {
        if (map[c] == columncode::kTabBlank) continue;
        if (bytes == pos) return static_cast<int>(c);
        ++bytes;
    }
    return static_cast<int>(map.size()) + (pos - bytes);
}

int IndentWidth(std::string_view row, int tabSpaceCount) {
    if (row.empty()) return -1;
    const int tab = ClampTabSpaceCount(tabSpaceCount);
    int col = 0;
    for (std::size_t i = 0; i < row.size();) {
        const auto b = static_cast<unsigned char>(row[i]);
        if (b == ' ') {
            ++col;
            ++i;
        } else if (b == '\t') {
            col += tab - col % tab;
            ++i;
        } else if (b == 0x81 && i + 1 < row.size() && static_cast<unsigned char>(row[i + 1]) == 0x40) {
            col += 2;  // full-width space
            i += 2;
        } else {
            break;
        }
    }
    return col;
}
