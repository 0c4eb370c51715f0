// Group name rules: the proposed default name and the refusal of names that reach no plain group folder.
#include "dialogs/GroupNameRules.h"

#include "core/Cp932.h"

#include <algorithm>
#include <array>

namespace group_names {

namespace {

// Shift-JIS constants as bytes, so every build (also one without a CP932 execution charset) has the same text.
constexpr const char* kProposalStem = "\x90\x56\x82\xB5\x82\xA2\x83\x4F\x83\x8B\x81\x5B\x83\x76";  // 新しいグループ

}  // namespace

std::string proposeDefault(const std::function<bool(const std::string& candidate)>& folderExists) {
    // Ends: the save folder holds finitely many folders.
    for (unsigned long n = 1;; ++n) {
        std::string candidate = kProposalStem + std::to_string(n);
        if (!folderExists(candidate)) return candidate;
    }
}

namespace {

// Windows takes these base names for devices whatever extension follows, in any letter case.
constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};

bool isDeviceBase(std::string_view base) {
    const std::string upper = cp932::toUpperAscii(base);
    for (std::string_view device : kDevices) {
        if (upper == device) return true;
    }
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

UnsafeName unsafeNameKind(std::string_view name) {
    if (name.empty()) return UnsafeName::None;
    if (name == "." || name == "..") return UnsafeName::DotName;

    // The last character, stepped to from the start: a trail byte (0x40-0xFC) is never a period or a blank.
    const std::size_t last = cp932::prevCharPos(name, name.size());
    if (name.size() - last == 1 && (name[last] == '.' || name[last] == ' ')) {
        return UnsafeName::TrailingDotOrBlank;
    }

    // The device test looks at the part before the first period, without the blanks that end it ("nul .txt").
    std::string_view base = name.substr(0, std::min(name.size(), cp932::findChar(name, '.')));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    if (isDeviceBase(base)) return UnsafeName::DeviceName;
    return UnsafeName::None;
}

const char* unsafeNameMessage(UnsafeName kind) {
    switch (kind) {
        case UnsafeName::DotName:
            // 「.」と「..」は名称に使用できません
            return "\x81\x75.\x81\x76\x82\xC6\x81\x75..\x81\x76\x82\xCD\x96\xBC\x8F\xCC\x82\xC9\x8E\x67\x97\x70"
                   "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
        case UnsafeName::TrailingDotOrBlank:
            // 末尾が「.」または空白の名称は設定できません
            return "\x96\x96\x94\xF6\x82\xAA\x81\x75.\x81\x76\x82\xDC\x82\xBD\x82\xCD\x8B\xF3\x94\x92\x82\xCC\x96\xBC"
                   "\x8F\xCC\x82\xCD\x90\xDD\x92\xE8\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
        case UnsafeName::DeviceName:
            // CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9 は名称に使用できません
            return "CON\x81\x41PRN\x81\x41" "AUX\x81\x41NUL\x81\x41" "COM1\x81\x60" "COM9\x81\x41LPT1\x81\x60LPT9 "
                   "\x82\xCD\x96\xBC\x8F\xCC\x82\xC9\x8E\x67\x97\x70\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
        case UnsafeName::None:
            break;
    }
    return "";
}

}  // namespace group_names
