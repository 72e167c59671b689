#pragma once
// The layout of the old QR symbol model (Model 1, versions 1-14, 21 to 73
// modules a side): no alignment patterns and no version information, but
// extension patterns along the right and bottom edges, codewords in blocks
// of 2x4 or 4x2 modules, one block size per level, and format information
// under its own mask. Finders, separators, timing patterns and the format
// information sit where they do in today's symbols.
#include <cstdint>
#include <vector>

#include "codec/common/qr_tables.h"

namespace kodaro::codec {

constexpr int kModel1MaxVersion = 14;
// XORed onto the format information instead of kFormatInfoMask; the two
// sets of format words stay at least five bits apart.
constexpr unsigned kModel1FormatInfoMask = 0x2825;

constexpr bool IsModel1Version(int version) {
    return version >= 1 && version <= kModel1MaxVersion;
}

// The error-correction blocks of a version and level (group 1 only; all
// zero for an invalid version). The blocks may leave the last one or two
// codeword places of the symbol unused.
BlockStructure Model1BlockStructure(int version, EcLevel level);

// The modules of every codeword place in reading order, eight per codeword
// with the most significant bit first, each as row * size + col. The upper
// four bits of the first codeword sit in the bottom-right corner and carry
// no data: the data stream starts with four zero bits there. Empty for an
// invalid version. Computed once per version.
const std::vector<uint16_t>& Model1CodewordModules(int version);

} // namespace kodaro::codec
