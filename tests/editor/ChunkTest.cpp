// Chunks shared by the blocks of a load: pieces hold their chunk, the last one to let go frees it (ASan reports
// any that is never freed); loads that cross chunks keep every byte; blocks move off their chunk when edited.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "editor/Chunk.h"
#include "editor/EditorStringList.h"

namespace {

TEST(Chunk, PiecesShareTheChunkUntilTheLastLetsGo) {
    BlockMemory hold = BlockMemory::NewChunk(1000);
    Chunk* chunk = hold.chunk();
    ASSERT_NE(chunk, nullptr);
    EXPECT_EQ(chunk->size(), 1000u);
    EXPECT_EQ(hold.get(), chunk->data());
    std::vector<BlockMemory> pieces;
    for (int i = 0; i < 5; ++i) pieces.emplace_back(*chunk, chunk->data() + 100 * i);
    EXPECT_EQ(chunk->references(), 6);

    hold.reset();  // the maker lets go first: the pieces keep the chunk
    EXPECT_EQ(hold.get(), nullptr);
    EXPECT_EQ(chunk->references(), 5);
    pieces[2].get()[0] = 'x';  // still writable (ASan: no use after free)

    BlockMemory moved = std::move(pieces[0]);
    EXPECT_EQ(pieces[0].chunk(), nullptr);
    EXPECT_EQ(moved.chunk(), chunk);
    EXPECT_EQ(chunk->references(), 5);

    BlockMemory own(64);
    EXPECT_EQ(own.chunk(), nullptr);
    moved = std::move(own);  // gives up its piece, takes the allocation
    EXPECT_EQ(moved.chunk(), nullptr);
    EXPECT_EQ(chunk->references(), 4);
    pieces.clear();  // the last piece frees the chunk
}

TEST(Chunk, LargeChunksAreWholeMultiplesOfTheHugePageSize) {
    BlockMemory exact = BlockMemory::NewChunk(Chunk::kSize);
    EXPECT_EQ(exact.chunk()->size(), Chunk::kSize);
    BlockMemory larger = BlockMemory::NewChunk(Chunk::kSize + 1);
    EXPECT_EQ(larger.chunk()->size(), 2 * Chunk::kSize);
    const auto address = reinterpret_cast<std::uintptr_t>(larger.get());
#if defined(__linux__)
    EXPECT_EQ(address % Chunk::kSize, 0u);
#else
    EXPECT_NE(address, 0u);
#endif
    larger.get()[2 * Chunk::kSize - 1] = 'z';  // the whole chunk is there
}

TEST(SpareChunks, TheSmallestThatFitsAndOnlyChunksNoOneElseHolds) {
    std::vector<BlockMemory> made;
    for (std::size_t size : {std::size_t{4096}, std::size_t{65536}, std::size_t{1000}}) {
        made.push_back(BlockMemory::NewChunk(size));
    }
    Chunk* const small = made[2].chunk();
    Chunk* const middle = made[0].chunk();
    Chunk* const large = made[1].chunk();
    BlockMemory stillUsed(*large, large->data() + 10);  // a piece someone still holds
    SpareChunks spares;
    for (int twice = 0; twice < 2; ++twice) {
        for (BlockMemory& m : made) spares.add(*m.chunk());
    }
    made.clear();
    spares.dropShared();  // the large one is still in use

    BlockMemory a = spares.take(900);
    EXPECT_EQ(a.chunk(), small);
    EXPECT_EQ(a.get(), small->data());
    EXPECT_EQ(small->references(), 1);
    BlockMemory b = spares.take(900);  // the next best, added only once however often it came
    EXPECT_EQ(b.chunk(), middle);
    EXPECT_TRUE(spares.empty());
    BlockMemory c = spares.take(100);  // none left: a new one
    EXPECT_NE(c.chunk(), nullptr);
    EXPECT_NE(c.chunk(), large);
    EXPECT_EQ(large->references(), 1);
}

// Rows of mixed lengths and breaks (CR LF, lone CR, lone LF), Shift-JIS words with 0x5C trail bytes, a row
// longer than a huge-page chunk, empty rows; the expected rows alongside.
struct Sample {
    std::string text;
    std::vector<std::string> rows;
};

Sample makeSample(std::size_t rows, unsigned seed) {
    std::mt19937 rng(seed);
    static const char* const kWords[] = {"LINE ", "\x95\x5C\x8E\xA6", "\x83\x5C\x83\x74\x83\x67", "100,200 ", "\t"};
    static const char* const kBreaks[] = {"\r\n", "\r\n", "\r\n", "\r", "\n"};
    Sample s;
    for (std::size_t i = 0; i < rows; ++i) {
        std::string row;
        if (i == rows / 2) {
            row.assign(Chunk::kSize + 12345, 'L');  // spans text chunks
        } else {
            const unsigned words = rng() % 12;
            for (unsigned w = 0; w < words; ++w) row += kWords[rng() % 5];
        }
        s.text += row;
        s.rows.push_back(row);
        const char* brk = kBreaks[rng() % 5];
        // A lone CR followed by a row that starts with LF would read as CR LF: keep the samples unambiguous.
        if (brk[0] == '\r' && brk[1] == '\0') brk = "\r\n";
        s.text += brk;
    }
    s.text += "tail";
    s.rows.push_back("tail");
    return s;
}

void expectRows(const TEditorStringList& list, const Sample& s, std::size_t first = 0) {
    ASSERT_EQ(static_cast<std::size_t>(list.Count()), first + s.rows.size());
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        ASSERT_EQ(list.RowView(static_cast<int>(first + i)), s.rows[i]) << "row " << first + i;
    }
    EXPECT_EQ(list.RowAttribute(list.Count() - 1), raTextEnd);
}

