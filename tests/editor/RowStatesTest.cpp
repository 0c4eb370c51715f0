// Row colouring states in the row store: tags open across rows, the walk after an edit, its bounds, the lazy
// rows below, rebuilds on scheme changes, undo, soft-wrapped rows, and a property test against full rebuilds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/EditorParser.h"
#include "editor/EditorScreenStrings.h"
#include "editor/Fountain.h"
#include "editor/RowStates.h"
#include "editor/ScriptScheme.h"

namespace {

// A store coloured the way the script editor colours several-files scripts.
// Keeps the change record the store hands to its editors (the store clears its own when its update ends).
struct ChangeWatcher : BasicEditorClient {
    ChangeRecord last;
    void StoreTextChanged(const ChangeRecord& change) override {
        last = change;
        BasicEditorClient::StoreTextChanged(change);
    }
};

struct ColouredStore {
    TEditorViewInfo view;
    RowStates states;
    TEditorScreenStrings store;
    ChangeWatcher editor;
    int rebuilt = 0;

    explicit ColouredStore(int screenRows = 10, bool full = true) {
        editor::ApplyScriptScheme(view, true);
        states.SetScreenRows(screenRows);
        states.SetInitBracketsFull(full);
        states.Watch(&store);
        states.OnRebuilt = [this] { ++rebuilt; };
        states.SetView(&view);
        store.SetRowStateUpdater(&states);
        store.Attach(&editor);
    }
    ~ColouredStore() { store.Detach(&editor); }
    const ChangeRecord& change() const { return editor.last; }
    std::vector<int> elements() const {
        std::vector<int> out;
        for (int r = 0; r < store.Count(); ++r) out.push_back(store.ElementIndex(r));
        return out;
    }
    // Kinds of the tokens of one row, tokenised from its stored state as the painter does.
    std::vector<TTokenKind> kinds(int row) {
        states.UpdateStatesFrom(store, row);
        const TRowAttributeData d = store.RowAttributeData(row);
        TEditorParser p(&view.Fountain());
        p.Start(store.RowView(row), {d.ElementIndex, d.WrappedKind, d.WrappedRemain});
        std::vector<TTokenKind> out;
        for (TTokenKind k = p.Next(); k != tkEnd; k = p.Next()) out.push_back(k);
        return out;
    }
};

std::string rowsOf(int n, const std::string& row) {
    std::string text;
    for (int i = 0; i < n; ++i) text += row + "\r\n";
    return text;
}

}  // namespace

TEST(RowStates, UnclosedTagColoursEveryRowUpToTheFirstRightBracket) {
    ColouredStore s;
    s.store.SetText("A\r\nOPEN [%FOLDER\r\nB ;x\r\nC%] D\r\nE\r\n");
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, -1, 0, 0, -1}));
    EXPECT_EQ(s.kinds(1), (std::vector<TTokenKind>{tkAnk, tkBracket}));
    EXPECT_EQ(s.kinds(2), (std::vector<TTokenKind>{tkBracket}));  // ";" inside the open tag is no comment
    EXPECT_EQ(s.kinds(3), (std::vector<TTokenKind>{tkBracket, tkAnk}));
    EXPECT_EQ(s.kinds(4), (std::vector<TTokenKind>{tkAnk}));
}

TEST(RowStates, ClosingTheTagOnItsRowRecoloursTheRowsBelowAndCountsThem) {
    ColouredStore s;
    s.store.SetText("A\r\nOPEN [%FOLDER\r\nB\r\nC\r\nD%]\r\nE\r\nF\r\n");
    ASSERT_EQ(s.elements(), (std::vector<int>{-1, -1, 0, 0, 0, -1, -1}));
    s.store.ReplaceRows(1, 1, "OPEN [%FOLDER%]\r\n");
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1}));
    const ChangeRecord& change = s.change();
    EXPECT_TRUE(change.Valid);
    EXPECT_EQ(change.FirstRow, 1);
    // Rows 0 (the walk's start) to 4 were stored anew; row 5 already started outside the tag.
    EXPECT_EQ(change.ChangedStates, 5);

    s.store.UndoObj().Undo();
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, -1, 0, 0, 0, -1, -1}));
    s.store.UndoObj().Redo();
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1}));
}

