#include "bench/render/matrix_bitmap.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <utility>

namespace kodaro::bench {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

// Dark module of a finder pattern (7 x 7 rings: dark, light, dark 3 x 3 core)
// at one of the three corners, or nothing outside them.
std::optional<bool> FinderModule(int x, int y, int side) {
    for (const auto& [ox, oy] : {std::pair{0, 0}, std::pair{side - 7, 0}, std::pair{0, side - 7}}) {
        const int lx = x - ox;
        const int ly = y - oy;
        if (lx >= 0 && lx < 7 && ly >= 0 && ly < 7) {
            return std::max(std::abs(lx - 3), std::abs(ly - 3)) != 2;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::uint8_t> MatrixBitmap(const std::vector<std::string>& rows, int scale, int quiet,
                                       std::uint32_t darkRgb) {
    const int modulesHigh = static_cast<int>(rows.size());
    int modulesWide = 0;
    for (const std::string& row : rows) {
        modulesWide = std::max(modulesWide, static_cast<int>(row.size()));
    }
    const int width = (modulesWide + 2 * quiet) * scale;
    const int height = (modulesHigh + 2 * quiet) * scale;
    const int stride = (width + 3) / 4 * 4;
    const std::size_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out(offset + static_cast<std::size_t>(stride) * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(out.size()));
    Put32(out, 10, static_cast<std::uint32_t>(offset));
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<std::uint32_t>(width));
    Put32(out, 22, static_cast<std::uint32_t>(height));
    Put16(out, 26, 1);
    Put16(out, 28, 8);
    Put32(out, 34, static_cast<std::uint32_t>(stride) * height);
    Put32(out, 46, 256);
    // Colour table entries are blue, green, red, reserved.
    Put32(out, 54, 0xFFFFFF);
    Put32(out, 58, darkRgb & 0xFFFFFF);
    for (int y = 0; y < height; ++y) {
        const int moduleY = y / scale - quiet;
        // Rows are stored bottom-up.
        std::uint8_t* row = out.data() + offset + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const int moduleX = x / scale - quiet;
            const bool dark = moduleY >= 0 && moduleY < modulesHigh && moduleX >= 0 &&
                              moduleX < static_cast<int>(rows[moduleY].size()) &&
                              rows[moduleY][moduleX] == '#';
            row[x] = dark ? 1 : 0;
        }
    }
    return out;
}

std::vector<std::string> SymbolLikePattern(int side, std::uint32_t seed) {
    std::vector<std::string> rows(static_cast<std::size_t>(side), std::string(side, '.'));
    std::uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            bool dark;
            if (const std::optional<bool> finder = FinderModule(x, y, side)) {
                dark = *finder;
            } else if (x == 6 || y == 6) {
                dark = (x + y) % 2 == 0;
            } else {
                state = state * 1664525u + 1013904223u;
                dark = (state >> 16) & 1;
            }
            rows[y][x] = dark ? '#' : '.';
        }
    }
    return rows;
}

} // namespace kodaro::bench
