// The editor core's editing: typing, Enter, Back-space, Tab, Delete, the selection operations, the clipboard
// texts, the keys and the mouse. Every change is one ReplaceRows call, so one undo step.
#include <algorithm>
#include <cstdlib>

#include "core/Cp932.h"
#include "editor/EditorCore.h"
#include "editor/EditorScreenStrings.h"
#include "editor/Fountain.h"
#include "editor/RowBlockEdit.h"

namespace editor {

namespace {

std::string spaces(int n) { return std::string(static_cast<std::size_t>(std::max(0, n)), ' '); }

// Spaces, tabs and full-width spaces only (an empty row counts).
bool blanksOnly(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b == ' ' || b == '\t') continue;
        if (b == 0x81 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x40) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

bool isTrailByte(unsigned char b) noexcept { return b >= 0x40; }

}  // namespace

void EditorCore::replaceRow(int row, std::string_view newText) {
    const int count = store_->Count();
    if (row >= count) {
        store_->ReplaceRows(count, 0, newText);
        return;
    }
    std::string text(newText);
    if (store_->RowAttribute(row) == raLineEnd) text += "\r\n";
    store_->ReplaceRows(row, 1, text);
}

// ---- typing ----------------------------------------------------------------------------------------------------

void EditorCore::TypeText(std::string_view text) {
    if (readOnly_ || text.empty()) return;
    if (Selected()) {
        ReplaceSelection(text);
        return;
    }
    state_ = sstNone;
    const int row = caret_.row;
    const RowInfo info = rowInfo(row);
    const int pos = caret_.pos;
    const int keep = std::min(pos, info.length);
    std::string newRow(info.text.substr(0, static_cast<std::size_t>(keep)));
    newRow.append(spaces(pos - info.length));  // a caret past the row end: padded up to it
    std::string_view rest = info.text.substr(static_cast<std::size_t>(keep));
    int leftover = 0;
    if (overwrite_ && !rest.empty()) {
        // The characters covering the typed width go; half a double-byte character left over becomes a space.
        const int width = static_cast<int>(text.size());
        int covered = 0;
        int col = caretCol_;
        std::size_t used = 0;
        while (covered < width && used < rest.size()) {
            int w = 1;
            if (info.code(col) == columncode::kLead) {
                w = 2;
            } else if (info.code(col) == columncode::kDelimiter && rest[used] == '\t') {
                while (info.code(col + w) == columncode::kTabBlank) ++w;
            }
            used += cp932::charLength(rest, used);
            covered += w;
            col += w;
        }
        leftover = covered - width;
        rest = rest.substr(used);
    }
    newRow.append(text.data(), text.size());
    newRow.append(spaces(leftover));
    newRow.append(rest.data(), rest.size());
    const LinePos at = toLinePos({row, pos});
    replaceRow(row, newRow);
    placeCaret(fromLinePos(advance(at, text)));
}

void EditorCore::Char(std::string_view ch, KeyState state) {
    if (ch.empty() || ch.size() > 2) return;
    const auto b = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 2) {
        if (!cp932::isLeadByte(b) || !isTrailByte(static_cast<unsigned char>(ch[1]))) return;
    } else if (b >= 0x20 && b != 0x7F && b != 0x80 && !cp932::isLeadByte(b) && !(b > 0x80 && b < 0xA0)) {
        // a single-byte character
    } else {
        switch (b) {  // control codes are never an echo
            case key::kReturn: Enter(state.shift); break;
            case key::kBack: BackSpace(); break;
            case key::kTab: Tab(state); break;
            default: break;  // other control codes, and a lead byte without its trail, are dropped
        }
        return;
    }
    if (imeEcho_ > 0) {
        // An echo of an IME result already typed.
        imeEcho_ = std::max(0, imeEcho_ - static_cast<int>(ch.size()));
        return;
    }
    TypeText(ch);
}

void EditorCore::ImeResult(std::string_view text) {
    if (readOnly_ || text.empty()) return;
    imeEcho_ = static_cast<int>(text.size());
    TypeText(text);
}

