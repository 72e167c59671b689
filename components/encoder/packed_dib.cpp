#include "components/encoder/packed_dib.h"

#include "codec/encoder/raster.h"

#include <cstring>

namespace kodaro::components {

namespace {

void Put16(uint8_t*& p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p += 2;
}

void Put32(uint8_t*& p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    p += 4;
}

} // namespace

DibGeometry MeasurePackedDib(int symbolSize, int pixelsPerModule, size_t maxBytes) {
    DibGeometry g;
    if (symbolSize <= 0 || pixelsPerModule <= 0)
        return g;
    const size_t side = codec::RasterSide(symbolSize, pixelsPerModule);
    const size_t stride = (side + 3) & ~size_t{3};
    // Guard the multiplication before it is made.
    if (side > 0xFFFF || stride > maxBytes / side)
        return g;
    const size_t total = kDibHeaderBytes + kDibPaletteBytes + stride * side;
    if (total > maxBytes)
        return g;
    g.side = side;
    g.stride = stride;
    g.totalBytes = total;
    return g;
}

void WritePackedDib(const codec::QrSymbol& symbol, int pixelsPerModule, const DibGeometry& geometry,
                    uint8_t* out) {
    uint8_t* p = out;
    const auto side = static_cast<uint32_t>(geometry.side);
    Put32(p, static_cast<uint32_t>(kDibHeaderBytes)); // biSize
    Put32(p, side);                                   // biWidth
    Put32(p, side);                                   // biHeight > 0: bottom-up rows
    Put16(p, 1);                                      // biPlanes
    Put16(p, 8);                                      // biBitCount
    Put32(p, 0);                                      // biCompression = BI_RGB
    Put32(p, static_cast<uint32_t>(geometry.stride * geometry.side)); // biSizeImage
    Put32(p, 0);                                                      // biXPelsPerMeter
    Put32(p, 0);                                                      // biYPelsPerMeter
    Put32(p, 256);                                                    // biClrUsed
    Put32(p, 0);                                                      // biClrImportant: all
    // A grey ramp: index i is (i, i, i), so index 0 is black and 255 white.
    for (uint32_t i = 0; i < 256; ++i) {
        *p++ = static_cast<uint8_t>(i); // blue
        *p++ = static_cast<uint8_t>(i); // green
        *p++ = static_cast<uint8_t>(i); // red
        *p++ = 0;
    }
    // Row padding is zeroed once; LayRaster fills the pixels, the top row of
    // the picture being the last row of the block.
    std::memset(p, 0, geometry.stride * geometry.side);
    uint8_t* topRow = p + geometry.stride * (geometry.side - 1);
    codec::LayRaster(symbol, pixelsPerModule, codec::kQuietZoneModules, topRow,
                     -static_cast<ptrdiff_t>(geometry.stride), kDarkIndex, kLightIndex);
}

} // namespace kodaro::components
