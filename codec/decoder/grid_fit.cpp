#include "codec/decoder/grid_fit.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "codec/common/qr_tables.h"
#include "codec/common/symbol_layout.h"
#include "codec/decoder/detector.h"

namespace kodaro::codec {

namespace {

struct KnownModule {
    double x, y; // module centre
    bool dark;
};

// The modules whose colour every symbol of this size shares.
std::vector<KnownModule> KnownModules(int dimension) {
    const auto& colours = FixedModuleColours(VersionFromSize(dimension));
    std::vector<KnownModule> known;
    for (int row = 0; row < dimension; ++row)
        for (int col = 0; col < dimension; ++col)
            if (const int c = colours[static_cast<size_t>(row) * dimension + col]; c >= 0)
                known.push_back({col + 0.5, row + 0.5, c == 1});
    return known;
}

// Counting stops at `enough`: a move is only kept when it beats the best so
// far, and most moves do not.
int Mismatches(const BitMatrix& bits, const PerspectiveTransform& transform,
               const std::vector<KnownModule>& known, int enough) {
    // The centre and four points a third of a module from it: a mapping
    // off by a fraction of a module shows as points beyond the edges.
    constexpr double kAround[5][2] = {{0, 0}, {-0.3, -0.3}, {0.3, -0.3}, {-0.3, 0.3}, {0.3, 0.3}};
    int wrong = 0;
    for (const KnownModule& m : known) {
        for (const auto& a : kAround) {
            wrong += DarkPixel(bits, transform.Map(m.x + a[0], m.y + a[1])) != m.dark ? 1 : 0;
        }
        if (wrong >= enough)
            break;
    }
    return wrong;
}

} // namespace

std::optional<PerspectiveTransform>
FitToKnownModules(const BitMatrix& bits, const PerspectiveTransform& initial, int dimension) {
    if (VersionFromSize(dimension) == 0 || !initial.IsValid())
        return std::nullopt;
    const double d = dimension;
    const PointF square[4] = {{0, 0}, {d, 0}, {d, d}, {0, d}};
    PointF corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = initial.Map(square[i].x, square[i].y);
    const std::vector<KnownModule> known = KnownModules(dimension);
    const int start = Mismatches(bits, initial, known, std::numeric_limits<int>::max());
    // Mappings that a fit turns into a read start with about a tenth of
    // these points wrong; near half wrong is noise, whose look-alike marks
    // would otherwise each pay for a whole fit.
    constexpr int kHopelessShare = 4;
    if (start * kHopelessShare > static_cast<int>(5 * known.size()))
        return std::nullopt;
    int best = start;
    // A module's width near each corner, along both of the symbol's axes.
    PointF along[4][2];
    for (int i = 0; i < 4; ++i) {
        const PointF inward{square[i].x == 0 ? 1.0 : d - 1, square[i].y == 0 ? 1.0 : d - 1};
        const PointF stepX = initial.Map(inward.x, square[i].y);
        const PointF stepY = initial.Map(square[i].x, inward.y);
        along[i][0] = {(corners[i].x - stepX.x) * (square[i].x == 0 ? -1 : 1),
                       (corners[i].y - stepX.y) * (square[i].x == 0 ? -1 : 1)};
        along[i][1] = {(corners[i].x - stepY.x) * (square[i].y == 0 ? -1 : 1),
                       (corners[i].y - stepY.y) * (square[i].y == 0 ? -1 : 1)};
    }
    // Coarse to fine: each corner one step each way along each axis, while
    // any step helps; the moves are counted, so noise that no mapping fits
    // costs little.
    constexpr double kSteps[] = {0.5, 0.25, 0.125};
    constexpr int kMaxMoves = 40;
    int moves = 0;
    for (const double step : kSteps) {
        bool improved = true;
        while (improved && moves < kMaxMoves) {
            improved = false;
            for (int i = 0; i < 4; ++i) {
                for (int axis = 0; axis < 2; ++axis) {
                    for (const double sign : {1.0, -1.0}) {
                        const PointF saved = corners[i];
                        corners[i].x += sign * step * along[i][axis].x;
                        corners[i].y += sign * step * along[i][axis].y;
                        const auto moved = PerspectiveTransform::QuadToQuad(square, corners);
                        const int wrong =
                            moved.IsValid() ? Mismatches(bits, moved, known, best) : best;
                        if (wrong < best) {
                            best = wrong;
                            improved = true;
                            ++moves;
                        } else {
                            corners[i] = saved;
                        }
                    }
                }
            }
        }
    }
    if (best >= start)
        return std::nullopt;
    return PerspectiveTransform::QuadToQuad(square, corners);
}

std::optional<std::vector<PointF>> FitOuterLines(const BitMatrix& bits, std::vector<PointF> centres,
                                                 int dimension) {
    if (VersionFromSize(dimension) == 0 ||
        centres.size() != static_cast<size_t>(dimension) * dimension)
        return std::nullopt;
    const auto& colour = FixedModuleColours(VersionFromSize(dimension));
    auto at = [&](int x, int y) -> PointF& {
        return centres[static_cast<size_t>(y) * dimension + x];
    };
    // One module across a column (a row, `rows`) at (x, y): towards the next
    // one, or away from the one before at the far edge.
    auto across = [&](int x, int y, bool rows) {
        const int nx = rows ? x : (x + 1 < dimension ? x + 1 : x - 1);
        const int ny = rows ? (y + 1 < dimension ? y + 1 : y - 1) : y;
        const PointF p = at(x, y);
        const PointF q = at(nx, ny);
        const double sign = (rows ? ny - y : nx - x) > 0 ? 1.0 : -1.0;
        return PointF{(q.x - p.x) * sign, (q.y - p.y) * sign};
    };
    // Shifts of a whole line, in modules, smallest first so that ties keep
    // the line nearest where the mapping put it.
    constexpr double kShifts[] = {0, 0.15, -0.15, 0.3, -0.3, 0.45, -0.45, 0.6, -0.6};
    bool moved = false;
    // Columns first (a symbol round an upright cylinder), then rows.
    for (const bool rows : {false, true}) {
        for (int line = 0; line < dimension; ++line) {
            // Only the lines through the marks know enough of their colours.
            if (line > 7 && line < dimension - 8)
                continue;
            int bestWrong = -1;
            double bestShift = 0;
            for (const double shift : kShifts) {
                int wrong = 0;
                for (int i = 0; i < dimension; ++i) {
                    const int x = rows ? i : line;
                    const int y = rows ? line : i;
                    const int c = colour[static_cast<size_t>(y) * dimension + x];
                    if (c < 0)
                        continue;
                    const PointF p = at(x, y);
                    const PointF step = across(x, y, rows);
                    // The centre and points a quarter module to either side.
                    for (const double a : {0.0, -0.25, 0.25})
                        wrong += DarkPixel(bits, {p.x + step.x * (shift + a),
                                                  p.y + step.y * (shift + a)}) != (c == 1)
                                     ? 1
                                     : 0;
                }
                if (bestWrong < 0 || wrong < bestWrong) {
                    bestWrong = wrong;
                    bestShift = shift;
                }
            }
            if (bestShift == 0)
                continue;
            moved = true;
            // A step across reads the neighbouring line only, so the line can
            // move in place.
            for (int i = 0; i < dimension; ++i) {
                PointF& p = at(rows ? i : line, rows ? line : i);
                const PointF step = across(rows ? i : line, rows ? line : i, rows);
                p = {p.x + step.x * bestShift, p.y + step.y * bestShift};
            }
        }
    }
    if (!moved)
        return std::nullopt;
    return centres;
}

} // namespace kodaro::codec
