// The packed attribute words of a row: line-end kind, the colouring state carried from row to row, and marks.
#pragma once

#include <cstdint>
#include <string>

// How a row ends. raNone appears only in undo records: there was no old block.
enum TRowAttribute : std::uint8_t { raLineEnd = 0, raWrapped = 1, raTextEnd = 2, raNone = 3 };

// Bit layout of the two attribute words (bits counted from the least significant).
//   first word:  0-1 row attribute, 2-3 previous row's attribute (0 for row 0),
//                4-7 colouring element index + 2 (stored 0 = -2 = state not computed),
//                8-15 wrapped kind, 16-23 wrapped remainder, 24-31 spare value 0
//   second word: 0-7 spare value 1, 8-15 spare value 2, 16-31 row marks (one bit per mark)
// A zeroed word pair is a raLineEnd row whose colouring state is not computed and that has no marks.
namespace rowbits {
constexpr std::uint32_t kRowAttributeMask = 0x3u;
constexpr int kPrevShift = 2;
constexpr std::uint32_t kPrevMask = 0x3u << kPrevShift;
constexpr int kElementShift = 4;
constexpr std::uint32_t kElementMask = 0xFu << kElementShift;
constexpr int kWrappedKindShift = 8;
constexpr int kWrappedRemainShift = 16;
constexpr int kSpare0Shift = 24;
constexpr int kSpare1Shift = 0;    // second word
constexpr int kSpare2Shift = 8;    // second word
constexpr int kMarksShift = 16;    // second word
constexpr std::uint32_t kMarksMask = 0xFFFF0000u;
constexpr std::uint32_t kStateMask2 = 0x0000FFFFu;  // the colouring-state part of the second word

constexpr int kElementNotComputed = -2;
constexpr int kElementOutside = -1;  // outside any bracket pair
constexpr int kElementMax = 13;      // bracket pairs 0..13

constexpr TRowAttribute rowAttribute(std::uint32_t word) noexcept {
    return static_cast<TRowAttribute>(word & kRowAttributeMask);
}
constexpr TRowAttribute prevRowAttribute(std::uint32_t word) noexcept {
    return static_cast<TRowAttribute>((word & kPrevMask) >> kPrevShift);
}
constexpr int elementIndex(std::uint32_t word) noexcept {
    return static_cast<int>((word & kElementMask) >> kElementShift) - 2;
}
constexpr std::uint32_t withRowAttribute(std::uint32_t word, TRowAttribute a) noexcept {
    return (word & ~kRowAttributeMask) | (static_cast<std::uint32_t>(a) & 0x3u);
}
constexpr std::uint32_t withPrevRowAttribute(std::uint32_t word, TRowAttribute a) noexcept {
    return (word & ~kPrevMask) | ((static_cast<std::uint32_t>(a) & 0x3u) << kPrevShift);
}
// Values outside -2..13 are clamped into it, so a bad index never spills into the neighbouring bits.
constexpr std::uint32_t withElementIndex(std::uint32_t word, int index) noexcept {
    const int stored = (index < -2 ? -2 : index > kElementMax ? kElementMax : index) + 2;
    return (word & ~kElementMask) | (static_cast<std::uint32_t>(stored) << kElementShift);
}
constexpr std::uint16_t marks(std::uint32_t word2) noexcept {
    return static_cast<std::uint16_t>(word2 >> kMarksShift);
}
constexpr std::uint32_t withMarks(std::uint32_t word2, std::uint16_t m) noexcept {
    return (word2 & ~kMarksMask) | (static_cast<std::uint32_t>(m) << kMarksShift);
}
}  // namespace rowbits

