#pragma once
// Puts the preview's picture on the clipboard as a bitmap.

#include <windows.h>

#include <cstdint>
#include <span>

namespace kodaro {

// A GDI bitmap of the picture in bytes, made by the OLE picture loader and
// copied to width x height (0 and 0 keep the picture's own size). The caller
// owns it; null when the bytes are empty or no picture the loader reads.
HBITMAP BytesToBitmapHandle(std::span<const std::uint8_t> bytes, int width = 0, int height = 0);

// Replaces the clipboard's contents with the picture as CF_BITMAP, which the
// clipboard then owns. True exactly when the clipboard took the bitmap.
bool CopyImageToClipboard(std::span<const std::uint8_t> bytes);

} // namespace kodaro
