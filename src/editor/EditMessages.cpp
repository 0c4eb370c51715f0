// Edit-control message answers over the rows of the store.
#include "editor/EditMessages.h"

#include <algorithm>

#include "editor/RowBaseList.h"

namespace editmsg {
namespace {

bool hasPhantomRow(const TRowBaseList& rows) {
    const int n = rows.Count();
    return n == 0 || rowbits::rowAttribute(rows.Attribute(n - 1)) == raLineEnd;
}

}  // namespace

int LineCount(const TRowBaseList& rows) { return rows.Count() + (hasPhantomRow(rows) ? 1 : 0); }

std::int64_t LineIndex(const TRowBaseList& rows, int line, int currentRow) {
    if (line == -1) line = currentRow;
    if (line < 0 || line >= LineCount(rows)) return -1;
    return rows.RowOffset(std::min(line, rows.Count()));
}

int LineFromChar(const TRowBaseList& rows, std::int64_t offset, int currentRow) {
    if (offset == -1) return std::max(0, currentRow);
    if (rows.Count() == 0) return 0;
    if (offset >= rows.TextLength()) return LineCount(rows) - 1;
    return rows.RowFromOffset(offset);
}

int LineLength(const TRowBaseList& rows, std::int64_t offset, int currentRow) {
    const int line = LineFromChar(rows, offset, currentRow);
    return line < rows.Count() ? rows.RowLength(line) : 0;
}

std::string LineText(const TRowBaseList& rows, int line) {
    if (line < 0 || line >= rows.Count()) return {};
    return rows.Get(line);
}

}  // namespace editmsg
