#include "codec/common/symbol_layout.h"

#include "codec/common/qr_tables.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace kodaro::codec {

namespace {

std::vector<uint8_t> BuildFunctionMap(int version) {
    const int size = SymbolSize(version);
    std::vector<uint8_t> map(static_cast<size_t>(size * size), 0);
    auto mark = [&](int row, int col) { map[static_cast<size_t>(row * size + col)] = 1; };
    auto markRect = [&](int row, int col, int height, int width) {
        for (int r = row; r < row + height; ++r)
            for (int c = col; c < col + width; ++c)
                mark(r, c);
    };
    // Finder patterns with their separators (8 x 8 each).
    markRect(0, 0, 8, 8);
    markRect(0, size - 8, 8, 8);
    markRect(size - 8, 0, 8, 8);
    // Timing patterns.
    markRect(6, 0, 1, size);
    markRect(0, 6, size, 1);
    // Alignment patterns, except where they would cover a finder.
    const auto centers = AlignmentPatternCenters(version);
    const size_t n = centers.size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0))
                continue;
            markRect(centers[i] - 2, centers[j] - 2, 5, 5);
        }
    }
    // Format information (both copies) and the dark module beside it.
    for (int copy = 0; copy < 2; ++copy)
        for (const ModulePos& p : FormatInfoPositions(version, copy))
            mark(p.row, p.col);
    mark(size - 8, 8);
    if (version >= 7) {
        for (int copy = 0; copy < 2; ++copy)
            for (const ModulePos& p : VersionInfoPositions(version, copy))
                mark(p.row, p.col);
    }
    return map;
}

std::vector<int8_t> BuildFixedColours(int version) {
    const int size = SymbolSize(version);
    std::vector<int8_t> colours(static_cast<size_t>(size * size), -1);
    auto set = [&](int row, int col, bool dark) {
        if (row >= 0 && col >= 0 && row < size && col < size)
            colours[static_cast<size_t>(row * size + col)] = dark ? 1 : 0;
    };
    // Finders with their separators: rings 0, 1 and 3 counted from the
    // centre are dark, rings 2 and 4 light.
    for (const auto& [top, left] : {std::pair{0, 0}, {0, size - 7}, {size - 7, 0}})
        for (int r = -1; r <= 7; ++r)
            for (int c = -1; c <= 7; ++c) {
                const int ring = std::max(std::abs(r - 3), std::abs(c - 3));
                set(top + r, left + c, ring != 2 && ring != 4);
            }
    for (int i = 8; i < size - 8; ++i) {
        set(6, i, i % 2 == 0);
        set(i, 6, i % 2 == 0);
    }
    // Alignment patterns, except the three that would cover a finder.
    const auto centers = AlignmentPatternCenters(version);
    const size_t n = centers.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            if ((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0))
                continue;
            for (int r = -2; r <= 2; ++r)
                for (int c = -2; c <= 2; ++c)
                    set(centers[i] + r, centers[j] + c, std::max(std::abs(r), std::abs(c)) != 1);
        }
    set(size - 8, 8, true);
    return colours;
}

std::vector<uint16_t> BuildDataOrder(int version) {
    const int size = SymbolSize(version);
    const auto& map = FunctionModuleMap(version);
    std::vector<uint16_t> order;
    order.reserve(static_cast<size_t>(RawDataModules(version)));
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5; // the vertical timing pattern takes column 6
        const bool upward = ((right + 1) & 2) == 0;
        for (int v = 0; v < size; ++v) {
            const int row = upward ? size - 1 - v : v;
            for (int j = 0; j < 2; ++j) {
                const int col = right - j;
                const int index = row * size + col;
                if (!map[static_cast<size_t>(index)])
                    order.push_back(static_cast<uint16_t>(index));
            }
        }
    }
    return order;
}

template <typename T, typename Build> const T& CachedPerVersion(int version, Build build) {
    static T cache[kMaxVersion + 1];
    static std::once_flag once[kMaxVersion + 1];
    static const T empty;
    if (!IsValidVersion(version))
        return empty;
    std::call_once(once[version], [&] { cache[version] = build(version); });
    return cache[version];
}

ModulePos At(int row, int col) {
    return {static_cast<uint8_t>(row), static_cast<uint8_t>(col)};
}

} // namespace

const std::vector<uint8_t>& FunctionModuleMap(int version) {
    return CachedPerVersion<std::vector<uint8_t>>(version, BuildFunctionMap);
}

const std::vector<int8_t>& FixedModuleColours(int version) {
    return CachedPerVersion<std::vector<int8_t>>(version, BuildFixedColours);
}

const std::vector<uint16_t>& DataModuleOrder(int version) {
    return CachedPerVersion<std::vector<uint16_t>>(version, BuildDataOrder);
}

std::array<ModulePos, 15> FormatInfoPositions(int version, int copy) {
    std::array<ModulePos, 15> p{};
    const int size = SymbolSize(version);
    if (copy == 0) {
        // Bits 0..7 run down column 8 (skipping the timing row), bits 8..14
        // run left along row 8 (skipping the timing column).
        for (int i = 0; i <= 5; ++i)
            p[i] = At(i, 8);
        p[6] = At(7, 8);
        p[7] = At(8, 8);
        p[8] = At(8, 7);
        for (int i = 9; i < 15; ++i)
            p[i] = At(8, 14 - i);
    } else {
        // Bits 0..7 along row 8 under the top-right finder, bits 8..14 up
        // column 8 beside the bottom-left finder.
        for (int i = 0; i < 8; ++i)
            p[i] = At(8, size - 1 - i);
        for (int i = 8; i < 15; ++i)
            p[i] = At(size - 15 + i, 8);
    }
    return p;
}

std::array<ModulePos, 18> VersionInfoPositions(int version, int copy) {
    std::array<ModulePos, 18> p{};
    const int size = SymbolSize(version);
    for (int i = 0; i < 18; ++i) {
        const int a = size - 11 + i % 3;
        const int b = i / 3;
        p[i] = copy == 0 ? At(a, b) : At(b, a);
    }
    return p;
}

} // namespace kodaro::codec
