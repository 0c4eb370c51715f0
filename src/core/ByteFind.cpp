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

const char* plainFindAny(const char* p, std::size_t n, char a, char b, char c) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == a || p[i] == b || p[i] == c) return p + i;
    }
    return nullptr;
}

#if defined(CANOPIA_FIND_SSE2)

namespace {

// Only called once the processor has said it has SSE2, for n >= 16: whole steps of 16 bytes, then the last 16
// bytes once more (overlapping the step before), so that no byte is looked at one by one. `Hits` gives the
// bit mask of wanted bytes among 16.
template <class Hits>
__attribute__((target("sse2"))) inline const char* sse2Scan(const char* p, std::size_t n, Hits hits) noexcept {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        if (const int hit = hits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)))) {
            return p + i + __builtin_ctz(static_cast<unsigned>(hit));
        }
    }
    if (i == n) return nullptr;
    const std::size_t last = n - 16;
    const int hit = hits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + last)));
    return hit ? p + last + __builtin_ctz(static_cast<unsigned>(hit)) : nullptr;
}

__attribute__((target("sse2"))) const char* sse2Find(const char* p, std::size_t n, char c) noexcept {
    const __m128i wanted = _mm_set1_epi8(c);
    return sse2Scan(p, n, [wanted](__m128i v) __attribute__((target("sse2"))) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted));
    });
}

__attribute__((target("sse2"))) const char* sse2FindAny(const char* p, std::size_t n, char a, char b,
                                                        char c) noexcept {
    const __m128i wa = _mm_set1_epi8(a), wb = _mm_set1_epi8(b), wc = _mm_set1_epi8(c);
    return sse2Scan(p, n, [wa, wb, wc](__m128i v) __attribute__((target("sse2"))) {
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, wa), _mm_cmpeq_epi8(v, wb)),
                                         _mm_cmpeq_epi8(v, wc));
        return _mm_movemask_epi8(any);
    });
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
    if (n < 16 || !haveSse2()) return plainFind(p, n, c);
    return sse2Find(p, n, c);
}

const char* findAny(const char* p, std::size_t n, char a, char b, char c) noexcept {
    if (n < 16 || !haveSse2()) return plainFindAny(p, n, a, b, c);
    return sse2FindAny(p, n, a, b, c);
}

#else

bool haveSse2() noexcept { return false; }

const char* find(const char* p, std::size_t n, char c) noexcept { return plainFind(p, n, c); }

const char* findAny(const char* p, std::size_t n, char a, char b, char c) noexcept {
    return plainFindAny(p, n, a, b, c);
}

#endif

}  // namespace bytefind