void EditorCore::Enter(bool shift) {
    if (readOnly_) return;
    cancelHitSelection();
    if (Selected()) {
        if (shift) return;
        DeleteSelection();
    }
    state_ = sstNone;
    const int count = store_->Count();
    if (caret_.row >= count) {
        store_->ReplaceRows(count, 0, "\r\n");
        moveCaret(store_->Count(), 0, Move::Left);
        return;
    }
    if (overwrite_) {
        moveCaret(caret_.row + 1, 0, Move::Left);
        return;
    }
    const int ts = caretOptions_.TabSpaceCount();
    const int line = store_->LineOfRow(caret_.row);
    const int first = store_->LineFirstRow(line);
    int indent = 0;
    if (caretOptions_.AutoIndent()) {
        int width = IndentWidth(store_->RowView(first), ts);
        if (width < 0 && caretOptions_.PrevSpaceIndent()) {
            for (int r = first - 1; r >= 0 && width < 0; --r) {
                if (r == 0 || store_->RowAttribute(r - 1) != raWrapped) width = IndentWidth(store_->RowView(r), ts);
            }
        }
        if (caret_.row == first && caretCol_ < width) width = caretCol_;
        indent = width < 1 ? 0 : width;
    }
    const std::string indentText = caretOptions_.TabIndent()
                                       ? std::string(static_cast<std::size_t>(indent / ts), '\t') + spaces(indent % ts)
                                       : spaces(indent);
    if (shift) {
        store_->ReplaceRows(first, 0, indentText + "\r\n");
        placeCaret({first, static_cast<int>(indentText.size())});
        return;
    }
    const RowInfo info = rowInfo(caret_.row);
    const int pos = std::min(caret_.pos, info.length);
    std::string text(info.text.substr(0, static_cast<std::size_t>(pos)));
    text += "\r\n";
    text += indentText;
    text.append(info.text.substr(static_cast<std::size_t>(pos)));
    const LinePos at = toLinePos({caret_.row, pos});
    replaceRow(caret_.row, text);
    placeCaret(fromLinePos({at.line + 1, static_cast<int>(indentText.size())}));
}

void EditorCore::BackSpace() {
    if (readOnly_) return;
    if (Selected()) {
        DeleteSelection();
        return;
    }
    state_ = sstNone;
    if (store_->Count() == 0) return;
    const int row = caret_.row;
    const RowInfo info = rowInfo(row);
    if (caret_.pos == 0) {
        if (row == 0) return;
        const RowInfo prev = rowInfo(row - 1);
        std::string text(prev.text);
        int joinAt = prev.length;
        if (prev.attribute == raWrapped) {
            // The row continues a wrapped line: its last character goes.
            joinAt = static_cast<int>(cp932::prevCharPos(prev.text, prev.text.size()));
            text.resize(static_cast<std::size_t>(joinAt));
        }
        const LinePos at = toLinePos({row - 1, joinAt});
        store_->ReplaceRows(row - 1, 1, text);  // without its line break: the two rows join
        placeCaret(fromLinePos(at));
        return;
    }
    if (caret_.pos > info.length) {
        moveCaret(row, caretCol_ - 1, Move::Left);  // past the row end (free caret): a move only
        return;
    }
    if (caretOptions_.BackSpaceUnIndent() && unindent(info)) return;
    // The character before the caret: a double-byte character whole, a tab with its blank columns.
    const auto start = static_cast<int>(cp932::prevCharPos(info.text, static_cast<std::size_t>(caret_.pos)));
    std::string text(info.text.substr(0, static_cast<std::size_t>(start)));
    text.append(info.text.substr(static_cast<std::size_t>(caret_.pos)));
    const LinePos at = toLinePos({row, start});
    replaceRow(row, text);
    placeCaret(fromLinePos(at));
}

