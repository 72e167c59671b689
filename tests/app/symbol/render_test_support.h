#pragma once
// Helpers for the renderer and export tests: reading pixels back, making
// pictures and files, a private temporary folder.

#include "ui/draw/gdiplus.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kodaro::test {

// A picture's pixels as 32-bit ARGB, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
    std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

Pixels ReadPixels(Gdiplus::GpBitmap* bitmap);
// Decodes image file bytes with GDI+; empty Pixels when they are no picture.
Pixels DecodePixels(std::span<const std::uint8_t> bytes);

// A new width x height 32-bit ARGB bitmap painted by colourAt(x, y).
template <typename ColourAt> ui::UniqueBitmap MakeBitmap(int width, int height, ColourAt colourAt) {
    Gdiplus::GpBitmap* raw = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr,
                                                   &raw);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Gdiplus::DllExports::GdipBitmapSetPixel(raw, x, y, colourAt(x, y));
        }
    }
    return ui::UniqueBitmap(raw);
}

// PNG file bytes of a bitmap (PNG keeps the alpha channel on every platform).
std::vector<std::uint8_t> PngBytes(Gdiplus::GpBitmap* bitmap);
// PNG bytes of a width x height picture in one colour.
std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb);

void WriteBytes(const std::wstring& path, std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> ReadBytes(const std::wstring& path);

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

} // namespace kodaro::test
