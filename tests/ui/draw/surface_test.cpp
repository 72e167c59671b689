#include "tests/support/bitmap_pixels.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/draw/surface.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using kodaro::test::Alpha;
using kodaro::test::ReadBitmap;

constexpr Argb kRed = 0xFFFF0000;

TEST(Surfaces, BackBufferRowsReadTopDown) {
    BackBuffer buffer;
    EXPECT_FALSE(buffer);
    ASSERT_TRUE(buffer.Create(nullptr, 30, 20));
    EXPECT_EQ(buffer.width(), 30);
    EXPECT_EQ(buffer.height(), 20);
    ASSERT_NE(buffer.graphics(), nullptr);
    FillRectangle(buffer.graphics(), MakeRectF(0, 0, 31, 6), kRed);
    EXPECT_EQ(buffer.PixelAt(5, 2), kRed);
    EXPECT_EQ(buffer.PixelAt(5, 15), 0u);
    EXPECT_EQ(buffer.PixelAt(-1, 0), 0u);
    EXPECT_EQ(buffer.PixelAt(30, 0), 0u);
    const kodaro::test::Pixels p = kodaro::test::ReadDib(buffer.bitmap());
    EXPECT_EQ(p.at(5, 2), kRed);
    EXPECT_EQ(p.at(5, 15), 0u);

    Gdiplus::SmoothingMode smoothing = Gdiplus::SmoothingModeDefault;
    gdip::GdipGetSmoothingMode(buffer.graphics(), &smoothing);
    EXPECT_EQ(smoothing, Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::TextRenderingHint hint = Gdiplus::TextRenderingHintSystemDefault;
    gdip::GdipGetTextRenderingHint(buffer.graphics(), &hint);
    EXPECT_EQ(hint, Gdiplus::TextRenderingHintAntiAliasGridFit);
}

TEST(Surfaces, BackBufferKeepsPremultipliedAlphaForLayeredWindows) {
    BackBuffer buffer;
    ASSERT_TRUE(buffer.Create(nullptr, 20, 20));
    ControlSurface control;
    ASSERT_TRUE(control.Create(10, 10));
    control.Clear(kRed);
    DrawImageAlpha(buffer.graphics(), control.bitmap(), MakeRectF(0, 0, 10, 10), 128);
    FillRectangle(buffer.graphics(), MakeRectF(10, 10, 6, 6), 0x80FF0000);
    for (std::uint32_t pixel : {buffer.PixelAt(5, 5), buffer.PixelAt(12, 12)}) {
        EXPECT_NEAR(Alpha(pixel), 128, 1);
        EXPECT_NEAR(kodaro::test::Red(pixel), 128, 1);
        EXPECT_EQ(pixel & 0xFFFF, 0u);
    }
    EXPECT_EQ(buffer.PixelAt(18, 18), 0u);
}

TEST(Surfaces, ReleasingFreesTheDcAndTheDib) {
    BackBuffer buffer;
    ASSERT_TRUE(buffer.Create(nullptr, 50, 40));
    HDC dc = buffer.dc();
    HBITMAP dib = buffer.bitmap();
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetObjectType(dib), static_cast<DWORD>(OBJ_BITMAP));
    // Re-creating at a new size frees the old pair.
    ASSERT_TRUE(buffer.Create(nullptr, 60, 45));
    EXPECT_EQ(GetObjectType(dib), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
    dc = buffer.dc();
    dib = buffer.bitmap();
    {
        BackBuffer moved = std::move(buffer);
        EXPECT_FALSE(buffer);
        EXPECT_EQ(moved.dc(), dc);
    }
    EXPECT_EQ(GetObjectType(dib), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);

    EXPECT_FALSE(buffer.Create(nullptr, 0, 10));
    EXPECT_FALSE(buffer);
    DibSurface surface;
    EXPECT_FALSE(surface.Create(nullptr, 10, -1));
    EXPECT_EQ(surface.dc(), nullptr);
}

TEST(Surfaces, EverySurfaceOfManyIsFreed) {
    std::vector<HGDIOBJ> made;
    for (int i = 0; i < 100; ++i) {
        BackBuffer buffer;
        ASSERT_TRUE(buffer.Create(nullptr, 64 + i, 48));
        DibSurface background;
        ASSERT_TRUE(background.Create(buffer.dc(), 64 + i, 48));
        FillRectangle(buffer.graphics(), MakeRectF(0, 0, 10, 10), kRed);
        BitBlt(buffer.dc(), 0, 0, 10, 10, background.dc(), 0, 0, SRCCOPY);
        made.insert(made.end(),
                    {buffer.dc(), buffer.bitmap(), background.dc(), background.bitmap()});
    }
    int alive = 0;
    for (HGDIOBJ object : made) {
        alive += GetObjectType(object) != 0;
    }
    EXPECT_EQ(alive, 0);
}

TEST(Surfaces, ControlSurfaceStartsTransparentAndClears) {
    ControlSurface surface;
    EXPECT_FALSE(surface.Create(0, 5));
    ASSERT_TRUE(surface.Create(12, 7));
    EXPECT_EQ(surface.width(), 12);
    EXPECT_EQ(surface.height(), 7);
    kodaro::test::Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.CountOpaque(), 0);
    surface.Clear(0x80102030);
    p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.Count(0x80102030), 84);

    Gdiplus::PixelFormat format = 0;
    gdip::GdipGetImagePixelFormat(surface.bitmap(), &format);
    EXPECT_EQ(format, static_cast<Gdiplus::PixelFormat>(PixelFormat32bppARGB));

    ASSERT_TRUE(surface.Create(3, 4));
    EXPECT_EQ(ReadBitmap(surface.bitmap()).argb.size(), 12u);
    ControlSurface other = std::move(surface);
    EXPECT_FALSE(surface);
    EXPECT_TRUE(other);
    EXPECT_EQ(other.width(), 3);
}

} // namespace
} // namespace kodaro::ui
