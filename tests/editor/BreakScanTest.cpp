// The load's scanning kernels: the fast ones (SSE2, chosen at run time on 32-bit x86) against the plain loops,
// on bytes of every value at every alignment, with breaks and end-of-file bytes sparse and dense.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "editor/BreakScan.h"

namespace {

TEST(BreakScan, FastKernelsAgreeWithThePlainOnes) {
    struct Density {
        unsigned breaks;  // one byte in this many is CR or LF
        unsigned eofs;    // one in this many is 0x1A (0: none)
    };
    const Density densities[] = {{2, 0}, {40, 0}, {40, 300}, {1000, 0}, {3, 5}};
    std::mt19937 rng(5);
    for (const Density d : densities) {
        // The other bytes are drawn from the whole range: bytes from 0x80 on must not compare as negative.
        auto draw = [&]() -> char {
            const unsigned r = rng();
            if (r % d.breaks == 0) return (r & 0x100) ? '\r' : '\n';
            if (d.eofs && r % d.eofs == 1) return '\x1A';
            return static_cast<char>(r >> 8);
        };
        std::string bytes(4096 + 64, '\0');
        for (char& c : bytes) c = draw();
        for (std::size_t offset = 0; offset < 64; offset += 7) {
            const char* p = bytes.data() + offset;
            const std::size_t blocks = 4096 / rowstore::kScanBlock;
            std::vector<std::uint64_t> fast(blocks), plain(blocks);
            rowstore::breakMasks(p, blocks, fast.data());
            rowstore::plainBreakMasks(p, blocks, plain.data());
            ASSERT_EQ(fast, plain) << "offset " << offset << ", breaks 1 in " << d.breaks;
            for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{15}, std::size_t{16}, std::size_t{17},
                                  std::size_t{333}, std::size_t{4096}}) {
                ASSERT_EQ(rowstore::findEndOfFile(p, n), rowstore::plainFindEndOfFile(p, n))
                    << "offset " << offset << ", length " << n << ", 0x1A 1 in " << d.eofs;
            }
        }
    }
}

}  // namespace
