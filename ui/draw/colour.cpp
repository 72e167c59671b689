#include "ui/draw/colour.h"

#include <algorithm>

namespace kodaro::ui {

namespace {
constexpr Argb SwapRedBlue(std::uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
} // namespace

Argb ToArgb(ColorRef colour) {
    return ToArgb(colour, 254);
}

Argb ToArgb(ColorRef colour, int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    if (alpha == 255) {
        alpha = 254;
    }
    return (static_cast<Argb>(alpha) << 24) | SwapRedBlue(colour);
}

ColorRef ToColorRef(Argb colour) {
    return SwapRedBlue(colour);
}

bool IsDarkColour(Argb colour) {
    const ArgbParts p = SplitArgb(colour);
    // Integer weights (per mille) keep the boundary exact: 0xC0C0C0 is luma 192.
    const unsigned luma = 299u * p.red + 587u * p.green + 114u * p.blue;
    return luma < 192u * 1000u;
}

ArgbParts SplitArgb(Argb colour) {
    return {static_cast<std::uint8_t>(colour >> 24), static_cast<std::uint8_t>(colour >> 16),
            static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour)};
}

} // namespace kodaro::ui
