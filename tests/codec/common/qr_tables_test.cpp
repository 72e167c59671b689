#include "codec/common/qr_tables.h"

#include <gtest/gtest.h>

#include <vector>

namespace kodaro::codec {
namespace {

constexpr EcLevel kLevels[] = {EcLevel::L, EcLevel::M, EcLevel::Q, EcLevel::H};

TEST(QrTables, SymbolSizes) {
    EXPECT_EQ(SymbolSize(1), 21);
    EXPECT_EQ(SymbolSize(40), 177);
    for (int v = 1; v <= 40; ++v)
        EXPECT_EQ(VersionFromSize(SymbolSize(v)), v);
    EXPECT_EQ(VersionFromSize(22), 0);
    EXPECT_EQ(VersionFromSize(181), 0);
    EXPECT_EQ(VersionFromSize(17), 0);
}

TEST(QrTables, CapacitiesOfKnownVersions) {
    EXPECT_EQ(TotalCodewords(1), 26);
    EXPECT_EQ(TotalCodewords(7), 196);
    EXPECT_EQ(TotalCodewords(40), 3706);
    const int expected[][4] = {{19, 16, 13, 9}, {2956, 2334, 1666, 1276}};
    for (int l = 0; l < 4; ++l) {
        EXPECT_EQ(DataCodewords(1, kLevels[l]), expected[0][l]);
        EXPECT_EQ(DataCodewords(40, kLevels[l]), expected[1][l]);
    }
    // 5-Q: two blocks of 15 data words and two of 16, 18 check words each.
    const BlockStructure s = GetBlockStructure(5, EcLevel::Q);
    EXPECT_EQ(s.group1Blocks, 2);
    EXPECT_EQ(s.group1DataCodewords, 15);
    EXPECT_EQ(s.group2Blocks, 2);
    EXPECT_EQ(s.group2DataCodewords, 16);
    EXPECT_EQ(s.eccPerBlock, 18);
    EXPECT_EQ(DataCodewords(10, EcLevel::M), 216);
    EXPECT_EQ(DataCodewords(20, EcLevel::Q), 485);
    EXPECT_EQ(DataCodewords(20, EcLevel::H), 385);
}

TEST(QrTables, BlockStructureIsConsistent) {
    for (int v = 1; v <= 40; ++v) {
        int previous = 1 << 30;
        for (EcLevel level : kLevels) {
            const BlockStructure s = GetBlockStructure(v, level);
            EXPECT_EQ(s.TotalCodewords(), TotalCodewords(v)) << v;
            EXPECT_GT(s.group1DataCodewords, 0);
            EXPECT_TRUE(s.group2Blocks == 0 || s.group2DataCodewords == s.group1DataCodewords + 1);
            EXPECT_LT(s.DataCodewords(), previous) << "each level holds less than the one before";
            previous = s.DataCodewords();
            // Blocks stay within the 255-word Reed-Solomon limit.
            EXPECT_LE(s.group1DataCodewords + 1 + s.eccPerBlock, 255);
        }
    }
    EXPECT_EQ(GetBlockStructure(0, EcLevel::L).TotalBlocks(), 0);
    EXPECT_EQ(GetBlockStructure(41, EcLevel::L).TotalBlocks(), 0);
    EXPECT_EQ(GetBlockStructure(1, static_cast<EcLevel>(4)).TotalBlocks(), 0);
}

TEST(QrTables, RemainderBits) {
    const int expected[] = {0, 0, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 3,
                            4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 0, 0, 0, 0, 0, 0};
    for (int v = 1; v <= 40; ++v)
        EXPECT_EQ(RemainderBits(v), expected[v]) << v;
}

TEST(QrTables, AlignmentCenters) {
    auto centers = [](int v) {
        auto s = AlignmentPatternCenters(v);
        return std::vector<int>(s.begin(), s.end());
    };
    EXPECT_TRUE(centers(1).empty());
    EXPECT_EQ(centers(2), (std::vector<int>{6, 18}));
    EXPECT_EQ(centers(6), (std::vector<int>{6, 34}));
    EXPECT_EQ(centers(7), (std::vector<int>{6, 22, 38}));
    EXPECT_EQ(centers(15), (std::vector<int>{6, 26, 48, 70}));
    EXPECT_EQ(centers(32), (std::vector<int>{6, 34, 60, 86, 112, 138}));
    EXPECT_EQ(centers(36), (std::vector<int>{6, 24, 50, 76, 102, 128, 154}));
    EXPECT_EQ(centers(40), (std::vector<int>{6, 30, 58, 86, 114, 142, 170}));
    for (int v = 2; v <= 40; ++v)
        EXPECT_EQ(centers(v).back(), SymbolSize(v) - 7);
}

TEST(QrTables, FormatInformation) {
    EXPECT_EQ(FormatInformation(EcLevel::M, 0), 0x5412);
    EXPECT_EQ(FormatInformation(EcLevel::M, 7), 0x4AA0);
    EXPECT_EQ(FormatInformation(EcLevel::L, 0), 0x77C4);
    EXPECT_EQ(FormatInformation(EcLevel::L, 1), 0x72F3);
    EXPECT_EQ(FormatInformation(EcLevel::H, 0), 0x1689);
    EXPECT_EQ(FormatInformation(EcLevel::Q, 0), 0x355F);
    EXPECT_EQ(FormatInformation(EcLevel::L, 8), 0);
    // Any three flipped bits are still corrected to the right word.
    for (EcLevel level : kLevels) {
        for (int mask = 0; mask < 8; ++mask) {
            const uint16_t word = FormatInformation(level, mask);
            const uint32_t damaged = word ^ 0b100000010000100u;
            const DecodedFormat d = DecodeFormatInformation(damaged);
            EXPECT_EQ(d.level, level);
            EXPECT_EQ(d.mask, mask);
            EXPECT_EQ(d.distance, 3);
        }
    }
}

TEST(QrTables, VersionInformation) {
    EXPECT_EQ(VersionInformation(6), 0u);
    EXPECT_EQ(VersionInformation(7), 0x07C94u);
    EXPECT_EQ(VersionInformation(8), 0x085BCu);
    EXPECT_EQ(VersionInformation(21), 0x15683u);
    EXPECT_EQ(VersionInformation(40), 0x28C69u);
    for (int v = 7; v <= 40; ++v) {
        int distance = -1;
        EXPECT_EQ(DecodeVersionInformation(VersionInformation(v) ^ 0x20101u, &distance), v);
        EXPECT_EQ(distance, 3);
    }
}

TEST(QrTables, CountFieldWidths) {
    const struct {
        Mode mode;
        int bits[3];
    } rows[] = {{Mode::Numeric, {10, 12, 14}},
                {Mode::Alphanumeric, {9, 11, 13}},
                {Mode::Byte, {8, 16, 16}},
                {Mode::Kanji, {8, 10, 12}}};
    for (const auto& row : rows) {
        EXPECT_EQ(CharacterCountBits(row.mode, 1), row.bits[0]);
        EXPECT_EQ(CharacterCountBits(row.mode, 9), row.bits[0]);
        EXPECT_EQ(CharacterCountBits(row.mode, 10), row.bits[1]);
        EXPECT_EQ(CharacterCountBits(row.mode, 26), row.bits[1]);
        EXPECT_EQ(CharacterCountBits(row.mode, 27), row.bits[2]);
        EXPECT_EQ(CharacterCountBits(row.mode, 40), row.bits[2]);
    }
    EXPECT_EQ(CharacterCountBits(Mode::Byte, 0), 0);
    EXPECT_EQ(CharacterCountBits(Mode::Eci, 5), 0);
}

TEST(QrTables, AlphanumericSet) {
    EXPECT_EQ(AlphanumericValue('0'), 0);
    EXPECT_EQ(AlphanumericValue('9'), 9);
    EXPECT_EQ(AlphanumericValue('A'), 10);
    EXPECT_EQ(AlphanumericValue('Z'), 35);
    EXPECT_EQ(AlphanumericValue(' '), 36);
    EXPECT_EQ(AlphanumericValue(':'), 44);
    EXPECT_EQ(AlphanumericValue('a'), -1);
    EXPECT_EQ(AlphanumericValue('#'), -1);
    EXPECT_EQ(AlphanumericValue(0xE4), -1);
    int count = 0;
    for (int c = 0; c < 256; ++c)
        count += AlphanumericValue(static_cast<unsigned char>(c)) >= 0;
    EXPECT_EQ(count, 45);
}

TEST(QrTables, MaskConditions) {
    // Mask 1 darkens even rows; mask 2 every third column; the rest share the top-left.
    EXPECT_TRUE(MaskCondition(1, 0, 5));
    EXPECT_FALSE(MaskCondition(1, 1, 5));
    EXPECT_TRUE(MaskCondition(2, 7, 3));
    EXPECT_FALSE(MaskCondition(2, 7, 4));
    for (int m = 0; m < 8; ++m)
        EXPECT_TRUE(MaskCondition(m, 0, 0)) << m;
    EXPECT_TRUE(MaskCondition(4, 1, 2));
    EXPECT_FALSE(MaskCondition(4, 2, 0));
    EXPECT_FALSE(MaskCondition(5, 1, 1));
    EXPECT_TRUE(MaskCondition(6, 1, 1));
    EXPECT_FALSE(MaskCondition(6, 3, 3));
    EXPECT_TRUE(MaskCondition(7, 1, 3));
    EXPECT_FALSE(MaskCondition(7, 1, 2));
    EXPECT_FALSE(MaskCondition(8, 0, 0));
}

} // namespace
} // namespace kodaro::codec
