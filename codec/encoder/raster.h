#pragma once
// Lays a module matrix into an 8-bit pixel raster with a light quiet zone.
#include "codec/encoder/qr_encoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kodaro::codec {

constexpr int kQuietZoneModules = 4;

// Pixels per side of the raster of a symbol: (size + 2 * quietZone) * pixelsPerModule.
constexpr size_t RasterSide(int size, int pixelsPerModule, int quietZone = kQuietZoneModules) {
    return static_cast<size_t>(size + 2 * quietZone) * static_cast<size_t>(pixelsPerModule);
}

// Writes RasterSide rows of RasterSide pixels, top row first, starting at
// `first` and moving `stride` bytes from row to row (a negative stride writes
// bottom-up rows). Padding bytes past each row are left alone.
void LayRaster(const QrSymbol& symbol, int pixelsPerModule, int quietZone, uint8_t* first,
               ptrdiff_t stride, uint8_t dark, uint8_t light);

struct GrayRaster {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height, top-down, 0 = dark, 255 = light
};

// A tightly packed grey raster with the standard four-module quiet zone.
GrayRaster RenderRaster(const QrSymbol& symbol, int pixelsPerModule,
                        int quietZone = kQuietZoneModules);

} // namespace kodaro::codec
