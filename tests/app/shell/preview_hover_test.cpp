#include "app/shell/preview_hover.h"

#include <gtest/gtest.h>

namespace kodaro {
namespace {

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

TEST(PreviewHover, LeftAndTopEdgesAreInsideRightAndBottomEdgesOutside) {
    EXPECT_TRUE(PreviewHovered(At(452, 120)));
    EXPECT_FALSE(PreviewHovered(At(451, 120)));
    EXPECT_FALSE(PreviewHovered(At(452, 119)));
    EXPECT_TRUE(PreviewHovered(At(657, 326)));
    EXPECT_FALSE(PreviewHovered(At(658, 326)));
    EXPECT_FALSE(PreviewHovered(At(657, 327)));
}

TEST(PreviewHover, ToleranceAbsorbsRoundingAtTheEdges) {
    const HoverRect rect{0.1f, 0.2f, 10.3f, 5.7f};
    // The float edges are not exactly representable; the comparison keeps a
    // coordinate equal to an edge (as a double of the same float) on its side.
    EXPECT_TRUE(InsideHoverRect(static_cast<double>(rect.x), static_cast<double>(rect.y), rect));
    EXPECT_FALSE(
        InsideHoverRect(static_cast<double>(rect.x) + static_cast<double>(rect.width), 1.0, rect));
    EXPECT_TRUE(InsideHoverRect(static_cast<double>(rect.x) - 5e-8, 1.0, rect));
    EXPECT_FALSE(InsideHoverRect(static_cast<double>(rect.x) - 2e-7, 1.0, rect));
}

} // namespace
} // namespace kodaro
