// Finding a byte, or any of three: the fast kernels against the plain loops, at every alignment and length
// around the 16-byte steps, for bytes that are there once, often or not at all, and for bytes from 0x80 on.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/ByteFind.h"

namespace {

TEST(ByteFind, AgreesWithThePlainLoopWhereverTheByteIs) {
    std::mt19937 rng(9);
    std::string bytes(600, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 8 == 0 ? 0x1A : 0x40 + rng() % 0xC0);
    for (const char wanted : {'\x1A', '\x95', '\x5C', '\xFF', '\0'}) {
        for (std::size_t offset = 0; offset < 20; ++offset) {
            for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 33u, 100u, 579u}) {
                const char* p = bytes.data() + offset;
                ASSERT_EQ(bytefind::find(p, n, wanted), bytefind::plainFind(p, n, wanted))
                    << "byte " << static_cast<int>(static_cast<unsigned char>(wanted)) << ", offset " << offset
                    << ", length " << n;
                ASSERT_EQ(bytefind::findAny(p, n, wanted, '\r', 'A'),
                          bytefind::plainFindAny(p, n, wanted, '\r', 'A'))
                    << "any of three, offset " << offset << ", length " << n;
            }
        }
    }
    // Found only in the last, partial step (looked at again with the step before), and first in it.
    const std::string late = std::string(100, 'a') + "bc";
    EXPECT_EQ(bytefind::find(late.data(), late.size(), 'b'), late.data() + 100);
    EXPECT_EQ(bytefind::findAny(late.data(), late.size(), 'c', 'b', 'x'), late.data() + 100);
    EXPECT_EQ(bytefind::find(late.data(), late.size(), 'a'), late.data());
}

}  // namespace
