#include "tests/support/bitmap_pixels.h"

#include "ui/draw/image.h"

#include <algorithm>
#include <cstring>

namespace kodaro::test {

namespace gdip = Gdiplus::DllExports;

int Pixels::Count(std::uint32_t color) const {
    return static_cast<int>(std::count(argb.begin(), argb.end(), color));
}

int Pixels::CountOpaque() const {
    return static_cast<int>(
        std::count_if(argb.begin(), argb.end(), [](std::uint32_t c) { return Alpha(c) != 0; }));
}

int Pixels::CountVisible(int x, int y, int w, int h) const {
    int count = 0;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            if (Alpha(at(column, row)) > 0) {
                ++count;
            }
        }
    }
    return count;
}

Pixels ReadBitmap(Gdiplus::GpBitmap* bitmap) {
    Pixels pixels;
    UINT width = 0;
    UINT height = 0;
    if (bitmap == nullptr || gdip::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok ||
        gdip::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) {
        return pixels;
    }
    const Gdiplus::GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gdip::GdipBitmapLockBits(bitmap, &area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
        return pixels;
    }
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    pixels.argb.resize(static_cast<std::size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(&pixels.argb[static_cast<std::size_t>(y) * width],
                    static_cast<const std::uint8_t*>(data.Scan0) +
                        static_cast<INT_PTR>(y) * data.Stride,
                    width * 4);
    }
    gdip::GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

Pixels ReadDib(HBITMAP dib) {
    Pixels pixels;
    BITMAP info{};
    if (GetObjectW(dib, sizeof info, &info) == 0) {
        return pixels;
    }
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight; // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    pixels.argb.resize(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    GdiFlush();
    const int rows = GetDIBits(screen, dib, 0, static_cast<UINT>(info.bmHeight), pixels.argb.data(),
                               &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) {
        pixels = {};
    }
    return pixels;
}

Pixels DecodePixels(std::span<const std::uint8_t> bytes) {
    const ui::MemoryImage image = ui::LoadImageFromBytes(bytes);
    return image ? ReadBitmap(static_cast<Gdiplus::GpBitmap*>(image.get())) : Pixels{};
}

ui::UniqueBitmap MakeBitmap(int width, int height, const std::function<ui::Argb(int, int)>& color) {
    Gdiplus::GpBitmap* raw = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &raw) !=
        Gdiplus::Ok) {
        return nullptr;
    }
    ui::UniqueBitmap bitmap(raw);
    const Gdiplus::GpRect area(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (gdip::GdipBitmapLockBits(raw, &area, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data.Scan0) +
                                                     static_cast<INT_PTR>(y) * data.Stride);
        for (int x = 0; x < width; ++x) {
            row[x] = color(x, y);
        }
    }
    gdip::GdipBitmapUnlockBits(raw, &data);
    return bitmap;
}

std::vector<std::uint8_t> PngBytes(Gdiplus::GpImage* image) {
    return ui::EncodeImage(image, ui::kPngEncoder);
}

std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb) {
    const ui::UniqueBitmap bitmap = MakeBitmap(width, height, [argb](int, int) { return argb; });
    return PngBytes(bitmap.get());
}

} // namespace kodaro::test
