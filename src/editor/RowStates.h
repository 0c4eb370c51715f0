// The colouring state of the rows: stored at the start of every row so that a row can be painted without
// tokenising the rows above it, updated after each edit only as far as it changes (and never further than two
// screens below the edit), computed lazily below that, and rebuilt whenever the colour scheme changes.
#pragma once

#include <functional>
#include <vector>

#include "editor/RowAttribute.h"
#include "editor/RowStateUpdater.h"

class TEditorStringList;
class TEditorViewInfo;
class TFountain;

class RowStates : public RowStateUpdater {
public:
    RowStates() = default;
    ~RowStates() override;
    RowStates(const RowStates&) = delete;
    RowStates& operator=(const RowStates&) = delete;

    // The schemes: the control's View, whose fountain colours the text unless a Fountain component is assigned.
    // Neither is owned; without either there is no colouring (states stay not computed). A change of the View
    // or of the active scheme, and switching schemes, rebuilds the states of the watched rows and then calls
    // OnRebuilt (repaint). Both must outlive this object, or be unset before they go.
    void SetView(TEditorViewInfo* view);
    void SetFountain(TFountain* fountain);
    TFountain* ActiveFountain() const noexcept;
    void Watch(TEditorStringList* rows) noexcept { watched_ = rows; }
    std::function<void()> OnRebuilt;

    // The view: rows that fit the screen (screen height div row height) and the top row.
    void SetScreenRows(int rows) noexcept { screenRows_ = rows < 0 ? 0 : rows; }
    int ScreenRows() const noexcept { return screenRows_; }
    void SetTopRow(int row) noexcept { topRow_ = row < 0 ? 0 : row; }
    // Speed.InitBracketsFull: a rebuild computes every row instead of only down to two screens below the top.
    void SetInitBracketsFull(bool value) noexcept { initBracketsFull_ = value; }
    bool InitBracketsFull() const noexcept { return initBracketsFull_; }

    // Asked for each row whose state an edit stored anew, so that the editors repaint it.
    std::function<void(int row)> OnRowStateChanged;

    // After an edit (ReplaceRows, undo, redo): recompute from `row`, the first row the edit changed; the count
    // of rows stored goes into change.ChangedStates, and one past the last row from `row` on whose state
    // changed (the end of the text when the walk stopped at its bound) into change.StateRowsEnd.
    void UpdateStatesFrom(TEditorStringList& rows, int row, ChangeRecord& change) override;
    // For painting a row whose state is not computed: the same walk, without repaint requests.
    void UpdateStatesFrom(TEditorStringList& rows, int row);
    void RebuildStates(TEditorStringList& rows) override;

    // The start state of row 0.
    static TRowAttributeData InitialState();

private:
    int walk(TEditorStringList& rows, int row, bool fromEdit, int* changedEnd);
    void schemesChanged();
    void listen();
    void unlisten();

    TEditorViewInfo* view_ = nullptr;
    TFountain* fountain_ = nullptr;
    std::vector<TFountain*> listened_;
    TEditorStringList* watched_ = nullptr;
    int screenRows_ = 25;
    int topRow_ = 0;
    bool initBracketsFull_ = false;
};
