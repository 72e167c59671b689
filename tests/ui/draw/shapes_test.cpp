#include "tests/support/bitmap_pixels.h"
#include "ui/draw/shapes.h"
#include "ui/draw/surface.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using kodaro::test::Alpha;
using kodaro::test::Blue;
using kodaro::test::Pixels;
using kodaro::test::ReadBitmap;
using kodaro::test::Red;

constexpr Argb kBlue = 0xFF0000FF;

// The bounding box of the pixels of one exact colour: left, top, right, bottom (inclusive).
RECT BoxOf(const Pixels& p, std::uint32_t color) {
    RECT box{p.width, p.height, -1, -1};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.at(x, y) == color) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
        }
    }
    return box;
}

Gdiplus::GpBrush* MakeBrushForTest(Argb color) {
    Gdiplus::GpSolidFill* brush = nullptr;
    gdip::GdipCreateSolidFill(color, &brush);
    return brush;
}

TEST(Fill, TenByTenRectangleColorsNineByNinePixels) {
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(20, 20));
    FillRectangle(surface.graphics(), MakeRectF(2, 3, 10, 10), kBlue);
    const Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.Count(kBlue), 81);
    const RECT box = BoxOf(p, kBlue);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 11);
}

TEST(Fill, TheBackBufferGetsTheSameNineByNine) {
    BackBuffer buffer;
    ASSERT_TRUE(buffer.Create(nullptr, 20, 20));
    FillRectangle(buffer.graphics(), MakeRectF(2, 3, 10, 10), kBlue);
    gdip::GdipFlush(buffer.graphics(), Gdiplus::FlushIntentionSync);
    const Pixels p = kodaro::test::ReadDib(buffer.bitmap());
    ASSERT_EQ(p.width, 20);
    int blue = 0;
    for (std::uint32_t c : p.argb) {
        blue += (c & 0x00FFFFFF) == 0x0000FF && Alpha(c) == 0xFF;
    }
    EXPECT_EQ(blue, 81);
    EXPECT_EQ(p.at(2, 3) & 0x00FFFFFF, 0x0000FFu);
    EXPECT_EQ(p.at(10, 11) & 0x00FFFFFF, 0x0000FFu);
    EXPECT_EQ(p.at(11, 12), 0u);
    EXPECT_EQ(buffer.PixelAt(2, 3), p.at(2, 3));
}

TEST(Fill, GradientRunsFromTheFirstColorInTheGivenDirection) {
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(40, 40));
    FillGradient(surface.graphics(), MakeRectF(0, 0, 40, 40), 0xFFFF0000, kBlue);
    Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_GT(Red(p.at(20, 0)), 240);
    EXPECT_GT(Blue(p.at(20, 38)), 225);
    EXPECT_NEAR(Red(p.at(20, 19)), 128, 20);
    EXPECT_EQ(p.at(0, 20), p.at(37, 20)); // vertical: rows are uniform

    surface.Clear();
    FillGradient(surface.graphics(), MakeRectF(0, 0, 40, 40), 0xFFFF0000, kBlue,
                 Gdiplus::LinearGradientModeHorizontal);
    p = ReadBitmap(surface.bitmap());
    EXPECT_GT(Red(p.at(0, 20)), 240);
    EXPECT_GT(Blue(p.at(38, 20)), 225);

    // A colour of 0 is transparent black at its end.
    surface.Clear();
    FillGradient(surface.graphics(), MakeRectF(0, 0, 40, 40), 0, kBlue);
    p = ReadBitmap(surface.bitmap());
    EXPECT_LT(Alpha(p.at(20, 0)), 12);
    EXPECT_GT(Alpha(p.at(20, 38)), 225);
}

