#pragma once
// Test pictures for the decoder: PGM files, module grids drawn at a scale,
// and the distortions a camera or a careless scan adds.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "codec/decoder/bit_matrix.h"

namespace kodaro::codec::testing {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // 0 black .. 255 white

    GreyImage View() const { return {pixels.data(), width, height, width}; }
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A binary PGM (P5, 8 bit) from tests/data/decoder; empty when unreadable.
Picture ReadTestPgm(const std::string& name);

// Modules (size * size, 1 = dark) drawn `scale` pixels each with a light
// margin of `margin` modules.
Picture DrawModules(const std::vector<uint8_t>& modules, int size, int scale, int margin = 4);

Picture Scale(const Picture& p, int factor);
Picture Invert(const Picture& p);
Picture Mirror(const Picture& p);
// Turned by `degrees` about its centre onto a white canvas large enough to hold it.
Picture Rotate(const Picture& p, double degrees);
// The picture seen in perspective: its corners go to the given points of a
// white canvas of the given size (bilinear sampling).
Picture Perspective(const Picture& p, int width, int height, const double corners[8]);
// A white canvas of the given size whose pixel centres `source` maps to
// points of the picture (0..1 across and down), or refuses where the
// picture does not reach: any smooth distortion, such as paper round a
// cylinder or a wide lens.
Picture Warp(const Picture& p, int width, int height,
             const std::function<bool(double x, double y, double* u, double* v)>& source);
Picture BoxBlur(const Picture& p, int radius);
Picture AddNoise(const Picture& p, int amplitude, uint32_t seed);
// Contrast squeezed into [low, high] and a brightness ramp from left to right.
Picture Relight(const Picture& p, int low, int high, int ramp);
// A printout photographed: turned by 30 degrees, seen in perspective,
// softened and lit unevenly (no noise yet).
Picture PrintoutShot(const Picture& flat);
// Pictures placed in a grid of `columns` on a white canvas, `gap` pixels apart.
Picture Tile(const std::vector<Picture>& parts, int columns, int gap);

} // namespace kodaro::codec::testing
