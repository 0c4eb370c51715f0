// Fuzz target: the name rules over arbitrary bytes, for groups and for scripts. A name the rules accept holds
// none of the nine characters outside double-byte characters, is 1 to 250 bytes, is no dot name and no device;
// each fault agrees with a plain reference, a script is never held to more than a group, and the name of an
// imported file is a separator-free piece of its path.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "library/NameRules.h"

namespace {

bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The single bytes of a name as the file system sees them: a lead byte with a real trail byte is one double-byte
// character, anything else (a lone lead byte too) is a byte of its own.
std::vector<char> singleBytes(std::string_view s) {
    std::vector<char> singles;
    for (std::size_t i = 0; i < s.size();) {
        if (fuzz::isLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
            isTrail(static_cast<unsigned char>(s[i + 1]))) {
            i += 2;
        } else {
            singles.push_back(s[i++]);
        }
    }
    return singles;
}

bool isDevice(std::string_view name) {
    std::string base(name.substr(0, std::min(name.size(), name.find('.'))));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in{data, size};
    // Mostly short names; some are repeated past the 250-byte limit.
    const std::uint8_t repeat = in.byte();
    std::string name = in.rest();
    if (repeat >= 240 && !name.empty()) {
        const std::string piece = name;
        while (name.size() < 200 + repeat) name += piece;
    }

    const NameFaults group = nameFaultsFind(name, NameKind::Group);
    const NameFaults script = nameFaultsFind(name, NameKind::Script);

    bool forbidden = false;
    for (char c : singleBytes(name)) forbidden = forbidden || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    const bool dotName = name == "." || name == "..";
    FUZZ_CHECK(group.forbiddenCharacter == forbidden);
    FUZZ_CHECK(group.tooLong == (name.size() > 250));
    FUZZ_CHECK(group.empty == name.empty());
    FUZZ_CHECK(group.dotName == dotName);
    // The two faults a device check looks at are bytes below 0x80, which no double-byte character starts with.
    FUZZ_CHECK(group.deviceName == (!name.empty() && !dotName && isDevice(name)));
    if (group.trailingDotOrBlank) FUZZ_CHECK(name.back() == '.' || name.back() == ' ');

    // A script differs from a group only in the trailing period or blank its ".scr" keeps.
    NameFaults relaxed = group;
    relaxed.trailingDotOrBlank = false;
    FUZZ_CHECK(script == relaxed);
    FUZZ_CHECK(group.ruleFails() == (forbidden || name.size() > 250));

    for (NameKind kind : {NameKind::Group, NameKind::Script}) {
        const NameFaults& faults = kind == NameKind::Group ? group : script;
        if (!faults.any()) {
            FUZZ_CHECK(!forbidden && !name.empty() && name.size() <= 250 && !dotName && !isDevice(name));
            FUZZ_CHECK(nameReachesEntry(name, kind));
        }
        if (nameReachesEntry(name, kind)) FUZZ_CHECK(!forbidden && !faults.deviceName);
    }
    FUZZ_CHECK((nameHazardMessage(group) != nullptr) == (group.dotName || group.trailingDotOrBlank || group.deviceName));

    // The name of an imported file: a piece of the path with no separator character in it.
    const std::string imported = importedScriptName(name);
    FUZZ_CHECK(imported.size() <= name.size() && name.find(imported) != std::string::npos);
    const std::vector<std::size_t> starts = fuzz::characterStarts(imported);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        const char c = imported[starts[i]];
        if (starts[i + 1] - starts[i] == 1) FUZZ_CHECK(c != '\\' && c != '/' && c != ':');
    }
    return 0;
}
