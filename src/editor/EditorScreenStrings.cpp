// The row store of an editor: ReplaceRows, the block split into rows, word wrap, whole-text loading and saving,
// and the notification of the attached editors.
#include "editor/EditorScreenStrings.h"

#include <algorithm>
#include <cstring>

#include "core/AppError.h"
#include "editor/TextFile.h"

namespace {

inline std::uint32_t rowWord(TRowAttribute row, TRowAttribute prev) {
    return static_cast<std::uint32_t>(row) | (static_cast<std::uint32_t>(prev) << rowbits::kPrevShift);
}

inline bool endsWithBreak(std::string_view s) { return !s.empty() && (s.back() == '\r' || s.back() == '\n'); }

// Ends the store's update however the block is left. The normal way out calls end(), where the editors'
// handlers (OnChange among them) may throw to the caller; on the way out of an exception the update is ended
// quietly, since a second exception there would end the program.
class UpdateGuard {
public:
    explicit UpdateGuard(TRowBaseList& rows) : rows_(rows) { rows_.BeginUpdate(); }
    ~UpdateGuard() {
        if (open_) {
            try {
                rows_.EndUpdate();
            } catch (...) {
            }
        }
    }
    void end() {
        open_ = false;
        rows_.EndUpdate();
    }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    TRowBaseList& rows_;
    bool open_ = true;
};

// Raised while undo or redo replays a record, so that the inverse of a redo goes on the undo list without
// clearing the redo list. It is lowered before the store's update ends, where an editor's OnChange may make
// changes of its own.
class ReplayFlag {
public:
    explicit ReplayFlag(TEditorUndoObj& undo) noexcept : undo_(undo) { undo_.SetRunning(true); }
    ~ReplayFlag() { lower(); }
    void lower() noexcept { undo_.SetRunning(false); }
    ReplayFlag(const ReplayFlag&) = delete;
    ReplayFlag& operator=(const ReplayFlag&) = delete;

private:
    TEditorUndoObj& undo_;
};

}  // namespace

