// The row list in blocks: each block keeps up to kMaxRows rows, their texts in one arena, and its totals; a
// Fenwick tree over the blocks finds the block of a row, an offset or a line in O(log blocks).
#include "editor/RowBaseList.h"

#include <algorithm>
#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/Chunk.h"

namespace {

constexpr int kMaxRows = 1024;        // a block never holds more rows
constexpr int kFillRows = 768;        // rows put into a block when blocks are built or split
constexpr int kMinRows = 96;          // a smaller block is merged with a neighbour when they fit
constexpr std::uint32_t kLoadArena = 32 * 1024;  // a block being loaded takes no rows past this many bytes

// 16 bytes a row: what every row has. The state text and the object value, rarely set, live beside.
struct Row {
    std::uint32_t start;   // offset of the text in the block's arena
    std::uint32_t length;
    std::uint32_t attribute;
    std::uint32_t attribute2;
};

struct RowExtra {
    std::string state;
    std::uint32_t object = 0;
};

inline bool endsLine(std::uint32_t attribute) { return rowbits::rowAttribute(attribute) != raWrapped; }
inline std::int64_t rowBytes(const Row& r) {
    return std::int64_t{r.length} + (rowbits::rowAttribute(r.attribute) == raLineEnd ? 2 : 0);
}

// A block's rows: a growable array like a vector, whose memory may be a piece of a load's chunk; growing it
// moves the rows to an allocation of their own.
class RowArray {
public:
    std::size_t size() const noexcept { return size_; }
    std::size_t capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return size_ == 0; }
    Row* begin() noexcept { return data(); }
    Row* end() noexcept { return data() + size_; }
    const Row* begin() const noexcept { return data(); }
    const Row* end() const noexcept { return data() + size_; }
    Row& operator[](std::size_t i) noexcept { return data()[i]; }
    const Row& operator[](std::size_t i) const noexcept { return data()[i]; }
    Row& back() noexcept { return data()[size_ - 1]; }
    const BlockMemory& memory() const noexcept { return memory_; }

    // Takes `count` rows that already lie in `memory`, which has room for exactly them.
    void adopt(BlockMemory memory, std::size_t count) noexcept {
        memory_ = std::move(memory);
        size_ = capacity_ = count;
    }
    void reserve(std::size_t n) {
        if (n > capacity_) reallocate(n);
    }
    void push_back(const Row& r) {
        if (size_ == capacity_) reallocate(std::max<std::size_t>(8, capacity_ * 2));
        data()[size_++] = r;
    }
    void insert(Row* at, std::size_t n, const Row& value) {
        const std::size_t i = static_cast<std::size_t>(at - data());
        if (size_ + n > capacity_) reallocate(std::max(size_ + n, capacity_ * 2));
        Row* p = data();
        if (size_ > i) std::memmove(p + i + n, p + i, (size_ - i) * sizeof(Row));
        std::fill(p + i, p + i + n, value);
        size_ += n;
    }
    void erase(Row* first, Row* last) noexcept {
        Row* p = data();
        if (last != p + size_) std::memmove(first, last, static_cast<std::size_t>(p + size_ - last) * sizeof(Row));
        size_ -= static_cast<std::size_t>(last - first);
    }
    void resize(std::size_t n) {
        if (n > size_) insert(end(), n - size_, Row{0, 0, 0, 0});
        size_ = n;
    }
    // Moves the rows to an allocation of their own that fits them.
    void ownMemory() { reallocate(size_); }

private:
    Row* data() const noexcept { return reinterpret_cast<Row*>(memory_.get()); }
    void reallocate(std::size_t n) {
        BlockMemory fresh(n * sizeof(Row));
        if (size_) std::memcpy(fresh.get(), memory_.get(), size_ * sizeof(Row));
        memory_ = std::move(fresh);
        capacity_ = n;
    }

    BlockMemory memory_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace

EListError::EListError() : std::out_of_range("リストのインデックスが範囲を超えています") {}

struct TRowBaseList::Block {
    RowArray rows;
    BlockMemory text;
    std::uint32_t size = 0;   // arena bytes in use (live texts and garbage)
    std::uint32_t cap = 0;
    std::uint32_t live = 0;   // bytes of the rows' texts
    std::vector<RowExtra> extras;  // empty, or one per row once any row has a state text or an object
    std::int64_t bytes = 0;   // row bytes plus 2 per raLineEnd row
    int lineEnds = 0;         // rows that are not raWrapped

