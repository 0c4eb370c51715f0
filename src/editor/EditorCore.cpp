// The editor core: construction, caret normalisation, the selection, offsets, the view origin and the store's
// notifications. Editing, keys, mouse and clipboard are in EditorEditing.cpp.
#include "editor/EditorCore.h"

#include <algorithm>
#include <cstdlib>

#include "core/Cp932.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorStrings.h"
#include "editor/Fountain.h"
#include "editor/RowStates.h"

namespace editor {


EditorCore::EditorCore(std::shared_ptr<TEditorScreenStrings> store)
    : store_(store ? std::move(store) : std::make_shared<TEditorScreenStrings>()),
      viewInfo_(std::make_unique<TEditorViewInfo>()),
      states_(std::make_unique<RowStates>()) {
    lines_ = std::make_unique<TEditorStrings>(*store_, this);
    store_->Attach(this);
    states_->SetView(viewInfo_.get());
    states_->Watch(store_.get());
    // The rows whose state an edit changed are repainted by the edit's change record.
    states_->OnRebuilt = [this] { view_->InvalidateAll(); };
    if (!store_->StateUpdater()) store_->SetRowStateUpdater(states_.get());
    // The store holds the column rules every editor of it shares; the caret's tab width is pushed there.
    caretOptions_.SetTabSpaceCount(store_->TabSpaceCount());
    caretOptions_.OnChange = [this] { caretOptionsChanged(); };
    speed_.OnChange = [this] { states_->SetInitBracketsFull(speed_.InitBracketsFull()); };
    updateLayout();
}

EditorCore::~EditorCore() {
    if (store_->StateUpdater() == states_.get()) store_->SetRowStateUpdater(nullptr);
    store_->Detach(this);
    states_->SetView(nullptr);
}

void EditorCore::SetView(EditorView* view) noexcept { view_ = view ? view : &nullView_; }
void EditorCore::SetClipboard(ClipboardPort* port) noexcept { clipboard_ = port; }

bool EditorCore::WordWrap() const noexcept { return store_->WordWrap(); }
void EditorCore::SetWordWrap(bool on) {
    CancelSelection();
    store_->SetWordWrap(on);
    moveCaret(caret_.row, caretCol_, Move::Left);
    view_->InvalidateAll();
}
int EditorCore::UndoListMax() const noexcept { return store_->UndoObj().UndoListMax(); }
void EditorCore::SetUndoListMax(int value) noexcept { store_->UndoObj().SetUndoListMax(value); }

const DelimiterSet& EditorCore::Delimiters() const noexcept { return store_->Delimiters(); }

void EditorCore::SetDelimiters(const DelimiterSet& set) {
    store_->SetDelimiters(set);
    moveCaret(caret_.row, caretCol_, Move::Left);
    view_->InvalidateAll();
}

void EditorCore::SetOverwrite(bool value) {
    if (overwrite_ == value) return;
    overwrite_ = value;
    view_->CaretChanged();
}

void EditorCore::caretOptionsChanged() {
    store_->SetTabSpaceCount(caretOptions_.TabSpaceCount());
    // The tab width may have changed the columns: the caret is put back on a character start.
    moveCaret(caret_.row, caretCol_, Move::Left);
    view_->InvalidateAll();
    view_->CaretChanged();
}

// ---- rows ----------------------------------------------------------------------------------------------------

ColumnMapOptions EditorCore::mapOptions() const noexcept { return store_->ColumnOptions(); }

EditorCore::RowInfo EditorCore::rowInfo(int row) const {
    RowInfo info;
    if (row < 0 || row >= store_->Count()) return info;  // the phantom row: empty
    info.text = store_->RowView(row);
    info.length = static_cast<int>(info.text.size());
    info.attribute = store_->RowAttribute(row);
    info.map = ColumnMap(info.text, mapOptions());
    const int mapped = BytePosOfColumn(info.map, static_cast<int>(info.map.size()));
    // A row longer than the view limit: its display length lies past the limit, whatever its exact value.
    info.displayLength = mapped >= info.length ? static_cast<int>(info.map.size()) : kColumnMapLimit + 1;
    return info;
}

bool EditorCore::hasPhantomRow() const {
    const int count = store_->Count();
    return count == 0 || store_->RowAttribute(count - 1) != raTextEnd;
}

int EditorCore::maxCaretRow() const {
    const int count = store_->Count();
    return hasPhantomRow() ? count : count - 1;
}

int EditorCore::LastTopRow() const { return std::max(0, maxCaretRow()); }

int EditorCore::posOfCol(int row, int col) const {
    const RowInfo info = rowInfo(row);
    if (col <= static_cast<int>(info.map.size())) return BytePosOfColumn(info.map, col);
    return info.length + (col - static_cast<int>(info.map.size()));  // past the end: padding
}

int EditorCore::colOfPos(int row, int pos) const {
    const RowInfo info = rowInfo(row);
    return ColumnOfBytePos(info.map, std::max(0, pos));
}

// ---- caret ---------------------------------------------------------------------------------------------------

int EditorCore::normalise(int row, int col, Move move) {
    const RowInfo info = rowInfo(row);
    const int dir = move == Move::Right ? 1 : -1;
    col = std::max(0, std::min(col, kColumnMapLimit + 1));
    if (move == Move::Vertical) {
        if (rememberedCol_ >= 0) col = rememberedCol_;
    } else {
        rememberedCol_ = -1;
    }
    if (!caretOptions_.FreeCaret() && col > info.displayLength &&
        !(move == Move::Vertical && caretOptions_.FreeRow())) {
        if (caretOptions_.KeepCaret() && move == Move::Vertical && rememberedCol_ < 0) rememberedCol_ = col;
        col = info.displayLength;
    }
    auto offCharacterInside = [&](int d) {
        if (info.code(col) == columncode::kTrail) col += d;
        if (!caretOptions_.InTab()) {
            while (info.code(col) == columncode::kTabBlank) col += d;
        }
        col = std::max(0, col);
    };
    offCharacterInside(dir);
    if (store_->WordWrap() && col >= info.displayLength && row < store_->Count()) {
        if (info.attribute == raWrapped) {
            col = std::max(0, info.displayLength - 1);
        } else {
            col = std::min(col, store_->WrapOption().WrapByte() - 1);
        }
        offCharacterInside(-1);
    }
    if (col > kColumnMapLimit) col = kColumnMapLimit;
    // Column 1000 may be the second half of a character the limit cut: the caret stops before it.
    if (col == kColumnMapLimit && info.code(kColumnMapLimit - 1) == columncode::kLead) col = kColumnMapLimit - 1;
    return col;
}

void EditorCore::moveCaret(int row, int col, Move move) {
    row = std::max(0, std::min(row, maxCaretRow()));
    caretCol_ = normalise(row, col, move);
    caret_ = {row, posOfCol(row, caretCol_)};
    caretMoved();
}

void EditorCore::placeCaret(RowPos p) {
    const int row = std::max(0, std::min(p.row, maxCaretRow()));
    moveCaret(row, colOfPos(row, p.pos), Move::Left);
}

void EditorCore::caretMoved() {
    if (caretSuspend_ > 0) {
        caretPending_ = true;
        return;
    }
    scrollCaretIntoView();
    view_->CaretChanged();
    if (OnCaretMoved) OnCaretMoved();
}

// A caret set from outside leaves an anchor behind: nothing would extend from it any more.
void EditorCore::SetCaretPos(int row, int col) {
    if (state_ == sstAnchored) state_ = sstNone;
    moveCaret(row, col, Move::Left);
}
void EditorCore::SetCaretRow(int row) {
    if (state_ == sstAnchored) state_ = sstNone;
    moveCaret(row, caretCol_, Move::Vertical);
}
void EditorCore::SetCaretCol(int col) {
    if (state_ == sstAnchored) state_ = sstNone;
    moveCaret(caret_.row, col, col > caretCol_ ? Move::Right : Move::Left);
}

void EditorCore::SetFocused(bool focused) {
    if (focused_ == focused) return;
    focused_ = focused;
    view_->CaretChanged();
}

void EditorCore::HideCaret() {
    if (caretHide_++ == 0) view_->CaretChanged();
}

void EditorCore::ShowCaret() {
    if (caretHide_ == 0) return;
    if (--caretHide_ == 0) view_->CaretChanged();
}

int EditorCore::CaretX() const noexcept { return ColumnLeft(layout_, {topRow_, topCol_}, caretCol_); }
int EditorCore::CaretY() const noexcept { return RowTop(layout_, {topRow_, topCol_}, caret_.row); }

EditorCore::LinePos EditorCore::toLinePos(RowPos p) const {
    const int count = store_->Count();
    if (p.row >= count) return {store_->LineCount(), 0};
    const int line = store_->LineOfRow(p.row);
    int offset = p.pos;
    for (int r = store_->LineFirstRow(line); r < p.row; ++r) offset += store_->RowLength(r);
    return {line, offset};
}

RowPos EditorCore::fromLinePos(LinePos p) const {
    const int count = store_->Count();
    int row = store_->LineFirstRow(p.line);
    int pos = p.offset;
    while (row < count) {
        const int len = store_->RowLength(row);
        if (pos < len || store_->RowAttribute(row) != raWrapped || row + 1 >= count) break;
        pos -= len;
        ++row;
    }
    return {row, pos};
}

EditorCore::LinePos EditorCore::advance(LinePos p, std::string_view inserted) {
    int breaks = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < inserted.size(); ++i) {
        if (inserted[i] != '\r' && inserted[i] != '\n') continue;
        if (inserted[i] == '\r' && i + 1 < inserted.size() && inserted[i + 1] == '\n') ++i;
        ++breaks;
        start = i + 1;
    }
    if (breaks == 0) return {p.line, p.offset + static_cast<int>(inserted.size())};
    return {p.line + breaks, static_cast<int>(inserted.size() - start)};
}

