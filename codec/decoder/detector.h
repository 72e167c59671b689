#pragma once
// From three position marks to a sampled module grid: module size, symbol
// size, the bottom-right alignment pattern and the projective mapping.
#include <array>
#include <optional>
#include <vector>

#include "codec/decoder/bit_matrix.h"
#include "codec/decoder/finder_patterns.h"
#include "codec/decoder/geometry.h"

namespace kodaro::codec {

// The three marks of one symbol in their roles. For a mirrored symbol the
// roles of topRight and bottomLeft come out swapped.
struct FinderTriple {
    PointF topLeft;
    PointF topRight;
    PointF bottomLeft;
};

// The ways three marks can take their roles, likeliest first: top-left is
// the mark at the triangle's widest corner, and top-left -> top-right ->
// bottom-left turns clockwise on screen. Strong perspective can squeeze the
// top-left corner below another, so the second-widest corner is offered too
// when it is wide enough to be a symbol's square corner seen at a slant.
std::vector<FinderTriple> OrderFinderTriple(PointF a, PointF b, PointF c);

// Module size measured along the lines between the marks (robust against
// rotation); 0 when it cannot be measured.
double MeasureModuleSize(const BitMatrix& bits, const FinderTriple& t);

// Modules a side estimated from mark distances, rounded to a valid size
// (21, 25, ... 177), or 0.
int EstimateDimension(const FinderTriple& t, double moduleSize);

// Centre of the alignment pattern nearest `estimate` within `radius` pixels.
std::optional<PointF> FindAlignmentPattern(const BitMatrix& bits, PointF estimate,
                                           double moduleSize, double radius);

// Maps module coordinates (0..dimension) onto the picture: the mark centres
// sit at 3.5 modules from their corners, the alignment pattern (when given)
// at dimension - 6.5; without it the fourth corner completes a parallelogram.
PerspectiveTransform GridTransform(const FinderTriple& t, int dimension,
                                   const std::optional<PointF>& alignment);

struct Line {
    PointF point;
    PointF direction; // unit length
};

// The outer edges of the three marks (top, right, bottom, left of each, in
// the order top-left, top-right, bottom-left). They do not depend on the
// symbol's size, so one fitting serves every size tried.
struct MarkOutlines {
    Line edges[3][4];
};
// Where rays from a mark's centre leave its outer dark ring: points on the
// mark's outer edges, traced once per mark.
std::vector<PointF> TraceMarkRim(const BitMatrix& bits, PointF center, double moduleSize);
// The edges fitted to the rims of the marks in the roles `t` gives them
// (rims in the order top-left, top-right, bottom-left).
std::optional<MarkOutlines> FitMarkOutlines(const FinderTriple& t,
                                            const std::vector<PointF>* rims[3]);

// The mapping from the marks' outlines: the symbol's fourth corner is where
// the bottom edge of the bottom-left mark meets the right edge of the
// top-right mark. `exact` maps the symbol's four outer corners; otherwise
// the mapping is fitted to the corners of all three marks and the fourth
// corner. Follows perspective even where no alignment pattern helps
// (version 1, or a pattern that cannot be found).
std::optional<PerspectiveTransform> OutlineGridTransform(const MarkOutlines& outlines,
                                                         int dimension, bool exact);

// The four outer corners of one mark (0 top-left, 1 top-right, 2 bottom-left
// in the roles of the triple) in the picture: top-left, top-right,
// bottom-right, bottom-left in the symbol's axes.
std::optional<std::array<PointF, 4>> MarkCorners(const MarkOutlines& outlines, int mark);

// The timing pattern between the top-left mark and the top-right one (row
// 6) or the bottom-left one (column 6), followed module by module as it
// bends: it counts the modules a side where the marks' module sizes say
// little about the rest of the symbol (paper round a cylinder, strong
// perspective), and it shows where each column (row) lies.
struct TimingTrack {
    int dimension = 0;
    // Centres of all modules of the row (column) in the picture.
    std::vector<PointF> centres;
};
// Nothing when the walk loses the pattern.
std::optional<TimingTrack> FollowTimingPattern(const BitMatrix& bits, const MarkOutlines& outlines,
                                               bool down);

// Finds the alignment patterns of larger symbols one by one where `initial`
// predicts them, nearest the top-left first, and refits the mapping to the
// marks and every pattern found; follows perspective and mild bending that
// three marks and one alignment pattern cannot describe. Nothing when no
// better mapping can be made.
std::optional<PerspectiveTransform> RefineGridTransform(const BitMatrix& bits,
                                                        const FinderTriple& t, int dimension,
                                                        const PerspectiveTransform& initial);

// The thresholded cell under a point of the picture; light outside it.
bool DarkPixel(const BitMatrix& bits, PointF p);

// Colour at the centre of module (x, y); light outside the picture.
bool SampleModule(const BitMatrix& bits, const PerspectiveTransform& transform, int x, int y);

// Share (0..1) of the timing-pattern modules (row and column 6 between the
// marks) that do not alternate as they must: a cheap test that a mapping
// fits a symbol before the whole grid is sampled.
double TimingPatternMismatch(const BitMatrix& bits, const PerspectiveTransform& transform,
                             int dimension);

// The centres of a symbol's modules in the picture, row by row.
using ModuleCentres = std::vector<PointF>;

// Places a symbol with alignment patterns in three rows or more cell by
// cell between them: each pattern is looked for where the patterns found
// around it predict it (carried on along its row and column, or between
// patterns on either side, and where the mapping and a parallelogram put
// it), and each cell of the patterns' grid is placed through its own
// mapping. Follows bending and lens distortion over large symbols, which
// one mapping (even with bowed edges) cannot. The marks' outlines and the
// timing tracks (any may be null) place the cells along the top and left.
// Nothing for smaller symbols.
std::optional<ModuleCentres> PlaceModulesPiecewise(const BitMatrix& bits,
                                                   const PerspectiveTransform& transform,
                                                   int dimension, const MarkOutlines* outlines,
                                                   const TimingTrack* across,
                                                   const TimingTrack* down);

// The colour at each centre (dark = true).
BitMatrix SampleModules(const BitMatrix& bits, const ModuleCentres& centres, int dimension);

// Reads the colour at the centre of every module.
BitMatrix SampleGrid(const BitMatrix& bits, const PerspectiveTransform& transform, int dimension);

// Module centres as the mapping puts them, with the columns and rows moved
// to where the timing patterns show them, and bent to follow the bows of
// the symbol's outer edges (the top and bottom edge, the left and right
// one, or all four): follows paper bent round a cylinder and lens
// distortion, which no single projective mapping describes. Timing tracks
// of the symbol's size (either may be null) place the columns and rows,
// and bend the top and left edges, better than a search near where
// `transform` puts them; with `marksOwnModules` they also place the
// columns and rows beside the marks where the marks' outlines put them,
// instead of where `transform` does.
enum class Bows { TopBottom, LeftRight, All };
ModuleCentres PlaceModulesAlongTiming(const BitMatrix& bits, const PerspectiveTransform& transform,
                                      int dimension, Bows bows, const TimingTrack* across = nullptr,
                                      const TimingTrack* down = nullptr,
                                      bool marksOwnModules = false);

} // namespace kodaro::codec
