#include "codec/decoder/finder_patterns.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace kodaro::codec {

namespace {

constexpr size_t kMaxPatterns = 512;

// Ratio test for 1:1:3:1:1, with slack for blur and small modules.
bool LooksLikeFinder(const int counts[5]) {
    int total = 0;
    for (int i = 0; i < 5; ++i) {
        if (counts[i] == 0)
            return false;
        total += counts[i];
    }
    // The centre run must be at least 1.5 modules less one cell (see below):
    // in whole numbers first, as most runs of a row fail here.
    if (total < 7 || 14 * counts[2] + 14 <= 3 * total)
        return false;
    const double module = total / 7.0;
    const double slack = module * 0.7 + 0.75;
    return std::abs(counts[0] - module) < slack && std::abs(counts[1] - module) < slack &&
           std::abs(counts[2] - 3 * module) < 1.5 * module + 1.0 &&
           std::abs(counts[3] - module) < slack && std::abs(counts[4] - module) < slack;
}

int Total(const int counts[5]) {
    return counts[0] + counts[1] + counts[2] + counts[3] + counts[4];
}

// Checks a horizontal candidate across the other directions and returns its
// refined centre and module size.
bool Confirm(const BitMatrix& bits, double x, double y, int horizontalTotal, FinderPattern* out) {
    int counts[5];
    double offset = 0;
    const int maxRun = horizontalTotal;
    int cx = static_cast<int>(x);
    int cy = static_cast<int>(y);
    if (!RunsThrough(bits, cx, cy, 0, 1, maxRun, counts, &offset) || !LooksLikeFinder(counts))
        return false;
    const int verticalTotal = Total(counts);
    if (5 * std::abs(verticalTotal - horizontalTotal) >= 3 * horizontalTotal)
        return false;
    const double centerY = cy + 0.5 + offset;
    cy = static_cast<int>(centerY);
    if (!RunsThrough(bits, cx, cy, 1, 0, maxRun * 2, counts, &offset) || !LooksLikeFinder(counts))
        return false;
    const int refinedHorizontal = Total(counts);
    const double centerX = cx + 0.5 + offset;
    cx = static_cast<int>(centerX);
    // Any line through the centre of concentric squares shows the same ratio.
    if (!RunsThrough(bits, cx, cy, 1, 1, maxRun * 2, counts, &offset) || !LooksLikeFinder(counts))
        return false;
    out->center = {centerX, centerY};
    out->moduleSize = (refinedHorizontal + verticalTotal) / 14.0;
    out->hits = 1;
    return true;
}

void AddOrMerge(std::vector<FinderPattern>& found, const FinderPattern& p) {
    for (auto& f : found) {
        if (std::abs(f.center.x - p.center.x) <= f.moduleSize &&
            std::abs(f.center.y - p.center.y) <= f.moduleSize &&
            std::abs(f.moduleSize - p.moduleSize) <= std::max(1.0, f.moduleSize * 0.5)) {
            const double n = f.hits;
            f.center.x = (f.center.x * n + p.center.x) / (n + 1);
            f.center.y = (f.center.y * n + p.center.y) / (n + 1);
            f.moduleSize = (f.moduleSize * n + p.moduleSize) / (n + 1);
            ++f.hits;
            return;
        }
    }
    // A picture of noise can hold thousands of look-alikes; beyond this many
    // only confirmations of known ones count.
    if (found.size() < kMaxPatterns)
        found.push_back(p);
}

} // namespace

