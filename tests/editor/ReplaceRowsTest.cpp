// The editing primitive: which block a change covers, the rows and attributes it leaves, its undo record,
// marks, and word-wrap rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreTestSupport.h"

namespace {

struct ReplaceCase {
    const char* name;
    const char* before;
    int first, count;
    const char* text;
    const char* rows;        // dumpRows after the change
    int recordFirst, recordRows;
    TRowAttribute recordAttribute;
    const char* recordText;
};

const ReplaceCase kCases[] = {
    {"insert at the phantom row", "a\r\n", 1, 0, "x", "a|L x|T", 1, 1, raNone, ""},
    {"insert at the phantom row of an empty store", "", 0, 0, "x\r\n", "x|L", 0, 1, raNone, ""},
    {"insert after a last row without break continues it", "a", 1, 0, "x", "ax|T", 0, 1, raTextEnd, "a"},
    {"typing covers the row and the next line", "abc\r\ndef\r\n", 0, 1, "aXbc\r\n", "aXbc|L def|L", 0, 2, raLineEnd,
     "abc\r\ndef\r\n"},
    {"typing on the last row", "abc\r\ndef", 1, 1, "dXef", "abc|L dXef|T", 1, 1, raTextEnd, "def"},
    {"enter splits a row", "abc\r\n", 0, 1, "a\r\nbc\r\n", "a|L bc|L", 0, 2, raLineEnd, "abc\r\n"},
    {"back-space joins two rows", "ab\r\ncd\r\nef\r\n", 0, 2, "abcd\r\n", "abcd|L ef|L", 0, 2, raLineEnd,
     "ab\r\ncd\r\nef\r\n"},
    {"back-space on the phantom row removes the final break", "a\r\n", 0, 1, "a", "a|T", 0, 1, raLineEnd, "a\r\n"},
    {"delete at a row end joins the next row and keeps the final break", "a\r\nb\r\n", 0, 1, "a", "ab|L", 0, 1,
     raLineEnd, "a\r\nb\r\n"},
    {"a row given with its break before a last row without one", "a\r\nb", 0, 1, "A\r\n", "A|L b|T", 0, 2,
     raTextEnd, "a\r\nb"},
    {"pure deletion of a middle line", "a\r\nb\r\nc", 1, 1, "", "a|L c|T", 1, 0, raLineEnd, "b\r\n"},
    {"pure deletion of the last line", "a\r\nb", 1, 1, "", "a|L", 1, 0, raTextEnd, "b"},
    {"pure deletion of everything", "a\r\nb\r\n", 0, 2, "", "", 0, 0, raLineEnd, "a\r\nb\r\n"},
    {"lone CR and lone LF split rows", "", 0, 0, "x\ry\nz", "x|L y|L z|T", 0, 3, raNone, ""},
    {"insertion in the middle takes the row it lands on", "a\r\nb\r\n", 1, 0, "x\r\n", "a|L x|L b|L", 1, 2,
     raLineEnd, "b\r\n"},
};

class ReplaceRowsTable : public ::testing::TestWithParam<ReplaceCase> {};

}  // namespace

TEST_P(ReplaceRowsTable, RowsAttributesAndUndoRecord) {
    const ReplaceCase& c = GetParam();
    TEditorScreenStrings s;
    s.SetText(c.before);
    s.ReplaceRows(c.first, c.count, c.text);
    EXPECT_EQ(dumpRows(s), c.rows);
    EXPECT_EQ(prevAttributeMismatch(s), -1);
    ASSERT_EQ(s.UndoObj().UndoList().Count(), 1);
    const TUndoData& r = s.UndoObj().UndoList().Last();
    EXPECT_EQ(r.FirstRow, c.recordFirst);
    EXPECT_EQ(r.RowCount, c.recordRows);
    EXPECT_EQ(r.OldAttribute, c.recordAttribute);
    EXPECT_EQ(r.OldText, c.recordText);
    s.UndoObj().Undo();
    EXPECT_EQ(s.Text(), c.before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceRowsTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ReplaceCase>& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p) n += isalnum(*p) ? *p : '_';
                             return n;
                         });

TEST(ReplaceRows, OutOfRangeAndEmptyCallsChangeNothing) {
    TEditorScreenStrings s;
    RecordingEditor editor;
    s.Attach(&editor);
    s.SetText("a\r\nb\r\n");
    s.ReplaceRows(-1, 1, "x");
    s.ReplaceRows(1, 2, "x");
    s.ReplaceRows(3, 0, "x");
    s.ReplaceRows(1, 0, "");
    EXPECT_EQ(s.Text(), "a\r\nb\r\n");
    EXPECT_FALSE(s.UndoObj().CanUndo());
    EXPECT_EQ(editor.changes, 0);
    s.Detach(&editor);
}