// ---- selection -----------------------------------------------------------------------------------------------

SelectionRange EditorCore::rangeFor(RowPos a, int aCol, RowPos b, int bCol) const {
    SelectionRange r;
    if (mode_ == smBox) {
        r.firstRow = std::min(a.row, b.row);
        r.lastRow = std::max(a.row, b.row);
        r.firstCol = std::min(aCol, bCol);
        r.lastCol = std::max(aCol, bCol);
        r.firstPos = posOfCol(r.firstRow, r.firstCol);
        r.lastPos = posOfCol(r.lastRow, r.lastCol);
        return r;
    }
    // A stream runs between character positions: a caret past the row end counts as the end.
    auto cut = [this](RowPos p, int col) {
        const RowInfo info = rowInfo(p.row);
        if (p.pos > info.length) return std::make_pair(RowPos{p.row, info.length}, ColumnOfBytePos(info.map, info.length));
        return std::make_pair(p, col);
    };
    auto [pa, ca] = cut(a, aCol);
    auto [pb, cb] = cut(b, bCol);
    if (pb.row < pa.row || (pb.row == pa.row && pb.pos < pa.pos)) {
        std::swap(pa, pb);
        std::swap(ca, cb);
    }
    r = {pa.row, ca, pa.pos, pb.row, cb, pb.pos};
    return r;
}

