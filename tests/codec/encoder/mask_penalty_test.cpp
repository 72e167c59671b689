#include "codec/encoder/mask_penalty.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace kodaro::codec