TEST(ReplaceRows, ChangeRecordNamesTheBlockAndFiresOnChangeOnce) {
    TEditorScreenStrings s;
    RecordingEditor editor;
    s.Attach(&editor);
    ChangeRecord seen;
    struct Spy : RecordingEditor {
        ChangeRecord* out;
        void StoreTextChanged(const ChangeRecord& c) override {
            *out = c;
            RecordingEditor::StoreTextChanged(c);
        }
    } spy;
    spy.out = &seen;
    s.Attach(&spy);
    s.SetText("a\r\nb\r\nc\r\n");
    EXPECT_EQ(editor.changes, 0);
    EXPECT_FALSE(editor.Modified());
    s.ReplaceRows(1, 1, "b1\r\nb2\r\n");
    EXPECT_TRUE(seen.Valid);
    EXPECT_EQ(seen.FirstRow, 1);
    EXPECT_EQ(seen.RemovedRows, 2);
    EXPECT_EQ(seen.InsertedRows, 3);
    EXPECT_EQ(editor.changes, 1);
    EXPECT_TRUE(editor.Modified());
    EXPECT_FALSE(s.Change().Valid);  // cleared when the update ended
    s.Detach(&spy);
    s.Detach(&editor);
}

TEST(ReplaceRows, MarksSurviveTheDeletionOfTheirRows) {
    TEditorScreenStrings s;
    s.SetText("a\r\nb\r\nc\r\nd\r\n");
    s.SetMarks(1, 0x0002);
    s.SetMarks(2, 0x0004);
    s.ReplaceRows(1, 2, "");  // whole lines: the marks go to the row now at 1
    EXPECT_EQ(dumpRows(s), "a|L d|L");
    EXPECT_EQ(s.Marks(1), 0x0006);
    s.SetMarks(0, 0x0001);
    s.ReplaceRows(1, 1, "");  // past the end: into the last row
    EXPECT_EQ(s.Marks(0), 0x0007);
    s.ReplaceRows(0, 1, "");  // the store becomes empty: dropped
    EXPECT_EQ(s.Count(), 0);
    s.ReplaceRows(0, 0, "x\r\n");
    EXPECT_EQ(s.Marks(0), 0);
}

TEST(ReplaceRows, MarksStayWithTheirLinesWhenRowsAreSplitOrJoined) {
    TEditorScreenStrings s;
    s.SetText("ab\r\ncd\r\nef\r\n");
    s.SetMarks(1, 0x0010);  // "cd"
    s.SetMarks(2, 0x0020);  // "ef"
    s.ReplaceRows(0, 1, "a\r\nb\r\n");  // Enter in row 0
    EXPECT_EQ(dumpRows(s), "a|L b|L cd|L ef|L");
    EXPECT_EQ(s.Marks(2), 0x0010);
    EXPECT_EQ(s.Marks(3), 0x0020);
    s.ReplaceRows(1, 2, "bcd\r\n");  // back-space joining "b" and "cd": the mark joins the row
    EXPECT_EQ(dumpRows(s), "a|L bcd|L ef|L");
    EXPECT_EQ(s.Marks(1), 0x0010);
    EXPECT_EQ(s.Marks(2), 0x0020);
}

TEST(ReplaceRows, MarkWordOfAnEmptyStoreGoesToItsFirstRow) {
    TEditorScreenStrings s;
    s.SetMarkWord(0x0008);
    s.ReplaceRows(0, 0, "x\r\n");
    EXPECT_EQ(s.Marks(0), 0x0008);
    EXPECT_EQ(s.MarkWord(), 0);
}

TEST(ReplaceRows, WithWordWrapLongLinesBecomeWrappedRows) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    const std::string line30(30, 'x');
    s.ReplaceRows(0, 0, line30 + "\r\nshort\r\n");
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|W " + std::string(10, 'x') + "|L short|L");
    EXPECT_EQ(s.LineCount(), 2);
    // Typing in the second row of the wrapped line re-cuts the line from the row before.
    s.ReplaceRows(1, 1, "yy" + std::string(10, 'x') + "\r\n");
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|W yy" + std::string(10, 'x') + "|L short|L");
    // Inserting at the start of the wrapped line pushes text across the cut.
    s.ReplaceRows(0, 1, "zz" + std::string(20, 'x'));
    EXPECT_EQ(dumpRows(s), "zz" + std::string(18, 'x') + "|W xxyy" + std::string(10, 'x') + "|L short|L");
    EXPECT_EQ(prevAttributeMismatch(s), -1);
    s.UndoObj().Undo();
    s.UndoObj().Undo();
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|W " + std::string(10, 'x') + "|L short|L");
}

TEST(ReplaceRows, WrappedLineOfExactlyTheWidthEndsOnAnEmptyRow) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    s.SetText(std::string(20, 'x') + "\r\n");
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|W |L");
    s.WrapOption().SetFollowRetMark(true);
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|L");
}

TEST(ReplaceRows, WrapNeverSplitsADoubleByteCharacter) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    std::string line(19, 'a');
    line += "\x95\x5C";  // 表, trail byte 0x5C
    line += "b";
    s.SetText(line);
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Get(0), std::string(19, 'a'));
    EXPECT_EQ(s.Get(1), "\x95\x5C" "b");
    s.SetWordWrap(false);
    EXPECT_EQ(dumpRows(s), line + "|T");
}

TEST(ReplaceRows, DeletingAWrappedRowsTextInsideItsLine) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetWordWrap(true);
    s.SetText(std::string(25, 'x') + "\r\nnext\r\n");
    ASSERT_EQ(dumpRows(s), std::string(20, 'x') + "|W xxxxx|L next|L");
    // Replacing the second row (with its break) by nothing joins the line with the next one.
    s.ReplaceRows(1, 1, "");
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|W next|L");
    s.UndoObj().Undo();
    EXPECT_EQ(dumpRows(s), std::string(20, 'x') + "|W xxxxx|L next|L");
}