TEST(ChunkedLoad, ReadsOfAnySizeAcrossChunksKeepEveryRow) {
    const Sample s = makeSample(120000, 7);  // some 5 MB: several huge-page chunks of text and of rows
    for (const std::size_t readSize : {std::size_t{4093}, std::size_t{65536}, std::size_t{1} << 20}) {
        TEditorStringList list;
        std::size_t at = 0;
        std::mt19937 rng(static_cast<unsigned>(readSize));
        const bool ok = list.LoadRows(
            [&](char* buffer, std::size_t size) -> long {
                // Short reads now and then, so that reads end anywhere: inside CR LF, at the end of a chunk.
                std::size_t n = std::min(size, s.text.size() - at);
                if (n > 1 && rng() % 3 == 0) n = 1 + rng() % n;
                std::copy(s.text.begin() + static_cast<std::ptrdiff_t>(at),
                          s.text.begin() + static_cast<std::ptrdiff_t>(at + n), buffer);
                at += n;
                return static_cast<long>(n);
            },
            readSize);
        ASSERT_TRUE(ok);
        expectRows(list, s);
        // The store holds the text, not much more: the row table, a little slack and the partly used chunks.
        EXPECT_LT(list.MemoryUsed(), s.text.size() + s.rows.size() * 16 + 3 * Chunk::kSize);
    }
}

TEST(ChunkedLoad, EditedBlocksLeaveTheirChunksAndTheRestStay) {
    const Sample s = makeSample(60000, 11);
    TEditorStringList list;
    list.SetTextStr(s.text);
    expectRows(list, s);
    // Grow a row every 500 rows (every block's arena and row array have no room to spare after a load), insert
    // rows, delete some: the untouched rows must still read back from the chunks.
    std::vector<std::string> model = s.rows;
    for (int i = static_cast<int>(model.size()) - 2; i >= 0; i -= 500) {
        const auto at = static_cast<std::size_t>(i);
        model[at] += "+\x95\x5C";
        list.Put(i, model[at]);
        list.Insert(i, "new");
        model.insert(model.begin() + i, "new");
        if (i % 1500 == 0) {
            list.Delete(i + 1);
            model.erase(model.begin() + i + 1);
        }
    }
    ASSERT_EQ(static_cast<std::size_t>(list.Count()), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(list.RowView(static_cast<int>(i)), model[i]) << i;
    list.Clear();  // every chunk goes with its last block
    EXPECT_EQ(list.Count(), 0);
}

TEST(ChunkedLoad, AShortTextKeepsNoChunkBeyondItsBytes) {
    TEditorStringList list;
    list.SetTextStr("LINE 0,0 10,10\r\n\x95\x5C\x8E\xA6\r\n");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.RowView(1), "\x95\x5C\x8E\xA6");
    EXPECT_LT(list.MemoryUsed(), 2048u);  // not the 64 KB the first chunk of a load has
}

TEST(ChunkedLoad, LoadingIntoAListWithRowsAppendsAndLeavesTheOldBlocksAlone) {
    TEditorStringList list;
    list.SetTextStr("first\r\nsecond\r\n");
    list.Put(0, "first, edited");  // a block with memory of its own before the load
    const Sample s = makeSample(30000, 3);
    std::size_t at = 0;
    ASSERT_TRUE(list.LoadRows(
        [&](char* buffer, std::size_t size) -> long {
            const std::size_t n = std::min(size, s.text.size() - at);
            std::copy(s.text.begin() + static_cast<std::ptrdiff_t>(at),
                      s.text.begin() + static_cast<std::ptrdiff_t>(at + n), buffer);
            at += n;
            return static_cast<long>(n);
        },
        65536));
    EXPECT_EQ(list.RowView(0), "first, edited");
    EXPECT_EQ(list.RowView(1), "second");
    expectRows(list, s, 2);
}

