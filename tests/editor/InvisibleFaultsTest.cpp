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

// Edit by edit the tally comes to what a fresh count of the text finds: typing, joining, splitting, blanks
// appearing and going at line ends, the last line end removed, undo.
TEST(InvisibleFaults, TheTallyFollowsEveryEditAsAFreshCountWould) {
    TEditorScreenStrings s;
    s.SetText("A \r\nB\r\nC\t\r\n");
    editor::InvisibleFaultTally tally;
    tally.Reset(s);
    struct Edit {
        int first, count;
        const char* text;
    };
    const Edit edits[] = {
        {1, 1, "B \r\n"},             // a blank appears at a line end
        {0, 2, "AB\r\n"},             // two lines joined, one blank gone
        {1, 0, "\x81\x40\r\nD\r\n"},  // lines inserted: a full-width space alone
        {3, 1, "E"},                   // the last line end removed
        {0, 4, ""},                    // everything deleted
        {0, 0, "X \r\nY"},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.text);
        s.ReplaceRows(e.first, e.count, e.text);
        tally.Changed(s, s.Change());
        const editor::InvisibleFaults fresh = editor::FindInvisibleFaults(s);
        EXPECT_EQ(tally.Faults(s).trailingBlankLines, fresh.trailingBlankLines);
        EXPECT_EQ(tally.Faults(s).missingFinalLineEnd, fresh.missingFinalLineEnd);
    }
    for (int i = 0; i < 3; ++i) {
        s.Undo();
        tally.Changed(s, s.Change());
        EXPECT_EQ(tally.Faults(s).trailingBlankLines, editor::FindInvisibleFaults(s).trailingBlankLines);
    }
}

}  // namespace