TEST(RowStates, AnEditThatChangesNoStateStopsAtTheFirstMatchingRow) {
    ColouredStore s(10);
    s.store.SetText("[%\r\n" + rowsOf(1000, "LINE 0,0 10,10"));
    for (int r : {1, 500, 1000}) ASSERT_EQ(s.store.ElementIndex(r), 0);
    int asked = 0;
    s.states.OnRowStateChanged = [&](int) { ++asked; };
    s.store.ReplaceRows(500, 1, "LINE 0,0 10,10 x\r\n");  // one typed character inside the open tag
    EXPECT_LE(s.change().ChangedStates, 3);
    EXPECT_EQ(asked, s.change().ChangedStates);
    EXPECT_EQ(s.store.StatesComputedBefore(), s.store.Count());  // nothing below lost its state
    EXPECT_EQ(s.store.ElementIndex(1000), 0);
}

TEST(RowStates, TheWalkNeverGoesFurtherThanTwoScreensBelowTheEdit) {
    ColouredStore s(10);
    s.store.SetText(rowsOf(1000, "A"));
    s.store.ReplaceRows(100, 1, "[%\r\n");  // every row below now lies in the tag
    EXPECT_LE(s.change().ChangedStates, 2 * 10 + 2);
    EXPECT_EQ(s.store.ElementIndex(100 + 20), 0);
    EXPECT_EQ(s.store.ElementIndex(100 + 21), rowbits::kElementNotComputed);
    EXPECT_EQ(s.store.ElementIndex(999), rowbits::kElementNotComputed);
    // Painting a row far below computes it on demand.
    EXPECT_EQ(s.kinds(900), (std::vector<TTokenKind>{tkBracket}));
    EXPECT_EQ(s.store.ElementIndex(900), 0);
}

TEST(RowStates, RebuildWithoutInitBracketsFullComputesTwoScreensBelowTheTop) {
    ColouredStore s(5, false);
    s.states.SetTopRow(20);
    s.store.SetText("[%\r\n" + rowsOf(100, "x"));
    EXPECT_EQ(s.store.ElementIndex(30), 0);
    EXPECT_EQ(s.store.ElementIndex(31), rowbits::kElementNotComputed);
    s.states.SetInitBracketsFull(true);
    s.states.RebuildStates(s.store);
    EXPECT_EQ(s.store.ElementIndex(100), 0);
}

TEST(RowStates, EmptyingTheBracketsWhileATagIsOpenRemovesTheColouringEverywhere) {
    ColouredStore s;
    s.store.SetText("A\r\n[%FOLDER\r\nB\r\nC\r\n");
    ASSERT_EQ(s.elements(), (std::vector<int>{-1, -1, 0, 0}));
    const int before = s.rebuilt;
    s.view.Brackets().Clear();
    EXPECT_EQ(s.rebuilt, before + 1);
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, -1, -1, -1}));
    EXPECT_EQ(s.kinds(1), (std::vector<TTokenKind>{tkSymbol, tkSymbol, tkAnk}));
    EXPECT_EQ(s.kinds(2), (std::vector<TTokenKind>{tkAnk}));
    // Any other scheme change rebuilds too: a commenter that now hides the rest of row 0.
    s.view.SetCommenter("A");
    EXPECT_EQ(s.rebuilt, before + 2);
    EXPECT_EQ(s.kinds(0), (std::vector<TTokenKind>{tkComment}));
}

TEST(RowStates, AnAssignedFountainColoursInsteadOfTheViewUntilItIsRemoved) {
    ColouredStore s;
    s.store.SetText("<A\r\nB>\r\n[%C\r\nD\r\n");
    ASSERT_EQ(s.elements(), (std::vector<int>{-1, -1, -1, 0}));
    TFountain angle;
    auto& pair = angle.Brackets().Add();
    pair.SetLeftBracket("<");
    pair.SetRightBracket(">");
    s.states.SetFountain(&angle);
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, 0, -1, -1}));
    const int before = s.rebuilt;
    s.view.SetCommenter("#");  // a change of the view alone rebuilds too
    EXPECT_EQ(s.rebuilt, before + 1);
    pair.SetRightBracket("B");
    EXPECT_EQ(s.rebuilt, before + 2);
    s.states.SetFountain(nullptr);
    EXPECT_EQ(s.elements(), (std::vector<int>{-1, -1, -1, 0}));
    pair.SetRightBracket(">");  // no longer listened to
    EXPECT_EQ(s.rebuilt, before + 3);
}

