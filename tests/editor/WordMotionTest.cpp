// Word movement (Ctrl+Right, Ctrl+Left) and word selection on the rows of a store.
#include <gtest/gtest.h>

#include <ostream>

#include "editor/EditorScreenStrings.h"
#include "editor/Fountain.h"
#include "editor/ScriptScheme.h"
#include "editor/WordMotion.h"

namespace {

struct Rows {
    TEditorViewInfo view;
    TEditorScreenStrings store;
    explicit Rows(const std::string& text) {
        editor::ApplyScriptScheme(view, true);
        store.SetText(text);
    }
    RowPos right(RowPos p) const { return NextWordStart(store, view.Fountain(), p); }
    RowPos left(RowPos p) const { return PrevWordStart(store, view.Fountain(), p); }
};

}  // namespace

void PrintTo(const RowPos& p, std::ostream* os) { *os << "(" << p.row << ", " << p.pos << ")"; }

TEST(WordMotion, CtrlRightStopsAtEveryTokenButSingleByteSymbols) {
    Rows r("LINE 0,0 100,100\r\nZOOM\r\n");
    std::vector<RowPos> stops;
    RowPos p{0, 0};
    for (int i = 0; i < 8; ++i) stops.push_back(p = r.right(p));
    EXPECT_EQ(stops, (std::vector<RowPos>{{0, 5}, {0, 7}, {0, 9}, {0, 13}, {0, 16}, {1, 0}, {1, 4}, {2, 0}}));
    EXPECT_EQ(r.right({2, 0}), (RowPos{2, 0}));  // the phantom row after the final line break
}

TEST(WordMotion, CtrlLeftGoesBackTokenByTokenAndStopsAtLineEnds) {
    Rows r("LINE 0,0\r\nZOOM E\r\n");
    EXPECT_EQ(r.left({1, 6}), (RowPos{1, 5}));
    EXPECT_EQ(r.left({1, 5}), (RowPos{1, 0}));
    EXPECT_EQ(r.left({1, 2}), (RowPos{1, 0}));  // from inside a word: its start
    EXPECT_EQ(r.left({1, 0}), (RowPos{0, 8}));  // column 0: the end of the line above, and no further
    EXPECT_EQ(r.left({0, 6}), (RowPos{0, 5}));
    EXPECT_EQ(r.left({0, 5}), (RowPos{0, 0}));
    EXPECT_EQ(r.left({0, 0}), (RowPos{0, 0}));
    EXPECT_EQ(r.left({2, 0}), (RowPos{1, 6}));  // from the phantom row
    Rows blanks("A\r\n   \r\n");
    EXPECT_EQ(blanks.left({1, 3}), (RowPos{0, 1}));  // no token before the caret: the end of the row above
}

TEST(WordMotion, TextWithoutFinalLineBreakHasNoRowAfterItsLast) {
    Rows r("AB CD");
    EXPECT_EQ(r.right({0, 3}), (RowPos{0, 5}));
    EXPECT_EQ(r.right({0, 5}), (RowPos{0, 5}));
    EXPECT_EQ(r.left({1, 0}), (RowPos{1, 0}));  // no phantom row to move from
    Rows empty("");
    EXPECT_EQ(empty.right({0, 0}), (RowPos{0, 0}));
    EXPECT_EQ(empty.left({0, 0}), (RowPos{0, 0}));
}

TEST(WordMotion, BracketsAreNotRecognisedButCommentsAre) {
    Rows r("_.OPEN [%FOLDER%] ;note here\r\n");
    EXPECT_EQ(r.right({0, 2}), (RowPos{0, 9}));   // FOLDER inside the tag is a word of its own
    EXPECT_EQ(r.right({0, 9}), (RowPos{0, 18}));  // the comment is one token
    EXPECT_EQ(r.right({0, 18}), (RowPos{0, 28}));
}

TEST(WordMotion, DoubleByteWordsAndTrailBytes) {
    // 表示 (kanji, 表 has trail byte 0x5C) then かな (hiragana), then ASCII.
    Rows r("\x95\x5C\x8E\xA6\x82\xA9\x82\xC8 A\r\n");
    EXPECT_EQ(r.right({0, 0}), (RowPos{0, 4}));
    EXPECT_EQ(r.right({0, 4}), (RowPos{0, 9}));
    EXPECT_EQ(r.left({0, 9}), (RowPos{0, 4}));
    EXPECT_EQ(r.left({0, 4}), (RowPos{0, 0}));
}

TEST(WordMotion, SoftWrappedRowsContinueToTheNextRow) {
    Rows r("");
    r.store.WrapOption().SetWrapByte(20);
    r.store.SetWordWrap(true);
    r.store.SetText("AAAA BBBB CCCC DDDD EEEE\r\n");
    ASSERT_EQ(r.store.RowAttribute(0), raWrapped);
    const int first = r.store.RowLength(0);
    EXPECT_EQ(r.right({0, 15}), (RowPos{1, 0}));
    EXPECT_EQ(r.left({1, 0}), (RowPos{0, 15}));  // the row above does not end a line: on to its last word
    EXPECT_EQ(first, 20);
}

TEST(SelectWordAtCaret, SelectsTheTokenUnderTheCaret) {
    Rows r("CIRCLE 0,0 5\r\n\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8\r\n");  // 漢字かな
    auto w = WordAtCaret(r.store, {0, 3});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->start, (RowPos{0, 0}));
    EXPECT_EQ(w->length, 6);
    EXPECT_FALSE(WordAtCaret(r.store, {0, 6}));   // on the blank between words
    EXPECT_FALSE(WordAtCaret(r.store, {0, 12}));  // after the last token
    w = WordAtCaret(r.store, {0, 8});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->start, (RowPos{0, 8}));  // a symbol is a token too
    EXPECT_EQ(w->length, 1);
    w = WordAtCaret(r.store, {1, 2});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->start, (RowPos{1, 0}));
    EXPECT_EQ(w->length, 4);  // the kanji, not the hiragana after them
    EXPECT_FALSE(WordAtCaret(r.store, {2, 0}));
}

TEST(SelectWordAtCaret, UsesThePlainTokeniserOverTheWholeLogicalLine) {
    Rows r("");
    r.store.WrapOption().SetWrapByte(20);
    r.store.SetWordWrap(true);
    r.store.SetText("0123456789012345ABCDEFGH ;[%X%]\r\n");
    ASSERT_EQ(r.store.RowView(0), "0123456789012345ABCD");
    auto w = WordAtCaret(r.store, {1, 2});  // in the part of the word that the wrap put on the second row
    ASSERT_TRUE(w);
    EXPECT_EQ(w->start, (RowPos{0, 16}));
    EXPECT_EQ(w->length, 8);
    w = WordAtCaret(r.store, {1, 5});  // no commenter and no brackets for the plain tokeniser
    ASSERT_TRUE(w);
    EXPECT_EQ(w->start, (RowPos{1, 5}));
    EXPECT_EQ(w->length, 1);
    w = WordAtCaret(r.store, {1, 8});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->length, 1);  // "X"
}
