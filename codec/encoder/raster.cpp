#include "codec/encoder/raster.h"

#include <cstring>

namespace kodaro::codec {

void LayRaster(const QrSymbol& symbol, int pixelsPerModule, int quietZone, uint8_t* first,
               ptrdiff_t stride, uint8_t dark, uint8_t light) {
    const size_t side = RasterSide(symbol.size, pixelsPerModule, quietZone);
    const size_t margin = static_cast<size_t>(quietZone) * static_cast<size_t>(pixelsPerModule);
    const size_t ppm = static_cast<size_t>(pixelsPerModule);
    uint8_t* row = first;
    for (size_t y = 0; y < side; ++y, row += stride) {
        if (y < margin || y >= side - margin || (y - margin) % ppm != 0) {
            // A quiet-zone row, or a repeat of the module row just written.
            if (y < margin || y >= side - margin)
                std::memset(row, light, side);
            else
                std::memcpy(row, row - stride, side);
            continue;
        }
        const int moduleRow = static_cast<int>((y - margin) / ppm);
        std::memset(row, light, margin);
        uint8_t* p = row + margin;
        for (int col = 0; col < symbol.size; ++col, p += ppm)
            std::memset(p, symbol.IsDark(moduleRow, col) ? dark : light, ppm);
        std::memset(p, light, margin);
    }
}

GrayRaster RenderRaster(const QrSymbol& symbol, int pixelsPerModule, int quietZone) {
    GrayRaster r;
    if (symbol.size <= 0 || pixelsPerModule < 1 || quietZone < 0)
        return r;
    const size_t side = RasterSide(symbol.size, pixelsPerModule, quietZone);
    r.width = r.height = static_cast<int>(side);
    r.pixels.resize(side * side);
    LayRaster(symbol, pixelsPerModule, quietZone, r.pixels.data(), static_cast<ptrdiff_t>(side), 0,
              255);
    return r;
}

} // namespace kodaro::codec
