// What the store promises the colouring and the editors attached to it: when the states are recomputed and
// from which row, which editor's caret an undo record keeps, and who is told of a change.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "StoreTestSupport.h"

namespace {

// Records the calls and marks every row it is asked about as computed, the way a real state walk does.
class RecordingUpdater : public RowStateUpdater {
public:
    void UpdateStatesFrom(TEditorStringList& rows, int row, ChangeRecord& change) override {
        updates.push_back(row);
        for (int r = 0; r < rows.Count(); ++r) rows.SetElementIndex(r, -1);
        change.ChangedStates = 7;
    }
    void RebuildStates(TEditorStringList& rows) override {
        ++rebuilds;
        EXPECT_EQ(rows.StatesComputedBefore(), 0);  // everything was marked not computed first
        for (int r = 0; r < rows.Count(); ++r) rows.SetElementIndex(r, -1);
    }
    std::vector<int> updates;
    int rebuilds = 0;
};

class ChangeSpy : public RecordingEditor {
public:
    void StoreTextChanged(const ChangeRecord& c) override {
        if (c.Valid) seen.push_back(c);
        RecordingEditor::StoreTextChanged(c);
    }
    std::vector<ChangeRecord> seen;
};

}  // namespace

TEST(StoreHooks, StatesAreRecomputedFromTheBlockAfterEditsAndRebuiltAfterLoading) {
    TEditorScreenStrings s;
    RecordingUpdater updater;
    ChangeSpy editor;
    s.Attach(&editor);
    s.SetRowStateUpdater(&updater);
    s.SetText("a\r\nb\r\nc\r\n");
    EXPECT_EQ(updater.rebuilds, 1);
    EXPECT_TRUE(updater.updates.empty());
    s.ReplaceRows(1, 1, "B\r\n");
    s.ReplaceRows(0, 0, "new\r\n");
    s.UndoObj().Undo();
    s.UndoObj().Redo();
    EXPECT_EQ(updater.updates, (std::vector<int>{1, 0, 0, 0}));
    ASSERT_EQ(editor.seen.size(), 4u);
    EXPECT_EQ(editor.seen[0].ChangedStates, 7);  // the painter sees how far the states changed
    // New rows are not computed until the updater stores their states.
    s.SetRowStateUpdater(nullptr);
    s.ReplaceRows(1, 0, "x\r\n");
    EXPECT_EQ(s.ElementIndex(1), -2);
    EXPECT_EQ(s.ElementIndex(3), -1);  // rows below the block keep theirs
    s.SetRowStateUpdater(&updater);
    s.SetWordWrap(true);
    EXPECT_EQ(updater.rebuilds, 2);
    s.Detach(&editor);
}

TEST(StoreHooks, TheActiveEditorIsTheFocusedOneOrElseTheOwner) {
    TEditorScreenStrings s;
    RecordingEditor owner, other;
    s.Attach(&owner);
    s.Attach(&other);
    EXPECT_EQ(s.Owner(), &owner);
    EXPECT_EQ(s.ActiveEditor(), &owner);
    s.SetText("abc\r\n");
    owner.SetCaretPos(0, 1);
    other.SetCaretPos(0, 3);
    other.SetFocused(true);
    EXPECT_EQ(s.ActiveEditor(), &other);
    s.ReplaceRows(0, 1, "abcd\r\n");
    EXPECT_EQ(s.UndoObj().UndoList().Last().CaretCol, 3);
    EXPECT_EQ(owner.changes, 1);  // every attached editor hears of the change
    EXPECT_EQ(other.changes, 1);
    s.UndoObj().Undo();
    EXPECT_EQ(other.CaretCol(), 3);  // the caret of the active editor comes back
    s.Detach(&owner);
    EXPECT_EQ(s.Owner(), &other);
    s.Detach(&other);
    EXPECT_EQ(s.ActiveEditor(), nullptr);
    s.ReplaceRows(0, 1, "x\r\n");  // no editor: nothing to tell, and no caret
    EXPECT_EQ(s.Text(), "x\r\n");
}

TEST(StoreHooks, SwitchingWordWrapKeepsTheMarksOfALineAndClearsUndo) {
    TEditorScreenStrings s;
    s.WrapOption().SetWrapByte(20);
    s.SetText(std::string(30, 'm') + "\r\nz\r\n");
    s.SetMarks(0, 0x0001);
    s.ReplaceRows(1, 1, "Z\r\n");
    s.SetWordWrap(true);
    EXPECT_FALSE(s.UndoObj().CanUndo());
    ASSERT_EQ(dumpRows(s), std::string(20, 'm') + "|W " + std::string(10, 'm') + "|L Z|L");
    s.SetMarks(1, 0x0004);
    s.SetWordWrap(false);
    EXPECT_EQ(dumpRows(s), std::string(30, 'm') + "|L Z|L");
    EXPECT_EQ(s.Marks(0), 0x0005);
}

TEST(StoreHooks, RowsChangedBehindTheEditingPrimitiveLeaveNothingToUndo) {
    TEditorScreenStrings s;
    s.SetText("a\r\nb\r\n");
    s.ReplaceRows(0, 1, "ab\r\n");
    s.Delete(0);  // the TStrings-like base, not ReplaceRows: the record no longer fits the rows
    EXPECT_FALSE(s.UndoObj().CanUndo());
    s.UndoObj().Undo();
    EXPECT_EQ(s.Text(), "b\r\n");
}

TEST(StoreHooks, AnOnChangeHandlerThatThrowsReachesTheCallerAndLeavesTheStoreUsable) {
    TEditorScreenStrings s;
    RecordingEditor e;
    s.Attach(&e);
    s.SetText("a\r\n");
    e.OnChange = [] { throw std::runtime_error("handler"); };
    EXPECT_THROW(s.ReplaceRows(0, 1, "ab\r\n"), std::runtime_error);
    EXPECT_EQ(s.UpdateCount(), 0);
    EXPECT_FALSE(s.Change().Valid);  // a later load must not look like an edit
    EXPECT_EQ(s.Text(), "ab\r\n");
    EXPECT_THROW(s.UndoObj().Undo(), std::runtime_error);
    EXPECT_EQ(s.UpdateCount(), 0);
    EXPECT_EQ(s.Text(), "a\r\n");
    EXPECT_TRUE(s.UndoObj().CanRedo());
    e.OnChange = nullptr;
    s.UndoObj().Redo();
    EXPECT_EQ(s.Text(), "ab\r\n");
    s.Detach(&e);
}
