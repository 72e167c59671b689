#include "codec/decoder/binarizer.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kodaro::codec {

namespace {

constexpr int kBlockShift = 3;
constexpr int kBlock = 1 << kBlockShift;
// Blocks whose contrast is below this are taken to be plain background.
constexpr int kMinDynamicRange = 24;

int OtsuThreshold(const GreyImage& image) {
    std::array<uint64_t, 256> histogram{};
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x)
            ++histogram[row[x]];
    }
    const double total = static_cast<double>(image.width) * image.height;
    double sumAll = 0;
    for (int i = 0; i < 256; ++i)
        sumAll += static_cast<double>(i) * histogram[i];
    double sumBelow = 0;
    double countBelow = 0;
    double bestVariance = -1;
    int best = 127;
    for (int t = 0; t < 256; ++t) {
        countBelow += histogram[t];
        sumBelow += static_cast<double>(t) * histogram[t];
        const double countAbove = total - countBelow;
        if (countBelow == 0 || countAbove == 0)
            continue;
        const double meanBelow = sumBelow / countBelow;
        const double meanAbove = (sumAll - sumBelow) / countAbove;
        const double variance =
            countBelow * countAbove * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (variance > bestVariance) {
            bestVariance = variance;
            best = t;
        }
    }
    return best;
}

} // namespace

GreyImage Smooth(const GreyImage& image, std::vector<uint8_t>& storage) {
    const int w = image.width;
    const int h = image.height;
    storage.assign(static_cast<size_t>(w) * h, 255);
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return static_cast<int>(image.pixels[static_cast<size_t>(y) * image.stride + x]);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += at(x + dx, y + dy);
            storage[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>((sum + 4) / 9);
        }
    }
    return {storage.data(), w, h, w};
}

GreyImage Enlarge(const GreyImage& image, std::vector<uint8_t>& storage) {
    const int w = image.width;
    const int h = image.height;
    storage.resize(static_cast<size_t>(w) * h * 4);
    auto at = [&](int x, int y) {
        return static_cast<int>(
            image.pixels[static_cast<size_t>(std::min(y, h - 1)) * image.stride +
                         std::min(x, w - 1)]);
    };
    for (int y = 0; y < h; ++y) {
        uint8_t* even = storage.data() + static_cast<size_t>(2 * y) * 2 * w;
        uint8_t* odd = even + 2 * w;
        for (int x = 0; x < w; ++x) {
            const int a = at(x, y), b = at(x + 1, y), c = at(x, y + 1), d = at(x + 1, y + 1);
            even[2 * x] = static_cast<uint8_t>(a);
            even[2 * x + 1] = static_cast<uint8_t>((a + b + 1) / 2);
            odd[2 * x] = static_cast<uint8_t>((a + c + 1) / 2);
            odd[2 * x + 1] = static_cast<uint8_t>((a + b + c + d + 2) / 4);
        }
    }
    return {storage.data(), 2 * w, 2 * h, 2 * w};
}

BitMatrix BinarizeGlobal(const GreyImage& image) {
    BitMatrix bits(image.width, image.height);
    if (image.width <= 0 || image.height <= 0)
        return bits;
    const int threshold = OtsuThreshold(image);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.stride;
        uint8_t* out = bits.Row(y);
        for (int x = 0; x < image.width; ++x)
            out[x] = row[x] <= threshold ? 1 : 0;
    }
    return bits;
}

BitMatrix BinarizeLocal(const GreyImage& image) {
    const int width = image.width;
    const int height = image.height;
    if (width < 5 * kBlock || height < 5 * kBlock)
        return BinarizeGlobal(image);

    const int blocksX = (width + kBlock - 1) >> kBlockShift;
    const int blocksY = (height + kBlock - 1) >> kBlockShift;
    std::vector<int> averages(static_cast<size_t>(blocksX) * blocksY);
    auto average = [&](int bx, int by) -> int& {
        return averages[static_cast<size_t>(by) * blocksX + bx];
    };

    // Column-wise minimum, maximum and sum over the eight rows of a block row
    // first (contiguous, so the compiler vectorises it), then per block.
    std::vector<uint8_t> columnLow(static_cast<size_t>(width));
    std::vector<uint8_t> columnHigh(static_cast<size_t>(width));
    std::vector<uint16_t> columnSum(static_cast<size_t>(width));
    for (int by = 0; by < blocksY; ++by) {
        // The last block row/column is moved inwards so every block is full.
        const int y0 = std::min(by << kBlockShift, height - kBlock);
        const uint8_t* first = image.pixels + static_cast<size_t>(y0) * image.stride;
        for (int x = 0; x < width; ++x) {
            columnLow[x] = first[x];
            columnHigh[x] = first[x];
            columnSum[x] = first[x];
        }
        for (int y = y0 + 1; y < y0 + kBlock; ++y) {
            const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.stride;
            for (int x = 0; x < width; ++x) {
                columnLow[x] = std::min(columnLow[x], row[x]);
                columnHigh[x] = std::max(columnHigh[x], row[x]);
                columnSum[x] = static_cast<uint16_t>(columnSum[x] + row[x]);
            }
        }
        for (int bx = 0; bx < blocksX; ++bx) {
            const int x0 = std::min(bx << kBlockShift, width - kBlock);
            int sum = 0;
            int lo = 255;
            int hi = 0;
            for (int x = x0; x < x0 + kBlock; ++x) {
                sum += columnSum[x];
                lo = std::min(lo, static_cast<int>(columnLow[x]));
                hi = std::max(hi, static_cast<int>(columnHigh[x]));
            }
            int avg = sum >> (2 * kBlockShift);
            if (hi - lo <= kMinDynamicRange) {
                // A flat block: assume background, unless its neighbours show it
                // lies inside a dark area (the inside of a large module).
                avg = lo / 2;
                if (bx > 0 && by > 0) {
                    const int neighbours =
                        (average(bx, by - 1) + 2 * average(bx - 1, by) + average(bx - 1, by - 1)) /
                        4;
                    if (lo < neighbours)
                        avg = neighbours;
                }
            }
            average(bx, by) = avg;
        }
    }

    // Each pixel is compared with its block's threshold, spread over a row
    // so the comparison runs over whole rows.
    BitMatrix bits(width, height);
    std::vector<uint8_t> thresholds(static_cast<size_t>(width));
    for (int by = 0; by < blocksY; ++by) {
        const int y0 = std::min(by << kBlockShift, height - kBlock);
        const int cy = std::clamp(by, 2, std::max(2, blocksY - 3));
        for (int bx = 0; bx < blocksX; ++bx) {
            const int x0 = std::min(bx << kBlockShift, width - kBlock);
            const int cx = std::clamp(bx, 2, std::max(2, blocksX - 3));
            int sum = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    sum += average(std::clamp(cx + dx, 0, blocksX - 1),
                                   std::clamp(cy + dy, 0, blocksY - 1));
            std::fill_n(thresholds.begin() + x0, kBlock, static_cast<uint8_t>(sum / 25));
        }
        for (int y = y0; y < y0 + kBlock; ++y) {
            const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.stride;
            uint8_t* out = bits.Row(y);
            for (int x = 0; x < width; ++x)
                out[x] = row[x] <= thresholds[x] ? 1 : 0;
        }
    }
    return bits;
}

} // namespace kodaro::codec
