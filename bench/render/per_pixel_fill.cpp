#include "bench/render/per_pixel_fill.h"

namespace kodaro::bench {

namespace {
namespace gdip = Gdiplus::DllExports;
} // namespace

bool FillModulesPerPixel(const ModuleSources& sources, Gdiplus::GpBitmap* output) {
    UINT matrixWidth = 0;
    UINT matrixHeight = 0;
    UINT width = 0;
    UINT height = 0;
    gdip::GdipGetImageWidth(sources.matrix, &matrixWidth);
    gdip::GdipGetImageHeight(sources.matrix, &matrixHeight);
    gdip::GdipGetImageWidth(output, &width);
    gdip::GdipGetImageHeight(output, &height);
    const double sx = static_cast<double>(static_cast<float>(matrixWidth)) / width;
    const double sy = static_cast<double>(static_cast<float>(matrixHeight)) / height;
    for (INT y = 0; y < static_cast<INT>(height); ++y) {
        for (INT x = 0; x < static_cast<INT>(width); ++x) {
            Gdiplus::ARGB source = 0;
            gdip::GdipBitmapGetPixel(sources.matrix, static_cast<INT>(x * sx),
                                     static_cast<INT>(y * sy), &source);
            // A picture pixel GDI+ refuses (outside the picture) stays 0.
            Gdiplus::ARGB color = 0;
            if (source == 0xFFFFFFFFu) {
                if (sources.background != nullptr) {
                    gdip::GdipBitmapGetPixel(sources.background, x, y, &color);
                } else {
                    color = sources.backgroundColor;
                }
            } else if (sources.foreground != nullptr) {
                gdip::GdipBitmapGetPixel(sources.foreground, x, y, &color);
            } else {
                color = sources.foregroundColor;
            }
            if (gdip::GdipBitmapSetPixel(output, x, y, color) != Gdiplus::Ok) {
                return false;
            }
        }
    }
    return true;
}

} // namespace kodaro::bench
