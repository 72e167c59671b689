#pragma once
// Pictures read by the system's OLE picture loader (BMP, JPEG, GIF, icons,
// metafiles), for the places that need a GDI bitmap: the clipboard and image
// lists.

#include <windows.h>

#include <cstdint>
#include <span>

namespace kodaro::ui {

// A GDI bitmap of the picture in bytes, made by the OLE picture loader and
// copied to width x height (0 and 0 keep the picture's own size). The caller
// owns it; null when the bytes are empty or no picture the loader reads.
HBITMAP BytesToBitmapHandle(std::span<const std::uint8_t> bytes, int width = 0, int height = 0);

} // namespace kodaro::ui
