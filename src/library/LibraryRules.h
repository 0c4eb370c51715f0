// Script-library rules that need no platform: the path forms, and how a directory entry becomes a listed name.
// The rules for names are in NameRules.h.
#pragma once

#include <string>
#include <string_view>

// Stands for "no script" where a path is expected; as a path it names no file.
inline constexpr char kNoScriptPath[] = "/ERROR/";

// The name with its last extension removed: "a.b.scr" gives "a.b"; a name without "." stays as it is.
std::string lastExtensionRemove(std::string_view fileName);

// "." and "..", the entries a directory search reports for the folder itself and its parent.
bool isDotEntry(std::string_view name) noexcept;

// The directory search also matches short 8.3 names, so "*.scr" finds "a.scrap" through "A~1.SCR". When the
// mask's file part is "*.<ext>" without wildcards, only names whose last extension is <ext> (ASCII letters
// compared without regard to case) are taken; any other mask takes every name the search found.
bool maskExtensionAccepts(std::string_view mask, std::string_view fileName);

// Path forms of the library, each joined with a single backslash whatever the left side ends in.
std::string groupFolderPath(const std::string& saveFolder, const std::string& groupName);
std::string scriptFilePath(const std::string& saveFolder, const std::string& groupName,
                           const std::string& scriptName);
std::string groupListingMask(const std::string& saveFolder);
// An empty group name gives save folder + "\\*.scr", which the platform reads as the save folder itself.
std::string scriptListingMask(const std::string& saveFolder, const std::string& groupName);
