// The name rule for groups and scripts, listed names and the library's path forms.
#include "library/LibraryRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";           // 表示, trail byte 0x5C
const std::string kSosu = "\x83\x5C\x81\x5B\x83\x58";    // ソース, trail byte 0x5C
const std::string kNo = "\x83\x6D";                      // ノ
const std::string kKanji = "\x8A\xBF";                   // 漢, a double-byte character (two bytes)
const std::string kLead = "\x82";                        // a lead byte without its trail byte

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

struct NameCase {
    std::string name;
    bool forbiddenCharacter;
    bool tooLong;
};

TEST(NameRule, ForbiddenCharactersAreFoundButNeverInATrailByte) {
    const NameCase cases[] = {
        {"Layer setup", false, false},
        {"", false, false},  // the dialogs refuse the empty name themselves
        {" padded ", false, false},
        {kHyoji, false, false},
        {kSosu, false, false},
        {kNo + kHyoji + kSosu, false, false},
        {"a\\b", true, false},
        {"a/b", true, false},
        {"a:b", true, false},
        {"a*b", true, false},
        {"a?b", true, false},
        {"a\"b", true, false},
        {"a<b", true, false},
        {"a>b", true, false},
        {"a|b", true, false},
        {kHyoji + "\\", true, false},  // a real backslash after a 0x5C trail byte
        {"\\" + kHyoji, true, false},
        {"x" + kLead, false, false},   // a lone lead byte at the end reads nothing beyond it
        {kLead + "\\", false, false},  // 0x5C is a valid trail byte: one (broken) double-byte character
        // Bytes below 0x40 cannot follow a lead byte; such a byte counts on its own.
        {kLead + "/..", true, false},
        {kLead + ":", true, false},
        {kLead + "?", true, false},
        {kLead + "a", false, false},
    };
    for (const auto& c : cases) {
        NameFaults faults = nameFaultsFind(c.name);
        EXPECT_EQ(faults.forbiddenCharacter, c.forbiddenCharacter) << c.name;
        EXPECT_EQ(faults.tooLong, c.tooLong) << c.name;
        EXPECT_EQ(faults.any(), c.forbiddenCharacter || c.tooLong) << c.name;
    }
}

TEST(NameRule, LengthCountsBytesNotCharacters) {
    const NameCase cases[] = {
        {std::string(250, 'a'), false, false},
        {std::string(251, 'a'), false, true},
        {repeat(kKanji, 125), false, false},       // 250 bytes
        {repeat(kKanji, 126), false, true},        // 252 bytes
        {repeat(kKanji, 125) + "a", false, true},  // 251 bytes
        {repeat(kHyoji, 62) + "ab", false, false}, // 250 bytes of trail-0x5C characters
        {std::string(250, 'a') + "?", true, true}, // both tests run: 251 bytes with "?"
        {"?" + std::string(250, 'a'), true, true},
    };
    for (const auto& c : cases) {
        NameFaults faults = nameFaultsFind(c.name);
        EXPECT_EQ(faults.forbiddenCharacter, c.forbiddenCharacter) << c.name.size() << " bytes";
        EXPECT_EQ(faults.tooLong, c.tooLong) << c.name.size() << " bytes";
    }
}

TEST(ListedNames, OnlyTheLastExtensionIsRemoved) {
    EXPECT_EQ(lastExtensionRemove("Layer setup.scr"), "Layer setup");
    EXPECT_EQ(lastExtensionRemove("a.b.scr"), "a.b");
    EXPECT_EQ(lastExtensionRemove("noext"), "noext");
    EXPECT_EQ(lastExtensionRemove(".scr"), "");
    EXPECT_EQ(lastExtensionRemove("trailing."), "trailing");
    EXPECT_EQ(lastExtensionRemove(kHyoji + ".scr"), kHyoji);
    EXPECT_EQ(lastExtensionRemove("x" + kLead), "x" + kLead);
}

TEST(ListedNames, DotEntriesAreTheFolderAndItsParent) {
    EXPECT_TRUE(isDotEntry("."));
    EXPECT_TRUE(isDotEntry(".."));
    EXPECT_FALSE(isDotEntry("..."));
    EXPECT_FALSE(isDotEntry(".hidden"));
    EXPECT_FALSE(isDotEntry(""));
}

TEST(ListedNames, AnExtensionMaskTakesOnlyThatLongExtension) {
    const std::string mask = "C:\\lib\\group\\*.scr";
    EXPECT_TRUE(maskExtensionAccepts(mask, "a.scr"));
    EXPECT_TRUE(maskExtensionAccepts(mask, "A.SCR"));
    EXPECT_TRUE(maskExtensionAccepts(mask, "a.b.Scr"));
    EXPECT_TRUE(maskExtensionAccepts(mask, ".scr"));
    // Found only through their short names (A~1.SCR) on a volume that keeps 8.3 names.
    EXPECT_FALSE(maskExtensionAccepts(mask, "a.scrap"));
    EXPECT_FALSE(maskExtensionAccepts(mask, "a.scr~"));
    EXPECT_FALSE(maskExtensionAccepts(mask, "a.scr.bak"));
    EXPECT_FALSE(maskExtensionAccepts(mask, "ascr"));
    // Masks that are not "*.<ext>" take whatever the search found.
    EXPECT_TRUE(maskExtensionAccepts("C:\\lib\\*.*", "anything"));
    EXPECT_TRUE(maskExtensionAccepts("C:\\lib\\*", "a.txt"));
    EXPECT_TRUE(maskExtensionAccepts("C:\\lib\\a?.scr", "ab.scr"));
    EXPECT_TRUE(maskExtensionAccepts("C:\\lib\\*.sc?", "a.scx"));
    // The folder part of the mask may end in 表; its trail byte is no separator.
    EXPECT_TRUE(maskExtensionAccepts("C:\\" + kHyoji + "\\*.scr", "x.scr"));
    EXPECT_FALSE(maskExtensionAccepts("C:\\" + kHyoji + "\\*.scr", "x.txt"));
}

TEST(LibraryPaths, JoinedWithOneBackslashEach) {
    EXPECT_EQ(groupFolderPath("C:\\lib", "g"), "C:\\lib\\g");
    EXPECT_EQ(scriptFilePath("C:\\lib", "g", "s"), "C:\\lib\\g\\s.scr");
    EXPECT_EQ(groupListingMask("C:\\lib"), "C:\\lib\\*.*");
    EXPECT_EQ(scriptListingMask("C:\\lib", "g"), "C:\\lib\\g\\*.scr");
    EXPECT_EQ(scriptListingMask("C:\\lib", ""), "C:\\lib\\\\*.scr");
    EXPECT_EQ(scriptFilePath("C:\\" + kHyoji, kSosu, kHyoji), "C:\\" + kHyoji + "\\" + kSosu + "\\" + kHyoji + ".scr");
}

}  // namespace