void EditorCore::repaintRange(const SelectionRange& r) { view_->InvalidateRows(r.firstRow, r.lastRow); }

void EditorCore::SetAnchor() {
    if (Selected()) CancelSelection();
    if (store_->Count() == 0) return;  // nothing to select in an empty text
    anchor_ = caret_;
    anchorCol_ = caretCol_;
    if (mode_ == smStream) {
        const RowInfo info = rowInfo(caret_.row);
        if (anchor_.pos > info.length) {
            anchor_.pos = info.length;
            anchorCol_ = ColumnOfBytePos(info.map, info.length);
        }
    }
    state_ = sstAnchored;
}

void EditorCore::ExtendSelection() {
    if (state_ == sstNone) return;
    const SelectionRange next = rangeFor(anchor_, anchorCol_, caret_, caretCol_);
    const bool empty = mode_ == smBox ? (next.firstCol == next.lastCol)
                                      : (next.firstRow == next.lastRow && next.firstPos == next.lastPos);
    if (empty) {
        // Back at the anchor: nothing is selected any more.
        if (Selected()) {
            const SelectionRange old = range_;
            state_ = sstAnchored;
            repaintRange(old);
            if (OnSelectionChange) OnSelectionChange(false);
        }
        return;
    }
    const SelectionRange old = range_;
    const bool was = Selected();
    state_ = hitMode_ ? sstHitSelected : sstSelected;
    range_ = next;
    if (was) {
        view_->InvalidateRows(std::min(old.firstRow, next.firstRow), std::max(old.lastRow, next.lastRow));
    } else {
        repaintRange(next);
    }
    if (OnSelectionChange) OnSelectionChange(true);
}

