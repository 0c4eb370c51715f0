// Stored integers and the paths beside the executable: the rules a hand-edited or broken file meets.
#include "library/SettingsRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace {

const std::string kHyo = "\x95\x5C";  // 表, trail byte 0x5C
const std::string kA = "\x82\xA0";    // あ

struct IntegerCase {
    const char* text;
    std::optional<int> value;
};

TEST(ProfileInteger, DecimalAndHexadecimalText) {
    const IntegerCase cases[] = {
        {"200", 200},          {"0x200", 512},         {"0X1f", 31},        {"0x1F", 31},
        {"-5", -5},            {"+7", 7},              {"0", 0},            {"007", 7},
        {"0x0", 0},            {"0x7FFFFFFF", INT_MAX}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"0x00000000000010", 16},
    };
    for (const auto& c : cases) EXPECT_EQ(profileIntegerParse(c.text), c.value) << c.text;
}

TEST(ProfileInteger, UnreadableTextHasNoValue) {
    const char* cases[] = {
        "",            // empty
        "0x",          // prefix alone is no longer than two characters, and no decimal either
        "0X",          //
        "x10",         //
        "-0x10",       // a sign before the prefix makes it decimal text, which it is not
        "+",   "-",    // sign alone
        "+-1",         //
        "12a",  "a12", // garbage around digits
        "1 2",  " 12", "12 ",
        "1.5",         //
        "0x1G",        // no hex digit
        "2147483648",  // one past the largest int
        "-2147483649", // one past the smallest
        "99999999999999999999999",
        "0x80000000",  // hexadecimal beyond the largest int
        "0xFFFFFFFFFFFFFFFFFF",
        "\x82\x4F",    // ０, a full-width digit
    };
    for (const char* text : cases) EXPECT_EQ(profileIntegerParse(text), std::nullopt) << text;
}

TEST(ProfileInteger, BooleansAreNonZeroIntegers) {
    EXPECT_EQ(profileBooleanParse("1"), true);
    EXPECT_EQ(profileBooleanParse("0"), false);
    EXPECT_EQ(profileBooleanParse("2"), true);
    EXPECT_EQ(profileBooleanParse("-1"), true);
    EXPECT_EQ(profileBooleanParse("0x0"), false);
    EXPECT_EQ(profileBooleanParse("false"), std::nullopt);
    EXPECT_EQ(profileBooleanParse("true"), std::nullopt);
    EXPECT_EQ(profileBooleanParse(""), std::nullopt);
}

TEST(SettingsPaths, IniFileReplacesTheLastExtensionOfTheFileName) {
    EXPECT_EQ(iniPathFromExePath("C:\\Tools\\canopia.exe"), "C:\\Tools\\canopia.ini");
    EXPECT_EQ(iniPathFromExePath("C:\\Tools\\canopia.v2.exe"), "C:\\Tools\\canopia.v2.ini");
    EXPECT_EQ(iniPathFromExePath("C:\\Tools\\canopia"), "C:\\Tools\\canopia.ini");
    // A "." in a folder name is not the file's extension.
    EXPECT_EQ(iniPathFromExePath("C:\\my.tools\\canopia"), "C:\\my.tools\\canopia.ini");
    EXPECT_EQ(iniPathFromExePath("C:canopia.exe"), "C:canopia.ini");
    EXPECT_EQ(iniPathFromExePath("C:\\a.b\\c.d\\" + kHyo + ".exe"), "C:\\a.b\\c.d\\" + kHyo + ".ini");
    // The trail byte 0x5C of 表 is no separator: the file name is "x.y表", whose extension is "y表".
    EXPECT_EQ(iniPathFromExePath("C:\\x.y" + kHyo), "C:\\x.ini");
    EXPECT_EQ(iniPathFromExePath(""), ".ini");
}

TEST(SettingsPaths, ProgramFolderHasNoTrailingBackslashButARootKeepsIt) {
    EXPECT_EQ(folderFromExePath("C:\\Tools\\canopia.exe"), "C:\\Tools");
    EXPECT_EQ(folderFromExePath("C:\\canopia.exe"), "C:\\");
    EXPECT_EQ(folderFromExePath("\\\\server\\share\\canopia.exe"), "\\\\server\\share");
    EXPECT_EQ(folderFromExePath("C:\\" + kHyo + "\\canopia.exe"), "C:\\" + kHyo);
    // 表 at the end of the folder name: its trail byte must not be taken for the last backslash.
    EXPECT_EQ(folderFromExePath("C:\\" + kA + kHyo + "\\canopia.exe"), "C:\\" + kA + kHyo);
    EXPECT_EQ(folderFromExePath("C:\\" + kHyo + "canopia.exe"), "C:\\");
    EXPECT_EQ(folderFromExePath("C:canopia.exe"), "C:");
    EXPECT_EQ(folderFromExePath("canopia.exe"), "");
}

TEST(ProfileText, AFullBufferNeverEndsInHalfACharacter) {
    // A value that fills the 8-byte buffer (7 bytes) and was cut after the lead byte of あ.
    EXPECT_EQ(profileTextCut("abcdef" + kA.substr(0, 1), 8), "abcdef");
    EXPECT_EQ(profileTextCut("abcde" + kA, 8), "abcde" + kA);
    EXPECT_EQ(profileTextCut("ab" + kA + kA + "c", 8), "ab" + kA + kA + "c");
    // Shorter values are what the file holds, even a broken lead byte at the end.
    EXPECT_EQ(profileTextCut("ab" + kA.substr(0, 1), 8), "ab" + kA.substr(0, 1));
    EXPECT_EQ(profileTextCut("", 8), "");
    EXPECT_EQ(profileTextCut("abcdefghij", 8), "abcdefg");
    EXPECT_EQ(profileTextCut("abc", 0), "");
}

}  // namespace
