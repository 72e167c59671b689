#pragma once
// The module pass done one GDI+ call per pixel (GdipBitmapGetPixel on the
// sources, GdipBitmapSetPixel on the output): the slow, obviously right way,
// kept as the reference the direct-access pass is measured and checked against.

#include "app/symbol/symbol_renderer.h"

namespace kodaro::bench {

bool FillModulesPerPixel(const ModuleSources& sources, Gdiplus::GpBitmap* output);

} // namespace kodaro::bench
