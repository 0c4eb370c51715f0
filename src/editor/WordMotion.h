// Word movement (Ctrl+Right, Ctrl+Left) and word selection on the rows of an editor. Positions are a row and a
// byte position in it; the caret turns them into display columns with its column map.
#pragma once

#include <optional>

class TEditorStringList;
class TFountain;

struct RowPos {
    int row = 0;
    int pos = 0;  // byte position in the row
    bool operator==(const RowPos& o) const noexcept { return row == o.row && pos == o.pos; }
    bool operator!=(const RowPos& o) const noexcept { return !(*this == o); }
};

// A selected word: it starts at `start` and covers `length` bytes of its logical line (it may run on into the
// rows that a soft wrap continues).
struct WordSpan {
    RowPos start;
    int length = 0;
};

// Ctrl+Right: the start of the first token after the caret that is not a single-byte symbol, tokenised by the
// scheme with brackets not recognised; without one, the end of the row (column 0 of the next row when the row
// is soft-wrapped). At the end of a row: the start of the next row (the phantom row after a final line break
// included). Returns the caret unchanged where it cannot move.
RowPos NextWordStart(const TEditorStringList& rows, const TFountain& fountain, RowPos caret);

// Ctrl+Left: the start of the nearest such token before the caret; without one, the end of the previous row
// (column 0 on row 0). At column 0 it first moves to the end of the previous row, and stays there when that row
// ends a line.
RowPos PrevWordStart(const TEditorStringList& rows, const TFountain& fountain, RowPos caret);

// The token of the plain tokeniser that covers the caret's byte on its whole logical line; nothing when the
// caret stands in blanks between tokens, after the last token, or past the text.
std::optional<WordSpan> WordAtCaret(const TEditorStringList& rows, RowPos caret);
