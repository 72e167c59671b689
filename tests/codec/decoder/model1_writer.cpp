#include "model1_writer.h"

#include <algorithm>
#include <cstdlib>

#include "codec/common/reed_solomon.h"
#include "codec/common/symbol_layout.h"
#include "codec/decoder/model1_layout.h"
#include "codec/encoder/bit_writer.h"

namespace kodaro::codec::testing {

namespace {

// The data codewords: four zero bits, one byte segment, terminator, padding.
std::vector<uint8_t> DataCodewords(std::string_view bytes, int version, int capacity) {
    BitWriter bits;
    bits.Append(0, 4);
    bits.Append(static_cast<uint32_t>(Mode::Byte), 4);
    bits.Append(static_cast<uint32_t>(bytes.size()), CharacterCountBits(Mode::Byte, version));
    for (const char c : bytes)
        bits.Append(static_cast<uint8_t>(c), 8);
    const size_t room = static_cast<size_t>(capacity) * 8;
    if (bits.BitCount() > room)
        return {};
    bits.Append(0, static_cast<int>(std::min<size_t>(4, room - bits.BitCount())));
    std::vector<uint8_t> words = bits.Bytes();
    for (size_t i = 0; words.size() < static_cast<size_t>(capacity); ++i)
        words.push_back(i % 2 == 0 ? 0xEC : 0x11);
    return words;
}

} // namespace

int Model1ByteCapacity(int version, EcLevel level) {
    const int bits = Model1BlockStructure(version, level).DataCodewords() * 8 - 8 -
                     CharacterCountBits(Mode::Byte, version);
    return std::max(0, bits / 8);
}

std::vector<uint8_t> WriteModel1Symbol(std::string_view bytes, int version, EcLevel level,
                                       int mask) {
    const BlockStructure blocks = Model1BlockStructure(version, level);
    const std::vector<uint8_t> data = DataCodewords(bytes, version, blocks.DataCodewords());
    if (data.empty())
        return {};
    const int count = blocks.group1Blocks;
    const int perBlock = blocks.group1DataCodewords;
    const int ecc = blocks.eccPerBlock;
    std::vector<uint8_t> checks(static_cast<size_t>(count * ecc));
    for (int b = 0; b < count; ++b)
        RsComputeRemainder(std::span(data).subspan(static_cast<size_t>(b * perBlock), perBlock),
                           RsCachedGenerator(ecc),
                           std::span(checks).subspan(static_cast<size_t>(b * ecc), ecc));
    std::vector<uint8_t> stream;
    for (int i = 0; i < perBlock; ++i)
        for (int b = 0; b < count; ++b)
            stream.push_back(data[static_cast<size_t>(b * perBlock + i)]);
    for (int i = 0; i < ecc; ++i)
        for (int b = 0; b < count; ++b)
            stream.push_back(checks[static_cast<size_t>(b * ecc + i)]);

    const int size = SymbolSize(version);
    std::vector<uint8_t> modules(static_cast<size_t>(size * size), 0);
    std::vector<uint8_t> taken(modules.size(), 0);
    bool overlap = false;
    auto set = [&](int row, int col, bool dark) {
        const size_t i = static_cast<size_t>(row * size + col);
        overlap |= taken[i] != 0;
        taken[i] = 1;
        modules[i] = dark ? 1 : 0;
    };
    // Finders with their separators, the timing patterns, the dark module.
    for (const auto& [top, left] : {std::pair{0, 0}, {0, size - 7}, {size - 7, 0}})
        for (int r = -1; r <= 7; ++r)
            for (int c = -1; c <= 7; ++c) {
                const int row = top + r;
                const int col = left + c;
                if (row < 0 || row >= size || col < 0 || col >= size)
                    continue;
                const int ring = std::max(std::abs(2 * r - 6), std::abs(2 * c - 6)) / 2;
                set(row, col, ring != 2 && ring <= 3);
            }
    for (int i = 8; i < size - 8; ++i) {
        set(6, i, i % 2 == 0);
        set(i, 6, i % 2 == 0);
    }
    set(size - 8, 8, true);
    const unsigned format =
        FormatInformation(level, mask) ^ kFormatInfoMask ^ kModel1FormatInfoMask;
    for (int copy = 0; copy < 2; ++copy) {
        const auto positions = FormatInfoPositions(version, copy);
        for (int i = 0; i < 15; ++i)
            set(positions[i].row, positions[i].col, (format >> i) & 1);
    }
    const auto& order = Model1CodewordModules(version);
    for (size_t k = 0; k < order.size(); ++k) {
        const int row = order[k] / size;
        const int col = order[k] % size;
        const size_t word = k >> 3;
        const bool bit = word < stream.size() && ((stream[word] >> (7 - (k & 7))) & 1);
        set(row, col, bit != MaskCondition(mask, row, col));
    }
    // What is left are the extension patterns; the reader never looks at
    // them, so plain bars stand in for them.
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col)
            if (!taken[static_cast<size_t>(row * size + col)])
                modules[static_cast<size_t>(row * size + col)] = col % 2;
    return overlap ? std::vector<uint8_t>() : modules;
}

} // namespace kodaro::codec::testing
