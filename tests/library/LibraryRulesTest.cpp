// Listed names and the library's path forms.
#include "library/LibraryRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";           // 表示, trail byte 0x5C
const std::string kSosu = "\x83\x5C\x81\x5B\x83\x58";    // ソース, trail byte 0x5C
const std::string kLead = "\x82";                        // a lead byte without its trail byte

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
