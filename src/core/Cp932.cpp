// Shift-JIS stepping and searching. Every scan walks forward from a known boundary, because a byte
// alone cannot tell whether it is a lead byte or the trail byte of the character before it.
#include "core/Cp932.h"

namespace cp932 {

namespace {
char upperAscii(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::size_t prevCharPos(std::string_view s, std::size_t pos) noexcept {
    if (pos > s.size()) pos = s.size();
    std::size_t i = 0, prev = 0;
    while (i < pos) {
        prev = i;
        i += charLength(s, i);
    }
    return prev;
}

bool isCharBoundary(std::string_view s, std::size_t pos) noexcept {
    if (pos >= s.size()) return pos == s.size();
    std::size_t i = 0;
    while (i < pos) i += charLength(s, i);
    return i == pos;
}

std::size_t floorCharBoundary(std::string_view s, std::size_t pos) noexcept {
    if (pos >= s.size()) return s.size();
    std::size_t i = 0;
    for (;;) {
        std::size_t next = i + charLength(s, i);
        if (next > pos) return i;
        i = next;
    }
}

std::size_t charCount(std::string_view s) noexcept {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) ++n;
    return n;
}

std::size_t findChar(std::string_view s, char c, std::size_t from) noexcept {
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) {
        if (i >= from && s[i] == c) return i;
    }
    return npos;
}

std::size_t findLastChar(std::string_view s, char c) noexcept {
    std::size_t found = npos;
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) {
        if (s[i] == c) found = i;
    }
    return found;
}

std::size_t findFirstOf(std::string_view s, std::string_view set, std::size_t from) noexcept {
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) {
        if (i >= from && charLength(s, i) == 1 && set.find(s[i]) != std::string_view::npos) return i;
    }
    return npos;
}

std::size_t find(std::string_view s, std::string_view needle, std::size_t from) noexcept {
    if (needle.empty()) return from <= s.size() ? floorCharBoundary(s, from) : npos;
    for (std::size_t i = 0; i + needle.size() <= s.size(); i += charLength(s, i)) {
        if (i >= from && s.compare(i, needle.size(), needle) == 0) return i;
    }
    return npos;
}

std::size_t findNoCase(std::string_view s, std::string_view needle, std::size_t from) noexcept {
    if (needle.empty()) return from <= s.size() ? floorCharBoundary(s, from) : npos;
    for (std::size_t i = 0; i + needle.size() <= s.size(); i += charLength(s, i)) {
        if (i < from) continue;
        // Walk both texts character by character so a trail byte is never folded as a letter.
        std::size_t k = 0;
        bool same = true;
        while (k < needle.size()) {
            std::size_t len = charLength(needle, k);
            if (len == 1) {
                if (upperAscii(s[i + k]) != upperAscii(needle[k]) || charLength(s, i + k) != 1) { same = false; break; }
            } else if (s.compare(i + k, 2, needle.substr(k, 2)) != 0) {
                same = false;
                break;
            }
            k += len;
        }
        if (same) return i;
    }
    return npos;
}

std::string toUpperAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); i += charLength(out, i)) {
        if (charLength(out, i) == 1) out[i] = upperAscii(out[i]);
    }
    return out;
}

std::string_view truncate(std::string_view s, std::size_t maxBytes) noexcept {
    if (s.size() <= maxBytes) return s;
    return s.substr(0, floorCharBoundary(s, maxBytes));
}

}  // namespace cp932