bool EditorCore::unindent(const RowInfo& info) {
    const int ts = caretOptions_.TabSpaceCount();
    const int row = caret_.row;
    if (caretCol_ == 0) return false;
    if (!blanksOnly(info.text) && caretCol_ != IndentWidth(info.text, ts)) return false;
    // The target: the nearest row above with a smaller indent (for rows of earlier lines, one above 0).
    const int lineFirst = store_->LineFirstRow(store_->LineOfRow(row));
    int target = 0;
    for (int r = row - 1; r >= 0; --r) {
        const int w = IndentWidth(store_->RowView(r), ts);
        if (r >= lineFirst ? w < caretCol_ : (w > 0 && w < caretCol_)) {
            target = std::max(0, w);
            break;
        }
    }
    // Blanks wholly left of the target stay; one straddling it becomes spaces up to it; the rest up to the caret
    // goes.
    std::string out;
    int col = 0;
    std::size_t i = 0;
    const std::string_view text = info.text;
    while (i < text.size() && col < caretCol_) {
        const auto b = static_cast<unsigned char>(text[i]);
        int width;
        std::size_t bytes = 1;
        if (b == ' ') {
            width = 1;
        } else if (b == '\t') {
            width = ts - col % ts;
        } else if (b == 0x81 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x40) {
            width = 2;
            bytes = 2;
        } else {
            break;
        }
        if (col + width <= target) {
            out.append(text.substr(i, bytes));
        } else if (col < target) {
            out.append(spaces(target - col));
        }
        col += width;
        i += bytes;
    }
    const int kept = static_cast<int>(out.size());
    out.append(text.substr(i));
    const LinePos at = toLinePos({row, 0});
    replaceRow(row, out);
    placeCaret(fromLinePos({at.line, at.offset + kept}));
    return true;
}

void EditorCore::Tab(KeyState state) {
    if (state.shift || state.ctrl || readOnly_ || !wantTabs_) return;
    const int ts = caretOptions_.TabSpaceCount();
    int width = ts - caretCol_ % ts;
    if (store_->WordWrap()) {
        const int wrap = store_->WrapOption().WrapByte();
        width = std::min(width, wrap - caretCol_ % wrap);
    }
    if (overwrite_) {
        moveCaret(caret_.row, caretCol_ + width, Move::Right);
    } else if (caretOptions_.SoftTab()) {
        TypeText(spaces(width));
    } else {
        TypeText("\t");
    }
}

void EditorCore::Delete() {
    if (readOnly_) return;
    cancelHitSelection();
    if (Selected()) {
        DeleteSelection();
        return;
    }
    state_ = sstNone;
    const int row = caret_.row;
    if (row >= store_->Count()) return;  // an empty text, or the phantom row
    const RowInfo info = rowInfo(row);
    if (caret_.pos < info.length) {
        int col = caretCol_;
        while (info.code(col) == columncode::kTabBlank) --col;  // inside a tab's blanks: the tab itself
        const int start = BytePosOfColumn(info.map, col);
        const auto end = static_cast<int>(cp932::nextCharPos(info.text, static_cast<std::size_t>(start)));
        std::string text(info.text.substr(0, static_cast<std::size_t>(start)));
        text.append(info.text.substr(static_cast<std::size_t>(end)));
        const LinePos at = toLinePos({row, start});
        replaceRow(row, text);
        placeCaret(fromLinePos(at));
        return;
    }
    if (info.attribute == raTextEnd) return;
    const LinePos at = toLinePos(caret_);
    if (info.attribute == raWrapped) {
        // No line break here: the first character of the next row goes.
        const std::string_view next = store_->RowView(row + 1);
        std::string text(next.substr(cp932::nextCharPos(next, 0)));
        replaceRow(row + 1, text);
    } else {
        // Padded up to the caret and joined with the next row, whatever the row's length.
        std::string text(info.text);
        text.append(spaces(caret_.pos - info.length));
        store_->ReplaceRows(row, 1, text);
    }
    placeCaret(fromLinePos(at));
}

// ---- selection operations --------------------------------------------------------------------------------------

