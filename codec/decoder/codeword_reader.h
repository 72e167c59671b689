#pragma once
// Reads a sampled module grid: format and version information, the codewords
// in their placement (today's zigzag or the old model's blocks),
// de-interleaving and error correction.
#include <cstdint>
#include <optional>
#include <vector>

#include "codec/common/qr_tables.h"
#include "codec/decoder/bit_matrix.h"

namespace kodaro::codec {

struct CorrectedCodewords {
    int model = 2; // 1 for the old model
    int version = 0;
    EcLevel level = EcLevel::L;
    int mask = 0;
    int correctedErrors = 0;
    std::vector<uint8_t> data; // data codewords of all blocks, in order
};

// The version told by the version information of a grid of at least 45
// modules a side (either copy; `expected` wins when a copy tells it), or 0
// when neither copy can be corrected.
int ReadVersionInformation(const BitMatrix& grid, int expected);

// The format information of both copies that are within three bits of a
// valid word under `mask` (kFormatInfoMask, or the old model's), nearest
// first (one entry when they agree; none when neither can be corrected).
std::vector<DecodedFormat> ReadFormatInformation(const BitMatrix& grid,
                                                 unsigned mask = kFormatInfoMask);

// The corrected data codewords of a square grid whose side fits `version`,
// or nothing when the grid cannot be read.
std::optional<CorrectedCodewords> ReadCodewords(const BitMatrix& grid, int version);

// True when the grid's format information clearly says the old model:
// nearer to its words than to today's (the two sets are five bits apart),
// and either nearly clean or the same in both copies. Reading a grid the old
// way costs about as much as reading it today's way, so other grids (today's
// symbols that failed for other reasons, or noise) are not read so.
bool FormatSaysModel1(const BitMatrix& grid);

// The same for a symbol of the old model (21 to 73 modules a side). The data
// starts at its first real bit: the four zero bits that lead it are dropped.
std::optional<CorrectedCodewords> ReadModel1Codewords(const BitMatrix& grid);

} // namespace kodaro::codec
