// A byte's first place: an SSE2 kernel chosen at run time on 32-bit x86, always on x86-64.
#include "core/ByteFind.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define CANOPIA_FIND_SSE2 1
#endif

namespace bytefind {

const char* plainFind(const char* p, std::size_t n, char c) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == c) return p + i;
    }
    return nullptr;
}

#if defined(CANOPIA_FIND_SSE2)

namespace {

// Only called once the processor has said it has SSE2.
__attribute__((target("sse2"))) const char* sse2Find(const char* p, std::size_t n, char c) noexcept {
    const __m128i wanted = _mm_set1_epi8(c);
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (const int hit = _mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted))) return p + i + __builtin_ctz(hit);
    }
    return plainFind(p + i, n - i, c);
}

}  // namespace

bool haveSse2() noexcept {
#if defined(__SSE2__)
    return true;
#else
    return __builtin_cpu_supports("sse2");
#endif
}

const char* find(const char* p, std::size_t n, char c) noexcept {
    if (n < 16) return plainFind(p, n, c);
    return haveSse2() ? sse2Find(p, n, c) : plainFind(p, n, c);
}

#else

bool haveSse2() noexcept { return false; }

const char* find(const char* p, std::size_t n, char c) noexcept { return plainFind(p, n, c); }

#endif

}  // namespace bytefind
