// Finding the line breaks and the end-of-file byte of a load's bytes, 16 bytes at a time with SSE2 wherever the
// processor has it (the 32-bit build asks the processor, as it must also run on ones without), byte by byte
// otherwise. CR, LF and 0x1A are never trail bytes of Shift-JIS characters, so no character walk is needed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rowstore {

constexpr std::size_t kScanBlock = 64;  // bytes per mask

// masks[b] gets one bit per byte of the 64 bytes at p + 64 * b (bit k for byte k), set for CR and LF.
void breakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept;
// The first byte 0x1A in [p, p + n), or null.
const char* findEndOfFile(const char* p, std::size_t n) noexcept;

// The byte-by-byte versions, which the fast ones must agree with (the tests compare them).
void plainBreakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept;
const char* plainFindEndOfFile(const char* p, std::size_t n) noexcept;

}  // namespace rowstore