// The colouring state at the start of a row, unpacked. The row's own attribute and its marks are not part of
// the state; equality compares the state fields only (what the state walk compares to stop early).
struct TRowAttributeData {
    TRowAttribute RowAttribute = raLineEnd;
    TRowAttribute PrevRowAttribute = raLineEnd;
    int ElementIndex = rowbits::kElementOutside;  // -2 not computed, -1 outside brackets, 0..13 inside pair k
    std::uint8_t WrappedKind = 0;                  // token kind cut by a soft wrap at the end of the row above
    std::uint8_t WrappedRemain = 0;                // bytes of that token still to come
    std::uint8_t Spare[3] = {0, 0, 0};             // carried unchanged; room for other tokenisers
    std::string StateText;                         // carried unchanged; room for other tokenisers

    bool sameState(const TRowAttributeData& o) const noexcept {
        return PrevRowAttribute == o.PrevRowAttribute && ElementIndex == o.ElementIndex &&
               WrappedKind == o.WrappedKind && WrappedRemain == o.WrappedRemain && Spare[0] == o.Spare[0] &&
               Spare[1] == o.Spare[1] && Spare[2] == o.Spare[2] && StateText == o.StateText;
    }
    // Packs the state (not the row attribute, not the marks) into a word pair.
    void packInto(std::uint32_t& word, std::uint32_t& word2) const noexcept {
        word = rowbits::withPrevRowAttribute(word, PrevRowAttribute);
        word = rowbits::withElementIndex(word, ElementIndex);
        word = (word & 0x000000FFu) | (std::uint32_t{WrappedKind} << rowbits::kWrappedKindShift) |
               (std::uint32_t{WrappedRemain} << rowbits::kWrappedRemainShift) |
               (std::uint32_t{Spare[0]} << rowbits::kSpare0Shift);
        word2 = (word2 & rowbits::kMarksMask) | (std::uint32_t{Spare[1]} << rowbits::kSpare1Shift) |
                (std::uint32_t{Spare[2]} << rowbits::kSpare2Shift);
    }
    static TRowAttributeData unpack(std::uint32_t word, std::uint32_t word2, std::string stateText) {
        TRowAttributeData d;
        d.RowAttribute = rowbits::rowAttribute(word);
        d.PrevRowAttribute = rowbits::prevRowAttribute(word);
        d.ElementIndex = rowbits::elementIndex(word);
        d.WrappedKind = static_cast<std::uint8_t>(word >> rowbits::kWrappedKindShift);
        d.WrappedRemain = static_cast<std::uint8_t>(word >> rowbits::kWrappedRemainShift);
        d.Spare[0] = static_cast<std::uint8_t>(word >> rowbits::kSpare0Shift);
        d.Spare[1] = static_cast<std::uint8_t>(word2 >> rowbits::kSpare1Shift);
        d.Spare[2] = static_cast<std::uint8_t>(word2 >> rowbits::kSpare2Shift);
        d.StateText = std::move(stateText);
        return d;
    }
};

// What the last change did to the rows; the painter repaints from it. Filled by ReplaceRows and by undo and
// redo, cleared when the store's update ends.
struct ChangeRecord {
    int FirstRow = 0;      // first row of the replaced block
    int RemovedRows = 0;   // rows the block held before
    int InsertedRows = 0;  // rows the block holds now
    int ChangedStates = 0; // rows whose colouring state was stored anew (set by the state update)
    bool Valid = false;
    // What lets a painter repaint no more than changed. The defaults claim nothing, so that a record that
    // leaves them unset is repainted by the fields above alone.
    int KeptFirstRows = 0;     // rows at the block's start that came out as they were (bytes, row attribute, marks)
    int KeptLastRows = 0;      // the same at the block's end; those rows keep their colouring state too
    int StateRowsEnd = -1;     // one past the last row below the kept first rows whose colouring state the update
                               // changed or could no longer vouch for (0: none); -1: not known
    bool TextEndKept = false;  // the text still ends as it did: after a line break (a phantom row), or not
    bool ContinuesAbove = false;  // the row above the block is a wrapped row whose line goes on into the block

    void clear() noexcept { *this = ChangeRecord{}; }
};
