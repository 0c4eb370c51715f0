// The seam that cuts a logical line into word-wrapped rows, and the Japanese line-breaking rules behind it.
#pragma once

#include <string_view>
#include <vector>

#include "editor/ColumnMap.h"
#include "editor/EditorWrapOption.h"

class WordWrapper {
public:
    virtual ~WordWrapper() = default;
    // Appends to `rowLengths` the byte lengths of the rows one logical line (without its line break) is cut
    // into, by `option` and the column rules of the store (`columns`: tab width and delimiters). Every row but
    // the last becomes raWrapped. A line that needs no cut gives one length. A last length of 0 is the empty row
    // that holds the line end after a cut that left nothing; no other length is 0.
    virtual void WrapLine(std::string_view line, const TEditorWrapOption& option, const ColumnMapOptions& columns,
                          std::vector<int>& rowLengths) const = 0;
};

// A line narrower than WrapByte columns stays one row. A wider one is cut after its first WrapByte columns
// (one less rather than split a double-byte character), then, as the options ask: with WordBreak the cut
// steps back to the end of a word, but not below WrapByte / 3 columns (a longer word is cut where it stands);
// with FollowPunctuation characters of PunctuationStr hang past the margin, up to WrapByte + 2 columns; with
// Leading a LeadStr character is not left at the end of a row and a FollowStr character does not start one,
// as long as the row keeps more than WrapByte / 5 * 4 columns. Every cut takes at least one character.
// A cut that leaves nothing ends the line on that row with FollowRetMark, else on an empty row after it.
class JapaneseWordWrapper final : public WordWrapper {
public:
    void WrapLine(std::string_view line, const TEditorWrapOption& option, const ColumnMapOptions& columns,
                  std::vector<int>& rowLengths) const override;
};
