// Group and script names: the faults a name can have, proposals for new names and the name of an import.
#include "library/NameRules.h"

#include <algorithm>
#include <array>

#include "core/Cp932.h"
#include "library/LibraryRules.h"

namespace {

// Shift-JIS constants as bytes, so every build (also one without a CP932 execution charset) has the same text.
constexpr char kGroupStem[] = "\x90\x56\x82\xB5\x82\xA2\x83\x4F\x83\x8B\x81\x5B\x83\x76";        // 新しいグループ
constexpr char kScriptStem[] = "\x90\x56\x82\xB5\x82\xA2\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67";  // 新しいスクリプト

// Second bytes of CP932 double-byte characters: 0x40-0x7E and 0x80-0xFC.
bool isTrailByte(char c) noexcept {
    auto b = static_cast<unsigned char>(c);
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool holdsForbiddenCharacter(std::string_view name) {
    constexpr std::string_view forbidden = kNameForbiddenCharacters;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = cp932::charLength(name, i);
        // A lead byte before a byte that cannot follow one is broken text; the file system would still see
        // that byte (a "/" or ":" among them) on its own, so it is tested on its own.
        if (length == 2 && !isTrailByte(name[i + 1])) length = 1;
        if (length == 1 && forbidden.find(name[i]) != std::string_view::npos) return true;
        i += length;
    }
    return false;
}

// The last character, stepped to from the start: a trail byte (0x40-0xFC) is never a period or a blank.
bool endsInDotOrBlank(std::string_view name) {
    const std::size_t last = cp932::prevCharPos(name, name.size());
    return name.size() - last == 1 && (name[last] == '.' || name[last] == ' ');
}

// Windows takes these base names for devices whatever extension follows, in any letter case.
constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};

// The device test looks at the part before the first period, without the blanks that end it ("nul .txt").
bool namesDevice(std::string_view name) {
    std::string_view base = name.substr(0, std::min(name.size(), cp932::findChar(name, '.')));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    const std::string upper = cp932::toUpperAscii(base);
    for (std::string_view device : kDevices) {
        if (upper == device) return true;
    }
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

std::string proposal(const char* stem, const std::function<bool(const std::string&)>& taken) {
    // Ends: a folder holds finitely many entries.
    for (unsigned long n = 1;; ++n) {
        std::string candidate = stem + std::to_string(n);
        if (!taken(candidate)) return candidate;
    }
}

}  // namespace

NameFaults nameFaultsFind(std::string_view name, NameKind kind) {
    NameFaults faults;
    faults.forbiddenCharacter = holdsForbiddenCharacter(name);
    faults.tooLong = name.size() > kNameMaxBytes;
    if (name.empty()) {
        faults.empty = true;
        return faults;
    }
    if (name == "." || name == "..") {
        faults.dotName = true;
        return faults;
    }
    faults.trailingDotOrBlank = kind == NameKind::Group && endsInDotOrBlank(name);
    faults.deviceName = namesDevice(name);
    return faults;
}

bool nameReachesEntry(std::string_view name, NameKind kind) {
    NameFaults faults = nameFaultsFind(name, kind);
    // The ".scr" after a script's name makes the empty name and the dot names plain file names.
    if (kind == NameKind::Script) faults.empty = faults.dotName = false;
    faults.tooLong = false;
    return !faults.any();
}

const char* nameHazardMessage(const NameFaults& faults) {
    if (faults.dotName) {
        // 「.」と「..」は名称に使用できません
        return "\x81\x75.\x81\x76\x82\xC6\x81\x75..\x81\x76\x82\xCD\x96\xBC\x8F\xCC\x82\xC9\x8E\x67\x97\x70"
               "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
    }
    if (faults.trailingDotOrBlank) {
        // 末尾が「.」または空白の名称は設定できません
        return "\x96\x96\x94\xF6\x82\xAA\x81\x75.\x81\x76\x82\xDC\x82\xBD\x82\xCD\x8B\xF3\x94\x92\x82\xCC\x96\xBC"
               "\x8F\xCC\x82\xCD\x90\xDD\x92\xE8\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
    }
    if (faults.deviceName) {
        // CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9 は名称に使用できません
        return "CON\x81\x41PRN\x81\x41" "AUX\x81\x41NUL\x81\x41" "COM1\x81\x60" "COM9\x81\x41LPT1\x81\x60LPT9 "
               "\x82\xCD\x96\xBC\x8F\xCC\x82\xC9\x8E\x67\x97\x70\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
    }
    return nullptr;
}

std::string groupNameProposal(const std::function<bool(const std::string& candidate)>& taken) {
    return proposal(kGroupStem, taken);
}

std::string scriptNameProposal(const std::function<bool(const std::string& candidate)>& taken) {
    return proposal(kScriptStem, taken);
}

std::string importedScriptName(std::string_view chosenPath) {
    std::size_t start = 0;
    for (char separator : {'\\', '/', ':'}) {
        const std::size_t at = cp932::findLastChar(chosenPath, separator);
        if (at != cp932::npos) start = std::max(start, at + 1);
    }
    return lastExtensionRemove(chosenPath.substr(start));
}
