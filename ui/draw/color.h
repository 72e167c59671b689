#pragma once
// Colour values: GDI+ order (Argb, 0xAARRGGBB) and Windows order
// (ColorRef, 0x00BBGGRR), and the conversions between them.

#include <cstdint>

namespace kodaro::ui {

using Argb = std::uint32_t;
using ColorRef = std::uint32_t;

// Swaps red and blue and puts alpha 254 on top: the framework's opaque
// colours carry 254, never 255 (black is 0xFE000000, white 0xFEFFFFFF).
Argb ToArgb(ColorRef color);
// As above with the given alpha (clamped to 0..255); an alpha of 255 becomes 254.
Argb ToArgb(ColorRef color, int alpha);

// The inverse swap (alpha dropped), for handing a colour to the colour dialog.
ColorRef ToColorRef(Argb color);

// True when the luma 0.299 R + 0.587 G + 0.114 B is below 192.
bool IsDarkColour(Argb color);

struct ArgbParts {
    std::uint8_t alpha;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};
ArgbParts SplitArgb(Argb color);

} // namespace kodaro::ui
