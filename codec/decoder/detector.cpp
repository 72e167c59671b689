#include "codec/decoder/detector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "codec/common/qr_tables.h"

namespace kodaro::codec {

namespace {

// Walks from `from` towards `to` through dark, light and dark again and
// returns the distance to where that second dark run ends (3.5 modules from a
// mark's centre), or -1 when the walk ends first.
double DarkLightDarkRun(const BitMatrix& bits, int fromX, int fromY, int toX, int toY) {
    const bool steep = std::abs(toY - fromY) > std::abs(toX - fromX);
    if (steep) {
        std::swap(fromX, fromY);
        std::swap(toX, toY);
    }
    const int dx = std::abs(toX - fromX);
    const int dy = std::abs(toY - fromY);
    int error = -dx / 2;
    const int xStep = fromX < toX ? 1 : -1;
    const int yStep = fromY < toY ? 1 : -1;
    int state = 0;
    const int xLimit = toX + xStep;
    for (int x = fromX, y = fromY; x != xLimit; x += xStep) {
        const int realX = steep ? y : x;
        const int realY = steep ? x : y;
        // States 0 and 2 are in dark runs waiting for light; state 1 waits for dark.
        if ((state == 1) == bits.GetSafe(realX, realY)) {
            if (state == 2)
                return std::hypot(x - fromX, y - fromY);
            ++state;
        }
        error += dy;
        if (error > 0) {
            if (y == toY)
                break;
            y += yStep;
            error -= dx;
        }
    }
    if (state == 2)
        return std::hypot(toX + xStep - fromX, toY - fromY);
    return -1;
}

// The run through a mark both ways along the line to another point: the
// mark's full width, 7 modules.
double MarkWidthAlong(const BitMatrix& bits, PointF from, PointF to) {
    const int fx = static_cast<int>(from.x);
    const int fy = static_cast<int>(from.y);
    const int tx = static_cast<int>(to.x);
    const int ty = static_cast<int>(to.y);
    double result = DarkLightDarkRun(bits, fx, fy, tx, ty);
    if (result < 0)
        return -1;
    // The other way, cut at the picture's border.
    double scale = 1.0;
    int ox = fx - (tx - fx);
    if (ox < 0) {
        scale = static_cast<double>(fx) / (fx - ox);
        ox = 0;
    } else if (ox >= bits.Width()) {
        scale = static_cast<double>(bits.Width() - 1 - fx) / (ox - fx);
        ox = bits.Width() - 1;
    }
    int oy = static_cast<int>(fy - (ty - fy) * scale);
    scale = 1.0;
    if (oy < 0) {
        scale = static_cast<double>(fy) / (fy - oy);
        oy = 0;
    } else if (oy >= bits.Height()) {
        scale = static_cast<double>(bits.Height() - 1 - fy) / (oy - fy);
        oy = bits.Height() - 1;
    }
    ox = static_cast<int>(fx + (ox - fx) * scale);
    const double other = DarkLightDarkRun(bits, fx, fy, ox, oy);
    if (other < 0)
        return -1;
    return result + other - 1.0;
}

double ModuleSizeOneWay(const BitMatrix& bits, PointF a, PointF b) {
    const double ab = MarkWidthAlong(bits, a, b);
    const double ba = MarkWidthAlong(bits, b, a);
    if (ab < 0 && ba < 0)
        return 0;
    if (ab < 0)
        return ba / 7.0;
    if (ba < 0)
        return ab / 7.0;
    return (ab + ba) / 14.0;
}

bool Near(double run, double moduleSize) {
    return std::abs(run - moduleSize) < moduleSize * 0.7 + 0.5;
}

// Vertical check through a possible alignment centre: dark run of about one
// module, light of about one module on each side. Returns the refined centre y.
std::optional<double> CheckAlignmentVertical(const BitMatrix& bits, int x, int y,
                                             double moduleSize) {
    if (!bits.GetSafe(x, y))
        return std::nullopt;
    const int limit = static_cast<int>(moduleSize * 2 + 2);
    int top = y;
    while (top - 1 >= 0 && bits.Get(x, top - 1) && y - top <= limit)
        --top;
    int bottom = y;
    while (bottom + 1 < bits.Height() && bits.Get(x, bottom + 1) && bottom - y <= limit)
        ++bottom;
    const int dark = bottom - top + 1;
    if (!Near(dark, moduleSize))
        return std::nullopt;
    int above = 0;
    for (int yy = top - 1; yy >= 0 && !bits.Get(x, yy) && above <= limit; --yy)
        ++above;
    int below = 0;
    for (int yy = bottom + 1; yy < bits.Height() && !bits.Get(x, yy) && below <= limit; ++yy)
        ++below;
    if (!Near(above, moduleSize) || !Near(below, moduleSize))
        return std::nullopt;
    return (top + bottom + 1) / 2.0;
}

// Total least squares: the line through the centroid along the main axis.
std::optional<Line> FitLine(const std::vector<PointF>& points) {
    if (points.size() < 3)
        return std::nullopt;
    double cx = 0;
    double cy = 0;
    for (const auto& p : points) {
        cx += p.x;
        cy += p.y;
    }
    cx /= static_cast<double>(points.size());
    cy /= static_cast<double>(points.size());
    double sxx = 0;
    double sxy = 0;
    double syy = 0;
    for (const auto& p : points) {
        sxx += (p.x - cx) * (p.x - cx);
        sxy += (p.x - cx) * (p.y - cy);
        syy += (p.y - cy) * (p.y - cy);
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    return Line{{cx, cy}, {std::cos(angle), std::sin(angle)}};
}

std::optional<PointF> Intersect(const Line& a, const Line& b) {
    const double den = a.direction.x * b.direction.y - a.direction.y * b.direction.x;
    if (std::abs(den) < 1e-6)
        return std::nullopt;
    const double dx = b.point.x - a.point.x;
    const double dy = b.point.y - a.point.y;
    const double t = (dx * b.direction.y - dy * b.direction.x) / den;
    return PointF{a.point.x + t * a.direction.x, a.point.y + t * a.direction.y};
}

// The four outer edges of a mark (top, right, bottom, left in the symbol's
// axes), fitted to its rim points.
std::optional<std::array<Line, 4>> FitMarkEdges(const std::vector<PointF>& rim, PointF center,
                                                PointF xAxis, PointF yAxis) {
    std::array<std::vector<PointF>, 4> sides;
    for (const PointF& edge : rim) {
        // Which side: by the dominant axis coordinate, leaving out rays
        // towards the corners.
        const double vx = edge.x - center.x;
        const double vy = edge.y - center.y;
        const double a = vx * xAxis.x + vy * xAxis.y;
        const double b = vx * yAxis.x + vy * yAxis.y;
        if (std::max(std::abs(a), std::abs(b)) < 1.3 * std::min(std::abs(a), std::abs(b)))
            continue;
        const int side = std::abs(a) > std::abs(b) ? (a > 0 ? 1 : 3) : (b > 0 ? 2 : 0);
        sides[side].push_back(edge);
    }
    std::array<Line, 4> lines;
    for (int i = 0; i < 4; ++i) {
        const auto line = FitLine(sides[i]);
        if (!line)
            return std::nullopt;
        lines[i] = *line;
    }
    return lines;
}

// A mark's outer corners in its own module coordinates.
constexpr PointF kMarkSquare[4] = {{0, 0}, {7, 0}, {7, 7}, {0, 7}};

PointF Unit(PointF from, PointF to) {
    const double length = Distance(from, to);
    return {(to.x - from.x) / length, (to.y - from.y) / length};
}

// A square corner seen under strong perspective narrows to about this.
constexpr double kMinTopLeftAngle = 55 * 3.14159265358979 / 180;

// The roles with `topLeft` at the top-left, turning clockwise on screen.
FinderTriple WithTopLeft(PointF topLeft, PointF p, PointF q) {
    if (Cross(topLeft, p, q) < 0)
        std::swap(p, q);
    return {topLeft, p, q};
}

// The angle (radians) of triangle corner `at` between the other two.
double AngleAt(PointF at, PointF p, PointF q) {
    const double a = Distance(at, p);
    const double b = Distance(at, q);
    const double c = Distance(p, q);
    if (a <= 0 || b <= 0)
        return 0;
    return std::acos(std::clamp((a * a + b * b - c * c) / (2 * a * b), -1.0, 1.0));
}

} // namespace

std::vector<FinderTriple> OrderFinderTriple(PointF a, PointF b, PointF c) {
    struct Corner {
        PointF at, p, q;
        double angle;
    };
    Corner corners[3] = {
        {a, b, c, AngleAt(a, b, c)}, {b, a, c, AngleAt(b, a, c)}, {c, a, b, AngleAt(c, a, b)}};
    std::stable_sort(corners, corners + 3,
                     [](const Corner& x, const Corner& y) { return x.angle > y.angle; });
    std::vector<FinderTriple> orders = {WithTopLeft(corners[0].at, corners[0].p, corners[0].q)};
    if (corners[1].angle >= kMinTopLeftAngle)
        orders.push_back(WithTopLeft(corners[1].at, corners[1].p, corners[1].q));
    return orders;
}

double MeasureModuleSize(const BitMatrix& bits, const FinderTriple& t) {
    const double a = ModuleSizeOneWay(bits, t.topLeft, t.topRight);
    const double b = ModuleSizeOneWay(bits, t.topLeft, t.bottomLeft);
    if (a <= 0 || b <= 0)
        return std::max(a, b);
    return (a + b) / 2;
}

int EstimateDimension(const FinderTriple& t, double moduleSize) {
    if (moduleSize <= 0)
        return 0;
    const double across = Distance(t.topLeft, t.topRight) / moduleSize;
    const double down = Distance(t.topLeft, t.bottomLeft) / moduleSize;
    int dimension = static_cast<int>(std::lround((across + down) / 2)) + 7;
    switch (dimension & 3) {
    case 0:
        ++dimension;
        break;
    case 2:
        --dimension;
        break;
    case 3:
        dimension += 2;
        break;
    default:
        break;
    }
    if (dimension < 21)
        return 21;
    if (dimension > 177)
        return 177;
    return dimension;
}

std::optional<PointF> FindAlignmentPattern(const BitMatrix& bits, PointF estimate,
                                           double moduleSize, double radius) {
    // A wild estimate (from a mapping of something that is no symbol) may lie
    // anywhere, even at infinity.
    if (!(estimate.x + radius >= 0 && estimate.y + radius >= 0 &&
          estimate.x - radius < bits.Width() && estimate.y - radius < bits.Height() && radius > 0 &&
          radius < 1e6))
        return std::nullopt;
    const int left = std::max(0, static_cast<int>(estimate.x - radius));
    const int right = std::min(bits.Width() - 1, static_cast<int>(estimate.x + radius));
    const int top = std::max(0, static_cast<int>(estimate.y - radius));
    const int bottom = std::min(bits.Height() - 1, static_cast<int>(estimate.y + radius));
    if (right - left < moduleSize * 3 || bottom - top < moduleSize * 3)
        return std::nullopt;

    struct Candidate {
        PointF center;
        int hits;
    };
    std::vector<Candidate> candidates;
    const int middle = static_cast<int>(estimate.y);
    const int rows = bottom - top + 1;
    std::vector<int> runs;
    for (int i = 0; i < 2 * rows; ++i) {
        const int y = middle + ((i & 1) ? -(i + 1) / 2 : i / 2);
        if (y < top || y > bottom)
            continue;
        // Runs of the row inside the window.
        RowRuns(bits, y, left, right, runs);
        int start = left;
        for (size_t r = 0; r + 2 < runs.size(); r += 2) {
            // runs[r] light, runs[r+1] dark, runs[r+2] light; the first and
            // last run are cut by the window and do not count.
            const int darkStart = start + runs[r];
            if (r > 0 && r + 3 < runs.size() && Near(runs[r], moduleSize) &&
                Near(runs[r + 1], moduleSize) && Near(runs[r + 2], moduleSize)) {
                const double cx = darkStart + runs[r + 1] / 2.0;
                const auto cy = CheckAlignmentVertical(bits, static_cast<int>(cx), y, moduleSize);
                if (cy) {
                    const PointF c{cx, *cy};
                    bool merged = false;
                    for (auto& k : candidates) {
                        if (Distance(k.center, c) <= moduleSize) {
                            if (++k.hits >= 2)
                                return PointF{(k.center.x + c.x) / 2, (k.center.y + c.y) / 2};
                            merged = true;
                            break;
                        }
                    }
                    if (!merged)
                        candidates.push_back({c, 1});
                }
            }
            start = darkStart + runs[r + 1];
        }
    }
    if (candidates.empty())
        return std::nullopt;
    return std::min_element(candidates.begin(), candidates.end(),
                            [&](const Candidate& a, const Candidate& b) {
                                return Distance(a.center, estimate) < Distance(b.center, estimate);
                            })
        ->center;
}

PerspectiveTransform GridTransform(const FinderTriple& t, int dimension,
                                   const std::optional<PointF>& alignment) {
    const double far = dimension - 3.5;
    const PointF fourthImage = alignment ? *alignment
                                         : PointF{t.topRight.x - t.topLeft.x + t.bottomLeft.x,
                                                  t.topRight.y - t.topLeft.y + t.bottomLeft.y};
    const double fourthModule = alignment ? dimension - 6.5 : far;
    const PointF src[4] = {{3.5, 3.5}, {far, 3.5}, {fourthModule, fourthModule}, {3.5, far}};
    const PointF dst[4] = {t.topLeft, t.topRight, fourthImage, t.bottomLeft};
    return PerspectiveTransform::QuadToQuad(src, dst);
}

std::vector<PointF> TraceMarkRim(const BitMatrix& bits, PointF center, double moduleSize) {
    constexpr int kRays = 48;
    static const auto kDirections = [] {
        std::array<PointF, kRays> d{};
        for (int k = 0; k < kRays; ++k) {
            const double angle = 2 * 3.14159265358979323846 * (k + 0.5) / kRays;
            d[k] = {std::cos(angle), std::sin(angle)};
        }
        return d;
    }();
    std::vector<PointF> rim;
    rim.reserve(kRays);
    const double reach = moduleSize * 7;
    const double step = std::max(0.25, moduleSize / 8);
    for (const PointF& direction : kDirections) {
        int state = 0; // 0 centre dark, 1 light ring, 2 outer dark ring
        for (double d = 0; d <= reach; d += step) {
            const double x = center.x + direction.x * d;
            const double y = center.y + direction.y * d;
            if (x < 0 || y < 0 || x >= bits.Width() || y >= bits.Height())
                break;
            const bool dark = bits.Get(static_cast<int>(x), static_cast<int>(y));
            if ((state == 1) == dark) {
                if (state == 2) {
                    rim.push_back({x - direction.x * step / 2, y - direction.y * step / 2});
                    break;
                }
                ++state;
            }
        }
    }
    return rim;
}

std::optional<MarkOutlines> FitMarkOutlines(const FinderTriple& t,
                                            const std::vector<PointF>* rims[3]) {
    const PointF xAxis = Unit(t.topLeft, t.topRight);
    const PointF yAxis = Unit(t.topLeft, t.bottomLeft);
    const PointF marks[3] = {t.topLeft, t.topRight, t.bottomLeft};
    MarkOutlines outlines;
    for (int m = 0; m < 3; ++m) {
        const auto fitted = FitMarkEdges(*rims[m], marks[m], xAxis, yAxis);
        if (!fitted)
            return std::nullopt;
        for (int e = 0; e < 4; ++e)
            outlines.edges[m][e] = (*fitted)[e];
    }
    return outlines;
}

std::optional<std::array<PointF, 4>> MarkCorners(const MarkOutlines& outlines, int mark) {
    // Corners: top-left, top-right, bottom-right, bottom-left of the mark,
    // each where two of its edges meet.
    constexpr int kPairs[4][2] = {{0, 3}, {0, 1}, {2, 1}, {2, 3}};
    std::array<PointF, 4> corners;
    for (int c = 0; c < 4; ++c) {
        const auto p =
            Intersect(outlines.edges[mark][kPairs[c][0]], outlines.edges[mark][kPairs[c][1]]);
        if (!p)
            return std::nullopt;
        corners[c] = *p;
    }
    return corners;
}

std::optional<PerspectiveTransform> OutlineGridTransform(const MarkOutlines& outlines,
                                                         int dimension, bool exact) {
    const double far = dimension - 7;
    const PointF offsets[3] = {{0, 0}, {far, 0}, {0, far}};
    std::vector<PointF> src;
    std::vector<PointF> dst;
    for (int m = 0; m < 3; ++m) {
        const auto corners = MarkCorners(outlines, m);
        if (!corners)
            return std::nullopt;
        for (int c = 0; c < 4; ++c) {
            src.push_back({offsets[m].x + kMarkSquare[c].x, offsets[m].y + kMarkSquare[c].y});
            dst.push_back((*corners)[c]);
        }
    }
    // The symbol's bottom edge continues the bottom-left mark's, its right
    // edge the top-right mark's.
    const auto fourth = Intersect(outlines.edges[2][2], outlines.edges[1][1]);
    if (!fourth)
        return std::nullopt;
    // The symbol's own corners fix the mapping; the corners of the marks
    // inside it only refine it where the fourth corner is uncertain.
    const double d = dimension;
    const PointF outer[4] = {{0, 0}, {d, 0}, {d, d}, {0, d}};
    const PointF image[4] = {dst[0], dst[5], *fourth, dst[11]};
    if (exact)
        return PerspectiveTransform::QuadToQuad(outer, image);
    src.push_back({d, d});
    dst.push_back(*fourth);
    return PerspectiveTransform::Fit(src, dst);
}

bool DarkPixel(const BitMatrix& bits, PointF p) {
    if (!(p.x >= 0 && p.y >= 0 && p.x < bits.Width() && p.y < bits.Height()))
        return false;
    return bits.Get(static_cast<int>(p.x), static_cast<int>(p.y));
}

namespace {

PointF Along(PointF from, PointF direction, double t) {
    return {from.x + direction.x * t, from.y + direction.y * t};
}

// How far (in lengths of `direction`) the colour `dark` runs on from `from`,
// or -1 when it runs beyond `reach`.
double RunOn(const BitMatrix& bits, PointF from, PointF direction, bool dark, double reach) {
    constexpr int kSteps = 8;
    for (int k = 1; k <= reach * kSteps; ++k) {
        const double t = static_cast<double>(k) / kSteps;
        if (DarkPixel(bits, Along(from, direction, t)) != dark)
            return t - 0.5 / kSteps;
    }
    return -1;
}

// The end of a timing pattern one walk starts from: the centre of the light
// module beside a mark, one module along the pattern and one across it.
struct TimingEnd {
    PointF centre;
    PointF step;
    PointF normal;
};

// Walks a timing pattern from the light module at `from`, one module a
// step, until `stop` lies `beyond` modules behind; returns the centres of
// the modules passed, stopping early where the pattern is lost. Every
// module differs from the one before, so the runs along the pattern are its
// modules; across it, the walk keeps to the middle of the band where the
// next few modules alternate best (the rows beside it match only by chance).
std::vector<PointF> WalkTiming(const BitMatrix& bits, const TimingEnd& from, const TimingEnd& to,
                               PointF stop, double beyond) {
    std::vector<PointF> centres = {from.centre};
    const double total = Distance(from.centre, to.centre);
    PointF p = from.centre;
    PointF step = from.step;
    for (int module = 0; module < 177; ++module) {
        const double length2 = step.x * step.x + step.y * step.y;
        const double remaining = ((stop.x - p.x) * step.x + (stop.y - p.y) * step.y) / length2;
        if (remaining < -beyond)
            break;
        // Modules at even steps from the start are light, like it.
        const bool dark = module % 2 == 0;
        const double rest = RunOn(bits, p, step, !dark, 1.5);
        if (rest < 0)
            break;
        const PointF edge = Along(p, step, rest);
        const double width = RunOn(bits, edge, step, dark, 2.0);
        if (width < 0.4)
            break;
        PointF q = Along(edge, step, width / 2);
        const double f = std::clamp(Distance(from.centre, q) / total, 0.0, 1.0);
        const PointF normal{from.normal.x + (to.normal.x - from.normal.x) * f,
                            from.normal.y + (to.normal.y - from.normal.y) * f};
        double shift = 0;
        int bestScore = -1;
        int band = 0;
        for (int k = -4; k <= 4; ++k) {
            const PointF side = Along(q, normal, k / 8.0);
            int score = 0;
            for (int m = 0; m < 4; ++m)
                for (double a : {-0.25, 0.0, 0.25})
                    score += DarkPixel(bits, Along(side, step, m + a)) == ((module + m) % 2 == 0);
            if (score > bestScore) {
                bestScore = score;
                shift = 0;
                band = 0;
            }
            if (score == bestScore) {
                shift += k / 8.0;
                ++band;
            }
        }
        q = Along(q, normal, shift / band / 2);
        step = {(step.x + q.x - p.x) / 2, (step.y + q.y - p.y) / 2};
        p = q;
        centres.push_back(p);
    }
    return centres;
}

} // namespace

std::optional<TimingTrack> FollowTimingPattern(const BitMatrix& bits, const MarkOutlines& outlines,
                                               bool down) {
    const auto first = MarkCorners(outlines, 0);
    const auto last = MarkCorners(outlines, down ? 2 : 1);
    if (!first || !last)
        return std::nullopt;
    const auto from = PerspectiveTransform::QuadToQuad(kMarkSquare, first->data());
    const auto to = PerspectiveTransform::QuadToQuad(kMarkSquare, last->data());
    // Module coordinates of a mark along and across the pattern.
    auto at = [down](const PerspectiveTransform& t, double along, double across) {
        return down ? t.Map(across, along) : t.Map(along, across);
    };
    // The light module after the first mark and the one before the other;
    // every module between them alternates.
    const PointF start = at(from, 7.5, 6.5);
    const PointF end = at(to, -0.5, 6.5);
    const TimingEnd forward{start, Along(at(from, 8.5, 6.5), start, -1),
                            Along(at(from, 7.5, 7.5), start, -1)};
    const TimingEnd backward{end, Along(at(to, -1.5, 6.5), end, -1),
                             Along(at(to, -0.5, 7.5), end, -1)};
    const double total = Distance(start, end);
    const double moduleSize = std::hypot(forward.step.x, forward.step.y);
    if (!(std::isfinite(total) && total < 1e5 && moduleSize >= 0.8))
        return std::nullopt;
    // Each end walks to a little past the middle, following its own mark's
    // direction where it is surest; the walks meet where they pass the same
    // module.
    const PointF middle{(start.x + end.x) / 2, (start.y + end.y) / 2};
    const auto ahead = WalkTiming(bits, forward, backward, middle, 2);
    const auto back = WalkTiming(bits, backward, forward, middle, 2);
    size_t meetAhead = 0;
    size_t meetBack = 0;
    double closest = 0.4 * moduleSize;
    for (size_t i = 0; i < ahead.size(); ++i) {
        for (size_t j = 0; j < back.size(); ++j) {
            const double gap = Distance(ahead[i], back[j]);
            if (gap < closest && i % 2 == j % 2) {
                closest = gap;
                meetAhead = i;
                meetBack = j;
            }
        }
    }
    if (closest >= 0.4 * moduleSize)
        return std::nullopt;
    // Modules 7 .. 7 + meetAhead walked ahead, the rest back from
    // dimension - 8.
    const int dimension = 7 + static_cast<int>(meetAhead + meetBack) + 8;
    if (dimension % 4 != 1 || dimension < 21 || dimension > 177)
        return std::nullopt;
    TimingTrack track;
    track.dimension = dimension;
    // The marks' own modules in the row are placed by their outlines.
    for (int c = 0; c < 7; ++c)
        track.centres.push_back(at(from, c + 0.5, 6.5));
    track.centres.insert(track.centres.end(), ahead.begin(),
                         ahead.begin() + static_cast<std::ptrdiff_t>(meetAhead) + 1);
    for (size_t j = meetBack; j-- > 0;)
        track.centres.push_back(back[j]);
    for (int c = 0; c < 7; ++c)
        track.centres.push_back(at(to, c + 0.5, 6.5));
    return track;
}

std::optional<PerspectiveTransform> RefineGridTransform(const BitMatrix& bits,
                                                        const FinderTriple& t, int dimension,
                                                        const PerspectiveTransform& initial) {
    const int version = VersionFromSize(dimension);
    const auto centers = AlignmentPatternCenters(version);
    const int n = static_cast<int>(centers.size());
    if (n < 3)
        return std::nullopt;
    std::vector<PointF> modules;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (!((i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0)))
                modules.push_back({centers[j] + 0.5, centers[i] + 0.5});
    std::sort(modules.begin(), modules.end(),
              [](PointF a, PointF b) { return a.x + a.y < b.x + b.y; });

    const double far = dimension - 3.5;
    std::vector<PointF> src = {{3.5, 3.5}, {far, 3.5}, {3.5, far}};
    std::vector<PointF> dst = {t.topLeft, t.topRight, t.bottomLeft};
    PerspectiveTransform current = initial;
    bool refitted = false;
    for (const PointF m : modules) {
        const PointF predicted = current.Map(m.x, m.y);
        const double moduleSize = (Distance(current.Map(m.x - 1, m.y), current.Map(m.x + 1, m.y)) +
                                   Distance(current.Map(m.x, m.y - 1), current.Map(m.x, m.y + 1))) /
                                  4;
        if (!std::isfinite(moduleSize) || moduleSize < 1)
            continue;
        const auto found = FindAlignmentPattern(bits, predicted, moduleSize, moduleSize * 3);
        if (!found || Distance(*found, predicted) > moduleSize * 2)
            continue;
        src.push_back(m);
        dst.push_back(*found);
        if (src.size() >= 4) {
            if (const auto fitted = PerspectiveTransform::Fit(src, dst)) {
                current = *fitted;
                refitted = true;
            }
        }
    }
    if (!refitted)
        return std::nullopt;
    return current;
}

bool SampleModule(const BitMatrix& bits, const PerspectiveTransform& transform, int x, int y) {
    return DarkPixel(bits, transform.Map(x + 0.5, y + 0.5));
}

double TimingPatternMismatch(const BitMatrix& bits, const PerspectiveTransform& transform,
                             int dimension) {
    const int total = 2 * std::max(dimension - 16, 0);
    if (total == 0)
        return 1.0;
    // Past half wrong the exact share no longer matters.
    const int enough = total / 2 + 1;
    int wrong = 0;
    for (int i = 8; i < dimension - 8 && wrong < enough; ++i) {
        const bool dark = i % 2 == 0;
        wrong += SampleModule(bits, transform, i, 6) != dark ? 1 : 0;
        wrong += SampleModule(bits, transform, 6, i) != dark ? 1 : 0;
    }
    return static_cast<double>(wrong) / total;
}

namespace {

bool DarkAt(const BitMatrix& bits, const PerspectiveTransform& transform, double u, double v) {
    return DarkPixel(bits, transform.Map(u, v));
}

// How far (in modules) the centre of each column of the timing pattern
// along row 6 (or of each row along column 6, `vertical`) lies from where
// `transform` puts it, for every column of the symbol: measured between
// the marks from the pattern's edges, fading to nothing at the marks'
// centres, where the mapping is anchored.
std::vector<double> TimingOffsets(const BitMatrix& bits, const PerspectiveTransform& transform,
                                  int dimension, bool vertical) {
    constexpr int kSteps = 8; // samples a module
    constexpr double kReach = 0.6;
    auto dark = [&](double along) {
        return vertical ? DarkAt(bits, transform, 6.5, along) : DarkAt(bits, transform, along, 6.5);
    };
    // Column c of the pattern is dark when c is even; 7 and dimension - 8
    // are the light separators beside the marks.
    auto expected = [&](int c) { return c >= 8 && c <= dimension - 9 && c % 2 == 0; };
    // Edges: boundary b lies between columns b - 1 and b.
    std::vector<double> edge(static_cast<size_t>(dimension), -1);
    for (int b = 8; b <= dimension - 8; ++b) {
        double best = -1;
        for (int k = -static_cast<int>(kReach * kSteps); k <= kReach * kSteps; ++k) {
            const double at = b + static_cast<double>(k) / kSteps;
            if (dark(at - 0.5 / kSteps) == expected(b - 1) &&
                dark(at + 0.5 / kSteps) == expected(b) &&
                (best < 0 || std::abs(at - b) < std::abs(best - b)))
                best = at;
        }
        edge[b] = best;
    }
    std::vector<double> offset(static_cast<size_t>(dimension), 0);
    std::vector<bool> known(static_cast<size_t>(dimension), false);
    for (int c = 8; c <= dimension - 9; ++c) {
        if (edge[c] >= 0 && edge[c + 1] >= 0) {
            offset[c] = (edge[c] + edge[c + 1]) / 2 - (c + 0.5);
            known[c] = true;
        }
    }
    // The marks' centres are fixed points; gaps are filled linearly.
    offset[3] = offset[dimension - 4] = 0;
    known[3] = known[dimension - 4] = true;
    int last = 3;
    for (int c = 4; c <= dimension - 4; ++c) {
        if (!known[c])
            continue;
        for (int g = last + 1; g < c; ++g)
            offset[g] = offset[last] + (offset[c] - offset[last]) * (g - last) / (c - last);
        last = c;
    }
    return offset;
}

} // namespace

namespace {

// Least-squares parabola through (x, y) points, evaluated at 0..count-1;
// nothing when there are too few points.
std::optional<std::vector<double>> FitParabola(const std::vector<PointF>& points, int count) {
    if (points.size() < 5)
        return std::nullopt;
    // Normal equations of y = a + b x + c x^2.
    double m[3][4] = {};
    for (const PointF& p : points) {
        const double powers[3] = {1, p.x, p.x * p.x};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                m[i][j] += powers[i] * powers[j];
            m[i][3] += powers[i] * p.y;
        }
    }
    if (!SolveLinearSystem(&m[0][0], 3))
        return std::nullopt;
    std::vector<double> values(static_cast<size_t>(count));
    for (int x = 0; x < count; ++x)
        values[x] = m[0][3] + m[1][3] * x + m[2][3] * x * x;
    return values;
}

enum class Edge { Top, Bottom, Left, Right };

// How far one outer edge of the symbol lies from where `transform` puts it,
// in modules, for each column (top and bottom edge) or row (left and right
// edge): paper bent round a cylinder bows the edges that run round it, a
// wide lens bows all four. Each column's edge is the first dark cell met
// coming in from the quiet zone; a light module on the edge lets the walk
// run on into the symbol, so the lowest values in a neighbourhood of
// columns are the edge, and a parabola smooths them.
std::vector<double> EdgeBow(const BitMatrix& bits, const PerspectiveTransform& transform,
                            int dimension, Edge side) {
    const bool bottom = side == Edge::Bottom || side == Edge::Right;
    const bool vertical = side == Edge::Left || side == Edge::Right;
    constexpr int kSteps = 8;
    constexpr double kReach = 2.5;
    const double d = dimension;
    std::vector<double> first(static_cast<size_t>(dimension), kReach);
    for (int c = 0; c < dimension; ++c) {
        for (int k = -static_cast<int>(kReach * kSteps); k <= kReach * kSteps; ++k) {
            const double inward = static_cast<double>(k) / kSteps;
            const double v = bottom ? d - inward : inward;
            if (vertical ? DarkAt(bits, transform, v, c + 0.5)
                         : DarkAt(bits, transform, c + 0.5, v)) {
                first[c] = inward;
                break;
            }
        }
    }
    std::vector<PointF> edge;
    for (int c = 0; c < dimension; ++c) {
        double lowest = kReach;
        for (int n = std::max(0, c - 2); n <= std::min(dimension - 1, c + 2); ++n)
            lowest = std::min(lowest, first[n]);
        if (lowest < kReach && lowest > -kReach)
            edge.push_back({static_cast<double>(c), bottom ? -lowest : lowest});
    }
    auto bow = FitParabola(edge, dimension);
    if (!bow)
        return std::vector<double>(static_cast<size_t>(dimension), 0);
    for (double& b : *bow)
        b = std::clamp(b, -kReach, kReach);
    return *bow;
}

} // namespace

namespace {

// Where a timing track puts each column (row, `down`) against where
// `transform` does, along the pattern (`along`) and across it (`across`),
// in modules. Beside the marks the track shows where the marks' outlines
// put their own modules (`marksOwnModules`), or else the offsets fade
// linearly to nothing at the marks' centres, where the mapping is
// anchored: round a bottle the outer columns narrow, and a mapping through
// the marks' centres puts them too far out.
void TrackOffsets(const PerspectiveTransform& transform, const TimingTrack& track, bool down,
                  bool marksOwnModules, std::vector<double>* along, std::vector<double>* across) {
    const int dimension = track.dimension;
    const PerspectiveTransform back = transform.Inverse();
    along->assign(static_cast<size_t>(dimension), 0);
    across->assign(static_cast<size_t>(dimension), 0);
    const int beside = marksOwnModules ? 0 : 7;
    for (int c = beside; c < dimension - beside; ++c) {
        const PointF m = back.Map(track.centres[c].x, track.centres[c].y);
        (*along)[c] = (down ? m.y : m.x) - (c + 0.5);
        (*across)[c] = (down ? m.x : m.y) - 6.5;
    }
    if (marksOwnModules)
        return;
    for (auto* offsets : {along, across}) {
        for (int c = 4; c < 7; ++c)
            (*offsets)[c] = (*offsets)[7] * (c - 3) / 4.0;
        for (int c = dimension - 7; c < dimension - 4; ++c)
            (*offsets)[c] = (*offsets)[dimension - 8] * (dimension - 4 - c) / 4.0;
    }
}

} // namespace

ModuleCentres PlaceModulesAlongTiming(const BitMatrix& bits, const PerspectiveTransform& transform,
                                      int dimension, Bows bows, const TimingTrack* across,
                                      const TimingTrack* down, bool marksOwnModules) {
    const std::vector<double> none(static_cast<size_t>(dimension), 0);
    const bool acrossBows = bows != Bows::LeftRight;
    const bool downBows = bows != Bows::TopBottom;
    std::vector<double> acrossOffsets;
    std::vector<double> downOffsets;
    std::vector<double> rowBow;
    std::vector<double> columnBow;
    const bool acrossTracked = across && across->dimension == dimension;
    const bool downTracked = down && down->dimension == dimension;
    if (acrossTracked)
        TrackOffsets(transform, *across, false, marksOwnModules, &acrossOffsets, &rowBow);
    else
        acrossOffsets = TimingOffsets(bits, transform, dimension, false);
    if (downTracked)
        TrackOffsets(transform, *down, true, marksOwnModules, &downOffsets, &columnBow);
    else
        downOffsets = TimingOffsets(bits, transform, dimension, true);
    const auto bottom = acrossBows ? EdgeBow(bits, transform, dimension, Edge::Bottom) : none;
    const auto right = downBows ? EdgeBow(bits, transform, dimension, Edge::Right) : none;
    // A tracked row 6 (column 6) bends as the edges blended at its place do.
    const double inside = 6.5 / dimension;
    auto edgeFromTrack = [&](const std::vector<double>& track, const std::vector<double>& far) {
        std::vector<double> edge(static_cast<size_t>(dimension));
        for (int c = 0; c < dimension; ++c)
            edge[c] = (track[c] - far[c] * inside) / (1 - inside);
        return edge;
    };
    const auto top = !acrossBows     ? none
                     : acrossTracked ? edgeFromTrack(rowBow, bottom)
                                     : EdgeBow(bits, transform, dimension, Edge::Top);
    const auto left = !downBows     ? none
                      : downTracked ? edgeFromTrack(columnBow, right)
                                    : EdgeBow(bits, transform, dimension, Edge::Left);
    ModuleCentres centres;
    centres.reserve(static_cast<size_t>(dimension) * dimension);
    for (int y = 0; y < dimension; ++y) {
        const double below = (y + 0.5) / dimension;
        for (int x = 0; x < dimension; ++x) {
            const double along = (x + 0.5) / dimension;
            const double u = x + 0.5 + acrossOffsets[x] + left[y] * (1 - along) + right[y] * along;
            const double v = y + 0.5 + downOffsets[y] + top[x] * (1 - below) + bottom[x] * below;
            centres.push_back(transform.Map(u, v));
        }
    }
    return centres;
}

namespace {

// Where node (i, j) lies judged from the known nodes of its row and of
// its column: between the nearest on either side, or else carried on in a
// straight line from the two nearest on one side. One guess from the row
// and one from the column, as far as they have enough known nodes: on
// paper round a cylinder one of them runs along the axis, stays straight
// and guesses well, while the other bows.
std::vector<PointF> GuessFromMesh(const std::vector<PointF>& nodes, const std::vector<bool>& known,
                                  int k, std::span<const uint8_t> centers, int i, int j) {
    std::vector<PointF> guesses;
    for (const bool down : {false, true}) {
        const int own = down ? j : i;
        auto index = [&](int n) { return static_cast<size_t>(down ? n * k + i : j * k + n); };
        std::vector<int> before;
        std::vector<int> after;
        for (int n = own - 1; n >= 0 && before.size() < 2; --n)
            if (known[index(n)])
                before.push_back(n);
        for (int n = own + 1; n < k && after.size() < 2; ++n)
            if (known[index(n)])
                after.push_back(n);
        int a;
        int b;
        if (!before.empty() && !after.empty()) {
            a = before[0];
            b = after[0];
        } else if (before.size() == 2) {
            a = before[1];
            b = before[0];
        } else if (after.size() == 2) {
            a = after[1];
            b = after[0];
        } else {
            continue;
        }
        const double f = static_cast<double>(centers[own] - centers[a]) / (centers[b] - centers[a]);
        const PointF p = nodes[index(a)];
        const PointF q = nodes[index(b)];
        guesses.push_back({p.x + (q.x - p.x) * f, p.y + (q.y - p.y) * f});
    }
    return guesses;
}

} // namespace

std::optional<ModuleCentres> PlaceModulesPiecewise(const BitMatrix& bits,
                                                   const PerspectiveTransform& transform,
                                                   int dimension, const MarkOutlines* outlines,
                                                   const TimingTrack* across,
                                                   const TimingTrack* down) {
    const auto centers = AlignmentPatternCenters(VersionFromSize(dimension));
    const int k = static_cast<int>(centers.size());
    if (k < 3)
        return std::nullopt;
    std::vector<PointF> nodes(static_cast<size_t>(k * k));
    auto node = [&](int i, int j) -> PointF& { return nodes[static_cast<size_t>(j * k + i)]; };
    auto module = [&](int i) { return centers[i] + 0.5; };
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i)
            node(i, j) = transform.Map(module(i), module(j));
    // The corners beside the marks, from the marks' own outlines.
    if (outlines) {
        const int marks[3][3] = {{0, 0, 0}, {1, k - 1, 0}, {2, 0, k - 1}};
        for (const auto& m : marks) {
            const auto corners = MarkCorners(*outlines, m[0]);
            if (!corners)
                return std::nullopt;
            const auto local = PerspectiveTransform::QuadToQuad(kMarkSquare, corners->data());
            const double far = dimension - 7;
            const PointF origin{m[0] == 1 ? far : 0, m[0] == 2 ? far : 0};
            node(m[1], m[2]) = local.Map(module(m[1]) - origin.x, module(m[2]) - origin.y);
        }
    }
    const bool acrossTracked = across && across->dimension == dimension;
    const bool downTracked = down && down->dimension == dimension;
    // Nodes placed by the marks, the timing tracks or a pattern found.
    std::vector<bool> known(nodes.size(), false);
    auto moduleSizeAt = [&](int i, int j) {
        const PointF mapped = transform.Map(module(i), module(j));
        const PointF across = transform.Map(module(i) + 1, module(j));
        const PointF below = transform.Map(module(i), module(j) + 1);
        return (Distance(mapped, across) + Distance(mapped, below)) / 2;
    };
    int found = 0;
    // Places node (i, j) on a pattern found near one of the guesses, or else
    // between the guesses. Where the guesses find different patterns (a
    // wild guess can land on a look-alike in the data), the one nearest
    // all guesses together wins.
    auto lookFor = [&](int i, int j, const std::vector<PointF>& guesses) {
        PointF mean{0, 0};
        const double share = 1.0 / static_cast<double>(guesses.size());
        for (const PointF& g : guesses)
            mean = {mean.x + g.x * share, mean.y + g.y * share};
        node(i, j) = mean;
        const double moduleSize = moduleSizeAt(i, j);
        if (!std::isfinite(moduleSize) || moduleSize < 1)
            return;
        double best = 0;
        for (const PointF& g : guesses) {
            const auto pattern = FindAlignmentPattern(bits, g, moduleSize, moduleSize * 3);
            if (!pattern || Distance(*pattern, g) > moduleSize * 3)
                continue;
            double spread = 0;
            for (const PointF& other : guesses)
                spread += Distance(*pattern, other);
            const size_t at = static_cast<size_t>(j * k + i);
            if (!known[at] || spread < best) {
                best = spread;
                node(i, j) = *pattern;
                found += known[at] ? 0 : 1;
                known[at] = true;
            }
        }
    };
    for (int j = 0; j < k; ++j) {
        for (int i = 0; i < k; ++i) {
            const bool beside =
                (i == 0 || i == k - 1) && (j == 0 || j == k - 1) && !(i == k - 1 && j == k - 1);
            known[static_cast<size_t>(j * k + i)] =
                beside || (j == 0 && acrossTracked) || (i == 0 && downTracked);
            if (beside)
                continue;
            if (j == 0 && acrossTracked) {
                node(i, j) = across->centres[centers[i]];
                continue;
            }
            if (i == 0 && downTracked) {
                node(i, j) = down->centres[centers[j]];
                continue;
            }
            // Where the mapping puts it, moved as far as it misses its
            // neighbours already placed: follows the picture's bending
            // locally.
            const PointF mapped = node(i, j);
            PointF shift{0, 0};
            int neighbours = 0;
            for (const auto& [di, dj] : {std::pair{-1, 0}, {0, -1}, {-1, -1}, {1, -1}}) {
                const int ni = i + di;
                const int nj = j + dj;
                if (ni < 0 || ni >= k || nj < 0)
                    continue;
                const PointF there = transform.Map(module(ni), module(nj));
                shift.x += node(ni, nj).x - there.x;
                shift.y += node(ni, nj).y - there.y;
                ++neighbours;
            }
            auto guesses = GuessFromMesh(nodes, known, k, centers, i, j);
            guesses.push_back(neighbours == 0 ? mapped
                                              : PointF{mapped.x + shift.x / neighbours,
                                                       mapped.y + shift.y / neighbours});
            if (i > 0 && j > 0) {
                // A parallelogram with the three nodes before it.
                const PointF left = node(i - 1, j);
                const PointF up = node(i, j - 1);
                const PointF diagonal = node(i - 1, j - 1);
                guesses.push_back({left.x + up.x - diagonal.x, left.y + up.y - diagonal.y});
            }
            lookFor(i, j, guesses);
        }
    }
    // A pattern missed on the way is looked for again from the nodes known
    // around it by now, on every side.
    for (bool more = true; more;) {
        more = false;
        for (int j = 0; j < k; ++j) {
            for (int i = 0; i < k; ++i) {
                if (known[static_cast<size_t>(j * k + i)])
                    continue;
                const auto guesses = GuessFromMesh(nodes, known, k, centers, i, j);
                if (!guesses.empty()) {
                    const int before = found;
                    lookFor(i, j, guesses);
                    more = more || found > before;
                }
            }
        }
    }
    if (found == 0)
        return std::nullopt;
    std::vector<PerspectiveTransform> cells;
    for (int j = 0; j + 1 < k; ++j) {
        for (int i = 0; i + 1 < k; ++i) {
            const PointF src[4] = {{module(i), module(j)},
                                   {module(i + 1), module(j)},
                                   {module(i + 1), module(j + 1)},
                                   {module(i), module(j + 1)}};
            const PointF dst[4] = {node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)};
            cells.push_back(PerspectiveTransform::QuadToQuad(src, dst));
        }
    }
    // The cell of each column (row); the outer strips use the outer cells.
    std::vector<int> cell(static_cast<size_t>(dimension));
    for (int c = 0, i = 0; c < dimension; ++c) {
        while (i + 2 < k && c >= centers[i + 1])
            ++i;
        cell[c] = i;
    }
    // Row 6 (column 6) bends between the patterns where a tracked timing
    // pattern shows it: the cells beside it bend with it, fully out to the
    // symbol's edge and fading to nothing at the next row (column) of
    // patterns.
    auto trackShift = [&](const TimingTrack* track, int along, int across, bool down) {
        const double reach = centers[1] - centers[0];
        const double fade = std::clamp((centers[1] + 0.5 - (across + 0.5)) / reach, 0.0, 1.0);
        if (!track || fade == 0)
            return PointF{0, 0};
        const auto& cellMap = down ? cells[cell[along] * (k - 1)] : cells[cell[along]];
        const PointF mapped = down ? cellMap.Map(6.5, along + 0.5) : cellMap.Map(along + 0.5, 6.5);
        const PointF seen = track->centres[along];
        return PointF{(seen.x - mapped.x) * fade, (seen.y - mapped.y) * fade};
    };
    ModuleCentres centres;
    centres.reserve(static_cast<size_t>(dimension) * dimension);
    for (int y = 0; y < dimension; ++y) {
        for (int x = 0; x < dimension; ++x) {
            PointF p = cells[cell[y] * (k - 1) + cell[x]].Map(x + 0.5, y + 0.5);
            const PointF a = trackShift(acrossTracked ? across : nullptr, x, y, false);
            const PointF b = trackShift(downTracked ? down : nullptr, y, x, true);
            p = {p.x + a.x + b.x, p.y + a.y + b.y};
            centres.push_back(p);
        }
    }
    return centres;
}

BitMatrix SampleModules(const BitMatrix& bits, const ModuleCentres& centres, int dimension) {
    BitMatrix grid(dimension, dimension);
    for (int y = 0; y < dimension; ++y)
        for (int x = 0; x < dimension; ++x)
            grid.Set(x, y, DarkPixel(bits, centres[static_cast<size_t>(y) * dimension + x]));
    return grid;
}

BitMatrix SampleGrid(const BitMatrix& bits, const PerspectiveTransform& transform, int dimension) {
    BitMatrix grid(dimension, dimension);
    for (int y = 0; y < dimension; ++y)
        for (int x = 0; x < dimension; ++x)
            grid.Set(x, y, SampleModule(bits, transform, x, y));
    return grid;
}

} // namespace kodaro::codec
