#include "codec/encoder/qr_encoder.h"

#include "codec/common/reed_solomon.h"
#include "codec/common/symbol_layout.h"
#include "codec/encoder/bit_writer.h"
#include "codec/encoder/mask_penalty.h"
#include "codec/encoder/segmentation.h"

#include <algorithm>
#include <array>
#include <climits>
#include <mutex>

namespace kodaro::codec {

namespace {

// More characters than this never fit (7089 digits fill a 40-L symbol); the
// check keeps the segmentation from working on absurd inputs.
constexpr size_t kMaxPayloadChars = 7089;

struct VersionRange {
    int first;
    int last;
};
constexpr VersionRange kRanges[] = {{1, 9}, {10, 26}, {27, 40}};

struct Plan {
    int version = 0;
    std::vector<Segment> segments;
};

Plan PlanSymbol(std::span<const uint8_t> payload, EcLevel level, int minVersion) {
    if (payload.size() > kMaxPayloadChars || !IsValidVersion(minVersion))
        return {};
    for (const VersionRange& range : kRanges) {
        if (range.last < minVersion)
            continue;
        // Count-field widths are the same throughout a range, so one
        // segmentation serves every version in it.
        std::vector<Segment> segments = OptimalSegments(payload, range.first);
        const size_t bits = SegmentsBits(segments, range.first);
        for (int v = std::max(range.first, minVersion); v <= range.last; ++v) {
            if (bits <= static_cast<size_t>(DataCodewords(v, level)) * 8)
                return {v, std::move(segments)};
        }
    }
    return {};
}

// Data codewords: segments, terminator, zero bits to the byte boundary, then
// the alternating pad codewords.
std::vector<uint8_t> BuildDataCodewords(std::span<const uint8_t> payload, const Plan& plan,
                                        EcLevel level) {
    const size_t capacityBytes = static_cast<size_t>(DataCodewords(plan.version, level));
    BitWriter out;
    out.Reserve(capacityBytes);
    WriteSegments(payload, plan.segments, plan.version, out);
    const size_t capacityBits = capacityBytes * 8;
    out.Append(0, static_cast<int>(std::min<size_t>(4, capacityBits - out.BitCount())));
    if (out.BitCount() % 8 != 0)
        out.Append(0, static_cast<int>(8 - out.BitCount() % 8));
    std::vector<uint8_t>& bytes = out.Bytes();
    for (uint8_t pad = 0xEC; bytes.size() < capacityBytes; pad ^= 0xEC ^ 0x11)
        bytes.push_back(pad);
    return std::move(bytes);
}

// Splits the data into blocks, appends each block's check words and
// interleaves: first data word of every block, second, ..., then the check
// words the same way.
std::vector<uint8_t> InterleaveWithEcc(const std::vector<uint8_t>& data, int version,
                                       EcLevel level) {
    const BlockStructure s = GetBlockStructure(version, level);
    const int blocks = s.TotalBlocks();
    const size_t ecc = static_cast<size_t>(s.eccPerBlock);
    const std::span<const uint8_t> generator = RsCachedGenerator(s.eccPerBlock);

    std::vector<uint8_t> eccWords(static_cast<size_t>(blocks) * ecc);
    std::vector<size_t> starts(static_cast<size_t>(blocks));
    size_t offset = 0;
    for (int b = 0; b < blocks; ++b) {
        const size_t len = static_cast<size_t>(s.DataCodewordsInBlock(b));
        starts[static_cast<size_t>(b)] = offset;
        RsComputeRemainder(std::span(data).subspan(offset, len), generator,
                           std::span(eccWords).subspan(static_cast<size_t>(b) * ecc, ecc));
        offset += len;
    }

    std::vector<uint8_t> result;
    result.reserve(static_cast<size_t>(s.TotalCodewords()));
    const int longest = std::max(s.group1DataCodewords, s.group2DataCodewords);
    for (int i = 0; i < longest; ++i) {
        for (int b = 0; b < blocks; ++b) {
            if (i < s.DataCodewordsInBlock(b))
                result.push_back(data[starts[static_cast<size_t>(b)] + static_cast<size_t>(i)]);
        }
    }
    for (size_t i = 0; i < ecc; ++i)
        for (int b = 0; b < blocks; ++b)
            result.push_back(eccWords[static_cast<size_t>(b) * ecc + i]);
    return result;
}

class MatrixBuilder {
public:
    explicit MatrixBuilder(int version)
        : version_(version), size_(SymbolSize(version)),
          modules_(static_cast<size_t>(size_) * static_cast<size_t>(size_), 0) {}

