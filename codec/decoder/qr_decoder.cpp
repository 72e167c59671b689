#include "codec/decoder/qr_decoder.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_set>

#include "codec/common/symbol_layout.h"
#include "codec/decoder/binarizer.h"
#include "codec/decoder/bitstream_parser.h"
#include "codec/decoder/codeword_reader.h"
#include "codec/decoder/detector.h"
#include "codec/decoder/finder_patterns.h"
#include "codec/decoder/grey_sampling.h"
#include "codec/decoder/grid_fit.h"
#include "codec/decoder/model1_layout.h"

namespace kodaro::codec {

namespace {

// Marks considered together (one mark and its nearest neighbours), and the
// decoding attempts a pass may spend: kMaxAttempts, and kAttemptsPerSymbol
// more for every symbol read. Noise full of mark look-alikes stays cheap,
// while a picture of a hundred symbols is read whole.
constexpr size_t kMaxMarks = 24;
// Marks of one symbol differ this much in size at most: strong perspective
// shows one mark at twice the scale of another.
constexpr double kMaxMarkSizeRatio = 2.5;
constexpr int kMaxAttempts = 60;
constexpr int kAttemptsPerSymbol = 20;
// What a decoding pass reports when its binarization shows no symbol's marks.
constexpr int kNoMarks = -1;
// Grids sampled and decoded per picture at most, and how many more every
// symbol read earns: real pictures need a few hundred for a symbol at the
// most, pictures of noise full of mark look-alikes could take thousands.
constexpr int kMaxGridDecodes = 1000;
constexpr int kGridDecodesPerSymbol = 200;
// Pictures up to this size are read once more at twice the size when
// nothing else worked.
constexpr int64_t kMaxEnlargedPixels = 1'000'000;
// A mapping whose timing patterns are this far off is not tried further.
constexpr double kMaxTimingMismatch = 0.3;
// Beyond this no nearby mapping is worth searching for.
constexpr double kHopelessTimingMismatch = 0.4;

bool DecodeGridOneWay(const BitMatrix& grid, DecodedSymbol* out) {
    const int version = VersionFromSize(grid.Width());
    if (version == 0)
        return false;
    auto codewords = ReadCodewords(grid, version);
    if (!codewords)
        codewords = ReadModel1Codewords(grid);
    if (!codewords)
        return false;
    const auto parsed = ParseBitstream(codewords->data, version);
    // The old model knows no ECI.
    if (!parsed || (codewords->model == 1 && parsed->firstEci != -1))
        return false;
    out->model = codewords->model;
    out->version = version;
    out->level = codewords->level;
    out->mask = codewords->mask;
    out->correctedErrors = codewords->correctedErrors;
    out->sequenceIndex = parsed->sequenceIndex;
    out->sequenceCount = parsed->sequenceCount;
    out->sequenceParity = parsed->sequenceParity;
    out->fnc1 = parsed->fnc1;
    out->eci = parsed->firstEci;
    out->bytes.clear();
    for (const auto& s : parsed->segments)
        out->bytes += s.bytes;
    const SymbolText text = DecodeSymbolText(*parsed);
    out->text = text.utf8;
    out->charset = text.charset;
    return true;
}

struct Mark {
    FinderPattern pattern;
    bool used = false;                      // part of a symbol read
    std::optional<std::vector<PointF>> rim; // traced when first needed
};

struct Triple {
    int a, b, c;
    double score;
};

// Plausible triples of the marks in `group`, most symbol-like first:
// similar module sizes, a right angle at one mark, two legs of similar
// length, well confirmed.
std::vector<Triple> RankTriples(const std::vector<Mark>& marks, const std::vector<int>& group) {
    std::vector<Triple> triples;
    const size_t n = group.size();
    for (size_t gi = 0; gi < n; ++gi) {
        for (size_t gj = gi + 1; gj < n; ++gj) {
            for (size_t gk = gj + 1; gk < n; ++gk) {
                const int i = group[gi];
                const int j = group[gj];
                const int k = group[gk];
                const auto& p = marks[i].pattern;
                const auto& q = marks[j].pattern;
                const auto& r = marks[k].pattern;
                const double smallest = std::min({p.moduleSize, q.moduleSize, r.moduleSize});
                const double largest = std::max({p.moduleSize, q.moduleSize, r.moduleSize});
                if (largest > smallest * kMaxMarkSizeRatio)
                    continue;
                double d[3] = {Distance(p.center, q.center), Distance(q.center, r.center),
                               Distance(p.center, r.center)};
                std::sort(d, d + 3);
                // The marks of the smallest symbol are 14 modules apart; blur
                // can swell a mark to half again its module size.
                const double module = (p.moduleSize + q.moduleSize + r.moduleSize) / 3;
                if (d[0] < 8 * module || d[1] > 200 * module)
                    continue;
                const double legs = d[1] / d[0];
                if (legs > 1.8)
                    continue;
                const double rightAngle = std::abs(d[2] * d[2] / (d[0] * d[0] + d[1] * d[1]) - 1);
                if (rightAngle > 0.45)
                    continue;
                // Real marks are confirmed by many scan lines, look-alikes by few.
                const double confirmation = 1.0 / std::min({p.hits, q.hits, r.hits});
                const double score =
                    (legs - 1) + rightAngle * 2 + (largest - smallest) / smallest + confirmation;
                triples.push_back({i, j, k, score});
            }
        }
    }
    std::sort(triples.begin(), triples.end(),
              [](const Triple& x, const Triple& y) { return x.score < y.score; });
    return triples;
}

// Grid decodes left for the picture being read (per thread, as pictures
// are read on several threads at once).
thread_local int gridDecodesLeft = 0;

// Reads a sampled grid either way round and frames it with the corners
// `transform` gives.
bool DecodeSampled(const BitMatrix& grid, const PerspectiveTransform& transform,
                   DecodedSymbol* out) {
    if (gridDecodesLeft <= 0)
        return false;
    --gridDecodesLeft;
    bool ok = DecodeGridOneWay(grid, out);
    if (!ok) {
        ok = DecodeGridOneWay(grid.Transposed(), out);
        out->mirrored = ok;
    } else {
        out->mirrored = false;
    }
    if (!ok)
        return false;
    gridDecodesLeft += kGridDecodesPerSymbol;
    const double d = grid.Width();
    out->corners[0] = transform.Map(0, 0);
    out->corners[1] = transform.Map(d, 0);
    out->corners[2] = transform.Map(d, d);
    out->corners[3] = transform.Map(0, d);
    if (out->mirrored)
        std::swap(out->corners[1], out->corners[3]);
    return true;
}

bool SampleAndDecode(const BitMatrix& bits, const GreySource& grey,
                     const PerspectiveTransform& transform, int dimension, DecodedSymbol* out,
                     int* versionHint, double* timing = nullptr) {
    if (!transform.IsValid())
        return false;
    if (dimension >= 45 && versionHint) {
        // The version information says how many modules there really are.
        BitMatrix blocks(dimension, dimension);
        for (int copy = 0; copy < 2; ++copy)
            for (const ModulePos& p : VersionInfoPositions(VersionFromSize(dimension), copy))
                blocks.Set(p.col, p.row, SampleModule(bits, transform, p.col, p.row));
        const int told = ReadVersionInformation(blocks, VersionFromSize(dimension));
        // The old model has no version information: there it is data.
        auto oldModel = [&] {
            for (int copy = 0; copy < 2; ++copy)
                for (const ModulePos& p : FormatInfoPositions(VersionFromSize(dimension), copy))
                    blocks.Set(p.col, p.row, SampleModule(bits, transform, p.col, p.row));
            return FormatSaysModel1(blocks);
        };
        if (told != 0 && SymbolSize(told) != dimension && !oldModel()) {
            *versionHint = told;
            return false;
        }
    }
    const double mismatch = TimingPatternMismatch(bits, transform, dimension);
    if (timing)
        *timing = mismatch;
    if (mismatch > kMaxTimingMismatch)
        return false;
    // Under heavy noise the thresholded pixels misread modules that the
    // picture's grey values still tell.
    return DecodeSampled(SampleGrid(bits, transform, dimension), transform, out) ||
           DecodeSampled(SampleGreyGrid(grey, transform, dimension), transform, out);
}

// The timing tracks of one triple, followed when first asked for: most
// symbols read through their first mapping and never need them.
class TimingTracks {
public:
    TimingTracks(const BitMatrix& bits, const std::optional<MarkOutlines>& outlines)
        : bits_(bits), outlines_(outlines) {}

