// Settings-file rules that need no platform: stored integers and the paths beside the executable.
#include "library/SettingsRules.h"

#include <climits>
#include <cstdint>

#include "core/Cp932.h"

namespace {

int hexDigitValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Start of the file-name part: after the last backslash or drive colon (never a trail byte).
std::size_t fileNameStart(std::string_view path) noexcept {
    std::size_t slash = cp932::findLastChar(path, '\\');
    std::size_t colon = cp932::findLastChar(path, ':');
    std::size_t start = 0;
    if (slash != cp932::npos) start = slash + 1;
    if (colon != cp932::npos && colon + 1 > start) start = colon + 1;
    return start;
}

}  // namespace

std::optional<int> profileIntegerParse(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            int digit = hexDigitValue(text[i]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > static_cast<std::uint64_t>(INT_MAX)) return std::nullopt;
        }
        return static_cast<int>(value);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    // INT_MIN has no positive counterpart, so the magnitude is collected in a wider type.
    const std::uint64_t limit = negative ? static_cast<std::uint64_t>(INT_MAX) + 1 : INT_MAX;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    if (negative) return static_cast<int>(-static_cast<std::int64_t>(magnitude));
    return static_cast<int>(magnitude);
}

std::optional<bool> profileBooleanParse(std::string_view text) {
    std::optional<int> value = profileIntegerParse(text);
    if (!value) return std::nullopt;
    return *value != 0;
}

std::string iniPathFromExePath(std::string_view exePath) {
    std::size_t nameStart = fileNameStart(exePath);
    std::size_t dot = cp932::findLastChar(exePath.substr(nameStart), '.');
    std::string path(dot == cp932::npos ? exePath : exePath.substr(0, nameStart + dot));
    return path + ".ini";
}

std::string folderFromExePath(std::string_view exePath) {
    std::size_t slash = cp932::findLastChar(exePath, '\\');
    if (slash == cp932::npos) {
        std::size_t colon = cp932::findLastChar(exePath, ':');
        return std::string(colon == cp932::npos ? std::string_view() : exePath.substr(0, colon + 1));
    }
    // A root keeps its backslash: "C:\" and "\" name the root, "C:" would name the drive's current folder.
    if (slash == 0 || exePath[slash - 1] == ':') return std::string(exePath.substr(0, slash + 1));
    return std::string(exePath.substr(0, slash));
}

std::string_view profileTextCut(std::string_view text, std::size_t bufferBytes) {
    if (bufferBytes == 0) return {};
    if (text.size() > bufferBytes - 1) text = text.substr(0, bufferBytes - 1);
    if (text.size() < bufferBytes - 1 || text.empty()) return text;
    std::size_t last = cp932::prevCharPos(text, text.size());
    if (last + 1 == text.size() && cp932::isLeadByte(text[last])) text.remove_suffix(1);
    return text;
}
