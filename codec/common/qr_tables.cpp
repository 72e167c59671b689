#include "codec/common/qr_tables.h"

#include <array>
#include <bit>

namespace kodaro::codec {

namespace {

// Error-correction codewords per block, by level (L, M, Q, H) and version.
constexpr uint8_t kEccPerBlock[4][41] = {
    {0,  7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0,  13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};

// Number of error-correction blocks, by level (L, M, Q, H) and version.
constexpr uint8_t kBlockCount[4][41] = {
    {0, 1, 1, 1,  1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0,  1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0,  1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0,  1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

struct AlignmentTable {
    std::array<std::array<uint8_t, 7>, 41> centers{};
    std::array<uint8_t, 41> count{};
};

// Centres are spread evenly from 6 to size-7; all gaps but the first are equal
// and even (version 32 is the one exception the standard lists, gap 26).
constexpr AlignmentTable BuildAlignmentTable() {
    AlignmentTable t{};
    for (int v = 2; v <= kMaxVersion; ++v) {
        const int n = v / 7 + 2;
        const int step = v == 32 ? 26 : (v * 4 + n * 2 + 1) / (n * 2 - 2) * 2;
        t.count[v] = static_cast<uint8_t>(n);
        t.centers[v][0] = 6;
        int pos = SymbolSize(v) - 7;
        for (int i = n - 1; i >= 1; --i, pos -= step)
            t.centers[v][i] = static_cast<uint8_t>(pos);
    }
    return t;
}

constexpr AlignmentTable kAlignment = BuildAlignmentTable();

constexpr uint16_t ComputeFormatInformation(unsigned levelBits, unsigned mask) {
    const unsigned data = (levelBits << 3) | mask;
    unsigned rem = data;
    for (int i = 0; i < 10; ++i)
        rem = (rem << 1) ^ ((rem >> 9) * 0x537);
    return static_cast<uint16_t>(((data << 10) | (rem & 0x3FF)) ^ kFormatInfoMask);
}

constexpr uint32_t ComputeVersionInformation(unsigned version) {
    unsigned rem = version;
    for (int i = 0; i < 12; ++i)
        rem = (rem << 1) ^ ((rem >> 11) * 0x1F25);
    return (version << 12) | (rem & 0xFFF);
}

} // namespace

BlockStructure GetBlockStructure(int version, EcLevel level) {
    const int l = static_cast<int>(level);
    if (!IsValidVersion(version) || !IsValidLevel(l))
        return {};
    BlockStructure s;
    const int blocks = kBlockCount[l][version];
    const int total = TotalCodewords(version);
    s.eccPerBlock = kEccPerBlock[l][version];
    s.group2Blocks = total % blocks;
    s.group1Blocks = blocks - s.group2Blocks;
    s.group1DataCodewords = total / blocks - s.eccPerBlock;
    s.group2DataCodewords = s.group2Blocks > 0 ? s.group1DataCodewords + 1 : 0;
    return s;
}

int RawDataModules(int version) {
    if (!IsValidVersion(version))
        return 0;
    int result = (16 * version + 128) * version + 64;
    if (version >= 2) {
        const int n = version / 7 + 2;
        result -= (25 * n - 10) * n - 55;
        if (version >= 7)
            result -= 36;
    }
    return result;
}

int TotalCodewords(int version) {
    return RawDataModules(version) / 8;
}

int RemainderBits(int version) {
    return RawDataModules(version) % 8;
}

int DataCodewords(int version, EcLevel level) {
    return GetBlockStructure(version, level).DataCodewords();
}

std::span<const uint8_t> AlignmentPatternCenters(int version) {
    if (!IsValidVersion(version))
        return {};
    return {kAlignment.centers[version].data(), kAlignment.count[version]};
}

uint16_t FormatInformation(EcLevel level, int mask) {
    if (!IsValidLevel(static_cast<int>(level)) || mask < 0 || mask > 7)
        return 0;
    return ComputeFormatInformation(FormatLevelBits(level), static_cast<unsigned>(mask));
}

DecodedFormat DecodeFormatInformation(uint32_t bits) {
    DecodedFormat best{EcLevel::L, 0, 99};
    for (int l = 0; l < 4; ++l) {
        for (int m = 0; m < 8; ++m) {
            const auto level = static_cast<EcLevel>(l);
            const int d = std::popcount((bits & 0x7FFF) ^ FormatInformation(level, m));
            if (d < best.distance)
                best = {level, m, d};
        }
    }
    return best;
}

uint32_t VersionInformation(int version) {
    if (version < 7 || version > kMaxVersion)
        return 0;
    return ComputeVersionInformation(static_cast<unsigned>(version));
}

int DecodeVersionInformation(uint32_t bits, int* distance) {
    int bestVersion = 7;
    int bestDistance = 99;
    for (int v = 7; v <= kMaxVersion; ++v) {
        const int d = std::popcount((bits & 0x3FFFF) ^ VersionInformation(v));
        if (d < bestDistance) {
            bestDistance = d;
            bestVersion = v;
        }
    }
    if (distance)
        *distance = bestDistance;
    return bestVersion;
}

int CharacterCountBits(Mode mode, int version) {
    if (!IsValidVersion(version))
        return 0;
    const int range = version <= 9 ? 0 : (version <= 26 ? 1 : 2);
    switch (mode) {
    case Mode::Numeric:
        return std::array{10, 12, 14}[range];
    case Mode::Alphanumeric:
        return std::array{9, 11, 13}[range];
    case Mode::Byte:
        return std::array{8, 16, 16}[range];
    case Mode::Kanji:
        return std::array{8, 10, 12}[range];
    default:
        return 0;
    }
}

int AlphanumericValue(unsigned char c) {
    static constexpr auto kValues = [] {
        std::array<int8_t, 256> v{};
        v.fill(-1);
        for (int i = 0; i < 45; ++i)
            v[static_cast<unsigned char>(kAlphanumericChars[i])] = static_cast<int8_t>(i);
        return v;
    }();
    return kValues[c];
}

} // namespace kodaro::codec
