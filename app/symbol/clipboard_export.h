#pragma once
// Puts the preview's picture on the clipboard as a bitmap.

#include "ui/draw/ole_picture.h"

#include <windows.h>

#include <cstdint>
#include <span>

namespace kodaro {

using ui::BytesToBitmapHandle;

// Replaces the clipboard's contents with the picture as CF_BITMAP, which the
// clipboard then owns; owner (the program's window) becomes the clipboard's
// owner. True exactly when the clipboard took the bitmap.
bool CopyImageToClipboard(HWND owner, std::span<const std::uint8_t> bytes);

} // namespace kodaro
