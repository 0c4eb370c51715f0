// The row list in blocks: each block keeps up to kMaxRows rows, their texts in one arena, and its totals; a
// Fenwick tree over the blocks finds the block of a row, an offset or a line in O(log blocks).
#include "editor/RowBaseList.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "editor/Chunk.h"
#include "editor/FenwickIndex.h"
#include "editor/RowBlock.h"
#include "editor/RowLoader.h"

using rowstore::endsLine;
using rowstore::kFillRows;
using rowstore::kMaxRows;
using rowstore::kMinRows;
using rowstore::Row;
using rowstore::RowExtra;
using rowstore::rowBytes;

EListError::EListError() : std::out_of_range("リストのインデックスが範囲を超えています") {}

TRowBaseList::TRowBaseList() : rowIndex_(new Fenwick), byteIndex_(new Fenwick), lineFenwick_(new Fenwick) {}
TRowBaseList::~TRowBaseList() = default;

void TRowBaseList::checkIndex(int index) const {
    if (index < 0 || index >= count_) throw EListError();
}

TRowBaseList::Locator TRowBaseList::locate(int index) const {
    if (index >= cacheStart_ && index < cacheEnd_) return {cacheBlock_, index - cacheStart_};
    std::int64_t rest = 0;
    const int b = rowIndex_->find(index, rest);
    cacheBlock_ = b;
    cacheStart_ = index - static_cast<int>(rest);
    cacheEnd_ = cacheStart_ + blocks_[static_cast<std::size_t>(b)]->rowCount();
    return {b, static_cast<int>(rest)};
}

void TRowBaseList::rebuildIndex() {
    std::vector<std::int64_t> rowsPer, bytesPer, endsPer;
    rowsPer.reserve(blocks_.size());
    bytesPer.reserve(blocks_.size());
    endsPer.reserve(blocks_.size());
    int total = 0;
    for (const auto& b : blocks_) {
        rowsPer.push_back(b->rowCount());
        bytesPer.push_back(b->bytes);
        endsPer.push_back(b->lineEnds);
        total += b->rowCount();
    }
    rowIndex_->build(rowsPer);
    byteIndex_->build(bytesPer);
    lineFenwick_->build(endsPer);
    count_ = total;
    forgetLocated();
}

void TRowBaseList::blockTotalsChanged(int block, int deltaRows, std::int64_t deltaBytes, int deltaLineEnds) {
    if (deltaRows) {
        rowIndex_->add(block, deltaRows);
        count_ += deltaRows;
        forgetLocated();
    }
    if (deltaBytes) byteIndex_->add(block, deltaBytes);
    if (deltaLineEnds) lineFenwick_->add(block, deltaLineEnds);
}

std::string_view TRowBaseList::RowView(int index) const {
    checkIndex(index);
    const Locator at = locate(index);
    return blocks_[static_cast<std::size_t>(at.block)]->view(at.local);
}

std::string TRowBaseList::Get(int index) const { return std::string(RowView(index)); }

int TRowBaseList::RowLength(int index) const { return static_cast<int>(RowView(index).size()); }

std::uint32_t TRowBaseList::Attribute(int index) const {
    checkIndex(index);
    const Locator at = locate(index);
    const std::uint32_t w = blocks_[static_cast<std::size_t>(at.block)]->rows[static_cast<std::size_t>(at.local)].attribute;
    return index >= statesBefore_ ? (w & (rowbits::kRowAttributeMask | rowbits::kPrevMask)) : w;
}

std::uint32_t TRowBaseList::Attribute2(int index) const {
    checkIndex(index);
    const Locator at = locate(index);
    const std::uint32_t w = blocks_[static_cast<std::size_t>(at.block)]->rows[static_cast<std::size_t>(at.local)].attribute2;
    return index >= statesBefore_ ? (w & rowbits::kMarksMask) : w;
}

std::uint32_t TRowBaseList::ObjectValue(int index) const {
    checkIndex(index);
    const Locator at = locate(index);
    const Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    return b.extras.empty() ? 0 : b.extras[static_cast<std::size_t>(at.local)].object;
}