void EditorCore::deleteSelectionInto(RowBlockEdit& edit, RowPos& at) const {
    if (mode_ == smBox) {
        for (int r = range_.firstRow; r <= range_.lastRow && r < store_->Count(); ++r) {
            const auto [a, b] = boxSlice(r, range_.firstCol, range_.lastCol);
            edit.Row(r).erase(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
        }
        at = {range_.firstRow, boxSlice(range_.firstRow, range_.firstCol, range_.lastCol).first};
        return;
    }
    edit.Erase({range_.firstRow, range_.firstPos}, {range_.lastRow, range_.lastPos});
    at = {range_.firstRow, range_.firstPos};
}

void EditorCore::DeleteSelection() {
    if (readOnly_ || !Selected()) return;
    RowBlockEdit edit(*store_, range_.firstRow, range_.lastRow);
    RowPos at;
    deleteSelectionInto(edit, at);
    const LinePos lp = toLinePos(at);
    CancelSelection();
    edit.Commit(*store_);
    placeCaret(fromLinePos(lp));
}

void EditorCore::ReplaceSelection(std::string_view text) {
    if (readOnly_ || text.empty()) return;
    const bool selected = Selected();
    RowBlockEdit edit(*store_, selected ? range_.firstRow : caret_.row, selected ? range_.lastRow : caret_.row);
    RowPos at = caret_;
    if (selected) deleteSelectionInto(edit, at);
    const LinePos lp = toLinePos(at);
    edit.Insert(at, text);
    CancelSelection();
    state_ = sstNone;
    edit.Commit(*store_);
    placeCaret(fromLinePos(advance(lp, text)));
}

void EditorCore::insertBlockInto(RowBlockEdit& edit, int startRow, int startCol, std::string_view text,
                                 RowPos& end) const {
    std::vector<std::string_view> lines = SplitLines(text);
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();  // a final line break adds no row
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int row = startRow + static_cast<int>(k);
        std::string& s = edit.Row(row);
        const std::string map = ColumnMap(s, mapOptions());
        int pos;
        if (startCol >= static_cast<int>(map.size()) && BytePosOfColumn(map, static_cast<int>(map.size())) >=
                                                             static_cast<int>(s.size())) {
            s.append(spaces(startCol - static_cast<int>(map.size())));  // a short row: padded up to the column
            pos = static_cast<int>(s.size());
        } else {
            pos = BytePosOfColumn(map, startCol);
            if (startCol < static_cast<int>(map.size()) && map[static_cast<std::size_t>(startCol)] == columncode::kTrail) {
                --pos;  // before that character
            }
        }
        s.insert(static_cast<std::size_t>(pos), lines[k]);
        end = {row, pos + static_cast<int>(lines[k].size())};
    }
}

void EditorCore::InsertBlock(std::string_view text) {
    if (readOnly_ || text.empty()) return;
    std::vector<std::string_view> lines = SplitLines(text);
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    if (lines.size() == 1) {
        ReplaceSelection(lines.front());
        return;
    }
    const bool selected = Selected();
    const int startRow = selected ? range_.firstRow : caret_.row;
    const int startCol = selected ? range_.firstCol : caretCol_;
    const int lastRow = std::min(startRow + static_cast<int>(lines.size()) - 1, store_->Count());
    RowBlockEdit edit(*store_, startRow, std::max(selected ? range_.lastRow : startRow, lastRow));
    RowPos end;
    if (selected) deleteSelectionInto(edit, end);
    insertBlockInto(edit, startRow, startCol, text, end);
    CancelSelection();
    state_ = sstNone;
    edit.Commit(*store_);
    placeCaret(end);
}

void EditorCore::Undo() {
    CancelSelection();
    state_ = sstNone;
    store_->UndoObj().Undo();
}

void EditorCore::Redo() {
    CancelSelection();
    state_ = sstNone;
    store_->UndoObj().Redo();
}

bool EditorCore::CanUndo() const noexcept { return store_->UndoObj().CanUndo(); }
bool EditorCore::CanRedo() const noexcept { return store_->UndoObj().CanRedo(); }

// ---- clipboard -------------------------------------------------------------------------------------------------

ClipText EditorCore::SelectionClip() const { return {SelText(), mode_ == smBox}; }

bool EditorCore::CopyToClipboard() {
    if (!Selected() || !clipboard_) return false;
    return clipboard_->Put(SelectionClip());
}

