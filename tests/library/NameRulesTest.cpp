// Group and script names: every fault a name can have, for both kinds, names of existing entries, the proposed
// names of new groups and scripts, and the name an imported file gets.
#include "library/NameRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";         // 表示, trail byte 0x5C
const std::string kSosu = "\x83\x5C\x81\x5B\x83\x58";  // ソース, trail byte 0x5C
const std::string kNo = "\x83\x6D";                    // ノ
const std::string kKanji = "\x8A\xBF";                 // 漢, a double-byte character (two bytes)
const std::string kZumen = "\x90\x7D\x96\xCA";         // 図面
const std::string kLead = "\x82";                      // a lead byte without its trail byte

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Faults written as letters: F forbidden character, L too long, E empty, D dot name, T trailing period or
// blank, V device name.
NameFaults faultsOf(const std::string& letters) {
    NameFaults f;
    f.forbiddenCharacter = letters.find('F') != std::string::npos;
    f.tooLong = letters.find('L') != std::string::npos;
    f.empty = letters.find('E') != std::string::npos;
    f.dotName = letters.find('D') != std::string::npos;
    f.trailingDotOrBlank = letters.find('T') != std::string::npos;
    f.deviceName = letters.find('V') != std::string::npos;
    return f;
}

std::string lettersOf(const NameFaults& f) {
    std::string s;
    if (f.forbiddenCharacter) s += 'F';
    if (f.tooLong) s += 'L';
    if (f.empty) s += 'E';
    if (f.dotName) s += 'D';
    if (f.trailingDotOrBlank) s += 'T';
    if (f.deviceName) s += 'V';
    return s;
}

struct NameCase {
    std::string name;
    const char* asGroup;   // faults of the name as a group
    const char* asScript;  // as a script
};

TEST(NameRules, EveryFaultOfANameForGroupsAndScripts) {
    const NameCase cases[] = {
        // usable names
        {"Layer setup", "", ""},
        {" padded", "", ""},
        {".hidden", "", ""},
        {"...x", "", ""},
        {"a.b", "", ""},
        {kHyoji, "", ""},
        {kSosu, "", ""},
        {kNo + kHyoji + kSosu, "", ""},
        {"\x81\x40", "", ""},  // ideographic space: kept by the file system
        {"\x81\x44", "", ""},  // full-width period
        {"CONSOLE", "", ""},
        {"COM", "", ""},
        {"COM0", "", ""},
        {"COM10", "", ""},
        {"LPT", "", ""},
        {"xcon", "", ""},
        {"con-1", "", ""},
        {"x" + kLead, "", ""},    // a lone lead byte at the end reads nothing beyond it
        {kLead + "\\", "", ""},   // 0x5C is a valid trail byte: one (broken) double-byte character
        {kLead + "a", "", ""},
        // the nine characters, never inside a double-byte character
        {"a\\b", "F", "F"},
        {"a/b", "F", "F"},
        {"a:b", "F", "F"},
        {"a*b", "F", "F"},
        {"a?b", "F", "F"},
        {"a\"b", "F", "F"},
        {"a<b", "F", "F"},
        {"a>b", "F", "F"},
        {"a|b", "F", "F"},
        {kHyoji + "\\", "F", "F"},  // a real backslash after a 0x5C trail byte
        {"\\" + kHyoji, "F", "F"},
        {"..\\x", "F", "F"},
        // bytes below 0x40 cannot follow a lead byte: such a byte counts on its own
        {kLead + "/..", "FT", "F"},
        {kLead + ":", "F", "F"},
        {kLead + "?", "F", "F"},
        // length counts bytes, not characters; both tests of the rule always run
        {std::string(250, 'a'), "", ""},
        {std::string(251, 'a'), "L", "L"},
        {repeat(kKanji, 125), "", ""},
        {repeat(kKanji, 126), "L", "L"},
        {repeat(kKanji, 125) + "a", "L", "L"},
        {repeat(kHyoji, 62) + "ab", "", ""},  // 250 bytes of trail-0x5C characters
        {std::string(250, 'a') + "?", "FL", "FL"},
        {"?" + std::string(250, 'a'), "FL", "FL"},
        // empty and dot names
        {"", "E", "E"},
        {".", "D", "D"},
        {"..", "D", "D"},
        // a trailing period or blank: another folder's name; a script's ".scr" keeps it
        {"group.", "T", ""},
        {"group ", "T", ""},
        {"...", "T", ""},
        {" ", "T", ""},
        {kHyoji + " ", "T", ""},
        {"a. .", "T", ""},
        {"a?.", "FT", "F"},
        // devices in any case, with or without an extension
        {"CON", "V", "V"},
        {"con", "V", "V"},
        {"Prn", "V", "V"},
        {"AUX", "V", "V"},
        {"nul", "V", "V"},
        {"COM1", "V", "V"},
        {"com9", "V", "V"},
        {"LPT1", "V", "V"},
        {"lpt9", "V", "V"},
        {"con.txt", "V", "V"},
        {"NUL.tar.gz", "V", "V"},
        {"nul .txt", "V", "V"},
        {"aux." + kZumen, "V", "V"},
        {"nul.", "TV", "V"},
        {"con ", "TV", "V"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lettersOf(nameFaultsFind(c.name, NameKind::Group)), c.asGroup) << "group " << c.name;
        EXPECT_EQ(lettersOf(nameFaultsFind(c.name, NameKind::Script)), c.asScript) << "script " << c.name;
    }
}

