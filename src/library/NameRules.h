// What is wrong with a group or script name, the free names proposed for new ones, and the name an imported
// file gets. Portable: no platform call, so every rule is tested natively.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// A group is a folder named exactly by its name; a script is a file named by its name and ".scr".
enum class NameKind { Group, Script };

// A group or script name longer than this many bytes (a double-byte character counts two) is refused.
inline constexpr std::size_t kNameMaxBytes = 250;

// The nine characters no group or script name may hold.
inline constexpr char kNameForbiddenCharacters[] = "\\/:*?\"<>|";

// Everything found wrong with one name; a name is usable when nothing is.
struct NameFaults {
    bool forbiddenCharacter = false;  // one of the nine, outside double-byte characters
    bool tooLong = false;             // more than kNameMaxBytes bytes
    bool empty = false;
    bool dotName = false;             // "." or "..": the folder itself or the one above it
    bool trailingDotOrBlank = false;  // groups: the file system drops the period or blank and names another folder
    bool deviceName = false;          // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, any case, with any extension

    // The two tests of the name rule whose warnings nameCheck shows.
    bool ruleFails() const noexcept { return forbiddenCharacter || tooLong; }
    bool any() const noexcept {
        return ruleFails() || empty || dotName || trailingDotOrBlank || deviceName;
    }
    bool operator==(const NameFaults& o) const noexcept {
        return forbiddenCharacter == o.forbiddenCharacter && tooLong == o.tooLong && empty == o.empty &&
               dotName == o.dotName && trailingDotOrBlank == o.trailingDotOrBlank && deviceName == o.deviceName;
    }
};

// Both tests of the name rule always run, the character test first; then the other faults. The second byte of a
// double-byte character is never one of the nine (表示 and ソース pass); a byte below 0x40 after a lead byte is
// no trail byte and counts on its own. The empty name has no other fault and "." / ".." no trailing period.
// For a script the ".scr" that follows its name keeps a trailing period or blank on disk, so that is no fault.
NameFaults nameFaultsFind(std::string_view name, NameKind kind);

// True when the path formed from the name of an entry that exists reaches that entry and no other: a listed name
// may be long, and a script file ".scr" has the empty name, but a separator, a device or (for a folder) a name the
// file system shortens would reach somewhere else.
bool nameReachesEntry(std::string_view name, NameKind kind);

// The plain message for a name that passes the name rule but gives no plain folder or file of its own (a dot
// name, a trailing period or blank, a device name, in this order); null when there is none. Shift-JIS.
const char* nameHazardMessage(const NameFaults& faults);

// "新しいグループ" / "新しいスクリプト" followed by the first n from 1 for which `taken(candidate)` is false.
// What blocks a candidate (a folder, a file) is the caller's to decide.
std::string groupNameProposal(const std::function<bool(const std::string& candidate)>& taken);
std::string scriptNameProposal(const std::function<bool(const std::string& candidate)>& taken);

// The script name of a file chosen for import: its file name without the folder (after the last backslash, slash
// or drive colon, never a trail byte) and without the last extension. May be empty (".scr", "C:\x\.txt").
std::string importedScriptName(std::string_view chosenPath);
