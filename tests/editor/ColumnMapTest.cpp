// Column maps, byte positions of columns and indent widths.
#include <gtest/gtest.h>

#include "editor/ColumnMap.h"

TEST(ColumnMap, CodesForWordDelimiterTabAndDoubleByteColumns) {
    EXPECT_EQ(ColumnMap("ab_1 ,"), "111122");
    EXPECT_EQ(ColumnMap("\x95\x5C" "a"), "451");  // 表, trail byte 0x5C is not a delimiter
    EXPECT_EQ(ColumnMap("\xB1\xA1"), "12");          // half-width katakana is a word, its punctuation not
    EXPECT_EQ(ColumnMap("\tx"), "233333331");
    EXPECT_EQ(ColumnMap("abc\tx"), "111233331");
    ColumnMapOptions four;
    four.tabSpaceCount = 4;
    EXPECT_EQ(ColumnMap("ab\t", four), "1123");
}

TEST(ColumnMap, DefaultDelimiterSet) {
    const DelimiterSet& d = DefaultDelimiters();
    for (int b : {0x00, 0x09, 0x20, 0x2F, 0x3A, 0x40, 0x5B, 0x5E, 0x60, 0x7B, 0x7F, 0x80, 0xA0, 0xA5, 0xFD, 0xFF})
        EXPECT_TRUE(d.test(static_cast<std::size_t>(b))) << b;
    for (int b : {0x30, 0x39, 0x41, 0x5A, 0x5F, 0x61, 0x7A, 0xA6, 0xDF})  // digits, letters, "_", kana
        EXPECT_FALSE(d.test(static_cast<std::size_t>(b))) << b;
    DelimiterSet custom;
    custom.set('a');
    ColumnMapOptions options;
    options.delimiters = &custom;
    EXPECT_EQ(ColumnMap("ab ", options), "211");
}

TEST(ColumnMap, StopsAtTheLimitAndAtTheWrapWidth) {
    EXPECT_EQ(ColumnMap(std::string(1200, 'x')).size(), 1000u);
    ColumnMapOptions wrap;
    wrap.wordWrap = true;
    wrap.wrapByte = 20;
    EXPECT_EQ(ColumnMap(std::string(40, 'x'), wrap).size(), 23u);
    // With word wrap a tab's blank columns end at the wrap width.
    EXPECT_EQ(ColumnMap(std::string(17, 'x') + "\tz", wrap), std::string(17, '1') + "2" "33" "1");
}

TEST(ColumnMap, BytePositionOfAColumnSkipsTabBlanks) {
    const std::string map = ColumnMap("\tx\x95\x5C");
    EXPECT_EQ(BytePosOfColumn(map, 0), 0);
    EXPECT_EQ(BytePosOfColumn(map, 8), 1);
    EXPECT_EQ(BytePosOfColumn(map, 9), 2);
    EXPECT_EQ(BytePosOfColumn(map, 11), 4);
    EXPECT_EQ(BytePosOfColumn(map, 15), 8);  // past the end
    EXPECT_EQ(ColumnOfBytePos(map, 1), 8);
    EXPECT_EQ(ColumnOfBytePos(map, 2), 9);
    EXPECT_EQ(ColumnOfBytePos(map, 4), 11);
}

TEST(ColumnMap, IndentWidth) {
    EXPECT_EQ(IndentWidth(""), -1);
    EXPECT_EQ(IndentWidth("x"), 0);
    EXPECT_EQ(IndentWidth("  x"), 2);
    EXPECT_EQ(IndentWidth("\x81\x40x"), 2);  // full-width space
    EXPECT_EQ(IndentWidth(" \tx"), 8);
    EXPECT_EQ(IndentWidth("   \t", 4), 4);
    EXPECT_EQ(IndentWidth("\x81\x41"), 0);  // 、 is not a blank
}
