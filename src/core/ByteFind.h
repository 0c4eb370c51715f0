// Finding a byte in a run of bytes, 16 at a time with SSE2 wherever the processor has it (the 32-bit build asks
// the processor, as it must also run on ones without). The C runtime's memchr is no help to the Windows build:
// under Wine it is a loop byte by byte, and every call crosses into a DLL.
#pragma once

#include <cstddef>

namespace bytefind {

// The first byte `c` in [p, p + n), or null, as memchr.
const char* find(const char* p, std::size_t n, char c) noexcept;
// The first byte that is `a`, `b` or `c`, or null.
const char* findAny(const char* p, std::size_t n, char a, char b, char c) noexcept;
// The same byte by byte, which the fast ones must agree with (the tests compare them).
const char* plainFind(const char* p, std::size_t n, char c) noexcept;
const char* plainFindAny(const char* p, std::size_t n, char a, char b, char c) noexcept;
// Whether the SSE2 kernels of this program may run.
bool haveSse2() noexcept;

}  // namespace bytefind
