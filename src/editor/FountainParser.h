// The colour scheme's tokeniser: the first-byte rules plus the scheme's bracket pairs and reserved words, the
// colour of each token, and the colouring state that one row hands on to the next.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "editor/Fountain.h"
#include "editor/RowAttribute.h"
#include "editor/TokenParser.h"

class TEditorStringList;

class TFountainParser : public TTokenParser {
public:
    // Throws AppError("TFountainParser.Create need instance of TFountain") without a fountain.
    explicit TFountainParser(const TFountain* fountain);

    const TFountain& Fountain() const noexcept { return *fountain_; }

    // Colours of the current token; nullptr for the control's own colours.
    virtual const TFountainColor* ColorOf() const;
    // The current token is a word of the reserved-word list (brackets and comments never are).
    bool IsReserved() const;

    // The token state the next row starts with, for a row whose text is `text` up to `rowLength`; for a row
    // that a soft wrap continues (`wrapped`), `text` also holds the next row, so that a token cut by the wrap
    // is seen whole. Element index, wrapped kind and remainder only; the caller carries the other fields.
    TokenStartState RowEndState(std::string_view text, std::size_t rowLength, bool wrapped,
                                const TokenStartState& start);

    // Turns the start state of `row` into the start state of the row after it: the row's attribute becomes the
    // previous-row attribute, the tokens give element index, wrapped kind and remainder, and the spare values and
    // state text pass on unchanged. (Defined with the row states, RowStates.cpp.)
    void UpdateRowState(const TEditorStringList& rows, int row, TRowAttributeData& state);
    // The same for a row whose text and attribute the caller has read already.
    void UpdateRowState(const TEditorStringList& rows, int row, std::string_view text, TRowAttribute attribute,
                        TRowAttributeData& state);

private:
    const TFountain* fountain_;
    std::string wrapBuffer_;  // a soft-wrapped row and the row after it
};