bool EditorCore::CutToClipboard() {
    if (readOnly_ || !Selected()) return false;
    if (!CopyToClipboard()) return false;  // the text stays where the clipboard could not take it
    DeleteSelection();
    return true;
}

void EditorCore::PasteFromClipboard() {
    if (readOnly_ || !clipboard_) return;
    if (const std::optional<ClipText> clip = clipboard_->Get()) Paste(*clip);
}

void EditorCore::Paste(const ClipText& clip) {
    if (clip.box) {
        InsertBlock(clip.text);
    } else {
        ReplaceSelection(clip.text);
    }
}

// ---- keys ------------------------------------------------------------------------------------------------------

bool EditorCore::KeyDown(int vk, KeyState state) {
    switch (vk) {
        case key::kEscape:
            if (drag_ == DragState::Idle) return false;
            CancelDrag();
            return true;
        case key::kPrior:
        case key::kNext:
        case key::kEnd:
        case key::kHome:
        case key::kLeft:
        case key::kUp:
        case key::kRight:
        case key::kDown:
            navigate(vk, state);
            return true;
        case key::kDelete:
            Delete();
            return true;
        default:
            return false;
    }
}

void EditorCore::navigate(int vk, KeyState state) {
    cancelHitSelection();
    if (state.shift) {
        if (state_ == sstNone) SetAnchor();
    } else {
        CancelSelection();
        state_ = sstNone;
    }
    const int row = caret_.row;
    const int count = store_->Count();
    const int visible = std::max(1, layout_.visibleRows);
    switch (vk) {
        case key::kPrior:
        case key::kNext:
            pageMove(vk, state);
            break;
        case key::kHome:
            moveCaret(state.ctrl ? 0 : row, 0, Move::Left);
            break;
        case key::kEnd: {
            const int target = state.ctrl ? maxCaretRow() : row;
            moveCaret(target, rowInfo(target).displayLength, Move::Right);
            break;
        }
        case key::kLeft:
            if (state.ctrl) {
                placeCaret(PrevWordStart(*store_, viewInfo_->Fountain(),
                                         {row, std::min(caret_.pos, rowInfo(row).length)}));
            } else if (caretCol_ > 0) {
                moveCaret(row, caretCol_ - 1, Move::Left);
            } else if (row > 0 && (caretOptions_.NextLine() || store_->RowAttribute(row - 1) == raWrapped)) {
                moveCaret(row - 1, rowInfo(row - 1).displayLength, Move::Left);
            }
            break;
        case key::kRight:
            if (state.ctrl) {
                placeCaret(NextWordStart(*store_, viewInfo_->Fountain(),
                                         {row, std::min(caret_.pos, rowInfo(row).length)}));
            } else {
                const int before = caretCol_;
                const int grown = normalise(row, caretCol_ + 1, Move::Right);
                if (grown > before) {
                    moveCaret(row, caretCol_ + 1, Move::Right);
                } else if (row < count && store_->RowAttribute(row) != raTextEnd &&
                           (caretOptions_.NextLine() || store_->RowAttribute(row) == raWrapped)) {
                    moveCaret(row + 1, 0, Move::Left);
                }
            }
            break;
        case key::kUp: {
            const int step = state.repeat && row == topRow_ ? speed_.CaretVerticalAc() : 1;
            if (state.ctrl) {
                SetTopRow(topRow_ - step);
                if (row > topRow_ + visible - 1) moveCaret(row - step, caretCol_, Move::Vertical);
            } else {
                moveCaret(row - step, caretCol_, Move::Vertical);
            }
            break;
        }
        case key::kDown: {
            const int step = state.repeat && row == topRow_ + visible - 1 ? speed_.CaretVerticalAc() : 1;
            if (state.ctrl) {
                SetTopRow(topRow_ + step);
                if (row < topRow_) moveCaret(row + step, caretCol_, Move::Vertical);
            } else if (!(row < count && store_->RowAttribute(row) == raTextEnd)) {
                moveCaret(row + step, caretCol_, Move::Vertical);
            }
            break;
        }
        default:
            break;
    }
    if (state.shift) ExtendSelection();
}