bool RunsThrough(const BitMatrix& bits, int cx, int cy, int dx, int dy, int maxRun, int counts[5],
                 double* offset) {
    for (int i = 0; i < 5; ++i)
        counts[i] = 0;
    if (!bits.GetSafe(cx, cy))
        return false;
    const int w = bits.Width();
    const int h = bits.Height();
    // Steps that stay inside the picture each way, so the walks below need
    // no bounds checks.
    auto room = [](int at, int d, int size) {
        return d > 0 ? size - 1 - at : d < 0 ? at : std::numeric_limits<int>::max();
    };
    const int backRoom = std::min(room(cx, -dx, w), room(cy, -dy, h));
    const int aheadRoom = std::min(room(cx, dx, w), room(cy, dy, h));
    const std::ptrdiff_t step = static_cast<std::ptrdiff_t>(dy) * w + dx;
    const uint8_t* centre = bits.Row(cy) + cx;

    // Backwards: the centre run, then light, then dark. `k` counts steps
    // taken; the cell k steps back is inside while k <= backRoom.
    int k = 0;
    while (k <= backRoom && centre[-k * step])
        ++k;
    const int back = k;
    while (k <= backRoom && !centre[-k * step] && counts[1] <= maxRun) {
        ++counts[1];
        ++k;
    }
    if (k > backRoom || counts[1] > maxRun)
        return false;
    while (k <= backRoom && centre[-k * step] && counts[0] <= maxRun) {
        ++counts[0];
        ++k;
    }
    if (counts[0] > maxRun)
        return false;

    // Forwards.
    k = 1;
    while (k <= aheadRoom && centre[k * step])
        ++k;
    const int ahead = k - 1;
    while (k <= aheadRoom && !centre[k * step] && counts[3] <= maxRun) {
        ++counts[3];
        ++k;
    }
    if (k > aheadRoom || counts[3] > maxRun)
        return false;
    while (k <= aheadRoom && centre[k * step] && counts[4] <= maxRun) {
        ++counts[4];
        ++k;
    }
    if (counts[4] > maxRun)
        return false;
    counts[2] = back + ahead;
    if (counts[2] > 3 * maxRun)
        return false;
    // The centre run covers steps -(back-1) .. ahead.
    *offset = (ahead - (back - 1)) / 2.0;
    return true;
}

void RowRuns(const BitMatrix& bits, int y, int left, int right, std::vector<int>& runs) {
    runs.clear();
    const uint8_t* row = bits.Row(y);
    uint8_t color = 0;
    int x = left;
    int runStart = left;
    // Cells are 0 or 1 bytes: eight at a time are compared with the run's
    // colour, and the first that differs is found from the lowest set byte.
    static_assert(std::endian::native == std::endian::little);
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    while (x <= right) {
        const uint64_t pattern = color ? kOnes : 0;
        while (x + 8 <= right + 1) {
            uint64_t word;
            std::memcpy(&word, row + x, 8);
            const uint64_t differ = word ^ pattern;
            if (differ != 0) {
                x += std::countr_zero(differ) / 8;
                break;
            }
            x += 8;
        }
        while (x <= right && row[x] == color)
            ++x;
        if (x > right)
            break;
        runs.push_back(x - runStart);
        runStart = x;
        color ^= 1;
    }
    runs.push_back(right + 1 - runStart);
}

std::vector<FinderPattern> FindFinderPatterns(const BitMatrix& bits) {
    std::vector<FinderPattern> found;
    const int w = bits.Width();
    const int h = bits.Height();
    const int step = std::clamp(h / 800, 1, 3);
    std::vector<int> runs;
    runs.reserve(static_cast<size_t>(w) + 1);
    std::vector<uint8_t> scanned(static_cast<size_t>(h), 0);
    // Whether row y shows a confirmed mark.
    auto scanRow = [&](int y) {
        scanned[y] = 1;
        bool confirmed = false;
        RowRuns(bits, y, 0, w - 1, runs);
        // Odd indices are dark runs.
        int start = runs[0];
        for (size_t i = 1; i + 4 < runs.size(); i += 2) {
            const int counts[5] = {runs[i], runs[i + 1], runs[i + 2], runs[i + 3], runs[i + 4]};
            if (LooksLikeFinder(counts)) {
                const double centerX = start + counts[0] + counts[1] + counts[2] / 2.0;
                FinderPattern p;
                if (Confirm(bits, centerX, y + 0.5, Total(counts), &p)) {
                    AddOrMerge(found, p);
                    confirmed = true;
                }
            }
            start += runs[i] + runs[i + 1];
        }
        return confirmed;
    };
    // Pictures scanned row by row are scanned every other row first: a
    // mark's centre spans three rows at the least, so one of them shows it,
    // and the rows beside every row that does are scanned too, which counts
    // each mark's confirmations in full. Rows through nothing but data and
    // margins are crossed half as often.
    const int stride = step == 1 ? 2 : step;
    for (int y = step / 2; y < h; y += stride) {
        if (scanned[y] || !scanRow(y))
            continue;
        if (y - step >= 0 && !scanned[y - step])
            scanRow(y - step);
        for (int next = y + step; next < h && !scanned[next] && scanRow(next);)
            next += step;
    }
    std::stable_sort(
        found.begin(), found.end(),
        [](const FinderPattern& a, const FinderPattern& b) { return a.hits > b.hits; });
    return found;
}

} // namespace kodaro::codec