    int rowCount() const { return static_cast<int>(rows.size()); }
    std::string_view view(int local) const {
        const Row& r = rows[static_cast<std::size_t>(local)];
        return {text.get() + r.start, r.length};
    }
    bool owns(std::string_view s) const {
        return !s.empty() && s.data() >= text.get() && s.data() < text.get() + cap;
    }
    // Copies the live texts in row order into a fresh arena with room for `extra` more bytes.
    void compact(std::uint32_t extra) {
        const std::uint64_t want = std::uint64_t{live} + extra;
        const std::uint32_t newCap = static_cast<std::uint32_t>(std::max<std::uint64_t>(want + want / 2 + 64, 256));
        BlockMemory fresh(newCap);
        std::uint32_t at = 0;
        for (Row& r : rows) {
            if (r.length) std::memcpy(fresh.get() + at, text.get() + r.start, r.length);
            r.start = at;
            at += r.length;
        }
        text = std::move(fresh);
        size = at;
        cap = newCap;
    }
    // Stores `s` (which must not lie in this arena) and returns its offset.
    std::uint32_t append(std::string_view s) {
        const auto len = static_cast<std::uint32_t>(s.size());
        if (std::uint64_t{size} + len > cap) compact(len);
        const std::uint32_t at = size;
        if (len) std::memcpy(text.get() + at, s.data(), len);
        size += len;
        live += len;
        return at;
    }
    // Bytes held, with a share of each chunk it has a piece of: the shares of all the holders of a chunk add up
    // to the chunk's size (rounded up).
    std::size_t memory() const {
        auto share = [](const BlockMemory& piece, std::size_t own) -> std::size_t {
            const Chunk* c = piece.chunk();
            if (!c) return own;
            const auto holders = static_cast<std::size_t>(c->references());
            return (c->size() + holders - 1) / holders;
        };
        std::size_t m = sizeof(Block) + extras.capacity() * sizeof(RowExtra);
        m += share(rows.memory(), rows.capacity() * sizeof(Row));
        m += share(text, cap);
        for (const RowExtra& e : extras) m += e.state.capacity() > 15 ? e.state.capacity() : 0;
        return m;
    }
};

// Sums over the blocks (1-based tree), with the search for the block that holds a given running total.
struct TRowBaseList::Fenwick {
    std::vector<std::int64_t> tree;
    int n = 0;
    int top = 1;  // highest power of two <= n

    void build(const std::vector<std::int64_t>& values) {
        n = static_cast<int>(values.size());
        tree.assign(static_cast<std::size_t>(n) + 1, 0);
        for (int i = 1; i <= n; ++i) {
            tree[i] += values[static_cast<std::size_t>(i - 1)];
            const int j = i + (i & -i);
            if (j <= n) tree[j] += tree[i];
        }
        top = 1;
        while (top * 2 <= n) top *= 2;
    }
    void add(int index, std::int64_t delta) {
        for (int i = index + 1; i <= n; i += i & -i) tree[i] += delta;
    }
    std::int64_t prefix(int count) const {  // sum of the first `count` blocks
        std::int64_t s = 0;
        for (int i = count; i > 0; i -= i & -i) s += tree[i];
        return s;
    }
    // The block b with prefix(b) <= target < prefix(b + 1) (n when target is past the total); `rest` gets
    // target - prefix(b).
    int find(std::int64_t target, std::int64_t& rest) const {
        int pos = 0;
        for (int step = top; step > 0; step >>= 1) {
            const int next = pos + step;
            if (next <= n && tree[next] <= target) {
                pos = next;
                target -= tree[next];
            }
        }
        rest = target;
        return pos;
    }
};

TRowBaseList::TRowBaseList() : rowIndex_(new Fenwick), byteIndex_(new Fenwick), lineFenwick_(new Fenwick) {}
TRowBaseList::~TRowBaseList() = default;

void TRowBaseList::checkIndex(int index) const {
    if (index < 0 || index >= count_) throw EListError();
}

TRowBaseList::Locator TRowBaseList::locate(int index) const {
    if (cacheBlock_ >= 0 && index >= cacheStart_ &&
        index < cacheStart_ + blocks_[static_cast<std::size_t>(cacheBlock_)]->rowCount()) {
        return {cacheBlock_, index - cacheStart_};
    }
    std::int64_t rest = 0;
    const int b = rowIndex_->find(index, rest);
    cacheBlock_ = b;
    cacheStart_ = index - static_cast<int>(rest);
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
    cacheBlock_ = -1;
}

void TRowBaseList::blockTotalsChanged(int block, int deltaRows, std::int64_t deltaBytes, int deltaLineEnds) {
    if (deltaRows) {
        rowIndex_->add(block, deltaRows);
        count_ += deltaRows;
        cacheBlock_ = -1;
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
    const Locator at = locate(index);
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
    Block& b = *blocks_[static_cast<std::size_t>(at.block)];
    if (b.extras.empty()) {
        if (text.empty()) return;
        b.extras.resize(b.rows.size());
    }
    b.extras[static_cast<std::size_t>(at.local)].state.assign(text.data(), text.size());
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
    cacheBlock_ = -1;
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

void TRowBaseList::Clear() {
    if (count_ == 0 && blocks_.empty()) return;
    Changing();
    blocks_.clear();
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

namespace {

// The CRs and LFs among the 64 bytes at `p`, one bit a byte. CR and LF are never trail bytes of Shift-JIS
// characters.
inline std::uint64_t breakMask(const char* p) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf));
        const auto m = static_cast<unsigned>(_mm_movemask_epi8(hits));
        mask |= std::uint64_t{m} << (16 * k);
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (int k = 0; k < 64; ++k) {
        if (p[k] == '\r' || p[k] == '\n') mask |= std::uint64_t{1} << k;
    }
    return mask;
#endif
}

}  // namespace

// The rows of a load are read straight into chunks. A block's text is the stretch of a text chunk its rows were
// read into, with no room to spare; its rows are written straight into a row chunk, and the block's row array
// is the piece they fill. Only a row not yet ended when a text chunk is full moves, to the start of the next
// text chunk.
class TRowBaseList::Loader {
public:
    explicit Loader(TRowBaseList& list) : list_(list), firstBlock_(list.blocks_.size()) {}

