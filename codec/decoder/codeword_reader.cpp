#include "codec/decoder/codeword_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <mutex>

#include "codec/decoder/reed_solomon_decoder.h"

namespace kodaro::codec {

namespace {

void MarkRegion(BitMatrix& m, int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            m.Set(x, y, false);
}

BitMatrix BuildDataModuleMap(int version) {
    const int size = SymbolSize(version);
    BitMatrix map(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            map.Set(x, y, true);
    // Finder patterns with separators and format information (and the dark module).
    MarkRegion(map, 0, 0, 9, 9);
    MarkRegion(map, size - 8, 0, 8, 9);
    MarkRegion(map, 0, size - 8, 9, 8);
    // Timing patterns.
    MarkRegion(map, 6, 0, 1, size);
    MarkRegion(map, 0, 6, size, 1);
    const auto centers = AlignmentPatternCenters(version);
    const int n = static_cast<int>(centers.size());
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0))
                continue;
            MarkRegion(map, centers[j] - 2, centers[i] - 2, 5, 5);
        }
    }
    if (version >= 7) {
        MarkRegion(map, size - 11, 0, 3, 6);
        MarkRegion(map, 0, size - 11, 6, 3);
    }
    return map;
}

// Misdecode protection: the smallest symbols keep some check words back
// from correction.
int ReservedCheckWords(int version, EcLevel level) {
    if (version == 1)
        return level == EcLevel::L ? 3 : (level == EcLevel::M ? 2 : 1);
    if (version == 2 && level == EcLevel::L)
        return 2;
    if (version == 3 && level == EcLevel::L)
        return 1;
    return 0;
}

} // namespace

BitMatrix DataModuleMap(int version) {
    static std::array<BitMatrix, kMaxVersion + 1> maps;
    static std::once_flag once;
    std::call_once(once, [] {
        for (int v = kMinVersion; v <= kMaxVersion; ++v)
            maps[v] = BuildDataModuleMap(v);
    });
    return IsValidVersion(version) ? maps[version] : BitMatrix();
}

int ReadVersionInformation(const BitMatrix& grid) {
    const int size = grid.Width();
    if (size < 45 || grid.Height() != size)
        return 0;
    // Top-right copy: bit 17 first, read from (size-9, 5) backwards.
    uint32_t topRight = 0;
    for (int y = 5; y >= 0; --y)
        for (int x = size - 9; x >= size - 11; --x)
            topRight = (topRight << 1) | (grid.Get(x, y) ? 1u : 0u);
    uint32_t bottomLeft = 0;
    for (int x = 5; x >= 0; --x)
        for (int y = size - 9; y >= size - 11; --y)
            bottomLeft = (bottomLeft << 1) | (grid.Get(x, y) ? 1u : 0u);
    int d1 = 99;
    int d2 = 99;
    const int v1 = DecodeVersionInformation(topRight, &d1);
    const int v2 = DecodeVersionInformation(bottomLeft, &d2);
    if (d1 <= 3 && d1 <= d2)
        return v1;
    if (d2 <= 3)
        return v2;
    return 0;
}

std::optional<DecodedFormat> ReadFormatInformation(const BitMatrix& grid) {
    const int size = grid.Width();
    if (size < 21 || grid.Height() != size)
        return std::nullopt;
    auto bit = [&](int x, int y) { return grid.Get(x, y) ? 1u : 0u; };
    // Around the top-left finder: bit 14 first.
    uint32_t first = 0;
    for (int x = 0; x <= 5; ++x)
        first = (first << 1) | bit(x, 8);
    first = (first << 1) | bit(7, 8);
    first = (first << 1) | bit(8, 8);
    first = (first << 1) | bit(8, 7);
    for (int y = 5; y >= 0; --y)
        first = (first << 1) | bit(8, y);
    // Split between the bottom-left and top-right finders.
    uint32_t second = 0;
    for (int y = size - 1; y >= size - 7; --y)
        second = (second << 1) | bit(8, y);
    for (int x = size - 8; x < size; ++x)
        second = (second << 1) | bit(x, 8);
    const DecodedFormat a = DecodeFormatInformation(first);
    const DecodedFormat b = DecodeFormatInformation(second);
    const DecodedFormat& best = a.distance <= b.distance ? a : b;
    if (best.distance > 3)
        return std::nullopt;
    return best;
}

std::optional<CorrectedCodewords> ReadCodewords(const BitMatrix& grid, int version) {
    const int size = SymbolSize(version);
    if (!IsValidVersion(version) || grid.Width() != size || grid.Height() != size)
        return std::nullopt;
    const auto format = ReadFormatInformation(grid);
    if (!format)
        return std::nullopt;
    const BitMatrix map = DataModuleMap(version);

    // Zigzag: column pairs from the right, alternately upwards and downwards,
    // skipping the vertical timing column.
    const int total = TotalCodewords(version);
    std::vector<uint8_t> raw(static_cast<size_t>(total), 0);
    int bitIndex = 0;
    bool upwards = true;
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        for (int i = 0; i < size; ++i) {
            const int y = upwards ? size - 1 - i : i;
            for (int dx = 0; dx < 2; ++dx) {
                const int x = right - dx;
                if (!map.Get(x, y))
                    continue;
                if (bitIndex < total * 8) {
                    const bool dark = grid.Get(x, y) != MaskCondition(format->mask, y, x);
                    if (dark)
                        raw[bitIndex >> 3] |= static_cast<uint8_t>(0x80 >> (bitIndex & 7));
                }
                ++bitIndex;
            }
        }
        upwards = !upwards;
    }

    // De-interleave: data words round-robin over the blocks, then check words.
    const BlockStructure blocks = GetBlockStructure(version, format->level);
    const int blockCount = blocks.TotalBlocks();
    if (blockCount <= 0 || blocks.TotalCodewords() != total)
        return std::nullopt;
    std::vector<std::vector<uint8_t>> split(static_cast<size_t>(blockCount));
    for (int b = 0; b < blockCount; ++b)
        split[b].reserve(static_cast<size_t>(blocks.DataCodewordsInBlock(b) + blocks.eccPerBlock));
    int index = 0;
    const int longest = std::max(blocks.group1DataCodewords, blocks.group2DataCodewords);
    for (int i = 0; i < longest; ++i)
        for (int b = 0; b < blockCount; ++b)
            if (i < blocks.DataCodewordsInBlock(b))
                split[b].push_back(raw[index++]);
    for (int i = 0; i < blocks.eccPerBlock; ++i)
        for (int b = 0; b < blockCount; ++b)
            split[b].push_back(raw[index++]);

    CorrectedCodewords result;
    result.version = version;
    result.level = format->level;
    result.mask = format->mask;
    result.data.reserve(static_cast<size_t>(blocks.DataCodewords()));
    const int maxErrors = (blocks.eccPerBlock - ReservedCheckWords(version, format->level)) / 2;
    for (int b = 0; b < blockCount; ++b) {
        const int corrected = RsCorrect(split[b], blocks.eccPerBlock, maxErrors);
        if (corrected < 0)
            return std::nullopt;
        result.correctedErrors += corrected;
        const int dataCount = blocks.DataCodewordsInBlock(b);
        result.data.insert(result.data.end(), split[b].begin(), split[b].begin() + dataCount);
    }
    return result;
}

} // namespace kodaro::codec
