#pragma once
// Turns a greyscale picture into dark and light cells.
#include <cstdint>
#include <vector>

#include "codec/decoder/bit_matrix.h"

namespace kodaro::codec {

// Local thresholding: each 8x8 block is compared with the average of the 5x5
// blocks around it, so uneven lighting and shadows do not swallow modules.
// Small pictures fall back to one global threshold.
BitMatrix BinarizeLocal(const GreyImage& image);

// One threshold for the whole picture (Otsu's method); catches pictures whose
// modules are much larger than the local window.
BitMatrix BinarizeGlobal(const GreyImage& image);

// The picture smoothed by a 3x3 box (into `storage`), which takes the edge
// off sensor noise and JPEG speckle before thresholding.
GreyImage Smooth(const GreyImage& image, std::vector<uint8_t>& storage);

// The picture at twice its width and height (into `storage`), each new
// pixel interpolated between its neighbours: under heavy noise, the rings
// of two-pixel modules stay apart when thresholded at this size.
GreyImage Enlarge(const GreyImage& image, std::vector<uint8_t>& storage);

} // namespace kodaro::codec