TEST(NameRules, NamesOfExistingEntriesReachOnlyThatEntry) {
    struct Case {
        std::string name;
        bool group, script;
    };
    const Case cases[] = {
        {"Walls", true, true},
        {std::string(300, 'a'), true, true},  // made outside the program: long, but it names itself
        {kHyoji, true, true},
        {"", false, true},  // the save folder itself; as a script, the file ".scr"
        {".", false, true},
        {"..", false, true},
        {"a.", false, true},
        {"a ", false, true},
        {"con", false, false},
        {"a\\b", false, false},
        {"..\\b", false, false},
        {"a/b", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nameReachesEntry(c.name, NameKind::Group), c.group) << c.name;
        EXPECT_EQ(nameReachesEntry(c.name, NameKind::Script), c.script) << c.name;
    }
}

TEST(NameRules, EachHazardHasItsOwnPlainMessageAndTheRuleNone) {
    EXPECT_EQ(nameHazardMessage(faultsOf("")), nullptr);
    EXPECT_EQ(nameHazardMessage(faultsOf("FLE")), nullptr);  // the rule's own warnings and the dialogs' own texts
    const std::set<std::string> texts = {nameHazardMessage(faultsOf("D")), nameHazardMessage(faultsOf("T")),
                                         nameHazardMessage(faultsOf("V"))};
    EXPECT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.count(""), 0u);
    EXPECT_STREQ(nameHazardMessage(faultsOf("TV")), nameHazardMessage(faultsOf("T")));
}

TEST(NameRules, ProposalsTakeTheFirstFreeUnpaddedNumber) {
    const std::string group = "\x90\x56\x82\xB5\x82\xA2\x83\x4F\x83\x8B\x81\x5B\x83\x76";           // 新しいグループ
    const std::string script = "\x90\x56\x82\xB5\x82\xA2\x83\x58\x83\x4E\x83\x8A\x83\x76\x83\x67";  // 新しいスクリプト
    struct Case {
        std::set<std::string> taken;  // numbers after the stem
        std::string expected;
    };
    const Case cases[] = {
        {{}, "1"},
        {{"1", "2"}, "3"},
        {{"2"}, "1"},
        {{"1", "3"}, "2"},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "011"}, "11"},  // the padded look-alike blocks nothing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(groupNameProposal([&](const std::string& s) { return c.taken.count(s.substr(group.size())) != 0; }),
                  group + c.expected);
        EXPECT_EQ(scriptNameProposal([&](const std::string& s) { return c.taken.count(s.substr(script.size())) != 0; }),
                  script + c.expected);
    }
}

TEST(NameRules, ImportedNameIsTheFileNameWithoutItsLastExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\data\\abc.txt", "abc"},
        {"C:\\data\\Layer setup.scr", "Layer setup"},
        {"C:\\data\\a.b.scr", "a.b"},
        {"C:\\data\\noext", "noext"},
        {"C:\\my.data\\noext", "noext"},  // a period in a folder is no extension
        {"C:\\data\\.scr", ""},
        {"C:\\data\\.txt", ""},
        {".scr", ""},
        {"C:abc.scr", "abc"},
        {"C:/data/abc.scr", "abc"},
        {"\\\\server\\share\\abc.scr", "abc"},
        {"C:\\" + kHyoji + "\\" + kSosu + ".scr", kSosu},  // trail bytes 0x5C are no separators
        {"C:\\data\\" + kHyoji, kHyoji},
        {"C:\\data\\x" + kLead, "x" + kLead},
        {"", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(importedScriptName(path), name) << path;
}

}  // namespace
