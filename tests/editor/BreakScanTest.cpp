// The load's break masks: the fast kernel (SSE2, chosen at run time on 32-bit x86) against the plain loop, on
// bytes of every value at every alignment, with breaks sparse and dense.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "editor/BreakScan.h"

namespace {

TEST(BreakScan, TheFastKernelAgreesWithThePlainOne) {
    std::mt19937 rng(5);
    for (const unsigned breaks : {2u, 3u, 40u, 1000u}) {  // one byte in this many is CR or LF
        // The other bytes are drawn from the whole range: bytes from 0x80 on must not compare as negative.
        auto draw = [&]() -> char {
            const unsigned r = rng();
            if (r % breaks == 0) return (r & 0x100) ? '\r' : '\n';
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
            ASSERT_EQ(fast, plain) << "offset " << offset << ", breaks 1 in " << breaks;
        }
    }
}

}  // namespace
