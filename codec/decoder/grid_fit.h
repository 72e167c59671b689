#pragma once
// Fits a mapping to the parts of a symbol whose colours are known before it
// is read: the position marks with their light borders, the timing patterns,
// the alignment patterns and the dark module.
#include <optional>
#include <vector>

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

// The module centres `centres` (row by row), with each of the eight rows and
// columns along every edge moved across itself by up to 0.6 modules to
// where its known modules (the marks and their borders) fit best. Paper
// round a cylinder squeezes the outer lines, which one mapping cannot
// follow. Nothing when no line moves.
std::optional<std::vector<PointF>> FitOuterLines(const BitMatrix& bits, std::vector<PointF> centres,
                                                 int dimension);

} // namespace kodaro::codec
