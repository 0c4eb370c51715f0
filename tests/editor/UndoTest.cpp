// Undo and redo of the row store: the list limit, the caret, the redo list, and undo-all/redo-all of random
// edit sequences.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "StoreTestSupport.h"

namespace {

// Types one character at the caret the way the keyboard does: the caret row (with its break) replaced.
void typeChar(TEditorScreenStrings& s, RecordingEditor& e, char c) {
    const int row = e.CaretRow();
    std::string text;
    if (row < s.Count()) {
        text = s.Get(row);
        text.insert(static_cast<std::size_t>(e.CaretCol()), 1, c);
        if (s.RowAttribute(row) == raLineEnd) text += "\r\n";
        s.ReplaceRows(row, 1, text);
    } else {
        s.ReplaceRows(row, 0, std::string(1, c));
    }
    e.SetCaretPos(row, e.CaretCol() + 1);
}

struct Snapshot {
    std::string text;
    std::vector<std::uint32_t> attributes;
    bool operator==(const Snapshot& o) const { return text == o.text && attributes == o.attributes; }
};

std::string describe(const Snapshot& snap) {
    std::string out;
    for (char c : snap.text) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    out += " /";
    for (std::uint32_t a : snap.attributes) out += " " + std::to_string(a);
    return out;
}

Snapshot snapshot(const TEditorScreenStrings& s) {
    Snapshot snap{s.Text(), {}};
    for (int i = 0; i < s.Count(); ++i) {
        snap.attributes.push_back(s.Attribute(i));
        snap.attributes.push_back(s.Attribute2(i));
    }
    return snap;
}

// One random edit of the kinds the editor makes: typing, Enter, Back-space joins, deletions of lines and of
// selections, pastes with every kind of line break.
void randomEdit(TEditorScreenStrings& s, std::mt19937& rng) {
    static const char* const kPieces[] = {"a", "xyz", "\r\n", "\r", "\n", "\x95\x5C", "\t", "", "p\r\nq", "  "};
    const int count = s.Count();
    const int first = std::uniform_int_distribution<int>(0, count)(rng);
    const int maxRows = count - first;
    const int rows = maxRows > 0 ? std::uniform_int_distribution<int>(0, std::min(maxRows, 3))(rng) : 0;
    std::string text;
    const int pieces = static_cast<int>(rng() % 4);
    for (int i = 0; i < pieces; ++i) text += kPieces[rng() % 10];
    s.ReplaceRows(first, rows, text);
}

}  // namespace

TEST(Undo, UndoListMaxNeverGoesBelow64) {
    TEditorScreenStrings s;
    s.UndoObj().SetUndoListMax(10);
    EXPECT_EQ(s.UndoObj().UndoListMax(), 64);
    s.UndoObj().SetUndoListMax(200);
    EXPECT_EQ(s.UndoObj().UndoListMax(), 200);
}

TEST(Undo, After65TypedCharactersTheFirstCanNoLongerBeUndone) {
    TEditorScreenStrings s;
    RecordingEditor e;
    s.Attach(&e);
    s.SetText("\r\n");
    for (int i = 0; i < 65; ++i) typeChar(s, e, static_cast<char>('a' + i % 26));
    int undone = 0;
    while (s.UndoObj().CanUndo()) {
        s.UndoObj().Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 64);
    EXPECT_EQ(s.Text(), "a\r\n");
    EXPECT_EQ(e.CaretCol(), 1);  // where it was before the oldest change still held
    s.Detach(&e);
}

TEST(Undo, UndoRightAfterLoadingDoesNothing) {
    TEditorScreenStrings s;
    s.SetText("abc\r\n");
    s.ReplaceRows(0, 1, "abcd\r\n");
    s.SetText("new\r\n");
    EXPECT_FALSE(s.UndoObj().CanUndo());
    EXPECT_FALSE(s.UndoObj().CanRedo());
    s.UndoObj().Undo();
    EXPECT_EQ(s.Text(), "new\r\n");
}