TEditorScreenStrings::TEditorScreenStrings() : undo_(*this), delimiters_(DefaultDelimiters()) {
    wrapOption_.OnChange = [this] { Rewrap(); };
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

void TEditorScreenStrings::Attach(EditorClient* editor) {
    if (editor && std::find(editors_.begin(), editors_.end(), editor) == editors_.end()) editors_.push_back(editor);
}

void TEditorScreenStrings::Detach(EditorClient* editor) {
    editors_.erase(std::remove(editors_.begin(), editors_.end(), editor), editors_.end());
}

EditorClient* TEditorScreenStrings::ActiveEditor() const noexcept {
    for (EditorClient* e : editors_) {
        if (e->Focused()) return e;
    }
    return Owner();
}

ColumnMapOptions TEditorScreenStrings::ColumnOptions() const noexcept {
    ColumnMapOptions options;
    options.tabSpaceCount = tabSpaceCount_;
    options.wordWrap = wordWrap_;
    options.wrapByte = wrapOption_.WrapByte();
    options.delimiters = &delimiters_;
    return options;
}

void TEditorScreenStrings::SetTabSpaceCount(int value) {
    value = ClampTabSpaceCount(value);
    if (value == tabSpaceCount_) return;
    tabSpaceCount_ = value;
    Rewrap();
}

void TEditorScreenStrings::SetDelimiters(const DelimiterSet& set) {
    if (set == delimiters_) return;
    delimiters_ = set;
    Rewrap();
}

void TEditorScreenStrings::Changing() {
    if (primitive_ == 0) undo_.Clear();
}

void TEditorScreenStrings::Changed() {
    if (UpdateCount() != 0) return;
    const std::vector<EditorClient*> editors = editors_;
    for (EditorClient* e : editors) e->StoreTextChanged(change_);
}

void TEditorScreenStrings::UpdateEnded() {
    change_.clear();
    const std::vector<EditorClient*> editors = editors_;
    for (EditorClient* e : editors) e->StoreUpdateEnded(*this);
}

std::string TEditorScreenStrings::RowsText(int first, int count) const {
    std::string out;
    for (int i = first; i < first + count; ++i) {
        out.append(RowView(i));
        if (RowAttribute(i) == raLineEnd) out.append("\r\n");
    }
    return out;
}

int TEditorScreenStrings::LineLastRow(int row) const {
    const int last = Count() - 1;
    while (row < last && RowAttribute(row) == raWrapped) ++row;
    return row;
}

// Splits `text` into rows at CR LF, lone CR and lone LF (a final break makes no empty row), wraps long lines
// when word wrap is on, and gives the last row `lastAttribute`. When `restoring` an undo record's old block, an
// empty text is one empty row and a block that ended on a wrapped row gets no empty row after it.
void TEditorScreenStrings::splitBlock(std::string_view text, TRowAttribute lastAttribute, bool restoring,
                                      Split& out) const {
    out.text.assign(text.data(), text.size());
    out.rows.clear();
    out.attributes.clear();
    std::vector<std::pair<std::size_t, std::size_t>> spans;  // offset, length of each row
    std::vector<int> lengths;
    const ColumnMapOptions columns = ColumnOptions();
    const char* s = out.text.data();
    const std::size_t n = out.text.size();
    std::size_t pos = 0;
    while (pos < n) {
        const void* cr = std::memchr(s + pos, '\r', n - pos);
        const void* lf = std::memchr(s + pos, '\n', n - pos);
        std::size_t brk = n;
        if (cr) brk = static_cast<std::size_t>(static_cast<const char*>(cr) - s);
        if (lf) brk = std::min(brk, static_cast<std::size_t>(static_cast<const char*>(lf) - s));
        const std::string_view line(s + pos, brk - pos);
        if (wordWrap_) {
            lengths.clear();
            wrapper().WrapLine(line, wrapOption_, columns, lengths);
            std::size_t at = pos;
            for (std::size_t i = 0; i < lengths.size(); ++i) {
                spans.emplace_back(at, static_cast<std::size_t>(lengths[i]));
                out.attributes.push_back(i + 1 < lengths.size() ? raWrapped : raLineEnd);
                at += static_cast<std::size_t>(lengths[i]);
            }
        } else {
            spans.emplace_back(pos, brk - pos);
            out.attributes.push_back(raLineEnd);
        }
        if (brk == n) break;
        pos = brk + ((s[brk] == '\r' && brk + 1 < n && s[brk + 1] == '\n') ? 2 : 1);
    }
    if (restoring && lastAttribute == raWrapped && spans.size() > 1 && spans.back().second == 0) {
        spans.pop_back();
        out.attributes.pop_back();
    }
    if (restoring && spans.empty()) {  // an old block of one empty row
        spans.emplace_back(0, 0);
        out.attributes.push_back(lastAttribute);
    }
    if (!out.attributes.empty()) out.attributes.back() = lastAttribute;
    out.rows.reserve(spans.size());
    for (const auto& sp : spans) out.rows.push_back(NewRow{std::string_view(s + sp.first, sp.second), 0, 0});
}

// Puts the split rows in place of rows [first, first + oldCount). Marks stay with their rows: the last
// `suffix` old rows (rows carried over unchanged after the replaced ones) keep theirs counted from the end, the
// others by position; the marks of rows that vanished go to the last new row before the carried ones (or, when
// no row is left, to the row that now stands at `first`). Previous-row attributes are set. Rows that come out
// as they were keep their colouring state, so that the state walk after the change stops at the first of them
// whose state still holds; they are returned.
TEditorScreenStrings::KeptRows TEditorScreenStrings::putBlock(int first, int oldCount, Split& split, int suffix) {
    const int k = static_cast<int>(split.rows.size());
    std::uint16_t vanished = 0;
    for (int i = 0; i < oldCount; ++i) {
        const std::uint16_t m = Marks(first + i);
        if (!m) continue;
        int t;
        if (k == 0) {
            t = -1;
        } else if (i >= oldCount - suffix) {
            t = std::max(0, k - (oldCount - i));
        } else {
            t = std::max(0, std::min(i, k - suffix - 1));
        }
        if (t < 0) {
            vanished |= m;
        } else {
            split.rows[static_cast<std::size_t>(t)].attribute2 |= std::uint32_t{m} << rowbits::kMarksShift;
        }
    }
    const bool wasEmpty = Count() == 0;
    TRowAttribute prev = first > 0 ? RowAttribute(first - 1) : raLineEnd;
    for (int i = 0; i < k; ++i) {
        const TRowAttribute a = split.attributes[static_cast<std::size_t>(i)];
        split.rows[static_cast<std::size_t>(i)].attribute = rowWord(a, prev);
        prev = a;
    }
    if (wasEmpty && k > 0 && markWord_) {
        split.rows[0].attribute2 |= std::uint32_t{markWord_} << rowbits::kMarksShift;
        markWord_ = 0;
    }
    const KeptRows kept = keptRows(first, oldCount, split);
    std::vector<std::pair<int, std::string>> stateTexts;  // new index, state text of a kept row
    auto keep = [&](int i, int old) {
        NewRow& row = split.rows[static_cast<std::size_t>(i)];
        row.attribute |= Attribute(old) & ~(rowbits::kRowAttributeMask | rowbits::kPrevMask);
        row.attribute2 |= Attribute2(old) & rowbits::kStateMask2;
        std::string state = StateText(old);
        if (!state.empty()) stateTexts.emplace_back(first + i, std::move(state));
    };
    for (int i = 0; i < kept.first; ++i) keep(i, first + i);
    for (int j = 1; j <= kept.last; ++j) keep(k - j, first + oldCount - j);
    SpliceRows(first, oldCount, split.rows);
    for (const auto& [row, state] : stateTexts) SetStateText(row, state);
    const int after = first + k;
    if (after < Count()) {
        const TRowAttribute before = after > 0 ? RowAttribute(after - 1) : raLineEnd;
        if (PrevRowAttribute(after) != before) SetPrevRowAttribute(after, before);
    }
    if (vanished && Count() > 0) {
        const int target = after < Count() ? after : Count() - 1;
        SetMarks(target, static_cast<std::uint16_t>(Marks(target) | vanished));
    }
    return kept;
}

// Counted from either end of the block while the old row and the new one agree in bytes, row attribute and
// marks; the two counts never share a row.
TEditorScreenStrings::KeptRows TEditorScreenStrings::keptRows(int first, int oldCount, const Split& split) const {
    const int k = static_cast<int>(split.rows.size());
    auto same = [&](int old, int i) {
        const NewRow& row = split.rows[static_cast<std::size_t>(i)];
        return RowView(old) == row.text && RowAttribute(old) == split.attributes[static_cast<std::size_t>(i)] &&
               Marks(old) == rowbits::marks(row.attribute2);
    };
    const int both = std::min(k, oldCount);
    KeptRows kept;
    while (kept.first < both && same(first + kept.first, kept.first)) ++kept.first;
    // A wrapped row is painted with the row after it (a token cut by the wrap is seen whole): the last kept
    // row at the start is not kept when the row after it changed.
    if (kept.first > 0 && kept.first < k && split.attributes[static_cast<std::size_t>(kept.first - 1)] == raWrapped) {
        --kept.first;
    }
    while (kept.first + kept.last < both && same(first + oldCount - 1 - kept.last, k - 1 - kept.last)) ++kept.last;
    return kept;
}

bool TEditorScreenStrings::endsWithPhantomRow() const {
    return Count() == 0 || RowAttribute(Count() - 1) != raTextEnd;
}

void TEditorScreenStrings::fillChange(int first, int removed, int inserted, KeptRows kept, bool endBefore) {
    change_ = ChangeRecord{};
    change_.FirstRow = first;
    change_.RemovedRows = removed;
    change_.InsertedRows = inserted;
    change_.Valid = true;
    change_.KeptFirstRows = kept.first;
    change_.KeptLastRows = kept.last;
    change_.TextEndKept = endBefore == endsWithPhantomRow();
    change_.ContinuesAbove = first > 0 && first <= Count() && RowAttribute(first - 1) == raWrapped;
}

void TEditorScreenStrings::updateStatesFrom(int row) {
    if (updater_ && Count() > 0) {
        updater_->UpdateStatesFrom(*this, std::min(row, Count() - 1), change_);
    } else {
        change_.StateRowsEnd = 0;  // nothing is coloured: no state changes
    }
}

void TEditorScreenStrings::rebuildStates() {
    InvalidateStatesFrom(0);
    if (updater_) updater_->RebuildStates(*this);
}

void TEditorScreenStrings::ReplaceRows(int a, int n, std::string_view text) {
    const int count = Count();
    if (a < 0 || n < 0 || a + n > count || (n == 0 && text.empty())) return;
    UpdateGuard update(*this);
    PrimitiveScope primitive(*this);
    TUndoData record;
    if (const EditorClient* e = ActiveEditor()) {
        record.CaretRow = e->CaretRow();
        record.CaretCol = e->CaretCol();
    }

    // Pure deletion of whole lines.
    if (text.empty() && (a == 0 || RowAttribute(a - 1) != raWrapped) && RowAttribute(a + n - 1) != raWrapped) {
        record.FirstRow = a;
        record.RowCount = 0;
        record.OldText = RowsText(a, n);
        record.OldAttribute = RowAttribute(a + n - 1);
        const bool endBefore = endsWithPhantomRow();
        Split none;
        putBlock(a, n, none, 0);
        undo_.AddUndo(std::move(record));
        fillChange(a, n, 0, {}, endBefore);
        updateStatesFrom(a);
        update.end();
        return;
    }

    // The block: from row a (a - 1 when that row continues a wrapped line) to the end of the logical line
    // holding row a + n - 1, and the next logical line too when that row ends its own.
    int first = a;
    if (a > 0 && RowAttribute(a - 1) == raWrapped) first = a - 1;
    // Text inserted after a last row without a line break continues that row: the row joins the block, so
    // that it is never followed by a row of its own while still marked as the end of the text.
    if (a == count && count > 0 && RowAttribute(count - 1) == raTextEnd) {
        first = count - 1;
        if (first > 0 && RowAttribute(first - 1) == raWrapped) --first;
    }
    const int lastGiven = a + n - 1;
    int last;
    if (lastGiven >= first) {
        last = LineLastRow(lastGiven);
        if (last == lastGiven && lastGiven + 1 < count) last = LineLastRow(lastGiven + 1);
    } else {
        last = a < count ? LineLastRow(a) : a - 1;
    }
    const int blockCount = last - first + 1;
    const bool reachesEnd = last == count - 1;

    record.FirstRow = first;
    record.OldText = RowsText(first, blockCount);
    record.OldAttribute = blockCount > 0 ? RowAttribute(last) : raNone;

    std::string block = RowsText(first, a - first);
    block.append(text.data(), text.size());
    block.append(RowsText(a + n, last - (a + n) + 1));
    // The new block ends the text with a line break exactly when its text ends with one.
    TRowAttribute lastAttribute = reachesEnd ? (endsWithBreak(block) ? raLineEnd : raTextEnd) : RowAttribute(last);

    Split split;
    splitBlock(block, lastAttribute, false, split);
    record.RowCount = static_cast<int>(split.rows.size());
    const bool endBefore = endsWithPhantomRow();
    const KeptRows kept = putBlock(first, blockCount, split, last - (a + n) + 1);
    undo_.AddUndo(std::move(record));
    fillChange(first, blockCount, static_cast<int>(split.rows.size()), kept, endBefore);
    updateStatesFrom(first + kept.first);
    update.end();
}

// ---- undo and redo ---------------------------------------------------------------------------------------------

// Puts back the block the newest record of the undo (or redo) list names, and leaves its inverse on the other
// list: the rows the record's block occupies now become the inverse's old text.
void TEditorScreenStrings::replay(bool undo) {
    if ((undo ? !undo_.CanUndo() : !undo_.CanRedo()) || undo_.Running()) return;
    TUndoData record = undo ? undo_.TakeUndo() : undo_.TakeRedo();
    if (record.FirstRow < 0 || record.RowCount < 0 || record.FirstRow + record.RowCount > Count()) {
        // The rows were changed behind the store's back: the lists no longer describe the text.
        undo_.Clear();
        return;
    }
    {
        UpdateGuard update(*this);
        ReplayFlag running(undo_);
        PrimitiveScope primitive(*this);
        TUndoData inverse;
        if (const EditorClient* e = ActiveEditor()) {
            inverse.CaretRow = e->CaretRow();
            inverse.CaretCol = e->CaretCol();
        }
        inverse.FirstRow = record.FirstRow;
        inverse.OldText = RowsText(record.FirstRow, record.RowCount);
        inverse.OldAttribute = record.RowCount > 0 ? RowAttribute(record.FirstRow + record.RowCount - 1) : raNone;

        Split split;
        if (record.OldAttribute != raNone) splitBlock(record.OldText, record.OldAttribute, true, split);
        const bool endBefore = endsWithPhantomRow();
        const KeptRows kept = putBlock(record.FirstRow, record.RowCount, split, 0);
        inverse.RowCount = static_cast<int>(split.rows.size());
        fillChange(record.FirstRow, record.RowCount, inverse.RowCount, kept, endBefore);
        updateStatesFrom(record.FirstRow + kept.first);
        if (undo) {
            undo_.AddRedo(std::move(inverse));
        } else {
            undo_.AddUndo(std::move(inverse));
        }
        running.lower();
        update.end();
    }
    if (EditorClient* e = ActiveEditor()) e->SetCaretPos(record.CaretRow, record.CaretCol);
}

// ---- whole text ------------------------------------------------------------------------------------------------

void TEditorScreenStrings::clearForNewText(bool fromFile) {
    // A file's bytes cannot lie in the old rows, so its load may reuse their memory; a text handed in may.
    if (fromFile) {
        ClearForLoad();
    } else {
        Clear();
    }
    undo_.Clear();
    change_.clear();
}

void TEditorScreenStrings::SetText(std::string_view text) {
    UpdateGuard update(*this);
    PrimitiveScope primitive(*this);
    clearForNewText(false);
    textfile::TextToRows(text, *this);
    if (wordWrap_) wrapAll();
    rebuildStates();
    update.end();
}

void TEditorScreenStrings::LoadFromFile(const std::string& path) {
    UpdateGuard update(*this);
    PrimitiveScope primitive(*this);
    clearForNewText(true);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw AppError(path + " を開けません");
    const bool ok = textfile::ReadRows(f, *this);
    std::fclose(f);
    if (!ok) {
        // A text cut short by a read error is not shown: saving it would replace the file with a part of it.
        Clear();
        throw AppError(path + " を読み込めません");
    }
    if (wordWrap_) wrapAll();
    rebuildStates();
    update.end();
}

void TEditorScreenStrings::SaveToFile(const std::string& path) const {
    const bool ok = textfile::WriteReplacing(path, [this](std::FILE* f) {
        for (int i = 0; i < Count(); ++i) {
            const std::string_view row = RowView(i);
            if (!row.empty() && std::fwrite(row.data(), 1, row.size(), f) != row.size()) return false;
            if (RowAttribute(i) == raLineEnd && std::fwrite("\r\n", 1, 2, f) != 2) return false;
        }
        return true;
    });
    if (!ok) throw AppError(path + " に書き込めません");
}

// ---- word wrap -------------------------------------------------------------------------------------------------

// Re-cuts every logical line (or joins it into one row with word wrap off); the marks of a line's pieces are
// ORed together and given to each of its new rows.
void TEditorScreenStrings::wrapAll() {
    const int count = Count();
    if (count == 0) return;
    std::string storage;
    storage.reserve(static_cast<std::size_t>(TextLength()));
    struct Piece {
        std::size_t offset, length;
        TRowAttribute attribute;
        std::uint16_t marks;
    };
    std::vector<Piece> pieces;
    std::vector<int> lengths;
    const ColumnMapOptions columns = ColumnOptions();
    for (int row = 0; row < count;) {
        const int last = LineLastRow(row);
        const std::size_t start = storage.size();
        std::uint16_t marks = 0;
        for (int r = row; r <= last; ++r) {
            storage.append(RowView(r));
            marks = static_cast<std::uint16_t>(marks | Marks(r));
        }
        const TRowAttribute end = RowAttribute(last) == raWrapped ? raTextEnd : RowAttribute(last);
        const std::string_view line(storage.data() + start, storage.size() - start);
        lengths.clear();
        if (wordWrap_) {
            wrapper().WrapLine(line, wrapOption_, columns, lengths);
        } else {
            lengths.push_back(static_cast<int>(line.size()));
        }
        std::size_t at = start;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            pieces.push_back({at, static_cast<std::size_t>(lengths[i]), i + 1 < lengths.size() ? raWrapped : end,
                              marks});
            at += static_cast<std::size_t>(lengths[i]);
        }
        row = last + 1;
    }
    std::vector<NewRow> rows;
    rows.reserve(pieces.size());
    TRowAttribute prev = raLineEnd;
    for (const Piece& p : pieces) {
        rows.push_back(NewRow{std::string_view(storage.data() + p.offset, p.length), rowWord(p.attribute, prev),
                              std::uint32_t{p.marks} << rowbits::kMarksShift});
        prev = p.attribute;
    }
    SpliceRows(0, count, rows);
}

void TEditorScreenStrings::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    Rewrap(true);
}

void TEditorScreenStrings::Rewrap(bool force) {
    if (!wordWrap_ && !force) return;
    UpdateGuard update(*this);
    PrimitiveScope primitive(*this);
    wrapAll();
    undo_.Clear();
    rebuildStates();
    update.end();
}

// ---- logical lines ---------------------------------------------------------------------------------------------

int TEditorScreenStrings::LineCount() const {
    const int count = Count();
    if (count == 0) return 0;
    return LineEndsBefore(count) + (RowAttribute(count - 1) == raWrapped ? 1 : 0);
}

int TEditorScreenStrings::LineFirstRow(int line) const {
    if (line <= 0) return 0;
    return std::min(NthLineEndRow(line - 1) + 1, Count());
}

int TEditorScreenStrings::LineOfRow(int row) const { return LineEndsBefore(row); }

std::string TEditorScreenStrings::LineText(int line) const {
    const int first = LineFirstRow(line);
    if (first >= Count()) return {};
    const int last = LineLastRow(first);
    std::string out;
    for (int r = first; r <= last; ++r) out.append(RowView(r));
    return out;
}
