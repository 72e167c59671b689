#include "ui/draw/color.h"

#include <algorithm>

namespace kodaro::ui {

namespace {
constexpr Argb SwapRedBlue(std::uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
} // namespace

Argb ToArgb(ColorRef color) {
    return ToArgb(color, 254);
}

Argb ToArgb(ColorRef color, int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    if (alpha == 255) {
        alpha = 254;
    }
    return (static_cast<Argb>(alpha) << 24) | SwapRedBlue(color);
}

ColorRef ToColorRef(Argb color) {
    return SwapRedBlue(color);
}

bool IsDarkColour(Argb color) {
    const ArgbParts p = SplitArgb(color);
    // Integer weights (per mille) keep the boundary exact: 0xC0C0C0 is luma 192.
    const unsigned luma = 299u * p.red + 587u * p.green + 114u * p.blue;
    return luma < 192u * 1000u;
}

ArgbParts SplitArgb(Argb color) {
    return {static_cast<std::uint8_t>(color >> 24), static_cast<std::uint8_t>(color >> 16),
            static_cast<std::uint8_t>(color >> 8), static_cast<std::uint8_t>(color)};
}

} // namespace kodaro::ui