std::string TRowBaseList::StateText(int index) const {
    checkIndex(index);
    if (index >= statesBefore_) return {};
    const Locator at = locate(index);
    const Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    return b.extras.empty() ? std::string() : b.extras[static_cast<std::size_t>(at.local)].state;
}

void TRowBaseList::SetAttribute(int index, std::uint32_t word) {
    checkIndex(index);
    storeAttribute(index, locate(index), word);
}

void TRowBaseList::storeAttribute(int index, const Locator& at, std::uint32_t word) {
    Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    Row& r = b.rows[static_cast<std::size_t>(at.local)];
    const std::int64_t oldBytes = rowBytes(r);
    const int oldEnds = endsLine(r.attribute) ? 1 : 0;
    if (index >= statesBefore_ && index != statesBefore_) {
        word &= rowbits::kRowAttributeMask | rowbits::kPrevMask;  // hidden anyway: keep it not computed
    }
    r.attribute = word;
    const std::int64_t dBytes = rowBytes(r) - oldBytes;
    const int dEnds = (endsLine(r.attribute) ? 1 : 0) - oldEnds;
    b.bytes += dBytes;
    b.lineEnds += dEnds;
    blockTotalsChanged(at.block, 0, dBytes, dEnds);
    noteStateStored(index, word);
}

void TRowBaseList::SetAttribute2(int index, std::uint32_t word2) {
    checkIndex(index);
    const Locator at = locate(index);
    blocks_[static_cast<std::size_t>(at.block)]->rows[static_cast<std::size_t>(at.local)].attribute2 = word2;
}

void TRowBaseList::SetObjectValue(int index, std::uint32_t value) {
    checkIndex(index);
    const Locator at = locate(index);
    Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    if (b.extras.empty()) {
        if (value == 0) return;
        b.extras.resize(b.rows.size());
    }
    b.extras[static_cast<std::size_t>(at.local)].object = value;
}

void TRowBaseList::SetStateText(int index, std::string_view text) {
    checkIndex(index);
    const Locator at = locate(index);
    storeStateText(*blocks_[static_cast<std::size_t>(at.block)], at.local, text);
}

// The extras of a block are made only for the first row that has some.
void TRowBaseList::storeStateText(Block& b, int local, std::string_view text) {
    if (b.extras.empty()) {
        if (text.empty()) return;
        b.extras.resize(b.rows.size());
    }
    b.extras[static_cast<std::size_t>(local)].state.assign(text.data(), text.size());
}

void TRowBaseList::Attributes(int index, std::uint32_t& word, std::uint32_t& word2) const {
    checkIndex(index);
    const Locator at = locate(index);
    const Row& r = blocks_[static_cast<std::size_t>(at.block)]->rows[static_cast<std::size_t>(at.local)];
    const bool computed = index < statesBefore_;
    word = computed ? r.attribute : (r.attribute & (rowbits::kRowAttributeMask | rowbits::kPrevMask));
    word2 = computed ? r.attribute2 : (r.attribute2 & rowbits::kMarksMask);
}

void TRowBaseList::SetRowState(int index, std::uint32_t word, std::uint32_t word2, std::string_view stateText) {
    checkIndex(index);
    const Locator at = locate(index);
    Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    storeStateText(b, at.local, stateText);
    b.rows[static_cast<std::size_t>(at.local)].attribute2 = word2;
    storeAttribute(index, at, word);
}

std::string_view TRowBaseList::StoreRowState(int index, std::uint32_t word, std::uint32_t word2,
                                            std::string_view stateText, std::uint32_t& stored) {
    checkIndex(index);
    const Locator at = locate(index);
    Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    storeStateText(b, at.local, stateText);
    Row& r = b.rows[static_cast<std::size_t>(at.local)];
    r.attribute2 = (r.attribute2 & rowbits::kMarksMask) | (word2 & ~rowbits::kMarksMask);
    // The row attribute stays, and with it the block's totals: only the state bits and the mark move.
    word = (r.attribute & rowbits::kRowAttributeMask) | (word & ~rowbits::kRowAttributeMask);
    if (index > statesBefore_) word &= rowbits::kRowAttributeMask | rowbits::kPrevMask;  // hidden anyway
    r.attribute = word;
    noteStateStored(index, word);
    stored = index < statesBefore_ ? word : (word & (rowbits::kRowAttributeMask | rowbits::kPrevMask));
    return b.view(at.local);
}