void EditorCore::CancelSelection() {
    if (state_ == sstNone) return;
    const bool was = Selected();
    const bool hit = state_ == sstHitSelected;
    state_ = sstNone;
    if (!was) return;
    repaintRange(range_);
    if (OnSelectionChange) OnSelectionChange(false);
    if (hit && hitStyle_ == hsCaret) caretMoved();
}

void EditorCore::cancelHitSelection() {
    if (state_ == sstHitSelected) CancelSelection();
}

void EditorCore::setSelection(RowPos anchor, RowPos caret) {
    CancelSelection();
    placeCaret(anchor);
    SetAnchor();
    placeCaret(caret);
    ExtendSelection();
}

void EditorCore::SetSelectionMode(TSelectionMode mode) {
    if (drag_ != DragState::Idle || mode == mode_) return;
    mode_ = mode;
    if (Selected()) {
        range_ = rangeFor(anchor_, anchorCol_, caret_, caretCol_);
        view_->InvalidateAll();
    }
    if (OnSelectionModeChange) OnSelectionModeChange();
}

bool EditorCore::InSelection(int row, int col) const {
    if (!Selected() || row < range_.firstRow || row > range_.lastRow) return false;
    if (mode_ == smBox) return col >= range_.firstCol && col < range_.lastCol;
    if (row == range_.firstRow && col < range_.firstCol) return false;
    if (row == range_.lastRow && col >= range_.lastCol) return false;
    return true;
}

std::pair<int, int> EditorCore::boxSlice(int row, int firstCol, int lastCol) const {
    const RowInfo info = rowInfo(row);
    // Characters that start inside [firstCol, lastCol); a double-byte character cut by an edge goes with the
    // side its first half is on.
    auto at = [&](int col) {
        if (col >= info.displayLength) return info.length;
        int p = BytePosOfColumn(info.map, col);
        if (info.code(col) == columncode::kTrail) ++p;
        return std::min(p, info.length);
    };
    const int a = at(firstCol);
    return {a, std::max(a, at(lastCol))};
}

std::int64_t EditorCore::SelStart() const {
    if (Selected()) return OffsetOf({range_.firstRow, range_.firstPos});
    return OffsetOf(caret_);
}

void EditorCore::SetSelStart(std::int64_t offset) {
    CancelSelection();
    placeCaret(PosOfOffset(offset));
}

std::int64_t EditorCore::SelLength() const {
    if (!Selected()) return 0;
    if (mode_ == smBox) return static_cast<std::int64_t>(SelText().size());
    return OffsetOf({range_.lastRow, range_.lastPos}) - OffsetOf({range_.firstRow, range_.firstPos});
}

void EditorCore::SetSelLength(std::int64_t length) {
    const std::int64_t start = SelStart();
    const RowPos from = PosOfOffset(start);
    if (length <= 0) {
        SetSelStart(start);
        return;
    }
    setSelection(from, PosOfOffset(start + length));
}

void EditorCore::SelectAll() {
    CancelSelection();
    placeCaret({0, 0});
    SetSelLength(store_->TextLength());
}

std::string EditorCore::SelText() const {
    if (!Selected()) return {};
    std::string out;
    if (mode_ == smBox) {
        for (int r = range_.firstRow; r <= range_.lastRow && r < store_->Count(); ++r) {
            const auto [a, b] = boxSlice(r, range_.firstCol, range_.lastCol);
            if (r > range_.firstRow) out.append("\r\n");
            out.append(store_->RowView(r).substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a)));
        }
        return out;
    }
    for (int r = range_.firstRow; r <= range_.lastRow && r < store_->Count(); ++r) {
        const std::string_view text = store_->RowView(r);
        const std::size_t a = r == range_.firstRow ? static_cast<std::size_t>(range_.firstPos) : 0;
        const std::size_t b = r == range_.lastRow ? static_cast<std::size_t>(range_.lastPos) : text.size();
        out.append(text.substr(a, b > a ? b - a : 0));
        if (r < range_.lastRow && store_->RowAttribute(r) == raLineEnd) out.append("\r\n");
    }
    return out;
}

