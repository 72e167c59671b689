#include "test_pictures.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace kodaro::codec::testing {

namespace {

uint8_t Sample(const Picture& p, double x, double y) {
    // Bilinear, white outside.
    x -= 0.5;
    y -= 0.5;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    auto at = [&](int xx, int yy) -> double {
        if (xx < 0 || yy < 0 || xx >= p.width || yy >= p.height)
            return 255;
        return p.At(xx, yy);
    };
    const double top = at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx;
    const double bottom = at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx;
    return static_cast<uint8_t>(std::lround(top * (1 - fy) + bottom * fy));
}

Picture Blank(int width, int height) {
    Picture out;
    out.width = width;
    out.height = height;
    out.pixels.assign(static_cast<size_t>(width) * height, 255);
    return out;
}

} // namespace

Picture ReadTestPgm(const std::string& name) {
    std::ifstream in(std::string(KODARO_SOURCE_DIR) + "/tests/data/decoder/" + name,
                     std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    if (!in || magic != "P5" || maximum != 255 || width <= 0 || height <= 0)
        return {};
    Picture p = Blank(width, height);
    in.read(reinterpret_cast<char*>(p.pixels.data()),
            static_cast<std::streamsize>(p.pixels.size()));
    return in ? p : Picture{};
}

Picture DrawModules(const std::vector<uint8_t>& modules, int size, int scale, int margin) {
    const int side = (size + 2 * margin) * scale;
    Picture p = Blank(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int mx = x / scale - margin;
            const int my = y / scale - margin;
            if (mx >= 0 && my >= 0 && mx < size && my < size &&
                modules[static_cast<size_t>(my) * size + mx] != 0)
                p.pixels[static_cast<size_t>(y) * side + x] = 0;
        }
    }
    return p;
}

Picture Scale(const Picture& p, int factor) {
    Picture out = Blank(p.width * factor, p.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<size_t>(y) * out.width + x] = p.At(x / factor, y / factor);
    return out;
}

Picture Invert(const Picture& p) {
    Picture out = p;
    for (auto& v : out.pixels)
        v = static_cast<uint8_t>(255 - v);
    return out;
}

Picture Mirror(const Picture& p) {
    Picture out = p;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            out.pixels[static_cast<size_t>(y) * p.width + x] = p.At(p.width - 1 - x, y);
    return out;
}

Picture Rotate(const Picture& p, double degrees) {
    const double a = degrees * 3.14159265358979323846 / 180;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const int width = static_cast<int>(std::ceil(std::abs(p.width * c) + std::abs(p.height * s)));
    const int height = static_cast<int>(std::ceil(std::abs(p.width * s) + std::abs(p.height * c)));
    Picture out = Blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - width / 2.0;
            const double dy = y + 0.5 - height / 2.0;
            const double sx = c * dx + s * dy + p.width / 2.0;
            const double sy = -s * dx + c * dy + p.height / 2.0;
            out.pixels[static_cast<size_t>(y) * width + x] = Sample(p, sx, sy);
        }
    }
    return out;
}

Picture Perspective(const Picture& p, int width, int height, const double corners[8]) {
    // The unit square onto the corners (projective), then each canvas pixel
    // mapped back through the inverse.
    const double x0 = corners[0], y0 = corners[1], x1 = corners[2], y1 = corners[3];
    const double x2 = corners[4], y2 = corners[5], x3 = corners[6], y3 = corners[7];
    const double dx3 = x0 - x1 + x2 - x3, dy3 = y0 - y1 + y2 - y3;
    const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
    const double den = dx1 * dy2 - dx2 * dy1;
    const double g = (dx3 * dy2 - dx2 * dy3) / den;
    const double h = (dx1 * dy3 - dx3 * dy1) / den;
    const double a = x1 - x0 + g * x1, b = x3 - x0 + h * x3, cc = x0;
    const double d = y1 - y0 + g * y1, e = y3 - y0 + h * y3, f = y0;
    // Inverse of [[a b c][d e f][g h 1]].
    const double A = e - f * h, B = cc * h - b, C = b * f - cc * e;
    const double D = f * g - d, E = a - cc * g, F = cc * d - a * f;
    const double G = d * h - e * g, H = b * g - a * h, I = a * e - b * d;
    Picture out = Blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double w = G * px + H * py + I;
            const double u = (A * px + B * py + C) / w;
            const double v = (D * px + E * py + F) / w;
            if (u < 0 || v < 0 || u > 1 || v > 1)
                continue;
            out.pixels[static_cast<size_t>(y) * width + x] = Sample(p, u * p.width, v * p.height);
        }
    }
    return out;
}

