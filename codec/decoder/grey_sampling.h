#pragma once
// Reads a symbol's modules from the grey picture itself rather than from its
// thresholding.
#include "codec/decoder/bit_matrix.h"
#include "codec/decoder/geometry.h"

namespace kodaro::codec {

// The picture a decoding pass thresholded, and whether that pass looks for
// light-on-dark symbols (dark modules are then the brighter ones).
struct GreySource {
    GreyImage picture;
    bool lightOnDark = false;
};

// The grid `transform` maps onto the picture, each module's brightness
// averaged over nine points around its centre and compared with the average
// of the 7x7 modules around it. Under heavy sensor noise a single thresholded
// pixel per module misreads many modules that this reads right.
BitMatrix SampleGreyGrid(const GreySource& source, const PerspectiveTransform& transform,
                         int dimension);

} // namespace kodaro::codec
