// Tokeniser of the control's built-in scheme: adds mail addresses, URLs, the commenter, quoted strings,
// character codes and hexadecimal numbers to the scheme's brackets, and colours tokens from View.Colors.
#pragma once

#include "editor/FountainParser.h"

class TEditorParser : public TFountainParser {
public:
    explicit TEditorParser(const TEditorFountain* fountain);
    const TFountainColor* ColorOf() const override;

private:
    const TEditorColors& colors_;
};