Picture Warp(const Picture& p, int width, int height,
             const std::function<bool(double x, double y, double* u, double* v)>& source) {
    Picture out = Blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = 0;
            double v = 0;
            if (source(x + 0.5, y + 0.5, &u, &v) && u >= 0 && v >= 0 && u <= 1 && v <= 1)
                out.pixels[static_cast<size_t>(y) * width + x] =
                    Sample(p, u * p.width, v * p.height);
        }
    }
    return out;
}

Picture BoxBlur(const Picture& p, int radius) {
    Picture out = p;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            int sum = 0;
            int n = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    const int xx = std::clamp(x + dx, 0, p.width - 1);
                    const int yy = std::clamp(y + dy, 0, p.height - 1);
                    sum += p.At(xx, yy);
                    ++n;
                }
            }
            out.pixels[static_cast<size_t>(y) * p.width + x] = static_cast<uint8_t>(sum / n);
        }
    }
    return out;
}

Picture AddNoise(const Picture& p, int amplitude, uint32_t seed) {
    Picture out = p;
    uint32_t state = seed;
    for (auto& v : out.pixels) {
        state = state * 1664525u + 1013904223u;
        const int noise = static_cast<int>((state >> 8) % (2 * amplitude + 1)) - amplitude;
        v = static_cast<uint8_t>(std::clamp(v + noise, 0, 255));
    }
    return out;
}

Picture Relight(const Picture& p, int low, int high, int ramp) {
    Picture out = p;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const int v = low + p.At(x, y) * (high - low) / 255 + ramp * x / p.width - ramp / 2;
            out.pixels[static_cast<size_t>(y) * p.width + x] =
                static_cast<uint8_t>(std::clamp(v, 0, 255));
        }
    }
    return out;
}

Picture PrintoutShot(const Picture& flat) {
    const auto turned = Rotate(flat, 30);
    const double w = turned.width;
    const double corners[8] = {0.04 * w, 0.02 * w, 0.97 * w, 0.06 * w,
                               0.93 * w, 0.95 * w, 0,        0.9 * w};
    return Relight(BoxBlur(Perspective(turned, turned.width, turned.width, corners), 1), 20, 235,
                   100);
}

Picture Tile(const std::vector<Picture>& parts, int columns, int gap) {
    int cellW = 0;
    int cellH = 0;
    for (const auto& part : parts) {
        cellW = std::max(cellW, part.width);
        cellH = std::max(cellH, part.height);
    }
    const int rows = (static_cast<int>(parts.size()) + columns - 1) / columns;
    Picture out = Blank(columns * cellW + (columns + 1) * gap, rows * cellH + (rows + 1) * gap);
    for (size_t i = 0; i < parts.size(); ++i) {
        const int left = gap + static_cast<int>(i % columns) * (cellW + gap);
        const int top = gap + static_cast<int>(i / columns) * (cellH + gap);
        for (int y = 0; y < parts[i].height; ++y)
            for (int x = 0; x < parts[i].width; ++x)
                out.pixels[static_cast<size_t>(top + y) * out.width + left + x] = parts[i].At(x, y);
    }
    return out;
}

} // namespace kodaro::codec::testing
