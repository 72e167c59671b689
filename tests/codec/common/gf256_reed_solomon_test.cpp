#include "codec/common/gf256.h"
#include "codec/common/reed_solomon.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kodaro::codec {
namespace {

TEST(Gf256, FieldAxioms) {
    // alpha^8 reduces by the primitive polynomial 0x11D.
    EXPECT_EQ(Gf256::Exp(8), 0x1D);
    EXPECT_EQ(Gf256::Exp(255), 1);
    for (unsigned i = 0; i < 255; ++i)
        EXPECT_EQ(Gf256::Log(Gf256::Exp(i)), i);
    for (int a = 0; a < 256; ++a) {
        const auto ua = static_cast<uint8_t>(a);
        EXPECT_EQ(Gf256::Multiply(ua, 0), 0);
        EXPECT_EQ(Gf256::Multiply(ua, 1), ua);
        if (a != 0) {
            EXPECT_EQ(Gf256::Multiply(ua, Gf256::Inverse(ua)), 1);
        }
        for (int b = 1; b < 256; ++b) {
            const auto ub = static_cast<uint8_t>(b);
            EXPECT_EQ(Gf256::Divide(Gf256::Multiply(ua, ub), ub), ua);
        }
    }
}

TEST(Gf256, MultiplyMatchesShiftAndAdd) {
    auto slow = [](unsigned a, unsigned b) {
        unsigned r = 0;
        while (b) {
            if (b & 1)
                r ^= a;
            b >>= 1;
            a <<= 1;
            if (a & 0x100)
                a ^= Gf256::kPrimitive;
        }
        return r;
    };
    for (unsigned a = 0; a < 256; a += 3)
        for (unsigned b = 0; b < 256; b += 5)
            EXPECT_EQ(Gf256::Multiply(static_cast<uint8_t>(a), static_cast<uint8_t>(b)),
                      slow(a, b));
}

// The worked example of a version 1-M symbol holding "01234567".
TEST(ReedSolomon, KnownBlock) {
    const std::vector<uint8_t> data = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11,
                                       0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11};
    const std::vector<uint8_t> expected = {0xA5, 0x24, 0xD4, 0xC1, 0xED,
                                           0x36, 0xC7, 0x87, 0x2C, 0x55};
    std::vector<uint8_t> ecc(10);
    RsComputeRemainder(data, RsCachedGenerator(10), ecc);
    EXPECT_EQ(ecc, expected);
}

// A codeword (data followed by its check words) is a multiple of the
// generator, so it vanishes at every root alpha^0 .. alpha^(n-1).
TEST(ReedSolomon, CodewordsHaveZeroSyndromes) {
    std::mt19937 rng(7);
    for (int degree : {7, 10, 13, 17, 22, 26, 28, 30, 68}) {
        std::vector<uint8_t> block(static_cast<size_t>(degree) + 40);
        for (auto& b : block)
            b = static_cast<uint8_t>(rng());
        std::span<uint8_t> whole(block);
        RsComputeRemainder(whole.first(40), RsCachedGenerator(degree), whole.subspan(40));
        for (int i = 0; i < degree; ++i) {
            uint8_t value = 0;
            for (uint8_t c : block)
                value = static_cast<uint8_t>(
                    Gf256::Multiply(value, Gf256::Exp(static_cast<unsigned>(i))) ^ c);
            EXPECT_EQ(value, 0) << "degree " << degree << " root " << i;
        }
    }
}

TEST(ReedSolomon, GeneratorDegreesAndBadInput) {
    EXPECT_EQ(RsGeneratorPolynomial(1), std::vector<uint8_t>{1});
    EXPECT_EQ(RsGeneratorPolynomial(255).size(), 255u);
    EXPECT_TRUE(RsGeneratorPolynomial(0).empty());
    EXPECT_TRUE(RsGeneratorPolynomial(256).empty());
    EXPECT_TRUE(RsCachedGenerator(-3).empty());
    // The degree-2 generator is x^2 + 3x + 2.
    EXPECT_EQ(RsGeneratorPolynomial(2), (std::vector<uint8_t>{3, 2}));
}

} // namespace
} // namespace kodaro::codec
