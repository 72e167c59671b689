// Direct access to a GDI+ bitmap's pixels, for the passes that touch every
// pixel (per-pixel GDI+ calls cost far too much at 768 x 768).
#pragma once

#include "ui/draw/gdiplus.h"

#include <cstddef>
#include <cstdint>

namespace kodaro {

// The image as a bitmap, or null when it is none (a metafile, or no image).
inline Gdiplus::GpBitmap* AsBitmap(Gdiplus::GpImage* image) {
    Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
    if (image == nullptr || Gdiplus::DllExports::GdipGetImageType(image, &type) != Gdiplus::Ok ||
        type != Gdiplus::ImageTypeBitmap) {
        return nullptr;
    }
    return static_cast<Gdiplus::GpBitmap*>(image);
}

// The pixels of a whole bitmap as 32-bit ARGB, locked for as long as this lives.
class LockedPixels {
public:
    LockedPixels(Gdiplus::GpBitmap* bitmap, Gdiplus::ImageLockMode mode) : bitmap_(bitmap) {
        UINT width = 0;
        UINT height = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
        const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        locked_ = width > 0 && height > 0 &&
                  Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &all, mode, PixelFormat32bppARGB,
                                                          &data_) == Gdiplus::Ok;
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

} // namespace kodaro
