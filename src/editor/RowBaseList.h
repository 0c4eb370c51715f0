// The row list under the editor: rows of Shift-JIS text without line breaks, each with a state text, an object
// value and two attribute words, held in blocks of bounded size so that an edit anywhere in a text of millions of
// rows costs the same.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/RowAttribute.h"

namespace rowstore {
struct RowBlock;
struct FenwickIndex;
}  // namespace rowstore
class SpareChunks;

// The list error: an index outside the list.
class EListError : public std::out_of_range {
public:
    EListError();
};

// One row handed to SpliceRows.
struct NewRow {
    std::string_view text;          // no line break
    std::uint32_t attribute = 0;    // first attribute word
    std::uint32_t attribute2 = 0;   // second attribute word (marks included)
};

class TRowBaseList {
public:
    TRowBaseList();
    virtual ~TRowBaseList();
    TRowBaseList(const TRowBaseList&) = delete;
    TRowBaseList& operator=(const TRowBaseList&) = delete;

    int Count() const noexcept { return count_; }

    // Row text as a copy, or as a view that stays valid until the next change of the list.
    std::string Get(int index) const;
    std::string_view RowView(int index) const;
    int RowLength(int index) const;

    // TStrings-like editing of single rows: new rows are raLineEnd with a not-computed colouring state.
    void Put(int index, std::string_view text);
    void Insert(int index, std::string_view text);
    int Add(std::string_view text);
    void Delete(int index);
    void Clear();
    // Clear for a load that follows in the same update: the memory of the old rows is kept until the update
    // ends and the load reads into it, so that a file opened after another takes no fresh pages. The load must
    // not read from the old rows. Outside an update the same as Clear.
    void ClearForLoad();

    // The item fields. Rows at or past StatesComputedBefore() read as not computed: element index -2, the other
    // state fields 0 and an empty state text, whatever was stored.
    std::uint32_t Attribute(int index) const;
    std::uint32_t Attribute2(int index) const;
    std::uint32_t ObjectValue(int index) const;
    std::string StateText(int index) const;
    void SetAttribute(int index, std::uint32_t word);
    void SetAttribute2(int index, std::uint32_t word2);
    void SetObjectValue(int index, std::uint32_t value);
    void SetStateText(int index, std::string_view text);
    // The same in one look-up of the row, for the colouring walks that visit every row: both words as
    // Attribute and Attribute2 read them; storing the state text and both words as SetStateText, SetAttribute2
    // and SetAttribute would, in this order.
    void Attributes(int index, std::uint32_t& word, std::uint32_t& word2) const;
    void SetRowState(int index, std::uint32_t word, std::uint32_t word2, std::string_view stateText);
    // The same for the full rebuild, which stores every row's state and then reads the row: the state bits of
    // both words (all but the row attribute of `word`, all but the marks of `word2`) and the state text stored
    // as SetRowState stores them; returns the row's text, and its first word as Attribute reads it afterwards.
    std::string_view StoreRowState(int index, std::uint32_t word, std::uint32_t word2, std::string_view stateText,
                                   std::uint32_t& stored);

    // Nested updates; the changed hook runs once more when the outermost update ends.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const noexcept { return updateCount_; }

    // Logical capacity, grown by 4 below 9 items, by 16 up to 64, and by a quarter above.
    int Capacity() const noexcept { return capacity_; }
    void SetCapacity(int capacity);
    static int GrowCapacity(int capacity) noexcept;

    // Replaces rows [first, first + removeCount) by `rows` (first may equal Count()). Runs the hooks once.
    // Does not touch the attributes given; the caller keeps row attributes consistent.
    void SpliceRows(int first, int removeCount, const std::vector<NewRow>& rows);

    // Logical lines: rows that are not raWrapped end a line.
    int LineEndsBefore(int row) const;   // lines ended by rows [0, row)
    int NthLineEndRow(int n) const;      // row that ends line n (0-based); Count() when there is none

    // Byte offsets of the whole text: each row's bytes, plus 2 after a raLineEnd row.
    std::int64_t TextLength() const noexcept;
    std::int64_t RowOffset(int index) const;          // offset of the row's first byte; Count() gives TextLength()
    int RowFromOffset(std::int64_t offset) const;     // the row holding the offset (offsets in a break: that row)
    std::string Text() const;                          // rows, CR LF after every raLineEnd row

    // Colouring states: rows at or past this row count as not computed. InvalidateStatesFrom is O(1) whatever
    // the number of rows; storing a computed state into the row at the mark moves the mark one row down.
    int StatesComputedBefore() const noexcept { return statesBefore_; }
    void InvalidateStatesFrom(int row) noexcept;

    // Loading: appends the rows of a byte stream, read by `read` (bytes read into the buffer, 0 at the end,
    // -1 on an error) straight into the blocks. Breaks at CR LF, lone CR and lone LF (also when a CR ends one
    // read and an LF starts the next), reading stops at the first 0x1A byte, and text after the last break
    // becomes a raTextEnd row. New rows are not computed. Returns false on a read error (the rows read so far
    // stay); an exception from `read` passes on, the rows ended before it kept. Reads ask for at most `chunk`
    // bytes.
    using ByteReader = std::function<long(char* buffer, std::size_t size)>;
    bool LoadRows(const ByteReader& read, std::size_t chunk);

    // Bytes held by the list (texts, item arrays, block tables, the memory a load shares between blocks), for
    // the memory measurement.
    std::size_t MemoryUsed() const noexcept;

protected:
    virtual void Changing() {}
    virtual void Changed() {}
    virtual void UpdateEnded() {}   // after the outermost EndUpdate, following Changed()
    void checkIndex(int index) const;

private:
    using Block = rowstore::RowBlock;
    using Fenwick = rowstore::FenwickIndex;
    struct Locator {
        int block;
        int local;
    };

    Locator locate(int index) const;
    void forgetLocated() const noexcept { cacheBlock_ = -1, cacheStart_ = cacheEnd_ = 0; }
    void rebuildIndex();
    void blockTotalsChanged(int block, int deltaRows, std::int64_t deltaBytes, int deltaLineEnds);
    void eraseRows(int first, int count);
    void insertRows(int first, const std::vector<NewRow>& rows);
    void mergeAround(int block);
    void modified();
    void clear(bool keepChunks);
    void noteStateStored(int index, std::uint32_t word);
    void storeAttribute(int index, const Locator& at, std::uint32_t word);
    static void storeStateText(Block& b, int local, std::string_view text);

    std::vector<std::unique_ptr<Block>> blocks_;
    std::unique_ptr<Fenwick> rowIndex_;    // rows per block
    std::unique_ptr<Fenwick> byteIndex_;   // text bytes (with breaks) per block
    std::unique_ptr<Fenwick> lineFenwick_; // rows ending a line (not raWrapped) per block
    std::unique_ptr<SpareChunks> spares_;  // chunks kept by ClearForLoad until the update ends
    // The last block located and its rows [cacheStart_, cacheEnd_); an empty range when unknown. Every change
    // of a block's row count forgets it.
    mutable int cacheBlock_ = -1;
    mutable int cacheStart_ = 0;
    mutable int cacheEnd_ = 0;
    int count_ = 0;
    int capacity_ = 0;
    int updateCount_ = 0;
    int statesBefore_ = 0;
};