TEST(ChunkedLoad, AFileLoadedInTheUpdateThatClearedTheTextBeforeReadsIntoItsMemory) {
    std::string text;  // some 3 MB of short rows: several chunks of text and of rows, the last ones full
    for (int i = 0; text.size() < 3 * Chunk::kSize / 2; ++i) text += "LINE " + std::to_string(i) + ",0 10,10\r\n";
    TEditorStringList list;
    auto reload = [&list](const std::string& bytes, bool keep) {
        std::size_t at = 0;
        list.BeginUpdate();
        if (keep) {
            list.ClearForLoad();
        } else {
            list.Clear();
        }
        const bool ok = list.LoadRows(
            [&](char* buffer, std::size_t size) -> long {
                const std::size_t n = std::min(size, bytes.size() - at);
                std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + n), buffer);
                at += n;
                return static_cast<long>(n);
            },
            65536);
        list.EndUpdate();
        return ok;
    };
    // The bytes of the rows that lie where rows of the text before lay. AddressSanitizer hands freed memory out
    // again only much later, so these can only have been kept by the list (without, there are none).
    auto bytesInPlace = [&list](const std::vector<std::pair<const char*, const char*>>& before) {
        std::size_t inPlace = 0;
        for (int i = 0; i < list.Count(); ++i) {
            const std::string_view row = list.RowView(i);
            auto it = std::upper_bound(before.begin(), before.end(), std::make_pair(row.data(), row.data()));
            if (it != before.begin() && row.data() + row.size() <= std::prev(it)->second) inPlace += row.size();
        }
        return inPlace;
    };
    auto where = [&list] {  // runs of rows: each row with the break after it
        std::vector<std::pair<const char*, const char*>> runs;
        for (int i = 0; i < list.Count(); ++i) {
            const std::string_view row = list.RowView(i);
            if (!runs.empty() && row.data() >= runs.back().first && row.data() <= runs.back().second + 2) {
                runs.back().second = std::max(runs.back().second, row.data() + row.size());
            } else {
                runs.emplace_back(row.data(), row.data() + row.size());
            }
        }
        std::sort(runs.begin(), runs.end());
        return runs;
    };

    ASSERT_TRUE(reload(text, false));
    auto before = where();
    ASSERT_TRUE(reload(text, true));
    EXPECT_EQ(list.Text(), text);
    EXPECT_GT(bytesInPlace(before), 64u * 1024);  // at least a chunk's worth; a chunk may also serve as rows

    // A short text after a long one keeps none of the long one's chunks (the block table keeps its capacity).
    ASSERT_TRUE(reload("LINE 0,0 10,10\r\n", true));
    EXPECT_EQ(list.Text(), "LINE 0,0 10,10\r\n");
    EXPECT_LT(list.MemoryUsed(), 16384u);  // the smallest chunk of a load is 64 KB
}

TEST(ChunkedLoad, AReaderThatThrowsLeavesTheRowsEndedSoFarAndAConsistentList) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "row " + std::to_string(i) + "\r\n";
    TEditorStringList list;
    std::size_t at = 0;
    EXPECT_THROW(list.LoadRows(
                     [&](char* buffer, std::size_t size) -> long {
                         if (at >= 30000) throw std::runtime_error("the disk went away");
                         const std::size_t n = std::min<std::size_t>(size, 1000);
                         std::copy(text.begin() + static_cast<std::ptrdiff_t>(at),
                                   text.begin() + static_cast<std::ptrdiff_t>(at + n), buffer);
                         at += n;
                         return static_cast<long>(n);
                     },
                     1000),
                 std::runtime_error);
    // The rows ended within the 30,000 bytes read stay; the one cut off by the failure does not.
    const std::size_t whole = text.rfind("\r\n", 29998) + 2;  // a CR LF wholly within the bytes read
    const auto read = text.substr(0, whole);
    const int rows = static_cast<int>(std::count(read.begin(), read.end(), '\n'));
    EXPECT_EQ(list.Text(), read);
    ASSERT_EQ(list.Count(), rows);
    EXPECT_EQ(list.RowView(rows - 1), "row " + std::to_string(rows - 1));
    EXPECT_EQ(list.TextLength(), static_cast<std::int64_t>(whole));
    EXPECT_EQ(list.RowFromOffset(static_cast<std::int64_t>(whole) - 3), rows - 1);
    list.Add("more");  // and the list goes on working
    EXPECT_EQ(list.Count(), rows + 1);
}

}  // namespace