void TRowBaseList::noteStateStored(int index, std::uint32_t word) {
    if (index == statesBefore_ && rowbits::elementIndex(word) != rowbits::kElementNotComputed) ++statesBefore_;
}

void TRowBaseList::InvalidateStatesFrom(int row) noexcept {
    if (row < 0) row = 0;
    if (row < statesBefore_) statesBefore_ = row;
}

void TRowBaseList::BeginUpdate() { ++updateCount_; }

void TRowBaseList::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) {
        spares_.reset();
        try {
            Changed();
        } catch (...) {
            UpdateEnded();  // the end of the update is still kept when a handler fails
            throw;
        }
        UpdateEnded();
    }
}

int TRowBaseList::GrowCapacity(int capacity) noexcept {
    if (capacity > 64) return capacity + capacity / 4;
    if (capacity > 8) return capacity + 16;
    return capacity + 4;
}

void TRowBaseList::SetCapacity(int capacity) {
    if (capacity < count_) throw EListError();
    capacity_ = capacity;
}

void TRowBaseList::modified() {
    while (capacity_ < count_) capacity_ = GrowCapacity(capacity_);
}

// ---- structural changes ------------------------------------------------------------------------------------

void TRowBaseList::eraseRows(int first, int count) {
    if (count <= 0) return;
    bool structural = false;
    int remaining = count;
    const Locator at = locate(first);
    int b = at.block;
    int local = at.local;
    while (remaining > 0) {
        Block& blk = *blocks_[static_cast<std::size_t>(b)];
        const int take = std::min(remaining, blk.rowCount() - local);
        std::int64_t dBytes = 0;
        int dEnds = 0;
        for (int i = local; i < local + take; ++i) {
            const Row& r = blk.rows[static_cast<std::size_t>(i)];
            blk.live -= r.length;
            dBytes -= rowBytes(r);
            dEnds -= endsLine(r.attribute) ? 1 : 0;
        }
        blk.rows.erase(blk.rows.begin() + local, blk.rows.begin() + local + take);
        if (!blk.extras.empty()) blk.extras.erase(blk.extras.begin() + local, blk.extras.begin() + local + take);
        blk.bytes += dBytes;
        blk.lineEnds += dEnds;
        remaining -= take;
        if (blk.rows.empty()) {
            blocks_.erase(blocks_.begin() + b);
            structural = true;
        } else {
            if (!structural) blockTotalsChanged(b, -take, dBytes, dEnds);
            ++b;
        }
        local = 0;
    }
    if (structural) {
        rebuildIndex();
    }
    forgetLocated();
    if (!blocks_.empty()) mergeAround(std::min<int>(at.block, static_cast<int>(blocks_.size()) - 1));
}