    void DrawFunctionPatterns() {
        const auto& fixed = FixedModuleColours(version_);
        for (size_t i = 0; i < fixed.size(); ++i)
            if (fixed[i] >= 0)
                modules_[i] = static_cast<uint8_t>(fixed[i]);
        if (version_ >= 7) {
            const uint32_t info = VersionInformation(version_);
            for (int copy = 0; copy < 2; ++copy) {
                const auto positions = VersionInfoPositions(version_, copy);
                for (int i = 0; i < 18; ++i)
                    Set(positions[i].row, positions[i].col, (info >> i) & 1);
            }
        }
    }

    void PlaceCodewords(const std::vector<uint8_t>& codewords) {
        const auto& order = DataModuleOrder(version_);
        const size_t bits = std::min(order.size(), codewords.size() * 8);
        for (size_t k = 0; k < bits; ++k)
            modules_[order[k]] = (codewords[k >> 3] >> (7 - (k & 7))) & 1;
        // Remainder bits stay light.
    }

    std::vector<uint8_t>& Modules() { return modules_; }
    int Size() const { return size_; }

private:
    void Set(int row, int col, bool dark) {
        modules_[static_cast<size_t>(row) * static_cast<size_t>(size_) + static_cast<size_t>(col)] =
            dark ? 1 : 0;
    }
    int version_;
    int size_;
    std::vector<uint8_t> modules_;
};

template <int M>
void ApplyMaskT(std::vector<uint8_t>& modules, const std::vector<uint8_t>& functionMap, int size) {
    size_t i = 0;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c, ++i) {
            if (!functionMap[i] && MaskCondition(M, r, c))
                modules[i] ^= 1;
        }
    }
}

// Inverts the data modules selected by mask.
void ApplyMask(std::vector<uint8_t>& modules, int version, int mask) {
    const auto& map = FunctionModuleMap(version);
    const int size = SymbolSize(version);
    switch (mask) {
    case 0:
        return ApplyMaskT<0>(modules, map, size);
    case 1:
        return ApplyMaskT<1>(modules, map, size);
    case 2:
        return ApplyMaskT<2>(modules, map, size);
    case 3:
        return ApplyMaskT<3>(modules, map, size);
    case 4:
        return ApplyMaskT<4>(modules, map, size);
    case 5:
        return ApplyMaskT<5>(modules, map, size);
    case 6:
        return ApplyMaskT<6>(modules, map, size);
    case 7:
        return ApplyMaskT<7>(modules, map, size);
    default:
        return;
    }
}

void DrawFormatInformation(std::vector<uint8_t>& modules, int version, EcLevel level, int mask) {
    const int size = SymbolSize(version);
    const uint16_t info = FormatInformation(level, mask);
    for (int copy = 0; copy < 2; ++copy) {
        const auto positions = FormatInfoPositions(version, copy);
        for (int i = 0; i < 15; ++i)
            modules[static_cast<size_t>(positions[i].row) * static_cast<size_t>(size) +
                    positions[i].col] = (info >> i) & 1;
    }
}

// The data modules each mask inverts, as row and column lines, per version.
using MaskLineSet = std::array<std::vector<ModuleLine>, 2>; // rows, columns