void EditorCore::pageMove(int vk, KeyState state) {
    // However small the window, a page moves at least one row.
    const int amount = std::max(1, ((layout_.visibleRows - 1) / 2) * speed_.PageVerticalRange() *
                                       (state.repeat ? speed_.PageVerticalRangeAc() : 1));
    const int count = store_->Count();
    if (vk == key::kPrior) {
        if (topRow_ == 0) {
            moveCaret(0, caretCol_, Move::Vertical);
            return;
        }
        SetTopRow(topRow_ - amount);
        moveCaret(caret_.row - amount, caretCol_, Move::Vertical);
        return;
    }
    if (topRow_ < count && store_->RowAttribute(topRow_) == raTextEnd) return;
    SetTopRow(topRow_ + amount);
    moveCaret(caret_.row + amount, caretCol_, Move::Vertical);
}

// ---- mouse -----------------------------------------------------------------------------------------------------

bool EditorCore::inLeftBar(int x) const noexcept {
    return layout_.leftbarWidth > 0 && x >= 0 && x < layout_.textLeft - layoutOptions_.marginLeft;
}

std::pair<int, int> EditorCore::PositionAt(int x, int y) const {
    const GridOrigin origin{topRow_, topCol_};
    const int row = std::max(0, std::min(RowAtY(layout_, origin, y), maxCaretRow()));
    int col = std::max(0, ColumnAtX(layout_, origin, x));
    const RowInfo info = rowInfo(row);
    // The nearer boundary of a double-byte character or of a tab's blank columns.
    const int px = x - layout_.textLeft + topCol_ * layout_.charWidth;
    if (info.code(col) == columncode::kTrail) {
        col = px < col * layout_.charWidth ? col - 1 : col + 1;
    } else if (info.code(col) == columncode::kTabBlank && !caretOptions_.InTab()) {
        int start = col;
        while (info.code(start) == columncode::kTabBlank) --start;
        int end = col;
        while (info.code(end) == columncode::kTabBlank) ++end;
        col = 2 * px < (start + end) * layout_.charWidth ? start : end;
    }
    return {row, std::max(0, col)};
}

bool EditorCore::inDraggableSelection(int x, int y) const {
    if (readOnly_ || state_ != sstSelected || mode_ != smStream || !caretOptions_.SelMove()) return false;
    if (inLeftBar(x) || y < layout_.textTop || x < layout_.textLeft) return false;
    const GridOrigin origin{topRow_, topCol_};
    const int row = RowAtY(layout_, origin, y);
    const int col = topCol_ + (x - layout_.textLeft) / layout_.charWidth;
    return InSelection(row, col);
}

void EditorCore::selectRows(int from, int to) {
    const int last = maxCaretRow();
    from = std::max(0, std::min(from, last));
    to = std::max(0, std::min(to, last));
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    const RowPos top{lo, 0};
    const RowPos bottom = hi + 1 <= last ? RowPos{hi + 1, 0} : RowPos{hi, rowInfo(hi).length};
    if (to >= from) {
        setSelection(top, bottom);
    } else {
        setSelection(bottom, top);
    }
}

void EditorCore::MouseDown(int x, int y, KeyState state) {
    pressX_ = x;
    pressY_ = y;
    moved_ = false;
    const auto [row, col] = PositionAt(x, y);
    if (state.shift) {
        if (state_ == sstNone) SetAnchor();
        moveCaret(row, col, Move::Left);
        ExtendSelection();
        selecting_ = true;
        return;
    }
    if (inLeftBar(x) && caretOptions_.RowSelect()) {
        rowSelectOrigin_ = row;
        rowSelecting_ = true;
        selectRows(row, row);
        return;
    }
    if (inDraggableSelection(x, y)) {
        moveCaret(row, col, Move::Left);
        if (caretOptions_.SelDragMode() == dmAutomatic) drag_ = DragState::Pending;
        return;
    }
    CancelSelection();
    moveCaret(row, col, Move::Left);
    SetAnchor();
    selecting_ = true;
}

