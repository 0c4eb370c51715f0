// Tag substitution for the combined script of a batch run.
#include "runner/TagReplace.h"

#include "core/Cp932.h"

#include <cstring>

namespace runner {

namespace {

bool isSeparator(char c) noexcept { return c == '\\' || c == ':'; }

char upperAscii(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Next occurrence of `tag` at or after `from`, letters in any case, starting on a character boundary.
// Every byte of a tag is ASCII, so once its '[' starts a character the rest lines up by itself; only that
// '[' must be shown not to be a trail byte (ゼ is 83 5B), which takes a walk from the start of the line.
std::size_t tagFind(std::string_view s, std::string_view tag, std::size_t from) {
    while (from < s.size()) {
        const void* hit = std::memchr(s.data() + from, '[', s.size() - from);
        if (hit == nullptr) return cp932::npos;
        std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - s.data());
        if (s.size() - at >= tag.size()) {
            std::size_t k = 1;
            while (k < tag.size() && upperAscii(s[at + k]) == tag[k]) ++k;
            if (k == tag.size() && cp932::isCharBoundary(s, at)) return at;
        }
        from = at + 1;
    }
    return cp932::npos;
}

// Replaces every occurrence of `tag`, searching on after each inserted value.
void replaceAll(std::string& s, std::string_view tag, const std::string& value) {
    std::size_t from = 0;
    for (;;) {
        std::size_t at = tagFind(s, tag, from);
        if (at == cp932::npos) return;
        s.replace(at, tag.size(), value);
        from = at + value.size();
    }
}

}  // namespace

PathParts pathPartsSplit(std::string_view path) {
    // Walk characters from the start: only then is a 0x5C byte known to be a backslash and not a trail byte.
    std::size_t last = cp932::npos;      // last separator
    std::size_t beforeLast = cp932::npos;  // the character before it
    std::size_t previous = cp932::npos;
    for (std::size_t i = 0; i < path.size(); i += cp932::charLength(path, i)) {
        if (cp932::charLength(path, i) == 1 && isSeparator(path[i])) {
            last = i;
            beforeLast = previous;
        }
        previous = i;
    }

    PathParts parts;
    std::string_view name = last == cp932::npos ? path : path.substr(last + 1);
    if (last != cp932::npos) {
        std::size_t end = last + 1;
        // A backslash that closes a folder name goes; one of a root (C:\, \, \\) stays.
        bool rootBackslash = beforeLast == cp932::npos ||
                             (cp932::charLength(path, beforeLast) == 1 && isSeparator(path[beforeLast]));
        if (path[last] == '\\' && !rootBackslash) end = last;
        parts.directory.assign(path.substr(0, end));
    }
    parts.fileName.assign(name);
    std::size_t dot = cp932::findLastChar(name, '.');
    if (dot == cp932::npos) {
        parts.baseName.assign(name);
    } else {
        parts.baseName.assign(name.substr(0, dot));
        parts.extension.assign(name.substr(dot));
    }
    return parts;
}

TagValues tagValuesFor(const std::string& filePath, int number) {
    PathParts parts = pathPartsSplit(filePath);
    TagValues v;
    v.filePath = filePath;
    v.folder = parts.directory + "\\";
    v.fileName = parts.baseName;
    v.fileExt = parts.extension;
    v.number = std::to_string(number);
    return v;
}

void scriptTagReplaceInPlace(std::string& line, const TagValues& values) {
    if (!lineMayHoldTag(line)) return;
    replaceAll(line, "[%FILEPATH%]", values.filePath);
    replaceAll(line, "[%FOLDER%]", values.folder);
    replaceAll(line, "[%FILENAME%]", values.fileName);
    replaceAll(line, "[%FILEEXT%]", values.fileExt);
    replaceAll(line, "[%NUMBER%]", values.number);
}

std::string scriptTagReplace(std::string line, const TagValues& values) {
    scriptTagReplaceInPlace(line, values);
    return line;
}

std::string scriptTagReplace(const std::string& line, const std::string& filePath, int number) {
    return scriptTagReplace(line, tagValuesFor(filePath, number));
}

}  // namespace runner