TEST(Shapes, RoundRectPathHasRoundCornersInsideTheRectangle) {
    const UniquePath path = RoundRectPath(MakeRectF(10, 20, 41, 31), 10);
    ASSERT_NE(path, nullptr);
    RectF bounds;
    ASSERT_EQ(gdip::GdipGetPathWorldBounds(path.get(), &bounds, nullptr, nullptr), Gdiplus::Ok);
    // The far arcs end one pixel inside: the outline spans x..x+w-1, y..y+h-1.
    EXPECT_NEAR(bounds.X, 10, 0.01);
    EXPECT_NEAR(bounds.Y, 20, 0.01);
    EXPECT_NEAR(bounds.Width, 40, 0.01);
    EXPECT_NEAR(bounds.Height, 30, 0.01);
    // Filled, the corners stay empty and the middle and edges are covered.
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(60, 60));
    const UniqueBrush brush(MakeBrushForTest(kBlue));
    gdip::GdipFillPath(surface.graphics(), brush.get(), path.get());
    const Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.at(30, 35), kBlue);
    EXPECT_EQ(p.at(11, 35), kBlue);
    EXPECT_EQ(p.at(30, 21), kBlue);
    EXPECT_EQ(Alpha(p.at(10, 20)), 0);
    EXPECT_EQ(Alpha(p.at(49, 49)), 0);
    EXPECT_EQ(Alpha(p.at(49, 20)), 0);
    EXPECT_EQ(Alpha(p.at(10, 49)), 0);
    INT points = 0;
    gdip::GdipGetPointCount(path.get(), &points);
    EXPECT_GE(points, 16); // four arcs of at least four points each

    const UniquePath square = RoundRectPath(MakeRectF(0, 0, 11, 11), 0);
    ASSERT_NE(square, nullptr);
    ASSERT_EQ(gdip::GdipGetPathWorldBounds(square.get(), &bounds, nullptr, nullptr), Gdiplus::Ok);
    EXPECT_NEAR(bounds.Width, 10, 0.01);
}

TEST(Shapes, RoundRectOutlineLeavesCornersAndMiddleEmpty) {
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(40, 30));
    DrawRoundRect(surface.graphics(), MakeRectF(0, 0, 40, 30), 12, kBlue);
    const Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(Alpha(p.at(0, 0)), 0);
    EXPECT_EQ(Alpha(p.at(39, 29)), 0);
    EXPECT_EQ(Alpha(p.at(20, 15)), 0);
    EXPECT_EQ(p.at(20, 0), kBlue);
    EXPECT_EQ(p.at(0, 15), kBlue);
    EXPECT_EQ(p.at(39, 15), kBlue);
    EXPECT_EQ(p.at(20, 29), kBlue);

    ControlSurface dashed;
    ASSERT_TRUE(dashed.Create(40, 30));
    DrawRoundRect(dashed.graphics(), MakeRectF(0, 0, 40, 30), 12, kBlue, Gdiplus::DashStyleDash);
    const Pixels d = ReadBitmap(dashed.bitmap());
    EXPECT_LT(d.CountOpaque(), p.CountOpaque() * 9 / 10);
    EXPECT_GT(d.CountOpaque(), p.CountOpaque() / 3);
}

TEST(Shapes, LinesAreDrawnWithTheGivenWidth) {
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(20, 20));
    DrawLine(surface.graphics(), kBlue, 0, 10, 19, 10);
    EXPECT_EQ(ReadBitmap(surface.bitmap()).Count(kBlue), 20);
    surface.Clear();
    DrawLine(surface.graphics(), kBlue, 0, 10, 19, 10, 3);
    const Pixels thick = ReadBitmap(surface.bitmap());
    EXPECT_EQ(thick.at(10, 8), 0u);
    EXPECT_EQ(thick.at(10, 9), kBlue);
    EXPECT_EQ(thick.at(10, 10), kBlue);
    EXPECT_EQ(thick.at(10, 11), kBlue);
    EXPECT_EQ(thick.at(10, 12), 0u);
    const UniquePen pen = MakePen(kBlue, 2.5f);
    ASSERT_NE(pen, nullptr);
    float width = 0;
    gdip::GdipGetPenWidth(pen.get(), &width);
    EXPECT_EQ(width, 2.5f);
}

class Border : public testing::Test {
protected:
    Pixels Draw(int style, std::optional<Argb> color = std::nullopt) {
        ControlSurface surface;
        EXPECT_TRUE(surface.Create(20, 20));
        DrawBorder(surface.graphics(), MakeRectF(0, 0, 20, 20), style, color);
        return ReadBitmap(surface.bitmap());
    }
};

TEST_F(Border, StyleZeroAndUnknownStylesDrawNothing) {
    EXPECT_EQ(Draw(kBorderNone).CountOpaque(), 0);
    EXPECT_EQ(Draw(5).CountOpaque(), 0);
    EXPECT_EQ(Draw(-1).CountOpaque(), 0);
}

TEST_F(Border, FlatIsOneOutlineInGreyByDefault) {
    const Pixels p = Draw(kBorderFlat);
    EXPECT_EQ(p.at(0, 0), 0xFE646464u);
    EXPECT_EQ(p.at(19, 10), 0xFE646464u);
    EXPECT_EQ(p.at(10, 19), 0xFE646464u);
    EXPECT_EQ(p.Count(0xFE646464u), 76);
    EXPECT_EQ(p.CountOpaque(), 76);
    EXPECT_EQ(Draw(kBorderFlat, kBlue).Count(kBlue), 76);
}