    // The track of row 6 (column 6, `down`) when it counts `dimension` modules.
    const TimingTrack* Get(bool down, int dimension) {
        Follow();
        const auto& track = down ? down_ : across_;
        return track && track->dimension == dimension ? &*track : nullptr;
    }
    // The sizes the tracks count.
    std::vector<int> Dimensions() {
        Follow();
        std::vector<int> counted;
        for (const auto* track : {&across_, &down_})
            if (*track)
                counted.push_back((*track)->dimension);
        return counted;
    }

private:
    void Follow() {
        if (followed_ || !outlines_)
            return;
        followed_ = true;
        across_ = FollowTimingPattern(bits_, *outlines_, false);
        down_ = FollowTimingPattern(bits_, *outlines_, true);
    }

    const BitMatrix& bits_;
    const std::optional<MarkOutlines>& outlines_;
    bool followed_ = false;
    std::optional<TimingTrack> across_;
    std::optional<TimingTrack> down_;
};

// Tries the mappings from the best founded to the plainest: from the
// bottom-right alignment pattern, from the outlines of the marks, from the
// parallelogram of the three marks; each first refined by all alignment
// patterns of a larger symbol.
bool DecodeAtDimension(const BitMatrix& bits, const GreySource& grey, const FinderTriple& t,
                       double moduleSize, const std::optional<MarkOutlines>& outlines,
                       TimingTracks& tracks, int dimension, DecodedSymbol* out, int* versionHint) {
    const auto outline = outlines ? OutlineGridTransform(*outlines, dimension, false)
                                  : std::optional<PerspectiveTransform>();
    const auto outlineCorners = outlines ? OutlineGridTransform(*outlines, dimension, true)
                                         : std::optional<PerspectiveTransform>();
    // Mappings whose timing patterns are far off everywhere belong to marks
    // of no symbol (or a wrong size): give up before the costlier searches.
    const PerspectiveTransform parallelogram = GridTransform(t, dimension, std::nullopt);
    double plainTiming = TimingPatternMismatch(bits, parallelogram, dimension);
    if (outline)
        plainTiming = std::min(plainTiming, TimingPatternMismatch(bits, *outline, dimension));
    if (outlineCorners)
        plainTiming =
            std::min(plainTiming, TimingPatternMismatch(bits, *outlineCorners, dimension));
    if (plainTiming > kHopelessTimingMismatch && !(dimension >= 45 && versionHint))
        return false;
    std::optional<PointF> alignment;
    // Where the alignment pattern would be if the symbol were a parallelogram.
    const double pull = 1.0 - 3.0 / (dimension - 7);
    const PointF parallelogramEstimate{
        t.topLeft.x + pull * (t.topRight.x - t.topLeft.x + t.bottomLeft.x - t.topLeft.x),
        t.topLeft.y + pull * (t.topRight.y - t.topLeft.y + t.bottomLeft.y - t.topLeft.y)};
    if (dimension > 21) {
        const double corner = dimension - 6.5;
        if (outline) {
            const PointF estimate = outline->Map(corner, corner);
            alignment = FindAlignmentPattern(bits, estimate, moduleSize, 4 * moduleSize);
        }
        for (double allowance : {4.0, 8.0}) {
            if (alignment)
                break;
            alignment = FindAlignmentPattern(bits, parallelogramEstimate, moduleSize,
                                             allowance * moduleSize);
        }
    }
    std::vector<PerspectiveTransform> mappings;
    if (alignment)
        mappings.push_back(GridTransform(t, dimension, alignment));
    if (outline)
        mappings.push_back(*outline);
    if (outlineCorners)
        mappings.push_back(*outlineCorners);
    mappings.push_back(parallelogram);
    double bestTiming = 1;
    const PerspectiveTransform* best = nullptr;
    for (const auto& initial : mappings) {
        const auto refined =
            TimingPatternMismatch(bits, initial, dimension) <= kHopelessTimingMismatch
                ? RefineGridTransform(bits, t, dimension, initial)
                : std::nullopt;
        if (refined) {
            if (SampleAndDecode(bits, grey, *refined, dimension, out, versionHint))
                return true;
            if (versionHint && *versionHint != 0)
                return false;
        }
        double timing = 1;
        if (SampleAndDecode(bits, grey, initial, dimension, out, versionHint, &timing))
            return true;
        if (versionHint && *versionHint != 0)
            return false;
        if (timing < bestTiming) {
            bestTiming = timing;
            best = &initial;
        }
    }
    // Placing bent grids costs more than sampling one: none once the
    // picture's grids are spent.
    if (best == nullptr || gridDecodesLeft <= 0)
        return false;
    const TimingTrack* across = tracks.Get(false, dimension);
    const TimingTrack* down = tracks.Get(true, dimension);
    // What follows starts from the mapping that fits the timing patterns
    // best, from the one through the bottom-right alignment pattern, and from
    // one through the pattern nearest where a parallelogram puts it when that
    // is another: on bent paper the marks' outlines can point at a
    // look-alike in the data.
    std::optional<PerspectiveTransform> other;
    if (alignment) {
        const auto pattern =
            FindAlignmentPattern(bits, parallelogramEstimate, moduleSize, 4 * moduleSize);
        if (pattern && Distance(*pattern, *alignment) > 1.5 * moduleSize)
            other = GridTransform(t, dimension, pattern);
    }
    struct Base {
        const PerspectiveTransform* transform;
        double timing;
    };
    std::vector<Base> bases = {{best, bestTiming}};
    if (alignment && best != &mappings[0])
        bases.push_back({&mappings[0], TimingPatternMismatch(bits, mappings[0], dimension)});
    if (other && other->IsValid())
        bases.push_back({&*other, TimingPatternMismatch(bits, *other, dimension)});
    // Large symbols bend more than one mapping, even with bowed edges, can
    // follow: cell by cell between their alignment patterns. A timing track
    // of this size is evidence enough to look even when no mapping fits well.
    if (bestTiming <= kHopelessTimingMismatch || across || down) {
        for (const Base& base : bases) {
            const auto centres = PlaceModulesPiecewise(
                bits, *base.transform, dimension, outlines ? &*outlines : nullptr, across, down);
            if (centres &&
                DecodeSampled(SampleModules(bits, *centres, dimension), *base.transform, out))
                return true;
        }
    }
    // Bent paper or a wide lens: the mapping fits the marks but drifts off
    // the modules between them, which the timing patterns show.
    // Round a bottle the outer columns narrow, and the marks' outlines place
    // them better than the mapping; where the tracks show them, that is
    // tried too.
    for (const bool marksOwnModules : {false, true}) {
        if (marksOwnModules && !across && !down)
            break;
        for (const Base& base : bases) {
            if (base.timing > kMaxTimingMismatch)
                continue;
            for (Bows bows : {Bows::TopBottom, Bows::LeftRight, Bows::All}) {
                const auto centres = PlaceModulesAlongTiming(bits, *base.transform, dimension, bows,
                                                             across, down, marksOwnModules);
                if (DecodeSampled(SampleModules(bits, centres, dimension), *base.transform, out))
                    return true;
                if (const auto fitted = FitOuterLines(bits, centres, dimension);
                    fitted &&
                    DecodeSampled(SampleModules(bits, *fitted, dimension), *base.transform, out))
                    return true;
            }
        }
    }
    if (bestTiming > kMaxTimingMismatch)
        return false;
    if (const auto fitted = FitToKnownModules(bits, *best, dimension);
        fitted && SampleAndDecode(bits, grey, *fitted, dimension, out, nullptr))
        return true;
    // A small symbol whose mapping fits its timing patterns but not its data
    // is usually off at the fourth corner, which nothing marks: nudge that
    // corner by half modules.
    if (dimension >= 45)
        return false;
    const double d = dimension;
    const PointF outer[4] = {{0, 0}, {d, 0}, {d, d}, {0, d}};
    PointF image[4] = {best->Map(0, 0), best->Map(d, 0), best->Map(d, d), best->Map(0, d)};
    const PointF corner = image[2];
    const PointF alongX{(corner.x - best->Map(d - 1, d).x) / 2,
                        (corner.y - best->Map(d - 1, d).y) / 2};
    const PointF alongY{(corner.x - best->Map(d, d - 1).x) / 2,
                        (corner.y - best->Map(d, d - 1).y) / 2};
    for (int i = -2; i <= 2; ++i) {
        for (int j = -2; j <= 2; ++j) {
            if (i == 0 && j == 0)
                continue;
            image[2] = {corner.x + i * alongX.x + j * alongY.x,
                        corner.y + i * alongX.y + j * alongY.y};
            if (SampleAndDecode(bits, grey, PerspectiveTransform::QuadToQuad(outer, image),
                                dimension, out, nullptr))
                return true;
        }
    }
    return false;
}

bool DecodeTriple(const BitMatrix& bits, const GreySource& grey, const FinderTriple& t,
                  const std::vector<PointF>* rims[3], DecodedSymbol* out) {
    const double moduleSize = MeasureModuleSize(bits, t);
    if (moduleSize < 0.8)
        return false;
    const int estimate = EstimateDimension(t, moduleSize);
    if (estimate == 0)
        return false;
    const auto outlines = FitMarkOutlines(t, rims);
    TimingTracks tracks(bits, outlines);
    std::vector<int> dimensions = {estimate};
    // A size is tried once with the version information as a guard (which
    // ends the try when it tells another size) and once without it, when
    // another size's version information tells this one.
    std::vector<int> guarded;
    std::vector<int> unguarded;
    auto first = [](std::vector<int>& tried, int dimension) {
        if (dimension < 21 || dimension > 177 ||
            std::find(tried.begin(), tried.end(), dimension) != tried.end())
            return false;
        tried.push_back(dimension);
        return true;
    };
    for (size_t i = 0; i < dimensions.size(); ++i) {
        const int dimension = dimensions[i];
        if (std::find(unguarded.begin(), unguarded.end(), dimension) == unguarded.end() &&
            first(guarded, dimension)) {
            int hint = 0;
            if (DecodeAtDimension(bits, grey, t, moduleSize, outlines, tracks, dimension, out,
                                  &hint))
                return true;
            if (hint != 0 && first(unguarded, SymbolSize(hint)) &&
                DecodeAtDimension(bits, grey, t, moduleSize, outlines, tracks, SymbolSize(hint),
                                  out, nullptr))
                return true;
            // The old model has no version information: what reads as one
            // there may be its data.
            if (hint != 0 && dimension <= SymbolSize(kModel1MaxVersion) &&
                first(unguarded, dimension) &&
                DecodeAtDimension(bits, grey, t, moduleSize, outlines, tracks, dimension, out,
                                  nullptr))
                return true;
        }
        // Where bending or perspective make the marks' module size a poor
        // guide, the timing patterns count the modules; the estimate's
        // neighbours come last.
        if (i == 0) {
            for (const int counted : tracks.Dimensions())
                dimensions.push_back(counted);
            dimensions.push_back(estimate + 4);
            dimensions.push_back(estimate - 4);
        }
    }
    return false;
}

bool Inside(const DecodedSymbol& s, PointF p) {
    // The quadrilateral is convex; p is inside when it is on the same side of all edges.
    int positive = 0;
    int negative = 0;
    for (int i = 0; i < 4; ++i) {
        const double c = Cross(s.corners[i], s.corners[(i + 1) % 4], p);
        positive += c > 0 ? 1 : 0;
        negative += c < 0 ? 1 : 0;
    }
    return positive == 0 || negative == 0;
}

PointF Centre(const DecodedSymbol& s) {
    return {(s.corners[0].x + s.corners[1].x + s.corners[2].x + s.corners[3].x) / 4,
            (s.corners[0].y + s.corners[1].y + s.corners[2].y + s.corners[3].y) / 4};
}

// The mark itself and the unused marks nearest to it: the other two marks
// of its symbol are among them even when many symbols crowd the picture.
std::vector<int> Neighbourhood(const std::vector<Mark>& marks, int seed) {
    std::vector<std::pair<double, int>> byDistance;
    for (int i = 0; i < static_cast<int>(marks.size()); ++i)
        if (!marks[i].used)
            byDistance.push_back(
                {Distance(marks[i].pattern.center, marks[seed].pattern.center), i});
    const size_t keep = std::min(byDistance.size(), kMaxMarks);
    std::partial_sort(byDistance.begin(), byDistance.begin() + static_cast<std::ptrdiff_t>(keep),
                      byDistance.end());
    std::vector<int> group;
    for (size_t i = 0; i < keep; ++i)
        group.push_back(byDistance[i].second);
    return group;
}

// What a pass may still spend, and the triples it has tried: neighbourhoods
// overlap, and a triple that failed once would fail again.
struct Attempts {
    int budget = kMaxAttempts;
    std::unordered_set<uint64_t> tried;

