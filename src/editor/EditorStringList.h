// A free-standing row list, used as scratch when text is split into rows.
#pragma once

#include <string_view>

#include "editor/RowAttributeStringList.h"

class TEditorStringList : public TRowAttributeStringList {
public:
    // Replaces the rows with `text` split at CR LF, lone CR and lone LF; a text without a final break ends
    // with a raTextEnd row. Previous-row attributes are set to match.
    void SetTextStr(std::string_view text);
};
