#pragma once
// Finds the three-ringed position marks (dark 1, light 1, dark 3, light 1,
// dark 1 modules across) that sit in three corners of every symbol.
#include <vector>

#include "codec/decoder/bit_matrix.h"
#include "codec/decoder/geometry.h"

namespace kodaro::codec {

struct FinderPattern {
    PointF center;
    double moduleSize = 0;
    int hits = 0; // how many scan lines confirmed it
};

// Every position mark found, best confirmed first.
std::vector<FinderPattern> FindFinderPatterns(const BitMatrix& bits);

// Runs of alternating colour along the line through `center` in direction
// (dx, dy), dark centre first: counts[2] is the centre run, counts[1]/[0]
// behind it, counts[3]/[4] ahead. Returns false when the line leaves the
// picture or a run exceeds maxRun. `offset` receives the centre of the
// middle run, in steps from `center` along the direction.
bool RunsThrough(const BitMatrix& bits, int cx, int cy, int dx, int dy, int maxRun, int counts[5],
                 double* offset);

// Replaces `runs` with the run lengths of row y from column `left` to
// `right` (both included), light first: the first run may be empty, so odd
// indices are dark runs.
void RowRuns(const BitMatrix& bits, int y, int left, int right, std::vector<int>& runs);

} // namespace kodaro::codec
