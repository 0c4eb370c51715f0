// The selection of an editor as the painter and the clipboard read it: its mode, its state and its range.
#pragma once

// How a selection runs: as a stream of text, or as a rectangle of rows and display columns.
enum TSelectionMode { smStream, smBox };

// sstAnchored: an anchor is set at the caret but nothing is selected yet; sstHitSelected: a search hit shown as
// the selection (in hit mode, instead of sstSelected).
enum TSelectionState { sstNone, sstAnchored, sstSelected, sstHitSelected };

// The range between anchor and caret in row and column order. Columns are display columns; positions are byte
// positions in their rows. In smBox mode the columns bound the rectangle on every row.
struct SelectionRange {
    int firstRow = 0;
    int firstCol = 0;
    int firstPos = 0;
    int lastRow = 0;
    int lastCol = 0;
    int lastPos = 0;
    bool operator==(const SelectionRange& o) const noexcept {
        return firstRow == o.firstRow && firstCol == o.firstCol && firstPos == o.firstPos && lastRow == o.lastRow &&
               lastCol == o.lastCol && lastPos == o.lastPos;
    }
};

inline bool HasSelection(TSelectionState state) noexcept { return state == sstSelected || state == sstHitSelected; }
