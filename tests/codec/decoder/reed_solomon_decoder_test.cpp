#include "codec/decoder/reed_solomon_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "codec/common/reed_solomon.h"

namespace kodaro::codec {
namespace {

std::vector<uint8_t> EncodedBlock(int dataCount, int eccCount, uint32_t seed) {
    std::vector<uint8_t> block(static_cast<size_t>(dataCount + eccCount));
    uint32_t state = seed * 2654435761u + 1;
    for (int i = 0; i < dataCount; ++i) {
        state = state * 1103515245u + 12345u;
        block[i] = static_cast<uint8_t>(state >> 16);
    }
    RsComputeRemainder(std::span(block.data(), static_cast<size_t>(dataCount)),
                       RsCachedGenerator(eccCount),
                       std::span(block.data() + dataCount, static_cast<size_t>(eccCount)));
    return block;
}

// Damages `count` distinct codewords, spread over the whole block.
void Damage(std::vector<uint8_t>& block, int count, uint32_t seed) {
    if (count == 0)
        return;
    const size_t step = block.size() / static_cast<size_t>(count);
    for (int i = 0; i < count; ++i) {
        const size_t position = seed % step + static_cast<size_t>(i) * step;
        block[position] ^= static_cast<uint8_t>(1 + (seed + static_cast<uint32_t>(i) * 37) % 255);
    }
}

TEST(ReedSolomonDecoder, CorrectsUpToHalfTheCheckWordsAndRefusesOneMore) {
    for (int ecc : {7, 10, 16, 22, 26, 30}) {
        const int capacity = ecc / 2;
        for (uint32_t seed = 1; seed <= 12; ++seed) {
            const auto original = EncodedBlock(ecc == 30 ? 120 : 40, ecc, seed);
            for (int errors = 0; errors <= capacity; ++errors) {
                auto block = original;
                Damage(block, errors, seed);
                EXPECT_EQ(RsCorrect(block, ecc, capacity), errors)
                    << "ecc " << ecc << " seed " << seed << " errors " << errors;
                EXPECT_EQ(block, original);
            }
            auto block = original;
            Damage(block, capacity + 1, seed);
            const auto damaged = block;
            EXPECT_EQ(RsCorrect(block, ecc, capacity), -1) << "ecc " << ecc << " seed " << seed;
            EXPECT_EQ(block, damaged) << "a refused block stays as it was";
        }
    }
}

TEST(ReedSolomonDecoder, HonoursALowerLimitAndRejectsBadShapes) {
    const auto original = EncodedBlock(26, 10, 3);
    auto block = original;
    Damage(block, 3, 3);
    EXPECT_EQ(RsCorrect(block, 10, 2), -1);
    EXPECT_EQ(RsCorrect(block, 10, 3), 3);
    EXPECT_EQ(block, original);

    std::vector<uint8_t> tiny(4, 0);
    EXPECT_EQ(RsCorrect(tiny, 5, 2), -1);
    EXPECT_EQ(RsCorrect(tiny, 0, 0), -1);
}

} // namespace
} // namespace kodaro::codec
