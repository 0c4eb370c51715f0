// Finding the line breaks of a load's bytes, 16 bytes at a time with SSE2 wherever the processor has it (the
// 32-bit build asks the processor, as it must also run on ones without), byte by byte otherwise. CR and LF are
// never trail bytes of Shift-JIS characters, so no character walk is needed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rowstore {

constexpr std::size_t kScanBlock = 64;  // bytes per mask

// masks[b] gets one bit per byte of the 64 bytes at p + 64 * b (bit k for byte k), set for CR and LF.
void breakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept;
// The byte-by-byte version, which the fast one must agree with (the tests compare them).
void plainBreakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept;

}  // namespace rowstore