void TRowBaseList::insertRows(int first, const std::vector<NewRow>& rows) {
    if (rows.empty()) return;
    const int k = static_cast<int>(rows.size());
    if (blocks_.empty()) {
        blocks_.emplace_back(new Block);
        rebuildIndex();
    }
    Locator at;
    if (first >= count_) {
        at = {static_cast<int>(blocks_.size()) - 1, blocks_.back()->rowCount()};
    } else {
        at = locate(first);
    }
    Block& blk = *blocks_[static_cast<std::size_t>(at.block)];
    if (blk.rowCount() + k <= kMaxRows) {
        std::int64_t dBytes = 0;
        int dEnds = 0;
        Row blank{0, 0, 0, 0};
        blk.rows.insert(blk.rows.begin() + at.local, static_cast<std::size_t>(k), blank);
        if (!blk.extras.empty()) blk.extras.insert(blk.extras.begin() + at.local, static_cast<std::size_t>(k), RowExtra{});
        for (int i = 0; i < k; ++i) {
            const NewRow& src = rows[static_cast<std::size_t>(i)];
            Row& r = blk.rows[static_cast<std::size_t>(at.local + i)];
            r.start = blk.append(src.text);
            r.length = static_cast<std::uint32_t>(src.text.size());
            r.attribute = src.attribute;
            r.attribute2 = src.attribute2;
            dBytes += rowBytes(r);
            dEnds += endsLine(r.attribute) ? 1 : 0;
        }
        blk.bytes += dBytes;
        blk.lineEnds += dEnds;
        blockTotalsChanged(at.block, k, dBytes, dEnds);
        return;
    }
    // Too many rows for the block: the rows from the insertion point on are taken out, and the new rows and
    // the taken ones are laid into the block and into new blocks after it.
    std::string tailText;
    std::vector<Row> tailRows(blk.rows.begin() + at.local, blk.rows.end());
    std::vector<RowExtra> tailExtras;
    if (!blk.extras.empty()) tailExtras.assign(blk.extras.begin() + at.local, blk.extras.end());
    for (const Row& r : tailRows) tailText.append(blk.text.get() + r.start, r.length);
    {
        const int keep = at.local;
        for (int i = keep; i < blk.rowCount(); ++i) blk.live -= blk.rows[static_cast<std::size_t>(i)].length;
        blk.rows.resize(static_cast<std::size_t>(keep));
        if (!blk.extras.empty()) blk.extras.resize(static_cast<std::size_t>(keep));
    }
    std::vector<std::unique_ptr<Block>> fresh;
    Block* cur = &blk;
    auto put = [&](std::string_view text, std::uint32_t a1, std::uint32_t a2, const RowExtra* extra) {
        if (cur->rowCount() >= kFillRows) {
            fresh.emplace_back(new Block);
            cur = fresh.back().get();
            cur->rows.reserve(kFillRows);
        }
        Row r{cur->append(text), static_cast<std::uint32_t>(text.size()), a1, a2};
        cur->rows.push_back(r);
        if (extra && (!extra->state.empty() || extra->object)) {
            cur->extras.resize(cur->rows.size());
            cur->extras.back() = *extra;
        } else if (!cur->extras.empty()) {
            cur->extras.resize(cur->rows.size());
        }
    };
    for (const NewRow& src : rows) put(src.text, src.attribute, src.attribute2, nullptr);
    std::size_t off = 0;
    for (std::size_t i = 0; i < tailRows.size(); ++i) {
        const Row& r = tailRows[i];
        put(std::string_view(tailText).substr(off, r.length), r.attribute, r.attribute2,
            tailExtras.empty() ? nullptr : &tailExtras[i]);
        off += r.length;
    }
    auto recount = [](Block& b) {
        b.bytes = 0;
        b.lineEnds = 0;
        for (const Row& r : b.rows) {
            b.bytes += rowBytes(r);
            b.lineEnds += endsLine(r.attribute) ? 1 : 0;
        }
        if (!b.extras.empty()) b.extras.resize(b.rows.size());
    };
    recount(blk);
    for (auto& f : fresh) recount(*f);
    blocks_.insert(blocks_.begin() + at.block + 1, std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    rebuildIndex();
}

void TRowBaseList::mergeAround(int block) {
    auto tryMerge = [this](int left) -> bool {  // merges block left + 1 into block left
        if (left < 0 || left + 1 >= static_cast<int>(blocks_.size())) return false;
        Block& a = *blocks_[static_cast<std::size_t>(left)];
        Block& b = *blocks_[static_cast<std::size_t>(left + 1)];
        if (a.rowCount() >= kMinRows && b.rowCount() >= kMinRows) return false;
        if (a.rowCount() + b.rowCount() > kFillRows) return false;
        if (!b.extras.empty() && a.extras.empty()) a.extras.resize(a.rows.size());
        for (int i = 0; i < b.rowCount(); ++i) {
            Row r = b.rows[static_cast<std::size_t>(i)];
            r.start = a.append(b.view(i));
            a.rows.push_back(r);
            if (!a.extras.empty())
                a.extras.push_back(b.extras.empty() ? RowExtra{} : std::move(b.extras[static_cast<std::size_t>(i)]));
        }
        a.bytes += b.bytes;
        a.lineEnds += b.lineEnds;
        blocks_.erase(blocks_.begin() + left + 1);
        return true;
    };
    if (blocks_[static_cast<std::size_t>(block)]->rowCount() >= kMinRows) return;
    if (tryMerge(block) || tryMerge(block - 1)) rebuildIndex();
}

void TRowBaseList::SpliceRows(int first, int removeCount, const std::vector<NewRow>& rows) {
    if (first < 0 || removeCount < 0 || first + removeCount > count_) throw EListError();
    if (removeCount == 0 && rows.empty()) return;
    Changing();
    const int k = static_cast<int>(rows.size());
    if (removeCount == k) {
        const Locator at = locate(first);
        Block& blk = *blocks_[static_cast<std::size_t>(at.block)];
        if (at.local + k <= blk.rowCount()) {  // same number of rows in one block: rewrite in place
            std::int64_t dBytes = 0;
            int dEnds = 0;
            for (int i = 0; i < k; ++i) {
                Row& r = blk.rows[static_cast<std::size_t>(at.local + i)];
                const NewRow& src = rows[static_cast<std::size_t>(i)];
                dBytes -= rowBytes(r);
                dEnds -= endsLine(r.attribute) ? 1 : 0;
                blk.live -= r.length;
                r.length = 0;  // its old text is garbage now, and not copied by a compaction
                r.start = blk.append(src.text);
                r.length = static_cast<std::uint32_t>(src.text.size());
                r.attribute = src.attribute;
                r.attribute2 = src.attribute2;
                if (!blk.extras.empty()) blk.extras[static_cast<std::size_t>(at.local + i)] = RowExtra{};
                dBytes += rowBytes(r);
                dEnds += endsLine(r.attribute) ? 1 : 0;
            }
            blk.bytes += dBytes;
            blk.lineEnds += dEnds;
            blockTotalsChanged(at.block, 0, dBytes, dEnds);
            if (statesBefore_ > first && statesBefore_ <= first + k) statesBefore_ = first;
            modified();
            Changed();
            return;
        }
    }
    eraseRows(first, removeCount);
    insertRows(first, rows);
    if (statesBefore_ > first + removeCount) {
        statesBefore_ += k - removeCount;
    } else if (statesBefore_ > first) {
        statesBefore_ = first;
    }
    modified();
    Changed();
}

void TRowBaseList::Put(int index, std::string_view text) {
    checkIndex(index);
    const std::string copy(text);
    const std::uint32_t a = Attribute(index) & rowbits::kRowAttributeMask;
    const std::uint32_t prev = Attribute(index) & rowbits::kPrevMask;
    SpliceRows(index, 1, {NewRow{copy, a | prev, Attribute2(index) & rowbits::kMarksMask}});
}

void TRowBaseList::Insert(int index, std::string_view text) {
    if (index < 0 || index > count_) throw EListError();
    const std::string copy(text);
    SpliceRows(index, 0, {NewRow{copy, 0, 0}});
}

int TRowBaseList::Add(std::string_view text) {
    Insert(count_, text);
    return count_ - 1;
}

void TRowBaseList::Delete(int index) {
    checkIndex(index);
    SpliceRows(index, 1, {});
}

void TRowBaseList::Clear() { clear(false); }

void TRowBaseList::ClearForLoad() { clear(updateCount_ > 0); }

void TRowBaseList::clear(bool keepChunks) {
    if (count_ == 0 && blocks_.empty()) return;
    Changing();
    if (keepChunks) {
        if (!spares_) spares_ = std::make_unique<SpareChunks>();
        for (const auto& b : blocks_) {
            if (Chunk* c = b->text.chunk()) spares_->add(*c);
            if (Chunk* c = b->rows.memory().chunk()) spares_->add(*c);
        }
    }
    blocks_.clear();
    if (spares_) spares_->dropShared();
    rebuildIndex();
    statesBefore_ = 0;
    capacity_ = 0;
    Changed();
}

// ---- offsets and lines ---------------------------------------------------------------------------------------

std::int64_t TRowBaseList::TextLength() const noexcept { return byteIndex_->prefix(byteIndex_->n); }

std::int64_t TRowBaseList::RowOffset(int index) const {
    if (index == count_) return TextLength();
    checkIndex(index);
    const Locator at = locate(index);
    std::int64_t off = byteIndex_->prefix(at.block);
    const Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    for (int i = 0; i < at.local; ++i) off += rowBytes(b.rows[static_cast<std::size_t>(i)]);
    return off;
}

int TRowBaseList::RowFromOffset(std::int64_t offset) const {
    if (count_ == 0) return 0;
    if (offset < 0) offset = 0;
    std::int64_t rest = 0;
    int b = byteIndex_->find(offset, rest);
    if (b >= static_cast<int>(blocks_.size())) return count_ - 1;
    const Block& blk = *blocks_[static_cast<std::size_t>(b)];
    const int start = static_cast<int>(rowIndex_->prefix(b));
    for (int i = 0; i < blk.rowCount(); ++i) {
        const std::int64_t n = rowBytes(blk.rows[static_cast<std::size_t>(i)]);
        if (rest < n) return start + i;
        rest -= n;
    }
    return std::min(start + blk.rowCount(), count_ - 1);
}

int TRowBaseList::LineEndsBefore(int row) const {
    if (row <= 0) return 0;
    if (row >= count_) return static_cast<int>(lineFenwick_->prefix(lineFenwick_->n));
    const Locator at = locate(row);
    int n = static_cast<int>(lineFenwick_->prefix(at.block));
    const Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    for (int i = 0; i < at.local; ++i) n += endsLine(b.rows[static_cast<std::size_t>(i)].attribute) ? 1 : 0;
    return n;
}

int TRowBaseList::NthLineEndRow(int n) const {
    if (n < 0 || count_ == 0) return count_;
    std::int64_t rest = 0;
    const int b = lineFenwick_->find(n, rest);
    if (b >= static_cast<int>(blocks_.size())) return count_;
    const Block& blk = *blocks_[static_cast<std::size_t>(b)];
    const int start = static_cast<int>(rowIndex_->prefix(b));
    for (int i = 0; i < blk.rowCount(); ++i) {
        if (endsLine(blk.rows[static_cast<std::size_t>(i)].attribute)) {
            if (rest == 0) return start + i;
            --rest;
        }
    }
    return count_;
}

std::string TRowBaseList::Text() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(TextLength()));
    for (const auto& b : blocks_) {
        for (int i = 0; i < b->rowCount(); ++i) {
            out.append(b->view(i));
            if (rowbits::rowAttribute(b->rows[static_cast<std::size_t>(i)].attribute) == raLineEnd) out.append("\r\n");
        }
    }
    return out;
}


// ---- loading --------------------------------------------------------------------------------------------------

bool TRowBaseList::LoadRows(const ByteReader& read, std::size_t chunk) {
    Changing();
    bool ok;
    try {
        ok = rowstore::LoadBlocks(blocks_, read, chunk, spares_.get());
    } catch (...) {
        rebuildIndex();  // the indexes agree with the blocks the load made before it failed
        modified();
        throw;
    }
    rebuildIndex();
    modified();
    Changed();
    return ok;
}

std::size_t TRowBaseList::MemoryUsed() const noexcept {
    std::size_t m = sizeof(*this) + blocks_.capacity() * sizeof(void*);
    for (const auto& b : blocks_) m += b->memory();
    m += (rowIndex_->tree.capacity() + byteIndex_->tree.capacity() + lineFenwick_->tree.capacity()) *
         sizeof(std::int64_t);
    return m;
}
