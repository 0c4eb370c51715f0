// Loading rows: the breaks of each read are found 64 bytes at a time, and rows go straight into chunks shared
// by the blocks they make.
#include "editor/RowLoader.h"

#include <algorithm>
#include <cstring>

#include "core/ByteFind.h"
#include "editor/BreakScan.h"
#include "editor/Chunk.h"

namespace rowstore {

namespace {

constexpr std::uint32_t kLoadArena = 32 * 1024;  // a block being loaded takes no rows past this many bytes
constexpr std::size_t kMaskBatch = 256;          // masks made in one go: 16 KB of text
constexpr std::size_t kPage = 4096;

// The rows of a load are read straight into chunks. A block's text is the stretch of a text chunk its rows were
// read into, with no room to spare; its rows are written straight into a row chunk, and the block's row array
// is the piece they fill. Only a row not yet ended when a text chunk is full moves, to the start of the next
// text chunk.
class Loader {
public:
    Loader(Blocks& blocks, SpareChunks* spares) : blocks_(blocks), spares_(spares), firstBlock_(blocks.size()) {}

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
        std::uint64_t masks[kMaskBatch];
        while (i + kScanBlock <= limit) {
            const std::size_t blocks = std::min((limit - i) / kScanBlock, kMaskBatch);
            breakMasks(p + i, blocks, masks);
            for (std::size_t b = 0; b < blocks; ++b, i += kScanBlock) {
                for (std::uint64_t mask = masks[b]; mask; mask &= mask - 1) {
                    const std::size_t brk = i + static_cast<std::size_t>(__builtin_ctzll(mask));
                    if (brk >= lineStart_) rowAt(p, brk);  // not the LF of a CR LF already taken
                }
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
        for (std::size_t i = blocks_.size(); i-- > firstBlock_;) {
            RowBlock& b = *blocks_[i];
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
        auto block = std::make_unique<RowBlock>();
        block->rows.adopt(BlockMemory(*rowChunk_.chunk(), reinterpret_cast<char*>(rowsOut_)), pending_);
        block->text = BlockMemory(*text_.chunk(), text_.get() + blockStart_);
        block->size = block->cap = static_cast<std::uint32_t>(lineStart_ - blockStart_);
        block->live = live_;
        block->bytes = std::int64_t{live_} + 2 * static_cast<std::int64_t>(lineEndRows_);
        block->lineEnds = static_cast<int>(pending_);  // a load makes no raWrapped rows
        blocks_.push_back(std::move(block));
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
            rowChunk_ = newChunk(std::max(most, rowChunkSize_));
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
        BlockMemory fresh = newChunk(std::max(keep * 2 + minimum, textChunkSize_));
        textChunkSize_ = std::min(textChunkSize_ * 2, Chunk::kSize);
        if (keep) std::memcpy(fresh.get(), text_.get() + lineStart_, keep);
        text_ = std::move(fresh);
        scan_ -= lineStart_;
        end_ = keep;
        lineStart_ = blockStart_ = 0;
    }

    BlockMemory newChunk(std::size_t bytes) { return spares_ ? spares_->take(bytes) : BlockMemory::NewChunk(bytes); }

    Blocks& blocks_;
    SpareChunks* spares_;
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

// Writes a byte into every page of [p, p + n). Under Wine a read into fresh pages costs half as much again as
// touching them first and then reading (100 MB: 80 ms against 55 ms; natively the two cost the same).
void touchPages(char* p, std::size_t n) noexcept {
    if (n == 0) return;
    for (std::size_t i = 0; i < n; i += kPage) p[i] = 0;
    p[n - 1] = 0;
}

}  // namespace

bool LoadBlocks(Blocks& blocks, const TRowBaseList::ByteReader& read, std::size_t chunk, SpareChunks* spares) {
    if (chunk == 0) chunk = 64 * 1024;
    const std::size_t minimumRead = std::min<std::size_t>(chunk, 4096);
    bool ok = true;
    Loader load(blocks, spares);
    try {
        for (bool end = false; !end;) {
            std::size_t room = 0;
            char* at = load.room(minimumRead, room);
            const std::size_t ask = std::min(room, chunk);
            touchPages(at, ask);
            const long got = read(at, ask);
            if (got < 0) {
                ok = false;
                break;
            }
            if (got == 0) break;
            if (const char* eof = bytefind::find(at, static_cast<std::size_t>(got), '\x1A')) {
                load.grow(static_cast<std::size_t>(eof - at));
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
        // A reader that throws: the rows ended so far stay in blocks, as after a read error.
        try {
            load.finishBlock();
        } catch (...) {
        }
        throw;
    }
    return ok;
}

}  // namespace rowstore
