#include "codec/decoder/model1_layout.h"

#include <array>
#include <mutex>

namespace kodaro::codec {

namespace {

struct Blocks {
    uint8_t eccPerBlock;
    uint8_t count;
    uint8_t dataPerBlock;
};

// Per version, levels L, M, Q, H.
constexpr Blocks kBlocks[kModel1MaxVersion][4] = {
    {{7, 1, 19}, {10, 1, 16}, {13, 1, 13}, {17, 1, 9}},
    {{10, 1, 36}, {16, 1, 30}, {22, 1, 24}, {30, 1, 16}},
    {{15, 1, 57}, {28, 1, 44}, {36, 1, 36}, {48, 1, 24}},
    {{20, 1, 80}, {40, 1, 60}, {50, 1, 50}, {66, 1, 34}},
    {{26, 1, 108}, {52, 1, 82}, {66, 1, 68}, {44, 2, 23}},
    {{34, 1, 136}, {32, 2, 53}, {42, 2, 43}, {56, 2, 29}},
    {{42, 1, 170}, {40, 2, 66}, {52, 2, 54}, {46, 3, 24}},
    {{24, 2, 104}, {48, 2, 80}, {64, 2, 64}, {56, 3, 29}},
    {{30, 2, 123}, {60, 2, 93}, {50, 3, 52}, {68, 3, 34}},
    {{34, 2, 145}, {68, 2, 111}, {58, 3, 61}, {58, 4, 31}},
    {{40, 2, 168}, {40, 4, 64}, {52, 4, 52}, {54, 5, 29}},
    {{46, 2, 192}, {46, 4, 73}, {58, 4, 61}, {62, 5, 33}},
    {{36, 3, 144}, {52, 4, 83}, {66, 4, 69}, {58, 6, 32}},
    {{40, 3, 163}, {60, 4, 92}, {60, 5, 62}, {66, 6, 35}},
};

std::vector<uint16_t> BuildCodewordModules(int version) {
    const int size = SymbolSize(version);
    std::vector<uint16_t> order;
    // One codeword place: `width` modules across (2 upright, 4 lying), filled
    // from the bottom-right module leftwards, then a row up.
    auto place = [&](int right, int bottom, int width) {
        for (int bit = 0; bit < 8; ++bit)
            order.push_back(
                static_cast<uint16_t>((bottom - bit / width) * size + right - bit % width));
    };
    // Upright places in the four columns at the right edge, below the
    // top-right finder, from the bottom up: outer pair first. Extension
    // patterns take every second place of the outer pair but its ends.
    const int rightPlaces = version + 2;
    for (int pair = 0; pair < 2; ++pair)
        for (int i = 0; i < rightPlaces; ++i)
            if (pair == 1 || i % 2 != 0 || i == 0 || i == rightPlaces - 1)
                place(size - 1 - 2 * pair, size - 1 - 4 * i, 2);
    // Lying places in four-module columns from the right towards column 9,
    // each from the bottom up over the timing row; the first column stops
    // below the top-right finder. Along the bottom edge every second column
    // but the last holds an extension pattern.
    const int columns = version + 1;
    const int rowPairs = (size - 1) / 2;
    for (int c = 0; c < columns; ++c)
        for (int i = 0; i < rowPairs; ++i) {
            if ((c == 0 && i >= rowPairs - 4) || (i == 0 && c % 2 == 1 && c != columns - 1))
                continue;
            place(size - 5 - 4 * c, size - 1 - 2 * i - (i >= rowPairs - 3 ? 1 : 0), 4);
        }
    // Upright places left of the timing column and beside it, between the
    // top-left and bottom-left finders, from the bottom up.
    for (const int right : {8, 5, 3, 1})
        for (int i = 0; i < version; ++i)
            place(right, size - 9 - 4 * i, 2);
    return order;
}

} // namespace

BlockStructure Model1BlockStructure(int version, EcLevel level) {
    if (!IsModel1Version(version) || !IsValidLevel(static_cast<int>(level)))
        return {};
    const Blocks& b = kBlocks[version - 1][static_cast<int>(level)];
    BlockStructure s;
    s.eccPerBlock = b.eccPerBlock;
    s.group1Blocks = b.count;
    s.group1DataCodewords = b.dataPerBlock;
    return s;
}

const std::vector<uint16_t>& Model1CodewordModules(int version) {
    static std::array<std::vector<uint16_t>, kModel1MaxVersion + 1> cache;
    static std::array<std::once_flag, kModel1MaxVersion + 1> once;
    static const std::vector<uint16_t> empty;
    if (!IsModel1Version(version))
        return empty;
    std::call_once(once[version], [&] { cache[version] = BuildCodewordModules(version); });
    return cache[version];
}

} // namespace kodaro::codec