    // Room to read into: at least `minimum` bytes after the bytes read so far.
    char* room(std::size_t minimum, std::size_t& size) {
        if (!text_.get() || text_.chunk()->size() - end_ < minimum) nextTextChunk(minimum);
        size = text_.chunk()->size() - end_;
        return text_.get() + end_;
    }
    bool started() const noexcept { return text_.get() != nullptr; }
    const char* bytes() const noexcept { return text_.get(); }
    std::size_t end() const noexcept { return end_; }
    void grow(std::size_t n) noexcept { end_ += n; }

    // Ends rows at the breaks read but not yet looked at. A CR that is the last byte read is left for the next
    // call unless `final`, as its LF may come with the next read.
    void scan(bool final) {
        const char* p = text_.get();
        std::size_t limit = end_;
        if (!final && limit > scan_ && p[limit - 1] == '\r') --limit;
        std::size_t i = scan_;
        for (; i + 64 <= limit; i += 64) {
            for (std::uint64_t mask = breakMask(p + i); mask; mask &= mask - 1) {
                const std::size_t brk = i + static_cast<std::size_t>(__builtin_ctzll(mask));
                if (brk >= lineStart_) rowAt(p, brk);  // not the LF of a CR LF already taken
            }
        }
        for (; i < limit; ++i) {
            if ((p[i] == '\r' || p[i] == '\n') && i >= lineStart_) rowAt(p, i);
        }
        scan_ = std::max(lineStart_, limit);
    }

    // Text after the last break becomes a raTextEnd row; the rows not yet in a block get one. Chunks filled only
    // in part are not kept for the few blocks in them: those blocks move to allocations of their own.
    void finish() {
        if (lineStart_ < end_) addRow(lineStart_, end_, end_, raTextEnd);
        finishBlock();
        const Chunk* text = text_.chunk();
        const Chunk* rows = rowChunk_.chunk();
        const bool moveTexts = text && text->size() - end_ > end_ / 4 + 64;
        const bool moveRows = rows && rows->size() - rowsUsed_ > rowsUsed_ / 4 + 64;
        for (std::size_t i = list_.blocks_.size(); i-- > firstBlock_;) {
            Block& b = *list_.blocks_[i];
            const bool inText = text && b.text.chunk() == text;
            const bool inRows = rows && b.rows.memory().chunk() == rows;
            if (!inText && !inRows) break;  // the blocks in the last chunks are the last blocks
            if (inText && moveTexts) {
                BlockMemory own(b.cap);
                std::memcpy(own.get(), b.text.get(), b.size);
                b.text = std::move(own);
            }
            if (inRows && moveRows) b.rows.ownMemory();
        }
    }

    // Makes a block of the rows not yet in one; the bytes up to the current row belong to it.
    void finishBlock() {
        if (pending_ == 0) {
            blockStart_ = lineStart_;
            return;
        }
        auto block = std::make_unique<Block>();
        block->rows.adopt(BlockMemory(*rowChunk_.chunk(), reinterpret_cast<char*>(rowsOut_)), pending_);
        block->text = BlockMemory(*text_.chunk(), text_.get() + blockStart_);
        block->size = block->cap = static_cast<std::uint32_t>(lineStart_ - blockStart_);
        block->live = live_;
        block->bytes = std::int64_t{live_} + 2 * static_cast<std::int64_t>(lineEndRows_);
        block->lineEnds = static_cast<int>(pending_);  // a load makes no raWrapped rows
        list_.blocks_.push_back(std::move(block));
        rowsUsed_ += pending_ * sizeof(Row);
        rowsOut_ = nullptr;
        pending_ = 0;
        live_ = 0;
        lineEndRows_ = 0;
        blockStart_ = lineStart_;
    }

private:
    // The break at `brk` ends the row being read: CR LF, a lone CR or a lone LF.
    void rowAt(const char* p, std::size_t brk) {
        std::size_t after = brk + 1;
        if (p[brk] == '\r' && after < end_ && p[after] == '\n') ++after;
        addRow(lineStart_, brk, after, raLineEnd);
    }

