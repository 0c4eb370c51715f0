// Private to the row list: a block of rows (at most kMaxRows), their texts in one arena, and its totals.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/Chunk.h"
#include "editor/RowAttribute.h"

namespace rowstore {

constexpr int kMaxRows = 1024;        // a block never holds more rows
constexpr int kFillRows = 768;        // rows put into a block when blocks are built, split or loaded
constexpr int kMinRows = 96;          // a smaller block is merged with a neighbour when they fit

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


struct RowBlock {
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
        std::size_t m = sizeof(RowBlock) + extras.capacity() * sizeof(RowExtra);
        m += share(rows.memory(), rows.capacity() * sizeof(Row));
        m += share(text, cap);
        for (const RowExtra& e : extras) m += e.state.capacity() > 15 ? e.state.capacity() : 0;
        return m;
    }
};

}  // namespace rowstore
