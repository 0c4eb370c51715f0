// The answers of the edit-control messages that concern the text: line count, line index and length, line from
// offset, line text. Rows are lines here; offsets count CR LF after raLineEnd rows.
#pragma once

#include <cstdint>
#include <string>

class TRowBaseList;

namespace editmsg {

// Rows, plus the phantom row when the text is empty or ends with a line break (where the caret may stand).
int LineCount(const TRowBaseList& rows);
// Offset of the first byte of `line` (-1: `currentRow`); -1 when the line does not exist.
std::int64_t LineIndex(const TRowBaseList& rows, int line, int currentRow);
// Length of the line holding `offset` (-1: the line `currentRow`).
int LineLength(const TRowBaseList& rows, std::int64_t offset, int currentRow);
// Line holding `offset` (-1: `currentRow`); offsets past the end give the last line.
int LineFromChar(const TRowBaseList& rows, std::int64_t offset, int currentRow);
// Text of `line` without its break; empty for the phantom row or a line that does not exist.
std::string LineText(const TRowBaseList& rows, int line);

}  // namespace editmsg