    // The row [from, to) of the text chunk ends, and the next row starts at `next`. Rows are cut into blocks of
    // kFillRows rows or kLoadArena bytes, whichever comes first.
    void addRow(std::size_t from, std::size_t to, std::size_t next, TRowAttribute a) {
        if (!rowsOut_) startRows();
        const auto length = static_cast<std::uint32_t>(to - from);
        rowsOut_[pending_++] = Row{static_cast<std::uint32_t>(from - blockStart_), length, a, 0};
        live_ += length;
        lineEndRows_ += a == raLineEnd ? 1 : 0;
        lineStart_ = next;
        if (pending_ == static_cast<std::size_t>(kFillRows) || next - blockStart_ >= kLoadArena) finishBlock();
    }

    // Room in the row chunk for the rows of a whole block.
    void startRows() {
        const std::size_t most = static_cast<std::size_t>(kFillRows) * sizeof(Row);
        if (!rowChunk_.get() || rowChunk_.chunk()->size() - rowsUsed_ < most) {
            rowChunk_ = BlockMemory::NewChunk(std::max(most, rowChunkSize_));
            rowChunkSize_ = std::min(rowChunkSize_ * 2, Chunk::kSize);
            rowsUsed_ = 0;
        }
        rowsOut_ = reinterpret_cast<Row*>(rowChunk_.get() + rowsUsed_);
    }

    // The rows read so far get their block; a row not yet ended, with the bytes read after it, moves to a new
    // chunk that has `minimum` bytes of room after them.
    void nextTextChunk(std::size_t minimum) {
        finishBlock();
        const std::size_t keep = text_.get() ? end_ - lineStart_ : 0;
        BlockMemory fresh = BlockMemory::NewChunk(std::max(keep * 2 + minimum, textChunkSize_));
        textChunkSize_ = std::min(textChunkSize_ * 2, Chunk::kSize);
        if (keep) std::memcpy(fresh.get(), text_.get() + lineStart_, keep);
        text_ = std::move(fresh);
        scan_ -= lineStart_;
        end_ = keep;
        lineStart_ = blockStart_ = 0;
    }

    TRowBaseList& list_;
    std::size_t firstBlock_;      // the first block this load makes
    // Chunks start small, so that a short text takes little memory, and double up to the size that takes huge
    // pages.
    std::size_t textChunkSize_ = 64 * 1024;
    std::size_t rowChunkSize_ = 16 * 1024;
    BlockMemory text_;            // the loader's hold on the text chunk being filled
    BlockMemory rowChunk_;        // and on the row chunk
    std::size_t rowsUsed_ = 0;    // bytes of the row chunk given to blocks
    Row* rowsOut_ = nullptr;      // where the rows of the block being built go, in the row chunk
    std::size_t pending_ = 0;     // rows of the block being built
    std::size_t end_ = 0;         // bytes read into the text chunk
    std::size_t scan_ = 0;        // bytes looked at for breaks
    std::size_t blockStart_ = 0;  // where the text of the block being built starts
    std::size_t lineStart_ = 0;   // where the row being read starts
    std::uint32_t live_ = 0;      // text bytes of the block's rows
    std::size_t lineEndRows_ = 0; // of them raLineEnd
};

bool TRowBaseList::LoadRows(const ByteReader& read, std::size_t chunk) {
    if (chunk == 0) chunk = 64 * 1024;
    Changing();
    const std::size_t minimumRead = std::min<std::size_t>(chunk, 4096);
    bool ok = true;
    Loader load(*this);
    try {
        for (bool end = false; !end;) {
            std::size_t room = 0;
            char* at = load.room(minimumRead, room);
            const long got = read(at, std::min(room, chunk));
            if (got < 0) {
                ok = false;
                break;
            }
            if (got == 0) break;
            if (const void* eof = std::memchr(at, 0x1A, static_cast<std::size_t>(got))) {
                load.grow(static_cast<std::size_t>(static_cast<const char*>(eof) - at));
                end = true;
            } else {
                load.grow(static_cast<std::size_t>(got));
            }
            load.scan(false);
        }
        if (load.started()) {
            load.scan(true);
            load.finish();
        }
    } catch (...) {
        // A reader that throws: the rows ended so far stay, as after a read error, and the indexes agree with
        // the blocks.
        try {
            load.finishBlock();
        } catch (...) {
        }
        rebuildIndex();
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
