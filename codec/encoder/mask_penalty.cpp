#include "codec/encoder/mask_penalty.h"

#include <cstddef>
#include <cstdlib>

namespace kodaro::codec {

namespace {

constexpr int kN1 = 3;
constexpr int kN2 = 3;
constexpr int kN3 = 40;
constexpr int kN4 = 10;

// 1011101 preceded or followed by four light modules, as 11-bit windows.
constexpr unsigned kFinderBefore = 0b00001011101;
constexpr unsigned kFinderAfter = 0b10111010000;

// Scores one row or column: runs (N1) and finder-like patterns (N3).
void ScoreLine(const uint8_t* p, ptrdiff_t step, int size, MaskPenalty& penalty) {
    unsigned window = 0; // starts as the light area before the line
    int run = 0;
    uint8_t colour = 2;
    for (int i = 0; i < size; ++i, p += step) {
        const uint8_t dark = *p != 0;
        if (dark == colour) {
            ++run;
        } else {
            if (run >= 5)
                penalty.n1 += kN1 + run - 5;
            colour = dark;
            run = 1;
        }
        window = ((window << 1) | dark) & 0x7FF;
        if (window == kFinderBefore || window == kFinderAfter)
            penalty.n3 += kN3;
    }
    if (run >= 5)
        penalty.n1 += kN1 + run - 5;
    for (int i = 0; i < 4; ++i) {
        window = (window << 1) & 0x7FF;
        if (window == kFinderAfter)
            penalty.n3 += kN3;
    }
}

} // namespace

MaskPenalty ComputeMaskPenalty(std::span<const uint8_t> modules, int size) {
    MaskPenalty penalty;
    if (size <= 0 || modules.size() < static_cast<size_t>(size) * static_cast<size_t>(size))
        return penalty;
    const uint8_t* m = modules.data();
    for (int r = 0; r < size; ++r)
        ScoreLine(m + static_cast<ptrdiff_t>(r) * size, 1, size, penalty);
    for (int c = 0; c < size; ++c)
        ScoreLine(m + c, size, size, penalty);

    size_t dark = 0;
    for (int r = 0; r < size; ++r) {
        const uint8_t* row = m + static_cast<ptrdiff_t>(r) * size;
        for (int c = 0; c < size; ++c)
            dark += row[c] != 0;
        if (r + 1 == size)
            break;
        const uint8_t* below = row + size;
        for (int c = 0; c + 1 < size; ++c) {
            const bool a = row[c] != 0;
            if (a == (row[c + 1] != 0) && a == (below[c] != 0) && a == (below[c + 1] != 0))
                penalty.n2 += kN2;
        }
    }

    // Each full 5% step away from an even share of dark modules costs 10.
    const long long total = static_cast<long long>(size) * size;
    const long long k = std::llabs(static_cast<long long>(dark) * 20 - total * 10) / total;
    penalty.n4 = static_cast<int>(k) * kN4;
    return penalty;
}

} // namespace kodaro::codec
