// Script-library rules that need no platform: names, path forms and listed names.
#include "library/LibraryRules.h"

#include "core/Cp932.h"

namespace {

// Second bytes of CP932 double-byte characters: 0x40-0x7E and 0x80-0xFC.
bool isTrailByte(char c) noexcept {
    auto b = static_cast<unsigned char>(c);
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

}  // namespace

NameFaults nameFaultsFind(std::string_view name) {
    constexpr std::string_view forbidden = kNameForbiddenCharacters;
    NameFaults faults;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = cp932::charLength(name, i);
        // A lead byte before a byte that cannot follow one is broken text; the file system would still see
        // that byte (a "/" or ":" among them) on its own, so it is tested on its own.
        if (length == 2 && !isTrailByte(name[i + 1])) length = 1;
        if (length == 1 && forbidden.find(name[i]) != std::string_view::npos) faults.forbiddenCharacter = true;
        i += length;
    }
    faults.tooLong = name.size() > kNameMaxBytes;
    return faults;
}

std::string lastExtensionRemove(std::string_view fileName) {
    std::size_t dot = cp932::findLastChar(fileName, '.');
    return std::string(dot == cp932::npos ? fileName : fileName.substr(0, dot));
}

bool isDotEntry(std::string_view name) noexcept { return name == "." || name == ".."; }

bool maskExtensionAccepts(std::string_view mask, std::string_view fileName) {
    std::size_t slash = cp932::findLastChar(mask, '\\');
    std::string_view pattern = slash == cp932::npos ? mask : mask.substr(slash + 1);
    if (pattern.size() < 3 || pattern[0] != '*' || pattern[1] != '.') return true;
    std::string_view extension = pattern.substr(2);
    if (cp932::findFirstOf(extension, "*?.") != cp932::npos) return true;
    std::size_t dot = cp932::findLastChar(fileName, '.');
    if (dot == cp932::npos) return false;
    return cp932::toUpperAscii(fileName.substr(dot + 1)) == cp932::toUpperAscii(extension);
}

std::string groupFolderPath(const std::string& saveFolder, const std::string& groupName) {
    return saveFolder + "\\" + groupName;
}

std::string scriptFilePath(const std::string& saveFolder, const std::string& groupName,
                           const std::string& scriptName) {
    return saveFolder + "\\" + groupName + "\\" + scriptName + ".scr";
}

std::string groupListingMask(const std::string& saveFolder) { return saveFolder + "\\*.*"; }

std::string scriptListingMask(const std::string& saveFolder, const std::string& groupName) {
    return saveFolder + "\\" + groupName + "\\*.scr";
}
