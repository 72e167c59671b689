#pragma once
// The pixels of a whole GDI+ bitmap as 32-bit ARGB rows, locked for as long
// as the object lives.

#include "ui/draw/gdiplus.h"

#include <cstddef>
#include <cstdint>

namespace kodaro {

class LockedPixels {
public:
    LockedPixels(Gdiplus::GpBitmap* bitmap, Gdiplus::ImageLockMode mode) : bitmap_(bitmap) {
        namespace gdip = Gdiplus::DllExports;
        UINT width = 0;
        UINT height = 0;
        gdip::GdipGetImageWidth(bitmap, &width);
        gdip::GdipGetImageHeight(bitmap, &height);
        const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        locked_ = width > 0 && height > 0 &&
                  gdip::GdipBitmapLockBits(bitmap, &all, mode, PixelFormat32bppARGB, &data_) ==
                      Gdiplus::Ok;
    }
    ~LockedPixels() {
        if (locked_) {
            Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap_, &data_);
        }
    }
    LockedPixels(const LockedPixels&) = delete;
    LockedPixels& operator=(const LockedPixels&) = delete;

    bool ok() const { return locked_; }
    int width() const { return static_cast<int>(data_.Width); }
    int height() const { return static_cast<int>(data_.Height); }
    std::uint32_t* Row(int y) const {
        return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data_.Scan0) +
                                                static_cast<std::ptrdiff_t>(y) * data_.Stride);
    }

private:
    Gdiplus::GpBitmap* bitmap_;
    Gdiplus::BitmapData data_{};
    bool locked_ = false;
};

// The image as a bitmap, or null when it is none (a metafile).
Gdiplus::GpBitmap* AsBitmap(Gdiplus::GpImage* image);

} // namespace kodaro
