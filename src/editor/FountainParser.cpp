// The colour scheme's tokeniser and the token part of the row state update.
#include "editor/FountainParser.h"

#include <cstring>

#include "core/AppError.h"
#include "core/ByteFind.h"

namespace {
const TFountain* fountainRequired(const TFountain* fountain) {
    if (!fountain) throw AppError("TFountainParser.Create need instance of TFountain");
    return fountain;
}
}  // namespace

TFountainParser::TFountainParser(const TFountain* fountain) : fountain_(fountainRequired(fountain)) {
    const TFountainBracketCollection& pairs = fountain_->Brackets();
    brackets_.reserve(static_cast<std::size_t>(pairs.Count()));
    for (int k = 0; k < pairs.Count(); ++k) brackets_.push_back({pairs[k].LeftBracket(), pairs[k].RightBracket()});
    startRulesPrepare();
}

bool TFountainParser::IsReserved() const {
    const TTokenKind kind = Token();
    if (kind == tkEnd || kind == tkBracket || kind == tkComment) return false;
    return fountain_->IsReserveWord(TokenString());
}

const TFountainColor* TFountainParser::ColorOf() const {
    if (IsReserved()) return &fountain_->Reserve();
    if (Token() == tkBracket && BracketIndex() >= 0 && BracketIndex() < fountain_->Brackets().Count()) {
        return &fountain_->Brackets()[BracketIndex()].ItemColor();
    }
    return nullptr;
}

TokenStartState TFountainParser::RowEndState(std::string_view text, std::size_t rowLength, bool wrapped,
                                             const TokenStartState& start) {
    const std::string_view row = text.substr(0, rowLength);
    if (row.find_first_not_of(' ') == std::string_view::npos) return start;  // empty or only spaces

    // Only a bracket token changes the element index, and one can start only at a byte that starts a left
    // bracket (outside) or end only at the first byte of the right bracket (inside). A row holding no such byte
    // hands its element index on without being tokenised: most rows of a script.
    if (!wrapped && start.wrappedKind == tkEnd) {
        const int element = elementIndexFor(start.elementIndex);
        auto holds = [&row](char b) { return bytefind::find(row.data(), row.size(), b) != nullptr; };
        bool quiet = true;
        if (element == kOutsideBrackets) {
            for (char b : leftBracketFirstBytes()) quiet = quiet && !holds(b);
        } else if (element >= 0) {
            quiet = !holds(brackets_[static_cast<std::size_t>(element)].right[0]);
        }
        if (quiet) return TokenStartState{element, tkEnd, 0};
        if (element == kOutsideBrackets && openersSkippable()) {
            // Only the tokens that start at an opener are made; one left open decides the row.
            for (std::size_t i = nextOpener(row, 0); i < row.size(); i = nextOpener(row, i)) {
                Start(row.substr(i), TokenStartState{kOutsideBrackets, tkEnd, 0});
                if (Next() == tkEnd) break;
                if (ElementIndex() != kOutsideBrackets) return TokenStartState{ElementIndex(), tkEnd, 0};
                i += SourcePos() + TokenLength();
            }
            return TokenStartState{kOutsideBrackets, tkEnd, 0};
        }
    }

    Start(text, start);
    TokenStartState next;
    next.elementIndex = ElementIndex();
    while (Next() != tkEnd && SourcePos() < rowLength) {
        next.elementIndex = ElementIndex();
        const std::size_t tokenEnd = SourcePos() + TokenLength();
        if (!wrapped || tokenEnd <= rowLength) continue;
        // The token runs past the wrap. A bracket carries on through its element index unless the wrap cut its
        // right bracket; any other token is continued on the next row by kind and remainder.
        if (Token() == tkBracket) {
            const int pair = BracketIndex();
            next.elementIndex = pair;
            const std::size_t rightLength = brackets_[static_cast<std::size_t>(pair)].right.size();
            if (BracketClosed() && tokenEnd < rowLength + rightLength) {  // the right bracket starts on this row
                next.wrappedKind = tkBracket;
                next.wrappedRemain = static_cast<int>(tokenEnd - rowLength);
            }
        } else {
            next.wrappedKind = Token();
            next.wrappedRemain = static_cast<int>(tokenEnd - rowLength);
        }
        break;
    }
    return next;
}
