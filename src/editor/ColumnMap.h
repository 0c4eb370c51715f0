// Display columns of a row: the column map of class codes, the byte position of a column, the indent width.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

// Class codes of a column map, one character per display column.
namespace columncode {
constexpr char kWord = '1';       // single-byte word character
constexpr char kDelimiter = '2';  // single-byte character of the delimiter set (a tab among them)
constexpr char kTabBlank = '3';   // blank column after a tab up to the next stop
constexpr char kLead = '4';       // first half of a double-byte character
constexpr char kTrail = '5';      // second half of a double-byte character
}  // namespace columncode

using DelimiterSet = std::bitset<256>;

// Control characters, the space, ASCII punctuation except "_", DEL, 0x80, 0xA0-0xA5 and 0xFD-0xFF.
const DelimiterSet& DefaultDelimiters();

constexpr int kColumnMapLimit = 1000;

// The tab width as the caret options keep it: 2..8, rounded down to an even number.
constexpr int ClampTabSpaceCount(int value) noexcept {
    const int clamped = value < 2 ? 2 : value > 8 ? 8 : value;
    return clamped & ~1;
}

// The column rules of a row. A store's rows take theirs from TEditorScreenStrings::ColumnOptions().
struct ColumnMapOptions {
    int tabSpaceCount = 8;  // read through ClampTabSpaceCount
    bool wordWrap = false;
    int wrapByte = 80;
    const DelimiterSet* delimiters = nullptr;  // null: the default set
};

// The column map of `row`: stops at 1000 columns (with word wrap at WrapByte + 3); with word wrap a tab's
// blank columns end at the wrap width.
std::string ColumnMap(std::string_view row, const ColumnMapOptions& options = {});

// Byte position of display column `col` in a row with this map: the column minus the tab blanks before it.
int BytePosOfColumn(std::string_view map, int col);
// Display column of byte position `pos` (the inverse, for positions on character starts).
int ColumnOfBytePos(std::string_view map, int pos);

// Display width of the leading blanks: space 1, full-width space 2, tab to the next stop (the tab width read
// through ClampTabSpaceCount); -1 for an empty row.
int IndentWidth(std::string_view row, int tabSpaceCount = 8);
