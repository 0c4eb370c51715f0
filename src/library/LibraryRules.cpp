// Script-library rules that need no platform: path forms and listed names.
#include "library/LibraryRules.h"

#include "core/Cp932.h"

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
