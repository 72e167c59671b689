#include "codec/decoder/codeword_reader.h"

#include <algorithm>
#include <array>
#include <span>

#include "codec/common/symbol_layout.h"
#include "codec/decoder/model1_layout.h"
#include "codec/decoder/reed_solomon_decoder.h"

namespace kodaro::codec {

namespace {

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

std::optional<CorrectedCodewords> ReadCodewordsWithFormat(const BitMatrix& grid, int version,
                                                          const DecodedFormat& format);
std::optional<CorrectedCodewords> CorrectBlocks(std::span<const uint8_t> raw,
                                                const BlockStructure& blocks, int reserved);

// The nearest valid word under `mask` to each copy of the format
// information, in copy order (distance 15 for a grid of no valid size).
std::array<DecodedFormat, 2> FormatCopies(const BitMatrix& grid, unsigned mask) {
    const int size = grid.Width();
    std::array<DecodedFormat, 2> copies;
    copies[0].distance = copies[1].distance = 15;
    if (grid.Height() != size || VersionFromSize(size) == 0)
        return copies;
    // Another mask turns its words into today's before they are matched.
    const unsigned toModel2 = mask ^ kFormatInfoMask;
    for (int copy = 0; copy < 2; ++copy) {
        uint32_t bits = 0;
        const auto positions = FormatInfoPositions(VersionFromSize(size), copy);
        for (int i = 0; i < 15; ++i)
            if (grid.Get(positions[i].col, positions[i].row))
                bits |= 1u << i;
        copies[copy] = DecodeFormatInformation(bits ^ toModel2);
    }
    return copies;
}

} // namespace

int ReadVersionInformation(const BitMatrix& grid, int expected) {
    const int size = grid.Width();
    if (size < 45 || grid.Height() != size || VersionFromSize(size) == 0)
        return 0;
    auto read = [&](int copy) {
        uint32_t bits = 0;
        const auto positions = VersionInfoPositions(VersionFromSize(size), copy);
        for (int i = 0; i < 18; ++i)
            if (grid.Get(positions[i].col, positions[i].row))
                bits |= 1u << i;
        return bits;
    };
    const uint32_t topRight = read(1);
    const uint32_t bottomLeft = read(0);
    int d1 = 99;
    int d2 = 99;
    const int v1 = DecodeVersionInformation(topRight, &d1);
    const int v2 = DecodeVersionInformation(bottomLeft, &d2);
    // A copy that agrees with what the grid's size already says wins over a
    // damaged one that happens to look like another version.
    if ((d1 <= 3 && v1 == expected) || (d2 <= 3 && v2 == expected))
        return expected;
    if (d1 <= 3 && d1 <= d2)
        return v1;
    if (d2 <= 3)
        return v2;
    return 0;
}

std::vector<DecodedFormat> ReadFormatInformation(const BitMatrix& grid, unsigned mask) {
    std::vector<DecodedFormat> result;
    auto copies = FormatCopies(grid, mask);
    if (copies[1].distance < copies[0].distance)
        std::swap(copies[0], copies[1]);
    for (const auto& c : copies)
        if (c.distance <= 3 &&
            (result.empty() || result[0].level != c.level || result[0].mask != c.mask))
            result.push_back(c);
    return result;
}

std::optional<CorrectedCodewords> ReadCodewords(const BitMatrix& grid, int version) {
    const int size = SymbolSize(version);
    if (!IsValidVersion(version) || grid.Width() != size || grid.Height() != size)
        return std::nullopt;
    // Two copies that disagree are both tried; the error correction tells
    // which one was right.
    for (const DecodedFormat& format : ReadFormatInformation(grid))
        if (auto result = ReadCodewordsWithFormat(grid, version, format))
            return result;
    return std::nullopt;
}

namespace {

std::optional<CorrectedCodewords> ReadCodewordsWithFormat(const BitMatrix& grid, int version,
                                                          const DecodedFormat& format) {
    const int size = SymbolSize(version);

    // Codeword bits in placement order, unmasked.
    const int total = TotalCodewords(version);
    std::vector<uint8_t> raw(static_cast<size_t>(total), 0);
    const auto& order = DataModuleOrder(version);
    for (int bit = 0; bit < total * 8; ++bit) {
        const int row = order[bit] / size;
        const int col = order[bit] % size;
        if (grid.Get(col, row) != MaskCondition(format.mask, row, col))
            raw[bit >> 3] |= static_cast<uint8_t>(0x80 >> (bit & 7));
    }

    auto result = CorrectBlocks(raw, GetBlockStructure(version, format.level),
                                ReservedCheckWords(version, format.level));
    if (!result)
        return std::nullopt;
    result->version = version;
    result->level = format.level;
    result->mask = format.mask;
    return result;
}

// De-interleaves data words round-robin over the blocks, then check words,
// and corrects every block. Places after the blocks' codewords are unused.
std::optional<CorrectedCodewords> CorrectBlocks(std::span<const uint8_t> raw,
                                                const BlockStructure& blocks, int reserved) {
    const int blockCount = blocks.TotalBlocks();
    if (blockCount <= 0 || blocks.TotalCodewords() > static_cast<int>(raw.size()))
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
    result.data.reserve(static_cast<size_t>(blocks.DataCodewords()));
    const int maxErrors = (blocks.eccPerBlock - reserved) / 2;
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

} // namespace

bool FormatSaysModel1(const BitMatrix& grid) {
    if (!IsModel1Version(VersionFromSize(grid.Width())))
        return false;
    const auto old = FormatCopies(grid, kModel1FormatInfoMask);
    const auto today = FormatCopies(grid, kFormatInfoMask);
    const int oldBest = std::min(old[0].distance, old[1].distance);
    const bool agree = old[0].distance <= 3 && old[1].distance <= 3 &&
                       old[0].level == old[1].level && old[0].mask == old[1].mask;
    return oldBest < std::min(today[0].distance, today[1].distance) && (oldBest <= 1 || agree);
}

std::optional<CorrectedCodewords> ReadModel1Codewords(const BitMatrix& grid) {
    const int size = grid.Width();
    const int version = VersionFromSize(size);
    if (grid.Height() != size || !IsModel1Version(version))
        return std::nullopt;
    if (!FormatSaysModel1(grid))
        return std::nullopt;
    const auto formats = ReadFormatInformation(grid, kModel1FormatInfoMask);
    const auto& modules = Model1CodewordModules(version);
    for (const DecodedFormat& format : formats) {
        std::vector<uint8_t> raw(modules.size() / 8, 0);
        for (size_t bit = 0; bit < modules.size(); ++bit) {
            const int row = modules[bit] / size;
            const int col = modules[bit] % size;
            if (grid.Get(col, row) != MaskCondition(format.mask, row, col))
                raw[bit >> 3] |= static_cast<uint8_t>(0x80 >> (bit & 7));
        }
        raw[0] &= 0x0F; // the corner carries no data
        auto result = CorrectBlocks(raw, Model1BlockStructure(version, format.level),
                                    ReservedCheckWords(version, format.level));
        // A correction that puts data in the corner repaired the wrong thing.
        if (!result || result->data.empty() || (result->data[0] & 0xF0) != 0)
            continue;
        auto& data = result->data;
        for (size_t i = 0; i + 1 < data.size(); ++i)
            data[i] = static_cast<uint8_t>((data[i] << 4) | (data[i + 1] >> 4));
        data.back() = static_cast<uint8_t>(data.back() << 4);
        result->model = 1;
        result->version = version;
        result->level = format.level;
        result->mask = format.mask;
        return result;
    }
    return std::nullopt;
}

} // namespace kodaro::codec
