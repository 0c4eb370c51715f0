// Tokeniser of the control's built-in scheme.
#include "editor/EditorParser.h"

#include "core/AppError.h"

namespace {
const TEditorFountain* editorFountainRequired(const TEditorFountain* fountain) {
    if (!fountain) throw AppError("TFountainParser.Create need instance of TFountain");
    return fountain;
}
}  // namespace

TEditorParser::TEditorParser(const TEditorFountain* fountain)
    : TFountainParser(editorFountainRequired(fountain)), colors_(fountain->Colors()) {
    mail_ = fountain->Mail();
    url_ = fountain->Url();
    commenter_ = fountain->Commenter();
    quotation_ = fountain->Quotation();
    controlCode_ = fountain->ControlCode();
    hexPrefix_ = fountain->HexPrefix();
    startRulesPrepare();
}

const TFountainColor* TEditorParser::ColorOf() const {
    if (IsReserved()) return &colors_.Reserve();
    switch (Token()) {
        case tkSymbol: return &colors_.Symbol();
        case tkInteger:
        case tkFloat:
        case tkHex: return &colors_.Int();
        case tkBracket: return TFountainParser::ColorOf();
        case tkComment: return &colors_.Comment();
        case tkAnk: return &colors_.Ank();
        case tkDbSymbol:
        case tkDbDigits:
        case tkDbLetters:
        case tkHiragana:
        case tkKatakana:
        case tkKanji:
        case tkKanaSymbol:
        case tkKana: return &colors_.DBCS();
        case tkUrl: return &colors_.Url();
        case tkMail: return &colors_.Mail();
        case tkQuoted:
        case tkCharCode:
        case tkHexCharCode: return &colors_.Str();
        default: return nullptr;
    }
}