TEST(Undo, UndoReturnsTheCaretToWhereItWasBeforeTheChange) {
    TEditorScreenStrings s;
    RecordingEditor e;
    s.Attach(&e);
    s.SetText("one\r\ntwo\r\n");
    e.SetCaretPos(1, 2);
    typeChar(s, e, 'X');
    e.SetCaretPos(0, 0);
    s.UndoObj().Undo();
    EXPECT_EQ(s.Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(e.CaretRow(), 1);
    EXPECT_EQ(e.CaretCol(), 2);
    s.UndoObj().Redo();
    EXPECT_EQ(s.Text(), "one\r\ntwXo\r\n");
    EXPECT_EQ(e.CaretRow(), 0);  // redo returns the caret to where it was when the undo ran
    s.Detach(&e);
}

TEST(Undo, BackSpaceOnThePhantomRowUndoneRestoresTheFinalBreak) {
    TEditorScreenStrings s;
    RecordingEditor e;
    s.Attach(&e);
    s.SetText("a\r\n");
    e.SetCaretPos(1, 0);  // the phantom row
    s.ReplaceRows(0, 1, "a");
    e.SetCaretPos(0, 1);
    EXPECT_EQ(dumpRows(s), "a|T");
    s.UndoObj().Undo();
    EXPECT_EQ(dumpRows(s), "a|L");
    EXPECT_EQ(s.Text(), "a\r\n");
    EXPECT_EQ(e.CaretRow(), 1);
    EXPECT_EQ(e.CaretCol(), 0);
    s.Detach(&e);
}

TEST(Undo, ANewChangeClearsTheRedoListButUndoAndRedoDoNot) {
    TEditorScreenStrings s;
    s.SetText("a\r\n");
    s.ReplaceRows(0, 1, "ab\r\n");
    s.ReplaceRows(0, 1, "abc\r\n");
    s.UndoObj().Undo();
    s.UndoObj().Undo();
    EXPECT_EQ(s.UndoObj().RedoList().Count(), 2);
    s.UndoObj().Redo();
    EXPECT_EQ(s.UndoObj().RedoList().Count(), 1);
    EXPECT_EQ(s.UndoObj().UndoList().Count(), 1);
    s.ReplaceRows(0, 1, "X\r\n");
    EXPECT_FALSE(s.UndoObj().CanRedo());
}

TEST(Undo, UndoAndRedoFireOnChange) {
    TEditorScreenStrings s;
    RecordingEditor e;
    s.Attach(&e);
    s.SetText("a\r\n");
    s.ReplaceRows(0, 1, "ab\r\n");
    s.UndoObj().Undo();
    s.UndoObj().Redo();
    EXPECT_EQ(e.changes, 3);
    s.Detach(&e);
}

TEST(Undo, RandomEditsUndoneGiveBackTheOriginalAndRedoneTheEditedText) {
    for (const bool wrap : {false, true}) {
        std::mt19937 rng(wrap ? 1234 : 4321);
        for (int round = 0; round < 40; ++round) {
            TEditorScreenStrings s;
            s.UndoObj().SetUndoListMax(1000);
            s.WrapOption().SetWrapByte(20);
            s.SetWordWrap(wrap);
            std::string start;
            const int lines = static_cast<int>(rng() % 6);
            for (int i = 0; i < lines; ++i) start += std::string(rng() % 30, static_cast<char>('a' + i)) + "\r\n";
            if (rng() % 2) start += "tail";
            s.SetText(start);
            const Snapshot original = snapshot(s);
            const int edits = 1 + static_cast<int>(rng() % 60);
            for (int i = 0; i < edits; ++i) {
                randomEdit(s, rng);
                ASSERT_EQ(prevAttributeMismatch(s), -1) << "round " << round << " edit " << i;
                if (s.Count() > 0) {
                    ASSERT_NE(s.RowAttribute(s.Count() - 1), raWrapped);
                }
                for (int r = 0; r + 1 < s.Count(); ++r) {
                    ASSERT_NE(s.RowAttribute(r), raTextEnd);
                }
            }
            const Snapshot edited = snapshot(s);
            while (s.UndoObj().CanUndo()) s.UndoObj().Undo();
            ASSERT_TRUE(snapshot(s) == original) << "round " << round << " wrap " << wrap << ": "
                                                 << describe(snapshot(s)) << " expected " << describe(original);
            while (s.UndoObj().CanRedo()) s.UndoObj().Redo();
            ASSERT_TRUE(snapshot(s) == edited) << "round " << round << ": " << describe(snapshot(s)) << " expected "
                                               << describe(edited);
        }
    }
}
