#pragma once
// The penalty score that decides between the eight data masks: runs of five or
// more same-coloured modules (N1), 2 x 2 blocks of one colour (N2), finder-like
// 1:1:3:1:1 patterns with four light modules on one side (N3, the area outside
// the symbol counting as light) and the deviation of the dark share from 50%
// (N4).
#include <bitset>
#include <cstdint>
#include <span>

namespace kodaro::codec {

struct MaskPenalty {
    int n1 = 0;
    int n2 = 0;
    int n3 = 0;
    int n4 = 0;
    int Total() const { return n1 + n2 + n3 + n4; }
};

// One row or column of a symbol as bits: bit i is module i, set = dark. The
// width leaves room for four light modules on each side of a 177-module line.
using ModuleLine = std::bitset<192>;

// rows[r] and cols[c] describe the same symbol of size x size modules.
MaskPenalty ComputeMaskPenalty(std::span<const ModuleLine> rows, std::span<const ModuleLine> cols,
                               int size);

// The same for a matrix of size * size bytes, row by row, non-zero = dark.
MaskPenalty ComputeMaskPenalty(std::span<const uint8_t> modules, int size);

} // namespace kodaro::codec