void EditorCore::SelectWordAtCaret() {
    const RowInfo info = rowInfo(caret_.row);
    const std::optional<WordSpan> word = WordAtCaret(*store_, {caret_.row, std::min(caret_.pos, info.length)});
    if (!word) return;
    const std::int64_t start = OffsetOf(word->start);
    setSelection(word->start, PosOfOffset(start + word->length));
}

std::pair<std::int64_t, std::int64_t> EditorCore::GetSel() const {
    if (Selected() && mode_ == smStream) {
        return {OffsetOf({range_.firstRow, range_.firstPos}), OffsetOf({range_.lastRow, range_.lastPos})};
    }
    const std::int64_t at = SelStart();
    return {at, at + SelLength()};
}

void EditorCore::SetSel(std::int64_t start, std::int64_t end) {
    if (start == -1) {
        CancelSelection();
        return;
    }
    const std::int64_t length = store_->TextLength();
    if (start < 0) start = 0;
    if (end < 0) end = length;
    const RowPos from = PosOfOffset(start);
    const RowPos to = PosOfOffset(end);
    if (OffsetOf(from) == OffsetOf(to)) {
        SetSelStart(start);
        return;
    }
    setSelection(from, to);
}

// ---- offsets -------------------------------------------------------------------------------------------------

std::int64_t EditorCore::OffsetOf(RowPos p) const {
    const int count = store_->Count();
    if (p.row >= count) return store_->TextLength();
    const int row = std::max(0, p.row);
    return store_->RowOffset(row) + std::max(0, std::min(p.pos, store_->RowLength(row)));
}

RowPos EditorCore::PosOfOffset(std::int64_t offset) const {
    const int count = store_->Count();
    if (count == 0) return {0, 0};
    const std::int64_t length = store_->TextLength();
    offset = std::max<std::int64_t>(0, std::min(offset, length));
    if (offset == length) return hasPhantomRow() ? RowPos{count, 0} : RowPos{count - 1, store_->RowLength(count - 1)};
    const int row = store_->RowFromOffset(offset);
    const std::string_view text = store_->RowView(row);
    // Inside the CR LF that ends the row: the end of the row.
    std::size_t pos = static_cast<std::size_t>(std::min<std::int64_t>(offset - store_->RowOffset(row),
                                                                       static_cast<std::int64_t>(text.size())));
    pos = cp932::floorCharBoundary(text, pos);
    if (pos == text.size() && store_->RowAttribute(row) == raWrapped && row + 1 < count) return {row + 1, 0};
    return {row, static_cast<int>(pos)};
}

std::pair<int, int> EditorCore::PosFromChar(std::int64_t offset) const {
    const RowPos p = PosOfOffset(offset);
    const GridOrigin origin{topRow_, topCol_};
    return {ColumnLeft(layout_, origin, std::min(colOfPos(p.row, p.pos), kColumnMapLimit)), RowTop(layout_, origin, p.row)};
}

std::optional<std::pair<std::int64_t, int>> EditorCore::CharFromPos(int x, int y) const {
    if (x < 0 || y < 0 || x >= client_.width || y >= client_.height) return std::nullopt;
    const auto [row, col] = PositionAt(x, y);
    const RowInfo info = rowInfo(row);
    const int pos = std::min(BytePosOfColumn(info.map, std::min(col, static_cast<int>(info.map.size()))), info.length);
    return std::make_pair(OffsetOf({row, pos}), row);
}

// ---- layout and the view origin ------------------------------------------------------------------------------

void EditorCore::SetFontMetrics(const FontMetrics& font) {
    font_ = font;
    updateLayout();
}

void EditorCore::SetLayoutOptions(const LayoutOptions& options) {
    layoutOptions_ = options;
    updateLayout();
}

void EditorCore::SetLayoutInputs(const FontMetrics& font, const LayoutOptions& options) {
    font_ = font;
    layoutOptions_ = options;
    updateLayout();
}

void EditorCore::SetClientArea(const ClientArea& client) {
    client_ = client;
    updateLayout();
}

