#pragma once
// Turns a greyscale picture into dark and light cells.
#include "codec/decoder/bit_matrix.h"

namespace kodaro::codec {

// Local thresholding: each 8x8 block is compared with the average of the 5x5
// blocks around it, so uneven lighting and shadows do not swallow modules.
// Small pictures fall back to one global threshold.
BitMatrix BinarizeLocal(const GreyImage& image);

// One threshold for the whole picture (Otsu's method); catches pictures whose
// modules are much larger than the local window.
BitMatrix BinarizeGlobal(const GreyImage& image);

} // namespace kodaro::codec
