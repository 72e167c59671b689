#include "codec/encoder/mask_penalty.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

namespace kodaro::codec {

namespace {

constexpr int kN1 = 3;
constexpr int kN2 = 3;
constexpr int kN3 = 40;
constexpr int kN4 = 10;

ModuleLine LowBits(int count) {
    ModuleLine m;
    for (int i = 0; i < count; ++i)
        m.set(static_cast<size_t>(i));
    return m;
}

// Whole-line bit operations: (x >> k) has at bit i the module i + k, so one
// AND of shifted lines tests a window at every position at once.
struct LineMasks {
    explicit LineMasks(int size) : pairs(LowBits(size - 1)), padded(LowBits(size + 8)) {}
    ModuleLine pairs;  // positions i with a neighbour i + 1
    ModuleLine padded; // the line with four light modules either side
};

// Runs: a run of L >= 5 scores kN1 + (L - 5), which is its L - 4 windows of
// five equal modules plus kN1 - 1 for the window where the run starts.
int RunPenalty(const ModuleLine& x, const LineMasks& masks) {
    const ModuleLine eq = ~(x ^ (x >> 1)) & masks.pairs;
    const ModuleLine five = eq & (eq >> 1) & (eq >> 2) & (eq >> 3);
    const ModuleLine starts = five & ~(eq << 1);
    return static_cast<int>(five.count()) + (kN1 - 1) * static_cast<int>(starts.count());
}

// 1011101 with four light modules before (first) or after (second) it.
int FinderPenalty(const ModuleLine& x, const LineMasks& masks) {
    const ModuleLine d = x << 4;
    const ModuleLine l = ~d & masks.padded;
    const ModuleLine core =
        (d >> 4) & (l >> 5) & (d >> 6) & (d >> 7) & (d >> 8) & (l >> 9) & (d >> 10);
    const ModuleLine before = core & l & (l >> 1) & (l >> 2) & (l >> 3);
    const ModuleLine coreAfter =
        d & (l >> 1) & (d >> 2) & (d >> 3) & (d >> 4) & (l >> 5) & (d >> 6);
    const ModuleLine after = coreAfter & (l >> 7) & (l >> 8) & (l >> 9) & (l >> 10);
    return static_cast<int>(before.count() + after.count());
}

} // namespace

MaskPenalty ComputeMaskPenalty(std::span<const ModuleLine> rows, std::span<const ModuleLine> cols,
                               int size) {
    MaskPenalty penalty;
    if (size <= 0 || size + 8 > static_cast<int>(ModuleLine().size()) ||
        rows.size() < static_cast<size_t>(size) || cols.size() < static_cast<size_t>(size))
        return penalty;
    const LineMasks masks(size);
    int runs = 0;
    int finders = 0;
    int blocks = 0;
    size_t dark = 0;
    for (int i = 0; i < size; ++i) {
        const ModuleLine& row = rows[static_cast<size_t>(i)];
        const ModuleLine& col = cols[static_cast<size_t>(i)];
        runs += RunPenalty(row, masks) + RunPenalty(col, masks);
        finders += FinderPenalty(row, masks) + FinderPenalty(col, masks);
        dark += row.count();
        if (i + 1 < size) {
            const ModuleLine& below = rows[static_cast<size_t>(i) + 1];
            const ModuleLine same = ~(row ^ below);
            blocks +=
                static_cast<int>((same & (same >> 1) & ~(row ^ (row >> 1)) & masks.pairs).count());
        }
    }
    penalty.n1 = runs;
    penalty.n2 = blocks * kN2;
    penalty.n3 = finders * kN3;
    // Each full 5% step away from an even share of dark modules costs 10.
    const long long total = static_cast<long long>(size) * size;
    const long long k = std::llabs(static_cast<long long>(dark) * 20 - total * 10) / total;
    penalty.n4 = static_cast<int>(k) * kN4;
    return penalty;
}

MaskPenalty ComputeMaskPenalty(std::span<const uint8_t> modules, int size) {
    if (size <= 0 || modules.size() < static_cast<size_t>(size) * static_cast<size_t>(size))
        return {};
    std::vector<ModuleLine> rows(static_cast<size_t>(size));
    std::vector<ModuleLine> cols(static_cast<size_t>(size));
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            if (modules[static_cast<size_t>(r) * static_cast<size_t>(size) +
                        static_cast<size_t>(c)]) {
                rows[static_cast<size_t>(r)].set(static_cast<size_t>(c));
                cols[static_cast<size_t>(c)].set(static_cast<size_t>(r));
            }
        }
    }
    return ComputeMaskPenalty(rows, cols, size);
}

} // namespace kodaro::codec
