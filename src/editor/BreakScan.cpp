// Line breaks: an SSE2 kernel chosen at run time on 32-bit x86, always on x86-64.
#include "editor/BreakScan.h"

#include "core/ByteFind.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define CANOPIA_SCAN_SSE2 1
#endif

namespace rowstore {

void plainBreakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept {
    for (std::size_t b = 0; b < blocks; ++b, p += kScanBlock) {
        std::uint64_t mask = 0;
        for (std::size_t k = 0; k < kScanBlock; ++k) {
            if (p[k] == '\r' || p[k] == '\n') mask |= std::uint64_t{1} << k;
        }
        masks[b] = mask;
    }
}

#if defined(CANOPIA_SCAN_SSE2)

namespace {

// The 32-bit build targets processors without SSE2 as well; this function alone uses it, and only once the
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

}  // namespace

void breakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept {
    if (bytefind::haveSse2()) {
        sse2BreakMasks(p, blocks, masks);
    } else {
        plainBreakMasks(p, blocks, masks);
    }
}

#else

void breakMasks(const char* p, std::size_t blocks, std::uint64_t* masks) noexcept { plainBreakMasks(p, blocks, masks); }

#endif

}  // namespace rowstore