TEST(RowStates, SpareValuesAndStateTextPassUnchanged) {
    ColouredStore s;
    s.store.SetText("A\r\n[%B\r\nC\r\n");
    TRowAttributeData d = s.store.RowAttributeData(0);
    d.Spare[0] = 7;
    d.Spare[2] = 9;
    d.StateText = "other tokeniser";
    s.store.SetRowAttributeData(0, d);
    s.store.ReplaceRows(1, 1, "[%B%]\r\n");
    for (int r = 1; r < s.store.Count(); ++r) {
        const TRowAttributeData row = s.store.RowAttributeData(r);
        EXPECT_EQ(row.Spare[0], 7);
        EXPECT_EQ(row.Spare[2], 9);
        EXPECT_EQ(row.StateText, "other tokeniser");
    }
}

TEST(RowStates, WithoutAFountainNothingIsColoured) {
    ColouredStore s;
    s.states.SetView(nullptr);
    s.store.SetText("[%\r\nA\r\n");
    EXPECT_EQ(s.elements(), (std::vector<int>{-2, -2}));
    s.store.ReplaceRows(0, 1, "B\r\n");
    EXPECT_EQ(s.change().ChangedStates, 0);
}

TEST(RowStates, SoftWrappedRowsCarryTheCutToken) {
    ColouredStore s;
    s.store.WrapOption().SetWrapByte(20);
    s.store.SetWordWrap(true);
    // A comment of 30 bytes: cut after 20 columns; the second row continues the comment.
    s.store.SetText("; 345678901234567890abcdefghij\r\nA\r\n");
    ASSERT_EQ(s.store.RowAttribute(0), raWrapped);
    const TRowAttributeData second = s.store.RowAttributeData(1);
    EXPECT_EQ(second.WrappedKind, tkComment);
    EXPECT_EQ(second.PrevRowAttribute, raWrapped);
    EXPECT_EQ(s.kinds(1), (std::vector<TTokenKind>{tkComment}));
    EXPECT_EQ(s.kinds(2), (std::vector<TTokenKind>{tkAnk}));

    // A tag whose right bracket the wrap cuts: the next row starts with the rest of it, then is outside.
    s.store.SetText("0123456789012345[%A%] B\r\n");
    ASSERT_EQ(s.store.RowView(0), "0123456789012345[%A%");
    const TRowAttributeData cut = s.store.RowAttributeData(1);
    EXPECT_EQ(cut.WrappedKind, tkBracket);
    EXPECT_EQ(cut.WrappedRemain, 1);
    EXPECT_EQ(s.kinds(1), (std::vector<TTokenKind>{tkBracket, tkAnk}));
}