void EditorCore::MouseMove(int x, int y, bool leftDown, bool ctrl) {
    (void)ctrl;
    if (!leftDown) return;
    const int threshold = std::max(1, layout_.charWidth / 2);
    if (!moved_ && (std::abs(x - pressX_) >= threshold || std::abs(y - pressY_) >= threshold)) moved_ = true;
    if (drag_ == DragState::Pending) {
        if (!moved_) return;
        drag_ = DragState::Dragging;
    }
    if (drag_ == DragState::Dragging) {
        const auto [row, col] = PositionAt(x, y);
        moveCaret(row, col, Move::Left);  // the caret shows where the text will go
        return;
    }
    if (rowSelecting_) {
        selectRows(rowSelectOrigin_, RowAtY(layout_, {topRow_, topCol_}, y));
        return;
    }
    if (!selecting_ || !moved_) return;
    const auto [row, col] = PositionAt(x, y);
    if (y < layout_.textTop) {
        moveCaret(caret_.row - 1, col, Move::Left);  // above the text: one row up per move
    } else {
        moveCaret(row, col, Move::Left);
    }
    ExtendSelection();
}

void EditorCore::MouseUp(int x, int y, bool ctrl, bool inClient) {
    selecting_ = false;
    rowSelecting_ = false;
    if (drag_ == DragState::Pending) {
        drag_ = DragState::Idle;
        CancelSelection();
        return;
    }
    if (drag_ != DragState::Dragging) return;
    drag_ = DragState::Idle;
    const auto [row, col] = PositionAt(x, y);
    const RowPos at{row, posOfCol(row, col)};
    const RowPos first{range_.firstRow, range_.firstPos};
    const RowPos last{range_.lastRow, range_.lastPos};
    const auto before = [](RowPos a, RowPos b) { return a.row < b.row || (a.row == b.row && a.pos < b.pos); };
    if (!inClient || readOnly_ || (!before(at, first) && !before(last, at))) {
        CancelSelection();  // outside the window or inside the selection itself
        return;
    }
    drop(at, ctrl);
}

void EditorCore::CancelDrag() {
    if (drag_ == DragState::Idle) return;
    drag_ = DragState::Idle;
    selecting_ = false;
    CancelSelection();
    view_->CaretChanged();
}

void EditorCore::drop(RowPos at, bool copy) {
    if (readOnly_ || !Selected() || mode_ != smStream) return;
    const RowPos first{range_.firstRow, range_.firstPos};
    const RowPos last{range_.lastRow, range_.lastPos};
    const std::string text = SelText();
    const bool after = at.row > last.row || (at.row == last.row && at.pos >= last.pos);
    RowBlockEdit edit(*store_, std::min(first.row, at.row), std::max(last.row, at.row));
    RowPos start = at;
    RowPos end;
    if (copy) {
        end = edit.Insert(at, text);
    } else if (after) {
        // Inserted first, so that the selection's positions still hold; then the selection goes and the
        // dropped text moves up with the rows after it.
        end = edit.Insert(at, text);
        edit.Erase(first, last);
        const int rowsGone = last.row - first.row;
        auto shift = [&](RowPos p) {
            if (p.row == last.row) return RowPos{first.row, first.pos + (p.pos - last.pos)};
            return RowPos{p.row - rowsGone, p.pos};
        };
        start = shift(start);
        end = shift(end);
    } else {
        edit.Erase(first, last);
        end = edit.Insert(at, text);
    }
    CancelSelection();
    edit.Commit(*store_);
    // The dropped text is selected.
    setSelection(start, end);
}

TCursor EditorCore::CursorAt(int x, int y, bool ctrl) const {
    const TEditorCursors& c = caretOptions_.Cursors();
    if (drag_ == DragState::Dragging) return ctrl ? c.DragSelCopyCursor() : c.DragSelCursor();
    if (!caretOptions_.AutoCursor()) return c.DefaultCursor();
    if (inLeftBar(x)) return c.LeftMarginCursor();
    if (y < layout_.textTop) return c.TopMarginCursor();
    if (inDraggableSelection(x, y)) return c.InSelCursor();
    return c.DefaultCursor();
}

}  // namespace editor
