#pragma once
// Reads every QR symbol in a greyscale picture.
#include <cstdint>
#include <string>
#include <vector>

#include "codec/common/qr_tables.h"
#include "codec/decoder/bit_matrix.h"
#include "codec/decoder/geometry.h"
#include "codec/decoder/text_decoding.h"

namespace kodaro::codec {

struct DecodedSymbol {
    int model = 2; // 1 for a symbol of the old model (versions 1-14)
    int version = 0;
    EcLevel level = EcLevel::L;
    int mask = 0;
    // Structured append: 0-based position, sequence length and parity; the
    // position is -1 and the length 0 for a symbol that stands alone.
    int sequenceIndex = -1;
    int sequenceCount = 0;
    int sequenceParity = 0;
    // The data bytes as the symbol stores them (all segments in order) and
    // the charset they are in: by the first ECI, else guessed.
    std::string bytes;
    int eci = -1;
    Charset charset = Charset::Unknown;
    // The data as UTF-8 (always valid UTF-8).
    std::string text;
    bool mirrored = false;
    bool fnc1 = false;
    // Codewords the error correction repaired.
    int correctedErrors = 0;
    // The symbol's outer corners in the picture: top-left, top-right,
    // bottom-right, bottom-left as the symbol reads.
    PointF corners[4];
};

// All symbols in the picture, top to bottom, then left to right. A picture
// of any size is accepted; the caller limits what it can afford.
std::vector<DecodedSymbol> DecodeQrSymbols(const GreyImage& image);

// Decodes one already sampled module grid (dark = true), e.g. from a
// renderer's own matrix. Tries the mirrored reading too.
bool DecodeModuleGrid(const BitMatrix& grid, DecodedSymbol* out);

} // namespace kodaro::codec