TEST_F(Border, DashedHasGapsAndDefaultsToTranslucentBlack) {
    const Pixels p = Draw(kBorderDashed);
    EXPECT_LT(p.CountOpaque(), 76);
    EXPECT_GT(p.CountOpaque(), 30);
    EXPECT_EQ(p.at(1, 0), 0x78000000u);
}

TEST_F(Border, SunkenIsDarkTopLeftAndLightBottomRight) {
    const Pixels p = Draw(kBorderSunken);
    EXPECT_EQ(p.at(10, 0), 0xA0000000u);
    EXPECT_EQ(p.at(0, 10), 0xA0000000u);
    // Half-width light edges: white, partly covered.
    EXPECT_EQ(p.at(10, 19) & 0x00FFFFFF, 0x00FFFFFFu);
    EXPECT_GT(Alpha(p.at(10, 19)), 60);
    EXPECT_EQ(p.at(19, 10) & 0x00FFFFFF, 0x00FFFFFFu);
    EXPECT_EQ(Alpha(p.at(10, 10)), 0);
}

TEST_F(Border, RaisedHasItsDarkEdgesTwoPixelsIn) {
    const Pixels p = Draw(kBorderRaised);
    EXPECT_EQ(p.at(10, 18), 0xA8000000u);
    EXPECT_EQ(p.at(18, 10), 0xA8000000u);
    EXPECT_EQ(Alpha(p.at(10, 19)), 0);
    EXPECT_EQ(Alpha(p.at(19, 10)), 0);
    EXPECT_EQ(p.at(10, 0) & 0x00FFFFFF, 0x00FFFFFFu);
    EXPECT_GT(Alpha(p.at(10, 0)), 60);
}

TEST(Regions, WindowRegionStartsInsetPixelsIn) {
    const UniqueHrgn square = CreateWindowRegion(100, 80, 6);
    ASSERT_NE(square, nullptr);
    EXPECT_TRUE(PtInRegion(square.get(), 6, 6));
    EXPECT_FALSE(PtInRegion(square.get(), 5, 6));
    EXPECT_FALSE(PtInRegion(square.get(), 6, 5));
    // Six pixels come off the far sides too.
    EXPECT_TRUE(PtInRegion(square.get(), 93, 73));
    EXPECT_FALSE(PtInRegion(square.get(), 94, 73));
    EXPECT_FALSE(PtInRegion(square.get(), 93, 74));

    const UniqueHrgn round = CreateWindowRegion(100, 80, 6, 10);
    ASSERT_NE(round, nullptr);
    EXPECT_FALSE(PtInRegion(round.get(), 6, 6));
    EXPECT_TRUE(PtInRegion(round.get(), 50, 6));
    EXPECT_TRUE(PtInRegion(round.get(), 10, 10));
}

TEST(Regions, ClipLimitsDrawingUntilReset) {
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(40, 40));
    Gdiplus::GpGraphics* g = surface.graphics();
    const RectF full = VisibleClipBounds(g);
    EXPECT_EQ(full.Width, 40);
    EXPECT_EQ(full.Height, 40);

    const UniqueHrgn hrgn = CreateWindowRegion(40, 40, 10);
    const UniqueRegion region = RegionFromHrgn(hrgn.get());
    ASSERT_NE(region, nullptr);
    SetClipRegion(g, region.get());
    SetClipRect(g, MakeRectF(0, 0, 20, 40), Gdiplus::CombineModeIntersect);
    const RectF clipped = VisibleClipBounds(g);
    EXPECT_EQ(clipped.X, 10);
    EXPECT_EQ(clipped.Y, 10);
    EXPECT_EQ(clipped.Width, 10);
    EXPECT_EQ(clipped.Height, 20);
    gdip::GdipGraphicsClear(g, kBlue);
    Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.Count(kBlue), 10 * 20);
    EXPECT_EQ(p.at(10, 10), kBlue);
    EXPECT_EQ(p.at(20, 20), 0u);

    ResetClip(g);
    EXPECT_EQ(VisibleClipBounds(g).Width, 40);
    EXPECT_EQ(VisibleClipBounds(nullptr).Width, 0);
    EXPECT_EQ(RegionFromHrgn(nullptr), nullptr);
}

} // namespace
} // namespace kodaro::ui
