// Line breaks and the end-of-file byte: SSE2 kernels chosen at run time on 32-bit x86, always on x86-64.
#include "editor/BreakScan.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define CANOPIA_SCAN_SSE2 1
#endif

namespace rowstore {

constexpr char kEndOfFile = '\x1A';

void plainBreakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept {
    for (std::size_t b = 0; b < blocks; ++b, p += kScanBlock) {
        std::uint64_t mask = 0;
        for (std::size_t k = 0; k < kScanBlock; ++k) {
            if (p[k] == '\r' || p[k] == '\n') mask |= std::uint64_t{1} << k;
        }
        masks[b] = mask;
    }
}

const char* plainFindEndOfFile(const char* p, std::size_t n) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == kEndOfFile) return p + i;
    }
    return nullptr;
}

#if defined(CANOPIA_SCAN_SSE2)

namespace {

// The 32-bit build targets processors without SSE2 as well; these functions alone use it, and only once the
// processor has said it has it.
__attribute__((target("sse2"))) void sse2BreakMasks(const char* p, std::size_t blocks,
                                                    std::uint64_t* masks) noexcept {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (std::size_t b = 0; b < blocks; ++b, p += kScanBlock) {
        std::uint64_t mask = 0;
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
            const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf));
            mask |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(hits))} << (16 * k);
        }
        masks[b] = mask;
    }
}

__attribute__((target("sse2"))) const char* sse2FindEndOfFile(const char* p, std::size_t n) noexcept {
    const __m128i eof = _mm_set1_epi8(kEndOfFile);
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (const int hit = _mm_movemask_epi8(_mm_cmpeq_epi8(v, eof))) return p + i + __builtin_ctz(hit);
    }
    return plainFindEndOfFile(p + i, n - i);
}

bool haveSse2() noexcept {
#if defined(__SSE2__)
    return true;
#else
    return __builtin_cpu_supports("sse2");
#endif
}

}  // namespace

void breakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept {
    if (haveSse2()) {
        sse2BreakMasks(p, blocks, masks);
    } else {
        plainBreakMasks(p, blocks, masks);
    }
}

const char* findEndOfFile(const char* p, std::size_t n) noexcept {
    return haveSse2() ? sse2FindEndOfFile(p, n) : plainFindEndOfFile(p, n);
}

#else

void breakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept { plainBreakMasks(p, blocks, masks); }

const char* findEndOfFile(const char* p, std::size_t n) noexcept { return plainFindEndOfFile(p, n); }

#endif

}  // namespace rowstore
