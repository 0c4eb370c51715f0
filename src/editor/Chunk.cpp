// Chunks come from the heap. On Linux those of 2 MiB and more are aligned to 2 MiB and marked for huge pages: a
// 100 MB load then takes a few hundred page faults instead of tens of thousands.
#include "editor/Chunk.h"

#include <cstdlib>
#include <new>
#include <utility>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

char* allocateChunk(std::size_t bytes) {
#if defined(__linux__)
    const bool huge = bytes >= Chunk::kSize;
    void* p = nullptr;
    if (posix_memalign(&p, huge ? Chunk::kSize : 64, bytes) != 0) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    if (huge) ::madvise(p, bytes, MADV_HUGEPAGE);  // only advice: without huge pages the chunk works the same
#endif
    return static_cast<char*>(p);
#else
    return new char[bytes];
#endif
}

void freeChunk(char* p) noexcept {
#if defined(__linux__)
    std::free(p);
#else
    delete[] p;
#endif
}

}  // namespace

Chunk::~Chunk() { freeChunk(data_); }

void Chunk::release() noexcept {
    if (--references_ == 0) delete this;
}

BlockMemory::BlockMemory(std::size_t bytes) : data_(new char[bytes > 0 ? bytes : 1]) {}

BlockMemory::BlockMemory(Chunk& chunk, char* piece) noexcept : data_(piece), chunk_(&chunk) {
    ++chunk.references_;
}

BlockMemory BlockMemory::NewChunk(std::size_t bytes) {
    if (bytes == 0) bytes = 1;
    const std::size_t size = bytes <= Chunk::kSize ? bytes : (bytes + Chunk::kSize - 1) / Chunk::kSize * Chunk::kSize;
    char* data = allocateChunk(size);
    Chunk* chunk = nullptr;
    try {
        chunk = new Chunk(data, size);
    } catch (...) {
        freeChunk(data);
        throw;
    }
    BlockMemory m;
    m.data_ = data;
    m.chunk_ = chunk;  // the chunk's first reference
    return m;
}

BlockMemory& BlockMemory::operator=(BlockMemory&& other) noexcept {
    if (this != &other) {
        reset();
        data_ = std::exchange(other.data_, nullptr);
        chunk_ = std::exchange(other.chunk_, nullptr);
    }
    return *this;
}

void BlockMemory::reset() noexcept {
    if (chunk_) {
        chunk_->release();
    } else {
        delete[] data_;
    }
    data_ = nullptr;
    chunk_ = nullptr;
}

void SpareChunks::add(Chunk& chunk) {
    // The blocks of a load come in order, chunk by chunk: the chunk just added is the one met most often.
    for (auto it = chunks_.rbegin(); it != chunks_.rend(); ++it) {
        if (it->chunk() == &chunk) return;
    }
    chunks_.emplace_back(chunk, chunk.data());
}

void SpareChunks::dropShared() noexcept {
    std::size_t kept = 0;
    for (BlockMemory& m : chunks_) {
        if (m.chunk()->references() == 1) chunks_[kept++] = std::move(m);
    }
    chunks_.resize(kept);
}

BlockMemory SpareChunks::take(std::size_t bytes) {
    std::size_t best = chunks_.size();
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        const std::size_t size = chunks_[i].chunk()->size();
        if (size >= bytes && (best == chunks_.size() || size < chunks_[best].chunk()->size())) best = i;
    }
    if (best == chunks_.size()) return BlockMemory::NewChunk(bytes);
    BlockMemory m = std::move(chunks_[best]);
    chunks_[best] = std::move(chunks_.back());
    chunks_.pop_back();
    return m;
}
