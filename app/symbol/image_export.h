#pragma once
// The one way the program turns a picture into file bytes: a BMP file written
// by the GDI+ built-in BMP encoder.

#include "ui/draw/gdiplus.h"

#include <cstdint>
#include <vector>

namespace kodaro {

// The image as BMP file bytes; empty when it cannot be encoded.
std::vector<std::uint8_t> ImageToBmpBytes(Gdiplus::GpImage* image);

} // namespace kodaro
