#pragma once
// The preview's picture at its own size, in a popup over the main window.

#include <windows.h>

#include <cstdint>
#include <span>

namespace kodaro {

// The popup's frame: 6 pixels on every side of the picture.
inline constexpr int kFullSizeMargin = 6;

// Shows picture (encoded image bytes) in a topmost framework window owned by
// owner, sized to the picture plus the margins, and returns once the popup
// is gone: closed with its close button or Escape, or with its owner. Until
// then keyboard and mouse input to every other window is dropped. Nothing
// happens for empty bytes or bytes that are not a picture.
void ShowFullSize(HWND owner, std::span<const std::uint8_t> picture);

} // namespace kodaro
