// Memory for the blocks of the row list. A load carves the texts and row arrays of many blocks out of a few
// large chunks, so that a big file touches few fresh pages; a chunk is freed when the last piece of it is let
// go. A block that outgrows its piece after an edit moves to an allocation of its own.
#pragma once

#include <cstddef>
#include <vector>

class Chunk {
public:
    // Chunks of this size and more are multiples of it, and use huge pages where the system has them.
    static constexpr std::size_t kSize = 2 * 1024 * 1024;

    Chunk(const Chunk&) = delete;
    Chunk& operator=(const Chunk&) = delete;

    char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    int references() const noexcept { return references_; }

private:
    friend class BlockMemory;
    Chunk(char* data, std::size_t size) noexcept : data_(data), size_(size) {}
    ~Chunk();
    void release() noexcept;

    char* data_;
    std::size_t size_;
    int references_ = 1;
};

// Memory a block owns: nothing, an allocation of its own, or a piece of a chunk (holding one reference to the
// chunk). Moves, never copies.
class BlockMemory {
public:
    BlockMemory() noexcept = default;
    explicit BlockMemory(std::size_t bytes);               // an allocation of its own
    BlockMemory(Chunk& chunk, char* piece) noexcept;       // a piece of `chunk`, starting at `piece`
    // A new chunk of `bytes`, rounded up to a multiple of Chunk::kSize when larger than that; the result holds
    // the chunk from its first byte.
    static BlockMemory NewChunk(std::size_t bytes);

    BlockMemory(BlockMemory&& other) noexcept : data_(other.data_), chunk_(other.chunk_) {
        other.data_ = nullptr;
        other.chunk_ = nullptr;
    }
    BlockMemory& operator=(BlockMemory&& other) noexcept;
    BlockMemory(const BlockMemory&) = delete;
    BlockMemory& operator=(const BlockMemory&) = delete;
    ~BlockMemory() { reset(); }

    char* get() const noexcept { return data_; }
    Chunk* chunk() const noexcept { return chunk_; }   // null for an allocation of its own
    void reset() noexcept;

private:
    char* data_ = nullptr;
    Chunk* chunk_ = nullptr;
};

// Whole chunks a list has let go of, kept for a load that follows: a text loaded in the same update as the clear
// of the text before it (every script the editor's one store opens after the first) is read into memory the
// process holds already instead of pages fresh from the system, which Windows hands out zeroed, one fault a
// page.
class SpareChunks {
public:
    // Keeps `chunk` (once, however often it is added) until it is taken or the spares are cleared.
    void add(Chunk& chunk);
    // Lets go of the chunks still shared with a holder other than this.
    void dropShared() noexcept;
    // The smallest spare chunk of at least `bytes`, held from its first byte; or a new chunk when none fits.
    BlockMemory take(std::size_t bytes);
    void clear() noexcept { chunks_.clear(); }
    bool empty() const noexcept { return chunks_.empty(); }

private:
    std::vector<BlockMemory> chunks_;
};
