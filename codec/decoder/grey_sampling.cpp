#include "codec/decoder/grey_sampling.h"

#include <algorithm>
#include <vector>

namespace kodaro::codec {

namespace {

// How far from a module's centre (in modules) its outer points lie: far
// enough to average the noise out, near enough that blur from the
// neighbouring modules does not reach them.
constexpr double kSpread = 0.2;
// Modules each way whose average sets a module's threshold.
constexpr int kReach = 3;

// Bilinear brightness at a point of the picture; white beyond its edges.
double BrightnessAt(const GreyImage& picture, PointF p) {
    const double x = p.x - 0.5;
    const double y = p.y - 0.5;
    if (!(x >= 0 && y >= 0 && x < picture.width - 1 && y < picture.height - 1))
        return 255;
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const double fx = x - x0;
    const double fy = y - y0;
    const uint8_t* top = picture.pixels + static_cast<size_t>(y0) * picture.stride + x0;
    const uint8_t* bottom = top + picture.stride;
    return (top[0] * (1 - fx) + top[1] * fx) * (1 - fy) +
           (bottom[0] * (1 - fx) + bottom[1] * fx) * fy;
}

} // namespace

BitMatrix SampleGreyGrid(const GreySource& source, const PerspectiveTransform& transform,
                         int dimension) {
    const int n = dimension;
    const size_t side = static_cast<size_t>(n) + 1;
    // Summed brightness of the modules above and left of each corner, for
    // the average around every module at once.
    std::vector<double> sums(side * side, 0.0);
    std::vector<double> brightness(static_cast<size_t>(n) * n);
    for (int y = 0; y < n; ++y) {
        double row = 0;
        for (int x = 0; x < n; ++x) {
            // So near the centre the mapping is as good as straight: the
            // nine points lie on a grid along two steps.
            const PointF centre = transform.Map(x + 0.5, y + 0.5);
            const PointF right = transform.Map(x + 0.5 + kSpread, y + 0.5);
            const PointF down = transform.Map(x + 0.5, y + 0.5 + kSpread);
            const PointF across{right.x - centre.x, right.y - centre.y};
            const PointF along{down.x - centre.x, down.y - centre.y};
            double sum = 0;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    sum += BrightnessAt(source.picture, {centre.x + i * across.x + j * along.x,
                                                         centre.y + i * across.y + j * along.y});
            const double b = sum / 9;
            brightness[static_cast<size_t>(y) * n + x] = b;
            row += b;
            sums[(y + 1) * side + x + 1] = sums[y * side + x + 1] + row;
        }
    }
    BitMatrix grid(n, n);
    for (int y = 0; y < n; ++y) {
        const int top = std::max(0, y - kReach);
        const int bottom = std::min(n, y + kReach + 1);
        for (int x = 0; x < n; ++x) {
            const int left = std::max(0, x - kReach);
            const int right = std::min(n, x + kReach + 1);
            const double total = sums[bottom * side + right] - sums[top * side + right] -
                                 sums[bottom * side + left] + sums[top * side + left];
            const double threshold = total / ((bottom - top) * (right - left));
            const double b = brightness[static_cast<size_t>(y) * n + x];
            grid.Set(x, y, source.lightOnDark ? b > threshold : b < threshold);
        }
    }
    return grid;
}

} // namespace kodaro::codec