EditorLayout EditorCore::layoutNow() const {
    return ComputeLayout(font_, layoutOptions_, client_, LargestLeftbarNumber(*store_, layoutOptions_));
}

void EditorCore::updateLayout() {
    const EditorLayout oldLayout = layout_;
    const GridOrigin oldOrigin{topRow_, topCol_};
    layout_ = layoutNow();
    states_->SetScreenRows(client_.height / std::max(1, layout_.rowHeight));
    topRow_ = std::min(topRow_, LastTopRow());
    topCol_ = std::min(topCol_, MaxTopCol(layout_));
    states_->SetTopRow(topRow_);
    view_->LayoutChanged(oldLayout, oldOrigin);
    view_->ScrollBarsChanged();
    view_->CaretChanged();
}

void EditorCore::SetTopRow(int row) {
    row = std::max(0, std::min(row, LastTopRow()));
    if (row == topRow_) return;
    const int delta = row - topRow_;
    topRow_ = row;
    states_->SetTopRow(row);
    view_->ViewScrolled(delta, 0);
    view_->ScrollBarsChanged();
    view_->CaretChanged();
    if (OnTopRowChange) OnTopRowChange();
}

void EditorCore::SetTopCol(int col) {
    col = std::max(0, std::min(col, MaxTopCol(layout_)));
    if (col == topCol_) return;
    const int delta = col - topCol_;
    topCol_ = col;
    view_->ViewScrolled(0, delta);
    view_->ScrollBarsChanged();
    view_->CaretChanged();
    if (OnTopColChange) OnTopColChange();
}

void EditorCore::applyOrigin(GridOrigin origin) {
    SetTopRow(origin.topRow);
    SetTopCol(origin.topCol);
}

void EditorCore::VScroll(int code, int thumb) {
    const int before = topRow_;
    SetTopRow(ScrollTarget(code, topRow_, layout_.visibleRows, thumb, LastTopRow()));
    if (caretOptions_.LockScroll() && topRow_ != before) SetCaretRow(caret_.row + (topRow_ - before));
}

void EditorCore::HScroll(int code, int thumb) {
    SetTopCol(ScrollTarget(code, topCol_, layout_.visibleCols, thumb, MaxTopCol(layout_)));
}

void EditorCore::scrollCaretIntoView() {
    if (!focused_) return;
    applyOrigin(CaretIntoView(layout_, {topRow_, topCol_}, caret_.row, caretCol_));
}

void EditorCore::ScrollCaret() {
    applyOrigin(CaretIntoViewCentred(layout_, {topRow_, topCol_}, caret_.row, caretCol_, LastTopRow()));
}

// ---- the store's notifications -------------------------------------------------------------------------------

void EditorCore::StoreTextChanged(const ChangeRecord& change) {
    // The left bar widens or narrows when its largest number gains or loses a digit; the text moves with it.
    if (layoutNow().leftbarDigits != layout_.leftbarDigits) updateLayout();
    if (change.Valid) {
        view_->TextChanged(change);
    } else {
        view_->InvalidateAll();
    }
    view_->ScrollBarsChanged();
    if (!change.Valid) return;  // loaded or set, not edited
    modified_ = true;
    if (OnChange) OnChange();
}

void EditorCore::StoreUpdateEnded(const TEditorScreenStrings&) {
    if (Selected() && range_.lastRow > maxCaretRow()) CancelSelection();
    if (state_ == sstAnchored && anchor_.row > maxCaretRow()) state_ = sstNone;
    const int row = std::min(caret_.row, maxCaretRow());
    const RowInfo info = rowInfo(row);
    if (row != caret_.row || (!caretOptions_.FreeCaret() && caretCol_ > info.displayLength)) {
        moveCaret(row, caretCol_, Move::Left);
    } else {
        caret_.pos = posOfCol(row, caretCol_);
    }
    if (topRow_ > LastTopRow()) SetTopRow(LastTopRow());
}

void EditorCore::LinesUpdateBegin() {
    HideCaret();
    ++caretSuspend_;
}

void EditorCore::LinesUpdateEnd() {
    if (caretSuspend_ > 0) --caretSuspend_;
    ShowCaret();
    view_->InvalidateAll();
    if (caretSuspend_ == 0) {
        caretPending_ = false;
        caretMoved();
    }
}

}  // namespace editor
