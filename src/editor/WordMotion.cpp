// Word movement and word selection: the scheme's tokeniser (or the plain one) over the caret's row or line.
#include "editor/WordMotion.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "editor/EditorStringList.h"
#include "editor/Fountain.h"
#include "editor/FountainParser.h"

namespace {

// Word movement sees no brackets: element index -2.
constexpr TokenStartState kWordState{kBracketsOff, tkEnd, 0};

// Token start of the first (or last) word token after (or before) `pos`; -1 when there is none.
int wordStartAfter(TTokenParser& parser, std::string_view text, int pos) {
    parser.Start(text, kWordState);
    for (TTokenKind k = parser.Next(); k != tkEnd; k = parser.Next()) {
        if (k != tkSymbol && static_cast<int>(parser.SourcePos()) > pos) return static_cast<int>(parser.SourcePos());
    }
    return -1;
}

int wordStartBefore(TTokenParser& parser, std::string_view text, int pos) {
    int found = -1;
    parser.Start(text, kWordState);
    for (TTokenKind k = parser.Next(); k != tkEnd && static_cast<int>(parser.SourcePos()) < pos; k = parser.Next()) {
        if (k != tkSymbol) found = static_cast<int>(parser.SourcePos());
    }
    return found;
}

}  // namespace

RowPos NextWordStart(const TEditorStringList& rows, const TFountain& fountain, RowPos caret) {
    const int count = rows.Count();
    if (caret.row < 0 || caret.row >= count) return caret;  // the phantom row, or an empty text
    const std::string_view text = rows.RowView(caret.row);
    const int length = static_cast<int>(text.size());
    const TRowAttribute attribute = rows.RowAttribute(caret.row);
    if (caret.pos >= length) {
        if (attribute == raTextEnd) return caret;  // nothing follows the text's last row
        return {caret.row + 1, 0};
    }
    const auto parser = fountain.CreateParser();
    const int start = wordStartAfter(*parser, text, caret.pos);
    if (start >= 0) return {caret.row, start};
    if (attribute == raWrapped && caret.row + 1 < count) return {caret.row + 1, 0};
    return {caret.row, length};
}

RowPos PrevWordStart(const TEditorStringList& rows, const TFountain& fountain, RowPos caret) {
    const int count = rows.Count();
    if (caret.row < 0 || caret.row > count || count == 0) return caret;
    // The phantom row exists only after a final line break.
    if (caret.row == count && rows.RowAttribute(count - 1) != raLineEnd) return caret;
    const auto parser = fountain.CreateParser();
    RowPos at = caret;
    if (at.row == count) at.pos = 0;  // the phantom row has no text
    if (at.pos <= 0) {
        if (at.row == 0) return {0, 0};
        at = {at.row - 1, rows.RowLength(at.row - 1)};
        if (rows.RowAttribute(at.row) != raWrapped) return at;  // that row ends a line: stay at its end
    }
    const std::string_view text = rows.RowView(at.row);
    const int start = wordStartBefore(*parser, text, std::min(at.pos, static_cast<int>(text.size())));
    if (start >= 0) return {at.row, start};
    if (at.row == 0) return {0, 0};
    return {at.row - 1, rows.RowLength(at.row - 1)};
}

std::optional<WordSpan> WordAtCaret(const TEditorStringList& rows, RowPos caret) {
    const int count = rows.Count();
    if (caret.row < 0 || caret.row >= count || caret.pos < 0 || caret.pos >= rows.RowLength(caret.row)) {
        return std::nullopt;
    }
    // The logical line: back over the rows a soft wrap continues, then on to the row that ends the line.
    int first = caret.row;
    while (first > 0 && rows.RowAttribute(first - 1) == raWrapped) --first;
    std::string line;
    int offset = 0;  // the caret's byte in the line
    for (int r = first; r < count; ++r) {
        if (r == caret.row) offset = static_cast<int>(line.size()) + caret.pos;
        line.append(rows.RowView(r));
        if (rows.RowAttribute(r) != raWrapped) break;
    }
    TTokenParser parser;
    parser.Start(line);
    for (TTokenKind k = parser.Next(); k != tkEnd; k = parser.Next()) {
        const int start = static_cast<int>(parser.SourcePos());
        const int end = start + static_cast<int>(parser.TokenLength());
        if (offset < start) break;  // in blanks before this token
        if (offset < end) {
            // Back from a line offset to its row.
            int row = first;
            int pos = start;
            while (row < count && pos >= rows.RowLength(row) && rows.RowAttribute(row) == raWrapped) {
                pos -= rows.RowLength(row);
                ++row;
            }
            return WordSpan{{row, pos}, end - start};
        }
    }
    return std::nullopt;
}
