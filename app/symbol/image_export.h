#pragma once
// Turning pictures into file bytes: BMP, the program's own format, written by
// the GDI+ built-in BMP encoder, and PNG for export.

#include "ui/draw/gdiplus.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kodaro {

// The image as BMP file bytes; empty when it cannot be encoded.
std::vector<std::uint8_t> ImageToBmpBytes(Gdiplus::GpImage* image);

// The picture file in bytes (any format GDI+ reads) as PNG file bytes with
// the same pixels; empty when the bytes are no picture.
std::vector<std::uint8_t> PictureBytesToPng(std::span<const std::uint8_t> bytes);

} // namespace kodaro
