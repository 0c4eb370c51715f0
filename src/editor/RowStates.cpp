// The row colouring state: the one-row update of the tokeniser, the walk after an edit, the full rebuild.
#include "editor/RowStates.h"

#include <algorithm>
#include <string_view>

#include "editor/EditorStringList.h"
#include "editor/Fountain.h"
#include "editor/FountainParser.h"

void TFountainParser::UpdateRowState(const TEditorStringList& rows, int row, TRowAttributeData& state) {
    UpdateRowState(rows, row, rows.RowView(row), rows.RowAttribute(row), state);
}

void TFountainParser::UpdateRowState(const TEditorStringList& rows, int row, std::string_view text,
                                     TRowAttribute attribute, TRowAttributeData& state) {
    state.PrevRowAttribute = attribute;
    const TokenStartState start{state.ElementIndex, state.WrappedKind, state.WrappedRemain};
    TokenStartState next;
    if (attribute == raWrapped && row + 1 < rows.Count()) {
        // A token cut by the wrap is seen whole: the row is tokenised with the next row appended.
        wrapBuffer_.assign(text);
        wrapBuffer_.append(rows.RowView(row + 1));
        next = RowEndState(wrapBuffer_, text.size(), true, start);
    } else {
        next = RowEndState(text, text.size(), false, start);
    }
    state.ElementIndex = next.elementIndex;
    state.WrappedKind = static_cast<std::uint8_t>(next.wrappedKind);
    // The remainder has one byte in the row attributes; a longer run is found again by its kind's rule.
    state.WrappedRemain = static_cast<std::uint8_t>(std::min(next.wrappedRemain, 255));
}

RowStates::~RowStates() { unlisten(); }

TRowAttributeData RowStates::InitialState() { return TRowAttributeData{}; }

TFountain* RowStates::ActiveFountain() const noexcept {
    if (fountain_) return fountain_;
    return view_ ? &view_->Fountain() : nullptr;
}

void RowStates::SetView(TEditorViewInfo* view) {
    if (view == view_) return;
    unlisten();
    view_ = view;
    listen();
    schemesChanged();
}

void RowStates::SetFountain(TFountain* fountain) {
    if (fountain == fountain_) return;
    unlisten();
    fountain_ = fountain;
    listen();
    schemesChanged();
}

// A change of the View rebuilds even while an assigned Fountain colours the text.
void RowStates::listen() {
    TFountain* const viewFountain = view_ ? &view_->Fountain() : nullptr;
    for (TFountain* f : {viewFountain, fountain_}) {
        if (!f) continue;
        f->NotifyEventList().Add(this, [this] { schemesChanged(); });
        listened_.push_back(f);
    }
}

void RowStates::unlisten() {
    for (TFountain* f : listened_) f->NotifyEventList().Remove(this);
    listened_.clear();
}

void RowStates::schemesChanged() {
    if (watched_) RebuildStates(*watched_);
    if (OnRebuilt) OnRebuilt();
}

void RowStates::UpdateStatesFrom(TEditorStringList& rows, int row, ChangeRecord& change) {
    change.ChangedStates = walk(rows, row, true, &change.StateRowsEnd);
}

void RowStates::UpdateStatesFrom(TEditorStringList& rows, int row) { walk(rows, row, false, nullptr); }

int RowStates::walk(TEditorStringList& rows, int row, bool fromEdit, int* changedEnd) {
    const int count = rows.Count();
    TFountain* const fountain = ActiveFountain();
    if (changedEnd) *changedEnd = 0;
    if (!fountain || count == 0 || row >= count) return 0;
    const int a = std::max(row, 0);
    const int limit = static_cast<int>(std::min<long long>(a + 2LL * screenRows_, count - 1));

    // Start at the nearest row above `a` whose state is computed; rows from the mark on never are.
    int start = std::min(a, rows.StatesComputedBefore()) - 1;
    while (start >= 0 && rows.ElementIndex(start) == rowbits::kElementNotComputed) --start;
    TRowAttributeData state = start >= 0 ? rows.RowAttributeData(start) : InitialState();
    start = std::max(start, 0);

    const auto parser = fountain->CreateParser();
    int changed = 0;
    bool settled = false;
    for (int r = start; r <= limit; ++r) {
        // Below the edit, a row that already starts with the carried state has every row after it right too.
        if (r >= a && rows.ElementIndex(r) != rowbits::kElementNotComputed && rows.RowAttributeData(r).sameState(state)) {
            settled = true;
            break;
        }
        rows.SetRowAttributeData(r, state);
        ++changed;
        if (changedEnd && r >= a) *changedEnd = r + 1;  // rows above `a` are stored again as they were
        if (fromEdit && OnRowStateChanged) OnRowStateChanged(r);
        parser->UpdateRowState(rows, r, state);
    }
    if (!settled && limit + 1 < count) {
        rows.ClearStatesFrom(limit + 1);
        if (changedEnd) *changedEnd = count;  // the rows below are computed again when painted
    }
    return changed;
}

void RowStates::RebuildStates(TEditorStringList& rows) {
    rows.ClearStatesFrom(0);
    const int count = rows.Count();
    TFountain* const fountain = ActiveFountain();
    if (!fountain || count == 0) return;
    const int last = initBracketsFull_ ? count - 1
                                       : static_cast<int>(std::min<long long>(topRow_ + 2LL * screenRows_, count - 1));
    const auto parser = fountain->CreateParser();
    TRowAttributeData state = InitialState();
    for (int r = 0; r <= last; ++r) {
        std::uint32_t word = 0, word2 = 0, stored = 0;
        state.packInto(word, word2);
        const std::string_view text = rows.StoreRowState(r, word, word2, state.StateText, stored);
        parser->UpdateRowState(rows, r, text, rowbits::rowAttribute(stored), state);
    }
}
