// Rules for group names that need no window: the proposed name of a new group and the names that
// would not give a plain group folder of the save folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace group_names {

// "新しいグループ" followed by the first n from 1 for which `folderExists(candidate)` is false.
// Only a folder blocks a candidate; the caller's predicate decides what "exists" means.
std::string proposeDefault(const std::function<bool(const std::string& candidate)>& folderExists);

// Why a name cannot be a group folder although it passes the character and length rule.
enum class UnsafeName {
    None,                // usable (the empty name too: the dialogs refuse it themselves)
    DotName,             // "." or "..": the save folder itself or the folder above it
    TrailingDotOrBlank,  // the file system drops trailing periods and spaces, so the folder gets another name
    DeviceName,          // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, also with an extension ("con.txt")
};

UnsafeName unsafeNameKind(std::string_view name);

// The plain message shown for a refused name; empty for UnsafeName::None.
const char* unsafeNameMessage(UnsafeName kind);

}  // namespace group_names
