// The editor core: caret rules, the edit keys, the selection and its events, offsets from messages, the
// clipboard and dragging, as a user meets them.
#include <gtest/gtest.h>

#include <functional>

#include "CaretTestSupport.h"
#include "editor/EditorStrings.h"

using namespace caret_test;
namespace key = editor::key;

namespace {

struct CaretCase {
    const char* name;
    const char* text;
    int row, col;                           // caret before
    std::vector<std::pair<int, bool>> keys; // key, ctrl
    int wantRow, wantCol;
};

TEST(EditorCaret, KeysMoveTheCaretByTheRules) {
    const std::string longRow(1200, 'a');
    const std::vector<CaretCase> cases = {
        {"Right over a double-byte character moves two columns", "\x95\x5C" "a", 0, 0, {{key::kRight, false}}, 0, 2},  // 表, trail 0x5C
        {"Left back over it", "\x95\x5C" "a", 0, 2, {{key::kLeft, false}}, 0, 0},
        {"Right from a tab skips its blanks", "\tx", 0, 0, {{key::kRight, false}}, 0, 8},
        {"Left back onto the tab", "\tx", 0, 8, {{key::kLeft, false}}, 0, 0},
        {"KeepCaret brings the column back after a short row", "abcdef\r\nab\r\nabcdef", 0, 5,
         {{key::kDown, false}, {key::kDown, false}}, 2, 5},
        {"a horizontal move forgets the remembered column", "abcdef\r\nab\r\nabcdef", 0, 5,
         {{key::kDown, false}, {key::kLeft, false}, {key::kDown, false}}, 2, 1},
        {"Right at a row end goes to the next row", "ab\r\ncd", 0, 2, {{key::kRight, false}}, 1, 0},
        {"Right at the end of the text stays", "ab\r\ncd", 1, 2, {{key::kRight, false}}, 1, 2},
        {"Left at column 0 goes to the previous row's end", "ab\r\ncd", 1, 0, {{key::kLeft, false}}, 0, 2},
        {"Down on the last row without a line break stays", "ab\r\ncd", 1, 1, {{key::kDown, false}}, 1, 1},
        {"Down reaches the phantom row after a final break", "ab\r\n", 0, 1, {{key::kDown, false}}, 1, 0},
        {"End on the phantom row is column 0", "ab\r\n", 1, 0, {{key::kEnd, false}}, 1, 0},
        {"Ctrl+End goes to the last row's end", "ab\r\ncde", 0, 0, {{key::kEnd, true}}, 1, 3},
        {"Ctrl+Home goes to the start", "ab\r\ncde", 1, 2, {{key::kHome, true}}, 0, 0},
        {"End stops at the 1000-column limit", longRow.c_str(), 0, 0, {{key::kEnd, false}}, 0, 1000},
        {"Ctrl+Right over Japanese text stops at each run", "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8 abc", 0, 0,  // 漢字かな
         {{key::kRight, true}}, 0, 4},
        {"Ctrl+Right again skips the space to the word", "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8 abc", 0, 4,
         {{key::kRight, true}}, 0, 9},
        {"Ctrl+Left from the word goes back to the kana", "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8 abc", 0, 9,
         {{key::kLeft, true}}, 0, 4},
    };
    for (const CaretCase& c : cases) {
        EditorCore core;
        core.Store().SetText(c.text);
        core.SetCaretPos(c.row, c.col);
        for (auto [vk, ctrl] : c.keys) press(core, vk, false, ctrl);
        EXPECT_EQ(core.CaretRow(), c.wantRow) << c.name;
        EXPECT_EQ(core.CaretCol(), c.wantCol) << c.name;
    }
}

TEST(EditorCaret, SettingTheCaretNeverLandsInsideACharacterOrATab) {
    EditorCore core;
    core.Store().SetText("a\x82\xA0\tb");  // a あ tab b: columns a=0, あ=1-2, tab=3 (blanks 4-7), b=8
    const std::vector<std::pair<int, int>> cases = {{2, 1}, {5, 3}, {7, 3}, {99, 9}, {-4, 0}};
    for (auto [col, want] : cases) {
        core.SetCaretPos(0, col);
        EXPECT_EQ(core.CaretCol(), want) << "column " << col;
    }
    core.SetCaretPos(7, 0);
    EXPECT_EQ(core.CaretRow(), 0) << "the last row has no line break: no phantom row";
}

TEST(EditorCaret, PageKeysMoveAtLeastOneRowInATinyWindow) {
    EditorCore core;
    core.Store().SetText("1\r\n2\r\n3\r\n4\r\n");
    sizeLikeHost(core, 200, 20);  // room for one row
    ASSERT_EQ(core.Layout().visibleRows, 1);
    press(core, key::kNext);
    EXPECT_EQ(core.CaretRow(), 1);
    EXPECT_EQ(core.TopRow(), 1);
    press(core, key::kPrior);
    EXPECT_EQ(core.CaretRow(), 0);
}

// ---- editing ---------------------------------------------------------------------------------------------------

struct EditCase {
    const char* name;
    const char* text;
    int row, col;
    std::function<void(EditorCore&)> act;
    const char* want;
    int wantRow, wantCol;
};

TEST(EditorEditing, KeysChangeTheTextAndPlaceTheCaret) {
    const std::vector<EditCase> cases = {
        {"typing inserts at the caret", "ac", 0, 1, [](EditorCore& e) { e.Char("b", {}); }, "abc", 0, 2},
        {"a lead byte alone is dropped", "ac", 0, 1, [](EditorCore& e) { e.Char("\x82", {}); }, "ac", 0, 1},
        {"a double-byte pair is one character", "ac", 0, 1, [](EditorCore& e) { e.Char("\x82\xA0", {}); },
         "a\x82\xA0" "c", 0, 3},
        {"Enter keeps the indent", "  abc", 0, 3, [](EditorCore& e) { e.Enter(false); }, "  a\r\n  bc", 1, 2},
        {"Enter inside the indent takes the caret column", "    x", 0, 1, [](EditorCore& e) { e.Enter(false); },
         " \r\n    x", 1, 1},
        {"Enter on the phantom row appends an empty line", "a\r\n", 1, 0, [](EditorCore& e) { e.Enter(false); },
         "a\r\n\r\n", 2, 0},
        {"Shift+Enter opens an indented line above", "  ab", 0, 3, [](EditorCore& e) { e.Enter(true); },
         "  \r\n  ab", 0, 2},
        {"Back-space at the start of the text does nothing", "ab", 0, 0, [](EditorCore& e) { e.BackSpace(); }, "ab",
         0, 0},
        {"Back-space on the phantom row removes the final break", "a\r\n", 1, 0,
         [](EditorCore& e) { e.BackSpace(); }, "a", 0, 1},
        {"Back-space joins rows", "ab\r\ncd", 1, 0, [](EditorCore& e) { e.BackSpace(); }, "abcd", 0, 2},
        {"Back-space removes a double-byte character whole", "a\x95\x5C", 0, 3, [](EditorCore& e) { e.BackSpace(); },
         "a", 0, 1},
        {"Back-space after a tab's blanks removes the tab", "\tx", 0, 8, [](EditorCore& e) { e.BackSpace(); }, "x",
         0, 0},
        {"Back-space unindents to the row above", "    a\r\n        x", 1, 8, [](EditorCore& e) { e.BackSpace(); },
         "    a\r\n    x", 1, 4},
        {"Back-space unindents to 0 when no row above qualifies", "a\r\n          b\r\n        x", 2, 8,
         [](EditorCore& e) { e.BackSpace(); }, "a\r\n          b\r\nx", 2, 0},
        {"Delete at the end of the last row does nothing", "ab\r\ncd", 1, 2, [](EditorCore& e) { e.Delete(); },
         "ab\r\ncd", 1, 2},
        {"Delete at a row end joins the next row", "ab\r\ncd", 0, 2, [](EditorCore& e) { e.Delete(); }, "abcd", 0,
         2},
        {"Delete removes a double-byte character whole", "\x95\x5C" "b", 0, 0, [](EditorCore& e) { e.Delete(); },
         "b", 0, 0},
        {"Tab types a tab", "ab", 0, 1, [](EditorCore& e) { e.Tab({}); }, "a\tb", 0, 8},
        {"Shift+Tab does nothing", "ab", 0, 1, [](EditorCore& e) { e.Tab({true, false, false}); }, "ab", 0, 1},
        {"SoftTab types spaces to the next stop", "ab", 0, 1,
         [](EditorCore& e) {
             e.Caret().SetSoftTab(true);
             e.Tab({});
         },
         "a       b", 0, 8},
        {"a free caret past the row end pads the row", "ab", 0, 0,
         [](EditorCore& e) {
             e.Caret().SetFreeCaret(true);
             e.SetCaretPos(0, 4);
             e.Char("x", {});
         },
         "ab  x", 0, 5},
        {"read-only changes nothing", "ab", 0, 1,
         [](EditorCore& e) {
             e.SetReadOnly(true);
             e.Char("x", {});
             e.Enter(false);
             e.BackSpace();
             e.Delete();
         },
         "ab", 0, 1},
    };
    for (const EditCase& c : cases) {
        EditorCore core;
        core.Store().SetText(c.text);
        core.SetCaretPos(c.row, c.col);
        c.act(core);
        EXPECT_EQ(text(core), c.want) << c.name;
        EXPECT_EQ(core.CaretRow(), c.wantRow) << c.name;
        EXPECT_EQ(core.CaretCol(), c.wantCol) << c.name;
    }
}

TEST(EditorEditing, RowsPastTheViewLimitKeepEveryByte) {
    const std::string row(1200, 'a');
    EditorCore core;
    core.Store().SetText(row + "\r\nb");
    press(core, key::kEnd);
    core.Char("x", {});
    EXPECT_EQ(core.Store().RowView(0), row.substr(0, 1000) + "x" + row.substr(1000)) << "typed at the caret, not the end";
    press(core, key::kEnd);
    core.Delete();
    EXPECT_EQ(core.Store().Count(), 2) << "Delete at column 1000 deletes a character, it joins nothing";
    EXPECT_EQ(core.Store().RowLength(0), 1200);
}

TEST(EditorEditing, UndoRestoresTheTextAndTheCaret) {
    EditorCore core;
    core.Store().SetText("abc\r\ndef");
    core.SetCaretPos(1, 1);
    core.Char("x", {});
    core.Enter(false);
    core.SetCaretPos(0, 0);
    core.Undo();
    EXPECT_EQ(text(core), "abc\r\ndxef");
    EXPECT_EQ(core.CaretRow(), 1);
    EXPECT_EQ(core.CaretCol(), 2) << "where the caret stood before Enter";
    core.Undo();
    EXPECT_EQ(text(core), "abc\r\ndef");
    EXPECT_EQ(core.CaretCol(), 1);
    core.Redo();
    EXPECT_EQ(text(core), "abc\r\ndxef");
}

TEST(EditorEditing, TypingOverASelectionReplacesItAndReportsTheSelectionGone) {
    EditorCore core;
    std::vector<bool> events;
    core.OnSelectionChange = [&](bool selected) { events.push_back(selected); };
    core.Store().SetText("hello world");
    core.SetCaretPos(0, 0);
    for (int i = 0; i < 5; ++i) press(core, key::kRight, true);
    ASSERT_EQ(core.SelectionState(), sstSelected);
    core.Char("J", {});
    EXPECT_EQ(text(core), "J world");
    EXPECT_EQ(core.SelectionState(), sstNone);
    ASSERT_FALSE(events.empty());
    EXPECT_FALSE(events.back());
    core.Undo();
    EXPECT_EQ(text(core), "hello world") << "one undo step";
}

TEST(EditorEditing, ImeResultIsOneStepAndItsEchoesAreDropped) {
    EditorCore core;
    core.Store().SetText("ab");
    core.SetCaretPos(0, 1);
    core.ImeResult("\x82\xA0\x82\xA2");  // あい
    core.Char("\x82\xA0", {});           // the echoes of the same string
    core.Char("\x82\xA2", {});
    core.Char("\r", {});                 // Enter is never an echo
    EXPECT_EQ(text(core), "a\x82\xA0\x82\xA2\r\nb");
    core.Undo();
    core.Undo();
    EXPECT_EQ(text(core), "ab");
    // Echoes that never come are forgotten at the next real key, so real typing is not swallowed.
    core.ImeResult("\x82\xA0");
    core.ResetImeEcho();
    core.Char("c", {});
    EXPECT_EQ(text(core), "a\x82\xA0" "cb");
}

// ---- selection and messages ------------------------------------------------------------------------------------

TEST(EditorSelection, ShiftKeysSelectAndComingBackDeselects) {
    EditorCore core;
    std::vector<bool> events;
    core.OnSelectionChange = [&](bool selected) { events.push_back(selected); };
    core.Store().SetText("ab\r\ncd");
    press(core, key::kRight, true);
    press(core, key::kDown, true);
    EXPECT_EQ(core.SelText(), "ab\r\nc");
    press(core, key::kUp, true);
    press(core, key::kLeft, true);
    EXPECT_EQ(core.SelectionState(), sstAnchored);
    EXPECT_EQ(events, (std::vector<bool>{true, true, true, false}));
    press(core, key::kRight);
    EXPECT_EQ(core.SelectionState(), sstNone);
}

TEST(EditorSelection, MessageOffsetsAreClampedAndSnapped) {
    EditorCore core;
    core.Store().SetText("a\x95\x5C\r\nbc");  // a 表 CR LF b c: offsets 0..7
    struct Case {
        std::int64_t start, end;
        std::int64_t wantStart, wantEnd;
    };
    const std::vector<Case> cases = {
        {0, -1, 0, 7},       // all
        {2, 5, 1, 5},        // a trail byte snaps back to its lead
        {4, 6, 3, 6},        // inside CR LF: the end of the row
        {-7, 99, 0, 7},      // negative and past the end
        {6, 2, 1, 6},        // reversed
        {3, 3, 3, 3},        // a caret only
    };
    for (const Case& c : cases) {
        core.SetSel(c.start, c.end);
        const auto [s, e] = core.GetSel();
        EXPECT_EQ(s, c.wantStart) << c.start << "," << c.end;
        EXPECT_EQ(e, c.wantEnd) << c.start << "," << c.end;
    }
    core.SetSel(0, -1);
    core.SetSel(-1, 0);
    EXPECT_EQ(core.SelectionState(), sstNone) << "a start of -1 cancels";
    core.SetSelStart(2);
    EXPECT_EQ(core.SelStart(), 1);
    core.SetSelLength(1000);
    EXPECT_EQ(core.SelText(), "\x95\x5C\r\nbc");
}

TEST(EditorSelection, SearchHitIsCancelledBeforeDeleteOrEnter) {
    EditorCore core;
    core.Store().SetText("abc");
    core.SetHitMode(true);
    core.SetSel(0, 2);
    core.SetHitMode(false);
    ASSERT_EQ(core.SelectionState(), sstHitSelected);
    core.Delete();
    EXPECT_EQ(text(core), "ab") << "the hit is cancelled, then Delete works at the caret";
}

TEST(EditorSelection, WordAtCaretSelectsTheWordOnly) {
    EditorCore core;
    core.Store().SetText("CIRCLE 10,20");
    core.SetCaretPos(0, 3);
    core.SelectWordAtCaret();
    EXPECT_EQ(core.SelText(), "CIRCLE");
    core.CancelSelection();
    core.SetCaretPos(0, 6);
    core.SelectWordAtCaret();
    EXPECT_EQ(core.SelectionState(), sstNone) << "a blank between words selects nothing";
}

// ---- clipboard -------------------------------------------------------------------------------------------------

TEST(EditorClipboard, CutKeepsTheTextWhenTheClipboardRefuses) {
    EditorCore core;
    FakeClipboard clip;
    core.SetClipboard(&clip);
    core.Store().SetText("abc");
    core.SetSel(0, 2);
    clip.refuse = true;
    EXPECT_FALSE(core.CutToClipboard());
    EXPECT_EQ(text(core), "abc");
    clip.refuse = false;
    EXPECT_TRUE(core.CutToClipboard());
    EXPECT_EQ(text(core), "c");
    ASSERT_TRUE(clip.held);
    EXPECT_EQ(clip.held->text, "ab");
}

TEST(EditorClipboard, BoxCopyAndPasteRoundTrip) {
    EditorCore core;
    FakeClipboard clip;
    core.SetClipboard(&clip);
    core.Store().SetText("abcd\r\nef\r\nghij");
    core.SetSelectionMode(smBox);
    core.SetCaretPos(0, 1);
    press(core, key::kDown, true);
    press(core, key::kDown, true);
    press(core, key::kRight, true);
    press(core, key::kRight, true);
    ASSERT_TRUE(core.CopyToClipboard());
    EXPECT_EQ(clip.held->text, "bc\r\nf\r\nhi");
    EXPECT_TRUE(clip.held->box);
    core.DeleteSelection();
    EXPECT_EQ(text(core), "ad\r\ne\r\ngj");
    core.SetCaretPos(0, 2);
    core.PasteFromClipboard();
    EXPECT_EQ(text(core), "adbc\r\ne f\r\ngjhi") << "a short row is padded up to the column";
    core.Undo();
    EXPECT_EQ(text(core), "ad\r\ne\r\ngj") << "the block was one step";
    // Rows past the end of the text are added.
    core.SetCaretPos(2, 1);
    core.InsertBlock("X\r\nY");
    EXPECT_EQ(text(core), "ad\r\ne\r\ngXj\r\n Y");
}

TEST(EditorClipboard, StreamPasteReplacesTheSelection) {
    EditorCore core;
    FakeClipboard clip;
    core.SetClipboard(&clip);
    clip.held = ClipText{"1\r\n2", false};
    core.Store().SetText("abc");
    core.SetSel(1, 2);
    core.PasteFromClipboard();
    EXPECT_EQ(text(core), "a1\r\n2c");
    EXPECT_EQ(core.CaretRow(), 1);
    EXPECT_EQ(core.CaretCol(), 1);
}

// ---- mouse -----------------------------------------------------------------------------------------------------

// Pixel of a row and column in a core sized like the host's control.
std::pair<int, int> at(const EditorCore& core, int row, int col) {
    const auto& l = core.Layout();
    return {l.textLeft + col * l.charWidth + 1, l.textTop + row * l.rowHeight + 2};
}

void dragSelection(EditorCore& core, int row, int col, bool ctrl) {
    const auto [sx, sy] = at(core, core.Selection().firstRow, core.Selection().firstCol);
    core.MouseDown(sx + 4, sy, {});
    ASSERT_EQ(core.Drag(), editor::DragState::Pending);
    const auto [x, y] = at(core, row, col);
    core.MouseMove(x, y, true, ctrl);
    ASSERT_EQ(core.Drag(), editor::DragState::Dragging);
    core.MouseUp(x, y, ctrl, true);
}

TEST(EditorMouse, DroppingSelectedTextMovesOrCopiesItInOneStep) {
    struct Case {
        const char* name;
        const char* text;
        int selFrom, selTo;  // offsets
        int row, col;        // drop point
        bool ctrl;
        const char* want;
        const char* wantSelected;
    };
    const std::vector<Case> cases = {
        {"after it on the same row", "abcdef", 0, 2, 0, 5, false, "cdeabf", "ab"},
        {"on a later row", "abc\r\ndef", 0, 2, 1, 1, false, "c\r\ndabef", "ab"},
        {"a multi-row selection on its last row", "ab\r\ncdef", 1, 5, 1, 3, false, "adeb\r\ncf", "b\r\nc"},
        {"before it", "abcdef", 3, 5, 0, 1, false, "adebcf", "de"},
        {"copied with Ctrl", "abcdef", 0, 2, 0, 4, true, "abcdabef", "ab"},
    };
    for (const Case& c : cases) {
        EditorCore core;
        sizeLikeHost(core);
        core.Store().SetText(c.text);
        core.SetSel(c.selFrom, c.selTo);
        dragSelection(core, c.row, c.col, c.ctrl);
        EXPECT_EQ(text(core), c.want) << c.name;
        EXPECT_EQ(core.SelText(), c.wantSelected) << c.name;
        core.Undo();
        EXPECT_EQ(text(core), c.text) << c.name << ": one undo step";
    }
}

TEST(EditorMouse, ReleasingInsideTheSelectionOrOutsideOnlyCancelsIt) {
    EditorCore core;
    sizeLikeHost(core);
    core.Store().SetText("abcdef");
    core.SetSel(0, 4);
    dragSelection(core, 0, 3, false);
    EXPECT_EQ(text(core), "abcdef");
    EXPECT_EQ(core.SelectionState(), sstNone);
    core.SetSel(0, 2);
    const auto [x, y] = at(core, 0, 0);
    core.MouseDown(x + 4, y, {});
    core.MouseMove(x + 40, y, true, false);
    core.KeyDown(key::kEscape, {});
    EXPECT_EQ(core.Drag(), editor::DragState::Idle);
    EXPECT_EQ(core.SelectionState(), sstNone) << "Esc cancels the drag and the selection";
}

TEST(EditorMouse, LeftBarSelectsWholeRowsAndTheCursorFollows) {
    EditorCore core;
    sizeLikeHost(core);
    core.Store().SetText("ab\r\ncd\r\nef");
    const auto [x1, y1] = at(core, 0, 0);
    const auto [x3, y3] = at(core, 1, 0);
    (void)x1;
    (void)x3;
    EXPECT_EQ(core.CursorAt(2, y1, false), crEditorRightArrow);
    EXPECT_EQ(core.CursorAt(core.Layout().textLeft + 4, 1, false), crDefault) << "top margin";
    core.MouseDown(2, y1, {});
    core.MouseMove(2, y3, true, false);
    core.MouseUp(2, y3, false, true);
    EXPECT_EQ(core.SelText(), "ab\r\ncd\r\n");
    const auto [sx, sy] = at(core, 0, 1);
    EXPECT_EQ(core.CursorAt(sx, sy, false), crDefault) << "over draggable selected text";
    EXPECT_EQ(core.CursorAt(sx, core.Layout().textTop + 2 * 16 + 2, false), crIBeam);
}

// ---- options ---------------------------------------------------------------------------------------------------

TEST(EditorOptions, TabSpaceCountIsClampedToAnEvenWidth) {
    const std::vector<std::pair<int, int>> cases = {{7, 6}, {1, 2}, {12, 8}, {4, 4}, {-3, 2}};
    for (auto [given, want] : cases) {
        TEditorCaret caret;
        caret.SetTabSpaceCount(given);
        EXPECT_EQ(caret.TabSpaceCount(), want) << given;
    }
}

}  // namespace
