#include "codec/encoder/mask_penalty.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace kodaro::codec {
namespace {

TEST(MaskPenalty, AllDarkSymbol) {
    const int size = 21;
    const std::vector<uint8_t> modules(size * size, 1);
    const MaskPenalty p = ComputeMaskPenalty(modules, size);
    EXPECT_EQ(p.n1, 42 * (3 + 16)) << "every row and column is one run of 21";
    EXPECT_EQ(p.n2, 20 * 20 * 3);
    EXPECT_EQ(p.n3, 0);
    EXPECT_EQ(p.n4, 100) << "100% dark is ten 5% steps from even";
}

TEST(MaskPenalty, CheckerboardHasOnlyTheBalancePenalty) {
    const int size = 21;
    std::vector<uint8_t> modules(size * size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            modules[r * size + c] = (r + c) % 2;
    const MaskPenalty p = ComputeMaskPenalty(modules, size);
    EXPECT_EQ(p.n1, 0);
    EXPECT_EQ(p.n2, 0);
    EXPECT_EQ(p.n3, 0);
    EXPECT_EQ(p.n4, 0); // 220 of 441 dark
}

TEST(MaskPenalty, FinderLikePatterns) {
    // Checkerboard rows, except one row holding 1011101 with light on both
    // sides: the pattern counts once for each light side.
    const int size = 21;
    std::vector<uint8_t> modules(size * size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            modules[r * size + c] = (r + c) % 2;
    const uint8_t row[size] = {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0, 1, 0};
    for (int c = 0; c < size; ++c)
        modules[10 * size + c] = row[c];
    const MaskPenalty p = ComputeMaskPenalty(modules, size);
    EXPECT_EQ(p.n3, 80);

    // The area outside the symbol counts as light: a pattern at the edge scores.
    std::vector<uint8_t> edge(size * size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            edge[r * size + c] = (r + c) % 2;
    const uint8_t edgeRow[size] = {1, 0, 1, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    for (int c = 0; c < size; ++c)
        edge[0 * size + c] = edgeRow[c];
    EXPECT_EQ(ComputeMaskPenalty(edge, size).n3, 40);
}

TEST(MaskPenalty, RunsAndBlocks) {
    const int size = 21;
    std::vector<uint8_t> modules(size * size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            modules[r * size + c] = (r + c) % 2;
    // Light modules in row 4 from column 3 to 9 on a checkerboard join the
    // light cells at columns 2 and 10 into one run of 9; no 2x2 block forms.
    for (int c = 3; c <= 9; ++c)
        modules[4 * size + c] = 0;
    const MaskPenalty p = ComputeMaskPenalty(modules, size);
    EXPECT_EQ(p.n1, 3 + 4);
    EXPECT_EQ(p.n2, 0);
    // A 3x3 dark square holds four 2x2 blocks.
    std::vector<uint8_t> square(size * size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            square[r * size + c] = (r + c) % 2;
    for (int r = 10; r < 13; ++r)
        for (int c = 10; c < 13; ++c)
            square[r * size + c] = 1;
    EXPECT_EQ(ComputeMaskPenalty(square, size).n2, 4 * 3);
}

// The rules written out plainly, module by module.
MaskPenalty SlowPenalty(const std::vector<uint8_t>& m, int size) {
    MaskPenalty p;
    auto at = [&](int line, int i, bool vertical) {
        if (i < 0 || i >= size)
            return 0; // outside the symbol: light
        return static_cast<int>(vertical ? m[i * size + line] : m[line * size + i]);
    };
    const int finder[7] = {1, 0, 1, 1, 1, 0, 1};
    for (int vertical = 0; vertical < 2; ++vertical) {
        for (int line = 0; line < size; ++line) {
            for (int i = 0; i < size;) {
                int j = i;
                while (j < size && at(line, j, vertical) == at(line, i, vertical))
                    ++j;
                if (j - i >= 5)
                    p.n1 += 3 + (j - i - 5);
                i = j;
            }
            for (int start = -4; start < size; ++start) {
                bool match = true;
                for (int k = 0; k < 7 && match; ++k)
                    match = at(line, start + k, vertical) == finder[k];
                if (!match)
                    continue;
                bool lightBefore = true;
                bool lightAfter = true;
                for (int k = 1; k <= 4; ++k) {
                    lightBefore = lightBefore && at(line, start - k, vertical) == 0;
                    lightAfter = lightAfter && at(line, start + 6 + k, vertical) == 0;
                }
                p.n3 += 40 * (lightBefore + lightAfter);
            }
        }
    }
    int dark = 0;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            dark += m[r * size + c];
            if (r + 1 < size && c + 1 < size && m[r * size + c] == m[r * size + c + 1] &&
                m[r * size + c] == m[(r + 1) * size + c] &&
                m[r * size + c] == m[(r + 1) * size + c + 1])
                p.n2 += 3;
        }
    }
    p.n4 = 10 * (std::abs(dark * 20 - size * size * 10) / (size * size));
    return p;
}

TEST(MaskPenalty, MatchesThePlainRulesOnRandomSymbols) {
    std::mt19937 rng(5);
    for (int round = 0; round < 60; ++round) {
        const int size = 21 + 4 * static_cast<int>(rng() % 40);
        // Lumpy content: long runs and blocks as well as noise.
        std::vector<uint8_t> m(static_cast<size_t>(size * size));
        const unsigned density = 20 + rng() % 60;
        for (auto& v : m)
            v = rng() % 100 < density;
        for (int k = 0; k < size; ++k) {
            const int r = static_cast<int>(rng() % static_cast<unsigned>(size));
            const int c = static_cast<int>(rng() % static_cast<unsigned>(size - 7));
            const uint8_t pattern[7] = {1, 0, 1, 1, 1, 0, 1};
            for (int i = 0; i < 7; ++i)
                m[r * size + c + i] = pattern[i];
        }
        const MaskPenalty fast = ComputeMaskPenalty(m, size);
        const MaskPenalty slow = SlowPenalty(m, size);
        ASSERT_EQ(fast.n1, slow.n1) << size;
        ASSERT_EQ(fast.n2, slow.n2) << size;
        ASSERT_EQ(fast.n3, slow.n3) << size;
        ASSERT_EQ(fast.n4, slow.n4) << size;
    }
}

} // namespace
} // namespace kodaro::codec