const std::array<MaskLineSet, 8>& CachedMaskLines(int version) {
    static std::array<MaskLineSet, 8> cache[kMaxVersion + 1];
    static std::once_flag once[kMaxVersion + 1];
    std::call_once(once[version], [version] {
        const int size = SymbolSize(version);
        const auto& map = FunctionModuleMap(version);
        for (int mask = 0; mask < 8; ++mask) {
            auto& [rows, cols] = cache[version][static_cast<size_t>(mask)];
            rows.assign(static_cast<size_t>(size), {});
            cols.assign(static_cast<size_t>(size), {});
            for (int r = 0; r < size; ++r) {
                for (int c = 0; c < size; ++c) {
                    if (!map[static_cast<size_t>(r * size + c)] && MaskCondition(mask, r, c)) {
                        rows[static_cast<size_t>(r)].set(static_cast<size_t>(c));
                        cols[static_cast<size_t>(c)].set(static_cast<size_t>(r));
                    }
                }
            }
        }
    });
    return cache[version];
}

// Scores all eight masks on bit lines (the matrix itself is masked only once,
// with the winner) and returns the first with the lowest penalty.
int ChooseMask(const std::vector<uint8_t>& base, int version, EcLevel level) {
    const int size = SymbolSize(version);
    const size_t n = static_cast<size_t>(size);
    std::vector<ModuleLine> baseRows(n), baseCols(n);
    for (size_t r = 0; r < n; ++r) {
        for (size_t c = 0; c < n; ++c) {
            if (base[r * n + c]) {
                baseRows[r].set(c);
                baseCols[c].set(r);
            }
        }
    }
    const auto& maskLines = CachedMaskLines(version);
    const std::array<std::array<ModulePos, 15>, 2> formatPositions = {
        FormatInfoPositions(version, 0), FormatInfoPositions(version, 1)};
    std::vector<ModuleLine> rows(n), cols(n);
    int bestMask = 0;
    int bestScore = INT_MAX;
    for (int mask = 0; mask < 8; ++mask) {
        const auto& [maskRows, maskCols] = maskLines[static_cast<size_t>(mask)];
        for (size_t i = 0; i < n; ++i) {
            rows[i] = baseRows[i] ^ maskRows[i];
            cols[i] = baseCols[i] ^ maskCols[i];
        }
        const uint16_t info = FormatInformation(level, mask);
        for (const auto& positions : formatPositions) {
            for (int i = 0; i < 15; ++i) {
                const bool dark = (info >> i) & 1;
                rows[positions[i].row].set(positions[i].col, dark);
                cols[positions[i].col].set(positions[i].row, dark);
            }
        }
        const int score = ComputeMaskPenalty(rows, cols, size).Total();
        if (score < bestScore) {
            bestScore = score;
            bestMask = mask;
        }
    }
    return bestMask;
}

} // namespace

int ChooseVersion(std::span<const uint8_t> payload, EcLevel level, int minVersion) {
    if (!IsValidLevel(static_cast<int>(level)))
        return 0;
    return PlanSymbol(payload, level, minVersion).version;
}

std::optional<QrSymbol> EncodeQr(std::span<const uint8_t> payload, const QrEncodeOptions& options) {
    if (!IsValidLevel(static_cast<int>(options.level)) || !IsValidVersion(options.minVersion) ||
        options.mask < -1 || options.mask > 7)
        return std::nullopt;
    const Plan plan = PlanSymbol(payload, options.level, options.minVersion);
    if (plan.version == 0)
        return std::nullopt;

    const std::vector<uint8_t> codewords = InterleaveWithEcc(
        BuildDataCodewords(payload, plan, options.level), plan.version, options.level);
    MatrixBuilder builder(plan.version);
    builder.DrawFunctionPatterns();
    builder.PlaceCodewords(codewords);

    QrSymbol symbol;
    symbol.version = plan.version;
    symbol.level = options.level;
    symbol.size = builder.Size();
    std::vector<uint8_t>& base = builder.Modules();

    const int bestMask =
        options.mask >= 0 ? options.mask : ChooseMask(base, plan.version, options.level);
    ApplyMask(base, plan.version, bestMask);
    DrawFormatInformation(base, plan.version, options.level, bestMask);
    symbol.mask = bestMask;
    symbol.modules = std::move(base);
    return symbol;
}

} // namespace kodaro::codec