// After any edit sequence, the states the walk leaves are those a full rebuild computes, on every row whose
// state is computed, and every change record tells the painter truly which rows changed.
namespace {

// The states a full rebuild computes for the rows as they stand, without touching the store.
void expectSameAsRebuild(ColouredStore& s, const std::string& context) {
    const auto parser = s.view.Fountain().CreateParser();
    TRowAttributeData want = RowStates::InitialState();
    for (int r = 0; r < s.store.Count(); ++r) {
        if (s.store.ElementIndex(r) != rowbits::kElementNotComputed) {
            const TRowAttributeData got = s.store.RowAttributeData(r);
            ASSERT_TRUE(got.sameState(want))
                << context << " row " << r << ": element " << got.ElementIndex << " want " << want.ElementIndex
                << ", wrapped " << int(got.WrappedKind) << "/" << int(got.WrappedRemain) << " want "
                << int(want.WrappedKind) << "/" << int(want.WrappedRemain);
        }
        parser->UpdateRowState(s.store, r, want);
    }
}

// What a row looks like on screen: its bytes, how it ends, its start state as a full rebuild computes it, and
// for a wrapped row the row after it (a token cut by the wrap is coloured whole).
struct RowLook {
    std::string text, next;
    TRowAttribute attribute;
    TRowAttributeData state;
    bool operator==(const RowLook& o) const {
        // The painter tokenises from these three; the previous row's attribute is no part of the look.
        return text == o.text && next == o.next && attribute == o.attribute &&
               state.ElementIndex == o.state.ElementIndex && state.WrappedKind == o.state.WrappedKind &&
               state.WrappedRemain == o.state.WrappedRemain;
    }
};

std::vector<RowLook> looks(ColouredStore& s) {
    const auto parser = s.view.Fountain().CreateParser();
    TRowAttributeData state = RowStates::InitialState();
    std::vector<RowLook> out;
    const int count = s.store.Count();
    for (int r = 0; r < count; ++r) {
        const TRowAttribute a = s.store.RowAttribute(r);
        out.push_back({std::string(s.store.RowView(r)),
                       a == raWrapped && r + 1 < count ? std::string(s.store.RowView(r + 1)) : std::string(), a, state});
        parser->UpdateRowState(s.store, r, state);
    }
    return out;
}

// The change record's promise to the painter: rows above its kept first rows (and above a wrapped row the
// block continues) are as they were, rows below the changed ones (text or state) are the old rows moved by the
// rows inserted less those removed, and the text's end is as it was when it says so.
void expectRecordTellsWhatChanged(const std::vector<RowLook>& before, bool phantomBefore, ColouredStore& s,
                                  const std::string& context) {
    const ChangeRecord& c = s.change();
    ASSERT_TRUE(c.Valid) << context;
    ASSERT_GE(c.StateRowsEnd, 0) << context;
    const std::vector<RowLook> after = looks(s);
    const int moved = c.InsertedRows - c.RemovedRows;
    // A wrapped row is painted with the row after it: the row above the block goes with the block's first row.
    const int from = c.KeptFirstRows == 0 && c.ContinuesAbove ? c.FirstRow - 1 : c.FirstRow + c.KeptFirstRows;
    const int to = std::max(c.FirstRow + c.InsertedRows - c.KeptLastRows, c.StateRowsEnd);
    for (int r = 0; r < static_cast<int>(after.size()); ++r) {
        if (r >= from && r < to) continue;
        const int old = r < from ? r : r - moved;
        ASSERT_TRUE(old >= 0 && old < static_cast<int>(before.size()) && before[static_cast<std::size_t>(old)] ==
                                                                                after[static_cast<std::size_t>(r)])
            << context << ": row " << r << " outside the changed rows " << from << ".." << to << " differs from row "
            << old;
    }
    const int count = s.store.Count();
    const bool phantom = count == 0 || s.store.RowAttribute(count - 1) != raTextEnd;
    if (c.TextEndKept) {
        ASSERT_EQ(phantom, phantomBefore) << context;
    }
}

void randomEdits(bool wordWrap, unsigned seed) {
    std::mt19937 rng(seed);
    const std::vector<std::string> pieces = {"[%", "%]", ";", "A", "LINE ", " ", "0,0", "\r\n", "\r\n",
                                             "\x95\x5C",  // 表, trail byte 0x5C
                                             "%", "]", "[", "\t", "FOLDER"};
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto randomText = [&] {
        std::string t;
        const int n = pick(6);
        for (int i = 0; i < n; ++i) t += pieces[static_cast<std::size_t>(pick(static_cast<int>(pieces.size())))];
        return t;
    };
    ColouredStore s(3, pick(2) == 0);
    if (wordWrap) {
        s.store.WrapOption().SetWrapByte(20);
        s.store.SetWordWrap(true);
    }
    std::string initial;
    for (int i = 0; i < 30; ++i) initial += randomText() + "\r\n";
    s.store.SetText(initial);
    for (int step = 0; step < 150; ++step) {
        const int count = s.store.Count();
        const int action = pick(10);
        const std::vector<RowLook> before = looks(s);
        const bool phantomBefore = count == 0 || s.store.RowAttribute(count - 1) != raTextEnd;
        s.editor.last = ChangeRecord{};
        if (action < 6 || count == 0) {
            const int a = pick(count + 1);
            const int n = a < count ? pick(std::min(3, count - a) + 1) : 0;
            s.store.ReplaceRows(a, n, randomText());
        } else if (action < 8) {
            s.store.UndoObj().Undo();
        } else if (action < 9) {
            s.store.UndoObj().Redo();
        } else {
            // Painting somewhere below computes rows lazily.
            s.states.UpdateStatesFrom(s.store, pick(count));
        }
        const std::string context = "seed " + std::to_string(seed) + " step " + std::to_string(step);
        expectSameAsRebuild(s, context);
        if (s.change().Valid) expectRecordTellsWhatChanged(before, phantomBefore, s, context);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace

TEST(RowStatesProperty, WalkAfterRandomEditsEqualsFullRebuild) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        randomEdits(false, seed);
        if (HasFatalFailure()) return;
    }
}

TEST(RowStatesProperty, WalkAfterRandomEditsEqualsFullRebuildWithWordWrap) {
    for (unsigned seed = 100; seed <= 130; ++seed) {
        randomEdits(true, seed);
        if (HasFatalFailure()) return;
    }
}
