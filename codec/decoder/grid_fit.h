#pragma once
// Fits a mapping to the parts of a symbol whose colours are known before it
// is read: the position marks with their light borders, the timing patterns,
// the alignment patterns and the dark module.
#include <optional>

#include "codec/decoder/bit_matrix.h"
#include "codec/decoder/geometry.h"

namespace kodaro::codec {

// Moves the four corners of `initial` by fractions of a module while fewer
// of the known modules come out wrong. In heavy noise the marks' outlines
// are ragged and a mapping built from them is off by a fraction of a module
// at some corner, which is enough to misread the data; the known modules
// spread over the whole symbol show where it fits. Nothing when no move
// helps (the mapping already fits, or fits nothing).
std::optional<PerspectiveTransform>
FitToKnownModules(const BitMatrix& bits, const PerspectiveTransform& initial, int dimension);

} // namespace kodaro::codec
