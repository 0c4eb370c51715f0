// Shift-JIS (code page 932) text helpers: character stepping and searching that never split a
// double-byte character nor take its trail byte (0x40-0xFC, 0x5C among them) for an ASCII character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cp932 {

constexpr std::size_t npos = std::string_view::npos;

// Lead bytes of CP932 double-byte characters: 0x81-0x9F and 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char b) noexcept {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isLeadByte(char c) noexcept { return isLeadByte(static_cast<unsigned char>(c)); }

// Half-width katakana and its punctuation, 0xA1-0xDF: single bytes.
constexpr bool isHalfWidthKana(unsigned char b) noexcept { return b >= 0xA1 && b <= 0xDF; }

// Bytes taken by the character at `pos`: 2 for a lead byte with a byte after it, else 1.
// A lead byte at the very end counts as one byte, so nothing reads past the end.
inline std::size_t charLength(std::string_view s, std::size_t pos) noexcept {
    return (isLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

// Position of the character after the one at `pos` (at most s.size()).
inline std::size_t nextCharPos(std::string_view s, std::size_t pos) noexcept {
    return pos >= s.size() ? s.size() : pos + charLength(s, pos);
}

// Position of the character before `pos`, found by stepping from the start (the only safe way in CP932).
std::size_t prevCharPos(std::string_view s, std::size_t pos) noexcept;

// True when `pos` starts a character (or is the end), i.e. is not the second byte of a double-byte one.
bool isCharBoundary(std::string_view s, std::size_t pos) noexcept;

// The boundary at or before `pos`: a position on a trail byte moves back to its lead byte.
std::size_t floorCharBoundary(std::string_view s, std::size_t pos) noexcept;

// Number of characters (a double-byte character counts one).
std::size_t charCount(std::string_view s) noexcept;

// First position at or after `from` of the single-byte character `c`; trail bytes never match.
std::size_t findChar(std::string_view s, char c, std::size_t from = 0) noexcept;

// Last position of the single-byte character `c`; trail bytes never match.
std::size_t findLastChar(std::string_view s, char c) noexcept;

// First position at or after `from` of any single-byte character of `set`.
std::size_t findFirstOf(std::string_view s, std::string_view set, std::size_t from = 0) noexcept;

// First occurrence of `needle` starting on a character boundary at or after `from`.
std::size_t find(std::string_view s, std::string_view needle, std::size_t from = 0) noexcept;

// The same with ASCII letters compared without regard to case (double-byte characters compare exactly).
std::size_t findNoCase(std::string_view s, std::string_view needle, std::size_t from = 0) noexcept;

// ASCII letters upper-cased; double-byte characters (whose trail bytes may be letters) left alone.
std::string toUpperAscii(std::string_view s);

// Cut to at most `maxBytes` without leaving half a double-byte character at the end.
std::string_view truncate(std::string_view s, std::size_t maxBytes) noexcept;

}  // namespace cp932
