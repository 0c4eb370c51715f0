// Trailing blanks and a missing final line end as the script editor counts them: blanks by their Shift-JIS
// characters (never a byte pair across a character boundary), wrapped lines counted once.
#include <gtest/gtest.h>

#include <string>

#include "editor/EditorScreenStrings.h"
#include "editor/InvisibleFaults.h"

namespace {

TEST(InvisibleFaults, CountsLinesEndingInABlankAndAMissingFinalLineEnd) {
    struct Case {
        std::string text;
        int blankLines;
        bool missingEnd;
    };
    const Case cases[] = {
        {"", 0, false},
        {"\r\n", 0, false},
        {"LINE\r\n", 0, false},
        {"LINE", 0, true},
        {"LINE \r\n\t\r\n", 2, false},                  // a space; a line of one tab
        {"LINE\x81\x40\r\nZOOM E", 1, true},            // a full-width space, then no line end
        {"\x88\x81\x40\r\n", 0, false},                 // lead 88, trail 81, "@": 81 40 is no full-width space here
        {"\x95\x5C \r\n\x83\x5C", 1, true},             // 表 (trail 5C) and a blank; ソ without a line end
        {"A B\r\n \r\n", 1, false},                     // a blank inside a line is no fault
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TEditorScreenStrings s;
        s.SetText(c.text);
        const editor::InvisibleFaults f = editor::FindInvisibleFaults(s);
        EXPECT_EQ(f.trailingBlankLines, c.blankLines);
        EXPECT_EQ(f.missingFinalLineEnd, c.missingEnd);
    }
}

// A line wrapped over several rows counts once, by the end of its last row; blanks at a wrap point are none.
TEST(InvisibleFaults, AWrappedLineCountsOnceByItsEnd) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetText("aaaa bbbb cccc dddddddd eeee \r\naaaa bbbb cccc dddddddd eeee\r\n" + std::string(30, 'x'));
    s.SetWordWrap(true);
    ASSERT_GT(s.Count(), 4);
    const editor::InvisibleFaults f = editor::FindInvisibleFaults(s);
    EXPECT_EQ(f.trailingBlankLines, 1);
    EXPECT_TRUE(f.missingFinalLineEnd);
}

}  // namespace