    bool Try(int a, int b, int c) {
        int key[3] = {a, b, c};
        std::sort(key, key + 3);
        const uint64_t packed = static_cast<uint64_t>(key[0]) << 42 |
                                static_cast<uint64_t>(key[1]) << 21 | static_cast<uint64_t>(key[2]);
        return tried.insert(packed).second && --budget >= 0;
    }
};

// Tries the triples of one neighbourhood, best first, while attempts last;
// each symbol read adds to the budget.
void DecodeNeighbourhood(const BitMatrix& bits, const GreySource& grey, std::vector<Mark>& marks,
                         const std::vector<int>& group, std::vector<DecodedSymbol>& results,
                         Attempts* attempts) {
    for (const Triple& tr : RankTriples(marks, group)) {
        if (marks[tr.a].used || marks[tr.b].used || marks[tr.c].used)
            continue;
        if (!attempts->Try(tr.a, tr.b, tr.c)) {
            if (attempts->budget < 0)
                return;
            continue;
        }
        DecodedSymbol symbol;
        bool read = false;
        for (const FinderTriple& t :
             OrderFinderTriple(marks[tr.a].pattern.center, marks[tr.b].pattern.center,
                               marks[tr.c].pattern.center)) {
            const std::vector<PointF>* rims[3] = {};
            const PointF roles[3] = {t.topLeft, t.topRight, t.bottomLeft};
            for (int r = 0; r < 3; ++r) {
                for (int index : {tr.a, tr.b, tr.c}) {
                    Mark& m = marks[index];
                    if (m.pattern.center.x == roles[r].x && m.pattern.center.y == roles[r].y) {
                        if (!m.rim)
                            m.rim = TraceMarkRim(bits, m.pattern.center, m.pattern.moduleSize);
                        rims[r] = &*m.rim;
                    }
                }
            }
            if ((read = DecodeTriple(bits, grey, t, rims, &symbol)))
                break;
        }
        if (!read)
            continue;
        marks[tr.a].used = marks[tr.b].used = marks[tr.c].used = true;
        for (auto& m : marks)
            if (Inside(symbol, m.pattern.center))
                m.used = true;
        const PointF centre = Centre(symbol);
        const bool duplicate =
            std::any_of(results.begin(), results.end(),
                        [&](const DecodedSymbol& r) { return Inside(r, centre); });
        if (!duplicate) {
            results.push_back(std::move(symbol));
            attempts->budget += kAttemptsPerSymbol;
        }
    }
}

// Reads the symbols whose marks this binarization shows, one neighbourhood
// of marks after another, best-confirmed mark first. Returns how many
// well-confirmed marks were left unused: symbols this pass may have missed;
// kNoMarks when it shows fewer than three marks at all.
int DecodePass(const BitMatrix& bits, const GreySource& grey, std::vector<DecodedSymbol>& results) {
    // Marks inside symbols already read are spent and take no place among
    // the candidates.
    std::vector<FinderPattern> patterns;
    for (const auto& p : FindFinderPatterns(bits))
        if (std::none_of(results.begin(), results.end(),
                         [&](const DecodedSymbol& r) { return Inside(r, p.center); }))
            patterns.push_back(p);
    std::vector<Mark> marks;
    for (const auto& p : patterns)
        if (p.hits >= 2)
            marks.push_back({p, false, std::nullopt});
    if (marks.size() < 3) {
        marks.clear();
        for (const auto& p : patterns)
            marks.push_back({p, false, std::nullopt});
    }
    if (marks.size() < 3)
        return kNoMarks;
    Attempts attempts;
    // The best-confirmed marks of the whole picture first (the marks come
    // sorted so): most pictures hold one symbol or a few, whose marks are
    // better confirmed than look-alikes in their data.
    std::vector<int> best(std::min(marks.size(), kMaxMarks));
    std::iota(best.begin(), best.end(), 0);
    DecodeNeighbourhood(bits, grey, marks, best, results, &attempts);
    // Then, in a crowd, the marks still unused with their neighbours.
    for (int seed = 0; seed < static_cast<int>(marks.size()) && attempts.budget > 0; ++seed) {
        if (marks[seed].used)
            continue;
        const std::vector<int> group = Neighbourhood(marks, seed);
        if (group.size() >= 3)
            DecodeNeighbourhood(bits, grey, marks, group, results, &attempts);
    }
    return static_cast<int>(std::count_if(
        marks.begin(), marks.end(), [](const Mark& m) { return !m.used && m.pattern.hits >= 2; }));
}

// Top to bottom, then left to right: symbols whose centres fall within the
// vertical extent of the first symbol of a row belong to that row.
void SortReadingOrder(std::vector<DecodedSymbol>& symbols) {
    std::sort(symbols.begin(), symbols.end(), [](const DecodedSymbol& a, const DecodedSymbol& b) {
        return Centre(a).y < Centre(b).y;
    });
    size_t rowStart = 0;
    while (rowStart < symbols.size()) {
        const auto& first = symbols[rowStart];
        double bottom = first.corners[0].y;
        for (const auto& c : first.corners)
            bottom = std::max(bottom, c.y);
        size_t rowEnd = rowStart + 1;
        while (rowEnd < symbols.size() && Centre(symbols[rowEnd]).y < bottom)
            ++rowEnd;
        std::sort(symbols.begin() + static_cast<std::ptrdiff_t>(rowStart),
                  symbols.begin() + static_cast<std::ptrdiff_t>(rowEnd),
                  [](const DecodedSymbol& a, const DecodedSymbol& b) {
                      return Centre(a).x < Centre(b).x;
                  });
        rowStart = rowEnd;
    }
}

} // namespace

bool DecodeModuleGrid(const BitMatrix& grid, DecodedSymbol* out) {
    if (grid.Width() != grid.Height())
        return false;
    if (DecodeGridOneWay(grid, out)) {
        out->mirrored = false;
        return true;
    }
    if (DecodeGridOneWay(grid.Transposed(), out)) {
        out->mirrored = true;
        return true;
    }
    return false;
}

std::vector<DecodedSymbol> DecodeQrSymbols(const GreyImage& image) {
    gridDecodesLeft = kMaxGridDecodes;
    std::vector<DecodedSymbol> results;
    if (image.pixels == nullptr || image.width <= 0 || image.height <= 0 ||
        image.stride < image.width)
        return results;
    // Local thresholding first; a global threshold next (also when marks
    // were left over, as another symbol may need it); then local thresholding
    // of the smoothed picture for noisy ones; then all of them again for
    // light-on-dark symbols.
    const GreySource darkOnLight{image, false};
    const GreySource lightOnDark{image, true};
    BitMatrix local = BinarizeLocal(image);
    const int leftOver = DecodePass(local, darkOnLight, results);
    if (!results.empty() && leftOver < 3) {
        SortReadingOrder(results);
        return results;
    }
    // A light-on-dark symbol shows no marks at all until inverted: trying
    // that at once spares it the passes for dark-on-light symbols.
    const bool localTriedInverted = leftOver == kNoMarks;
    if (localTriedInverted) {
        local.Invert();
        DecodePass(local, lightOnDark, results);
        if (!results.empty()) {
            SortReadingOrder(results);
            return results;
        }
    }
    BitMatrix global = BinarizeGlobal(image);
    DecodePass(global, darkOnLight, results);
    std::vector<uint8_t> smoothed;
    BitMatrix quiet;
    if (results.empty()) {
        quiet = BinarizeLocal(Smooth(image, smoothed));
        DecodePass(quiet, darkOnLight, results);
    }
    // Light-on-dark symbols get grids of their own: the look-alikes a
    // negative shows the passes above can spend all of them, and a clean
    // inverted symbol would be lost. The passes after these get back what
    // was left.
    if (results.empty()) {
        const int left = gridDecodesLeft;
        gridDecodesLeft = kMaxGridDecodes / 2;
        for (BitMatrix* bits : {&local, &global, &quiet}) {
            if (!results.empty())
                break;
            if (bits->Width() == 0 || (bits == &local && localTriedInverted))
                continue;
            bits->Invert();
            DecodePass(*bits, lightOnDark, results);
        }
        if (results.empty())
            gridDecodesLeft = left;
    }
    // Heavy sensor noise needs more smoothing than fine modules can stand,
    // so it comes last.
    std::vector<uint8_t> smoothedTwice;
    if (results.empty()) {
        const GreyImage once{smoothed.data(), image.width, image.height, image.width};
        DecodePass(BinarizeLocal(Smooth(once, smoothedTwice)), darkOnLight, results);
    }
    // Modules of two or three pixels under heavy noise: once more at twice
    // the size, where thresholding keeps the marks' rings apart; then that
    // picture smoothed, once and twice, for noise that still breaks them.
    if (results.empty() && static_cast<int64_t>(image.width) * image.height <= kMaxEnlargedPixels) {
        std::vector<uint8_t> larger;
        std::vector<uint8_t> smoothedLarger[2];
        GreyImage picture = Enlarge(image, larger);
        // One budget for all three: a picture of noise costs no more.
        gridDecodesLeft = kMaxGridDecodes / 2;
        for (int pass = 0; pass < 3 && results.empty(); ++pass) {
            if (pass > 0)
                picture = Smooth(picture, smoothedLarger[pass - 1]);
            DecodePass(BinarizeLocal(picture), {picture, false}, results);
        }
        for (auto& symbol : results)
            for (auto& corner : symbol.corners)
                corner = {corner.x / 2, corner.y / 2};
    }
    SortReadingOrder(results);
    return results;
}

} // namespace kodaro::codec
