// The seam that cuts a logical line into word-wrapped rows, and the plain cut at the wrap width.
#pragma once

#include <string_view>
#include <vector>

#include "editor/EditorWrapOption.h"

class WordWrapper {
public:
    virtual ~WordWrapper() = default;
    // Appends to `rowLengths` the byte lengths of the rows one logical line (without its line break) is cut
    // into; every row but the last becomes raWrapped. A line that needs no cut gives one length. A last
    // length of 0 is the empty row that holds the line end after a cut that left nothing.
    virtual void WrapLine(std::string_view line, std::vector<int>& rowLengths) const = 0;
};

// Cuts a line of WrapByte or more display columns after its first WrapByte columns (one column less when that
// would split a double-byte character; a tab's blank columns end at the wrap width) and again on the rest.
// A cut that leaves nothing adds an empty row for the line end, unless FollowRetMark is set.
class CutWordWrapper : public WordWrapper {
public:
    CutWordWrapper(const TEditorWrapOption& option, int tabSpaceCount = 8) noexcept
        : option_(option), tabSpaceCount_(tabSpaceCount) {}
    void WrapLine(std::string_view line, std::vector<int>& rowLengths) const override;

private:
    const TEditorWrapOption& option_;
    int tabSpaceCount_;
};
