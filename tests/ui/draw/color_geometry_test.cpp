#include "ui/draw/color.h"
#include "ui/draw/geometry.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

TEST(Color, ToArgbSwapsRedAndBlueAndNeverGivesAlpha255) {
    EXPECT_EQ(ToArgb(0x0000FF, 255), 0xFEFF0000u);
    EXPECT_EQ(ToArgb(0x0000FF, 128), 0x80FF0000u);
    EXPECT_EQ(ToArgb(0x0000FF), 0xFEFF0000u);
    EXPECT_EQ(ToArgb(0x000000), 0xFE000000u);
    EXPECT_EQ(ToArgb(0xFFFFFF), 0xFEFFFFFFu);
    EXPECT_EQ(ToArgb(0x123456, 254), 0xFE563412u);
    EXPECT_EQ(ToArgb(0x123456, 0), 0x00563412u);
    // The top byte of a COLORREF is not colour.
    EXPECT_EQ(ToArgb(0xFF123456, 1), 0x01563412u);
    // Out-of-range alphas are clamped rather than spilling into the colour.
    EXPECT_EQ(ToArgb(0x123456, 300), 0xFE563412u);
    EXPECT_EQ(ToArgb(0x123456, -5), 0x00563412u);
    EXPECT_EQ(ToColorRef(0xFE563412u), 0x123456u);
}

TEST(Color, DarkColorThresholdIsLuma192) {
    EXPECT_FALSE(IsDarkColour(0xFFFFFFFFu));
    EXPECT_TRUE(IsDarkColour(0xFF808080u));
    EXPECT_FALSE(IsDarkColour(0xFFC0C0C0u));
    EXPECT_TRUE(IsDarkColour(0xFFBFBFBFu));
    EXPECT_TRUE(IsDarkColour(0xFF000000u));
    // Alpha plays no part; green weighs most, blue least.
    EXPECT_FALSE(IsDarkColour(0x00FFFFFFu));
    EXPECT_TRUE(IsDarkColour(0xFF00FFFFu));  // cyan: luma 178.8
    EXPECT_FALSE(IsDarkColour(0xFFFFFF00u)); // yellow: luma 225.9
}

TEST(Color, SplitArgbTakesTheBytesInOrder) {
    const ArgbParts p = SplitArgb(0x80FF4010u);
    EXPECT_EQ(p.alpha, 0x80);
    EXPECT_EQ(p.red, 0xFF);
    EXPECT_EQ(p.green, 0x40);
    EXPECT_EQ(p.blue, 0x10);
}

TEST(Geometry, PointInRectHasInclusiveLeftTopAndExclusiveRightBottom) {
    const RectF r = MakeRectF(10, 20, 30, 40);
    EXPECT_TRUE(PointInRect(r, 10, 20));
    EXPECT_TRUE(PointInRect(r, 39.5f, 59.5f));
    EXPECT_FALSE(PointInRect(r, 40, 30));
    EXPECT_FALSE(PointInRect(r, 20, 60));
    EXPECT_FALSE(PointInRect(r, 9.99f, 30));
    EXPECT_FALSE(PointInRect(r, 20, 19.99f));
    EXPECT_FALSE(PointInRect(MakeRectF(5, 5, 0, 0), 5, 5));
}

TEST(Geometry, RectanglesSharingOnlyAnEdgeDoNotIntersect) {
    const RectF a = MakeRectF(0, 0, 10, 10);
    EXPECT_FALSE(RectsIntersect(a, MakeRectF(10, 0, 10, 10)));
    EXPECT_FALSE(RectsIntersect(a, MakeRectF(0, 10, 10, 10)));
    EXPECT_FALSE(RectsIntersect(a, MakeRectF(10, 10, 5, 5)));
    EXPECT_TRUE(RectsIntersect(a, MakeRectF(9.5f, 9.5f, 5, 5)));
    EXPECT_TRUE(RectsIntersect(a, MakeRectF(2, 2, 3, 3)));   // inside
    EXPECT_TRUE(RectsIntersect(MakeRectF(2, 2, 3, 3), a));   // and the other way round
    EXPECT_TRUE(RectsIntersect(a, MakeRectF(-5, 4, 30, 1))); // crossing
    EXPECT_FALSE(RectsIntersect(a, MakeRectF(3, 3, 0, 4)));  // no width
    EXPECT_FALSE(RectsIntersect(a, MakeRectF(-20, -20, 5, 5)));
}

TEST(Geometry, GrowRectAddsOnlyTheGivenDeltas) {
    const RectF r = GrowRect(MakeRectF(10, 20, 30, 40), -4, -4, 7, 7);
    EXPECT_EQ(r.X, 6);
    EXPECT_EQ(r.Y, 16);
    EXPECT_EQ(r.Width, 37);
    EXPECT_EQ(r.Height, 47);
    const RectF partly = GrowRect(MakeRectF(1, 2, 3, 4), 5);
    EXPECT_EQ(partly.X, 6);
    EXPECT_EQ(partly.Y, 2);
    EXPECT_EQ(partly.Width, 3);
    EXPECT_EQ(partly.Height, 4);
    RECT win{3, 4, 13, 24};
    const RectF converted = RectFromRect(win);
    EXPECT_EQ(converted.X, 3);
    EXPECT_EQ(converted.Y, 4);
    EXPECT_EQ(converted.Width, 10);
    EXPECT_EQ(converted.Height, 20);
}

TEST(Geometry, MousePositionIsSignedSixteenBits) {
    EXPECT_EQ(MouseX(MAKELPARAM(100, 200)), 100);
    EXPECT_EQ(MouseY(MAKELPARAM(100, 200)), 200);
    // A position left of or above the window (captured mouse) is negative.
    EXPECT_EQ(MouseX(MAKELPARAM(static_cast<WORD>(-3), 5)), -3);
    EXPECT_EQ(MouseY(MAKELPARAM(5, static_cast<WORD>(-32768))), -32768);
    EXPECT_EQ(MouseX(MAKELPARAM(0x7FFF, 0)), 32767);
}

} // namespace
} // namespace kodaro::ui
