#pragma once
// The encoder component's result: an 8-bit packed device-independent bitmap
// (40-byte BITMAPINFOHEADER, 256-entry grey colour table, bottom-up rows padded
// to four bytes). Light modules and the four-module quiet zone use the white
// entry (255, 255, 255), dark modules the black one. Written byte by byte in
// little-endian order, so this part needs no Windows headers.
#include "codec/encoder/qr_encoder.h"

#include <cstddef>
#include <cstdint>

namespace kodaro::components {

constexpr size_t kDibHeaderBytes = 40;
constexpr size_t kDibPaletteBytes = 256 * 4;
constexpr uint8_t kDarkIndex = 0;
constexpr uint8_t kLightIndex = 255;

struct DibGeometry {
    size_t side = 0;       // pixels per side, quiet zone included
    size_t stride = 0;     // bytes per row, a multiple of 4
    size_t totalBytes = 0; // header + colour table + rows
};

// Geometry of the bitmap for a symbol of `symbolSize` modules; totalBytes is 0
// when it would exceed maxBytes.
DibGeometry MeasurePackedDib(int symbolSize, int pixelsPerModule, size_t maxBytes);

// Writes the whole bitmap into `out`, which holds geometry.totalBytes bytes.
void WritePackedDib(const codec::QrSymbol& symbol, int pixelsPerModule, const DibGeometry& geometry,
                    uint8_t* out);

} // namespace kodaro::components
