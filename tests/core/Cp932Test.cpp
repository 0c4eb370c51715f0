// Shift-JIS stepping and searching: trail bytes 0x5C (表, ソ) and letters are never taken for ASCII.
#include "core/Cp932.h"

#include <gtest/gtest.h>

namespace {

const std::string kHyo = "\x95\x5C";   // 表, trail byte 0x5C
const std::string kSo = "\x83\x5C";    // ソ, trail byte 0x5C
const std::string kA = "\x83\x41";     // ア, trail byte 'A'

TEST(Cp932, LeadByteRanges) {
    EXPECT_FALSE(cp932::isLeadByte(static_cast<unsigned char>(0x80)));
    EXPECT_TRUE(cp932::isLeadByte(static_cast<unsigned char>(0x81)));
    EXPECT_TRUE(cp932::isLeadByte(static_cast<unsigned char>(0x9F)));
    EXPECT_FALSE(cp932::isLeadByte(static_cast<unsigned char>(0xA0)));
    EXPECT_FALSE(cp932::isLeadByte(static_cast<unsigned char>(0xDF)));  // half-width kana
    EXPECT_TRUE(cp932::isLeadByte(static_cast<unsigned char>(0xE0)));
    EXPECT_TRUE(cp932::isLeadByte(static_cast<unsigned char>(0xFC)));
    EXPECT_FALSE(cp932::isLeadByte(static_cast<unsigned char>(0xFD)));
}

TEST(Cp932, SourceLiteralsAreShiftJis) {
    EXPECT_EQ(std::string("表"), kHyo);
    EXPECT_EQ(std::string("ソ"), kSo);
}

TEST(Cp932, SteppingNeverSplitsADoubleByteCharacter) {
    const std::string s = "a" + kHyo + "b";
    EXPECT_EQ(cp932::nextCharPos(s, 0), 1u);
    EXPECT_EQ(cp932::nextCharPos(s, 1), 3u);
    EXPECT_EQ(cp932::prevCharPos(s, 3), 1u);
    EXPECT_EQ(cp932::prevCharPos(s, 1), 0u);
    EXPECT_TRUE(cp932::isCharBoundary(s, 1));
    EXPECT_FALSE(cp932::isCharBoundary(s, 2));
    EXPECT_TRUE(cp932::isCharBoundary(s, 4));
    EXPECT_EQ(cp932::floorCharBoundary(s, 2), 1u);
    EXPECT_EQ(cp932::charCount(s), 3u);
}

TEST(Cp932, LeadByteAtTheEndNeverReadsPast) {
    const std::string s = "ab\x95";  // truncated 表
    EXPECT_EQ(cp932::charLength(s, 2), 1u);
    EXPECT_EQ(cp932::nextCharPos(s, 2), 3u);
    EXPECT_EQ(cp932::charCount(s), 3u);
    EXPECT_EQ(cp932::findChar(s, '\\'), cp932::npos);
    EXPECT_EQ(cp932::truncate(s, 10), s);
}

TEST(Cp932, SearchesSkipTrailBytes) {
    const std::string path = "C:\\" + kHyo + "\\" + kSo + "x";
    EXPECT_EQ(cp932::findChar(path, '\\'), 2u);
    EXPECT_EQ(cp932::findChar(path, '\\', 3), 5u);
    EXPECT_EQ(cp932::findLastChar(path, '\\'), 5u);
    EXPECT_EQ(cp932::findFirstOf(kHyo + kSo + "?", "\\/?"), 4u);
    EXPECT_EQ(cp932::find(kA + "A", "A"), 2u);
    EXPECT_EQ(cp932::findNoCase(kA + "xa", "A"), 3u);
    EXPECT_EQ(cp932::findNoCase("[%folder%]", "[%FOLDER%]"), 0u);
    EXPECT_EQ(cp932::findNoCase(kHyo, "\\"), cp932::npos);
}

TEST(Cp932, UpperCasingLeavesDoubleByteCharactersAlone) {
    EXPECT_EQ(cp932::toUpperAscii("ab" + kA + "c"), "AB" + kA + "C");
    const std::string smallA = "\x82\x81";  // ａ, trail byte 'a' (0x81 is not a letter, but 0x82 0x61 would be)
    EXPECT_EQ(cp932::toUpperAscii(std::string("\x82\x61")), std::string("\x82\x61"));
    EXPECT_EQ(cp932::toUpperAscii(smallA), smallA);
}

TEST(Cp932, TruncateKeepsWholeCharacters) {
    const std::string s = "ab" + kHyo;
    EXPECT_EQ(cp932::truncate(s, 3), "ab");
    EXPECT_EQ(cp932::truncate(s, 4), s);
    EXPECT_EQ(cp932::truncate(s, 0), "");
}

}  // namespace
