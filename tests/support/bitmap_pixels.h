#pragma once
// Pictures for the Windows tests: made and read back through GDI+ LockBits
// and GDI GetDIBits, and PNG bytes written by GDI+'s own encoder.

#include "ui/draw/color.h"
#include "ui/draw/gdiplus.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kodaro::test {

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
    int Count(std::uint32_t color) const;
    // Pixels with a non-zero alpha.
    int CountOpaque() const;
    // Pixels inside (x, y, w, h) with a non-zero alpha.
    int CountVisible(int x, int y, int w, int h) const;
    bool operator==(const Pixels& other) const = default;
};

inline int Alpha(std::uint32_t c) {
    return static_cast<int>(c >> 24);
}
inline int Red(std::uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int Green(std::uint32_t c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int Blue(std::uint32_t c) {
    return static_cast<int>(c & 0xFF);
}

// Empty Pixels for a null bitmap or one that cannot be locked.
Pixels ReadBitmap(Gdiplus::GpBitmap* bitmap);
// A 32-bit DIB read with GetDIBits, top row first (alpha as stored).
Pixels ReadDib(HBITMAP dib);
// Image file bytes decoded by GDI+; empty Pixels when they are no picture.
Pixels DecodePixels(std::span<const std::uint8_t> bytes);

// A 32 bpp ARGB bitmap whose pixel (x, y) is colour(x, y).
ui::UniqueBitmap MakeBitmap(int width, int height, const std::function<ui::Argb(int, int)>& color);

// PNG keeps the alpha channel under every GDI+, unlike BMP under Wine.
std::vector<std::uint8_t> PngBytes(Gdiplus::GpImage* image);
// PNG bytes of a width x height picture in one colour.
std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb);

} // namespace kodaro::test
