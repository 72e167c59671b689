#pragma once
// Test helpers: pictures made and read back through GDI+ LockBits and GDI
// GetDIBits, and PNG bytes made by GDI+'s own encoder.

#include "ui/draw/colour.h"
#include "ui/draw/gdiplus.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kodaro::ui::test {

// Unpremultiplied 0xAARRGGBB pixels, row-major from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
    std::uint32_t at(int x, int y) const {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
    // Pixels whose value is colour.
    int Count(std::uint32_t colour) const;
    // Pixels with a non-zero alpha.
    int CountOpaque() const;
};

Pixels ReadBitmap(Gdiplus::GpBitmap* bitmap);
// A 32-bit DIB read with GetDIBits, top row first (alpha as stored).
Pixels ReadDib(HBITMAP dib);

// A 32 bpp ARGB bitmap whose pixel (x, y) is colour(x, y).
UniqueBitmap MakeBitmap(int width, int height, const std::function<Argb(int, int)>& colour);

std::vector<std::uint8_t> EncodePng(Gdiplus::GpImage* image);

inline std::uint8_t Alpha(std::uint32_t c) {
    return static_cast<std::uint8_t>(c >> 24);
}
inline std::uint8_t Red(std::uint32_t c) {
    return static_cast<std::uint8_t>(c >> 16);
}
inline std::uint8_t Green(std::uint32_t c) {
    return static_cast<std::uint8_t>(c >> 8);
}
inline std::uint8_t Blue(std::uint32_t c) {
    return static_cast<std::uint8_t>(c);
}

} // namespace kodaro::ui::test
