#include "tests/support/bitmap_pixels.h"
#include "tests/support/process_memory.h"
#include "ui/draw/defaults.h"
#include "ui/draw/image.h"
#include "ui/draw/surface.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace kodaro::ui {
namespace {

using kodaro::test::Alpha;
using kodaro::test::Blue;
using kodaro::test::Green;
using kodaro::test::MakeBitmap;
using kodaro::test::Pixels;
using kodaro::test::ReadBitmap;
using kodaro::test::Red;

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kGreen = 0xFF00FF00;

std::vector<std::uint8_t> PngOf(int width, int height, const std::function<Argb(int, int)>& color) {
    const UniqueBitmap bitmap = MakeBitmap(width, height, color);
    return kodaro::test::PngBytes(bitmap.get());
}

std::vector<std::uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectEmpty(const MemoryImage& image) {
    EXPECT_FALSE(image);
    EXPECT_EQ(image.get(), nullptr);
    EXPECT_EQ(image.block(), nullptr);
    EXPECT_EQ(image.stream(), nullptr);
}

TEST(MemoryImage, LoadsPngBytesAndKeepsImageBlockAndStreamTogether) {
    const auto png = PngOf(7, 5, [](int, int) { return kRed; });
    ASSERT_GT(png.size(), 8u);
    MemoryImage image = LoadImageFromBytes(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(ImageWidth(image.get()), 7);
    EXPECT_EQ(ImageHeight(image.get()), 5);
    EXPECT_NE(image.block(), nullptr);
    EXPECT_NE(image.stream(), nullptr);
    EXPECT_EQ(GlobalSize(image.block()), png.size());

    MemoryImage moved = std::move(image);
    ExpectEmpty(image);
    EXPECT_EQ(ImageWidth(moved.get()), 7);
    ReleaseMemoryImage(moved);
    ExpectEmpty(moved);
    ReleaseMemoryImage(moved); // a second release is harmless
}

TEST(MemoryImage, SignatureOptionRestoresAStrippedPng) {
    const auto png = PngOf(3, 4, [](int, int) { return kGreen; });
    const std::vector<std::uint8_t> stripped(png.begin() + 8, png.end());

    MemoryImage image = LoadImageFromBytes(stripped, true);
    ASSERT_TRUE(image);
    EXPECT_EQ(ImageWidth(image.get()), 3);
    EXPECT_EQ(ImageHeight(image.get()), 4);
    EXPECT_EQ(GlobalSize(image.block()), stripped.size() + 8);

    ExpectEmpty(LoadImageFromBytes(stripped, false));
    // A signature in front of a whole file makes it no PNG at all.
    ExpectEmpty(LoadImageFromBytes(png, true));
}

TEST(MemoryImage, FailedLoadsLeaveNothingBehind) {
    const auto png = PngOf(16, 16, [](int x, int) { return x < 8 ? kRed : kGreen; });
    const std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
    const std::vector<std::uint8_t> garbage = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i',
                                               'm', 'a', 'g', 'e', 0,   1,   2,   3};
    const std::vector<std::uint8_t> empty;
    for (bool signature : {false, true}) {
        SCOPED_TRACE(signature ? "with signature" : "without signature");
        ExpectEmpty(LoadImageFromBytes(garbage, signature));
        ExpectEmpty(LoadImageFromBytes(empty, signature));
        ExpectEmpty(LoadImageFromBytes(std::span(truncated).subspan(signature ? 8 : 0), signature));
        ExpectEmpty(LoadImageFromBytes(std::span(png).first(8), false));
    }
}

TEST(MemoryImage, RepeatedFailedLoadsDoNotGrowTheProcess) {
    // 4 MB blocks, 120 times: a leaked block per load would add about 480 MB.
    std::vector<std::uint8_t> big(4u << 20);
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<std::uint8_t>(i * 7919u >> 3);
    }
    const auto png = PngOf(8, 8, [](int, int) { return kRed; });
    std::copy(png.begin(), png.begin() + 33, big.begin()); // a real signature and header first
    ExpectEmpty(LoadImageFromBytes(big, false));
    const SIZE_T before = kodaro::test::WorkingSetBytes();
    for (int i = 0; i < 60; ++i) {
        ExpectEmpty(LoadImageFromBytes(big, false));
        ExpectEmpty(LoadImageFromBytes(std::span(big).subspan(8), true));
    }
    const SIZE_T after = kodaro::test::WorkingSetBytes();
    EXPECT_LT(after, before + (64u << 20)) << "before " << before << " after " << after;
}

TEST(MemoryImage, ReleasedImagesGiveTheirMemoryBack) {
    // About 2 MB of hardly compressible PNG, decoded to 4 MB: 40 loads kept
    // alive by a missing release would hold some 240 MB.
    std::uint32_t seed = 12345;
    const auto png = PngOf(1024, 1024, [&](int, int) {
        seed = seed * 1664525u + 1013904223u;
        return 0xFF000000u | (seed >> 8);
    });
    ASSERT_GT(png.size(), 1u << 20);
    const SIZE_T before = kodaro::test::WorkingSetBytes();
    for (int i = 0; i < 40; ++i) {
        MemoryImage image = LoadImageFromBytes(png);
        ASSERT_TRUE(image);
        ASSERT_EQ(ImageWidth(image.get()), 1024);
        ReleaseMemoryImage(image);
    }
    const SIZE_T after = kodaro::test::WorkingSetBytes();
    EXPECT_LT(after, before + (64u << 20)) << "before " << before << " after " << after;
}

TEST(MemoryImage, ThreadsLoadImagesSideBySide) {
    // The symbol renderer loads pictures off the user-interface thread.
    const auto png = PngOf(40, 30, [](int x, int y) { return (x + y) % 2 ? kRed : kGreen; });
    std::atomic<int> loaded{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                MemoryImage image = LoadImageFromBytes(png);
                if (image && ImageWidth(image.get()) == 40 && ImageHeight(image.get()) == 30) {
                    ++loaded;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(loaded.load(), 200);
}

TEST(MemoryImage, SkinStripLoadsWithOrWithoutItsSignature) {
    const auto file = ReadFile(KODARO_SOURCE_DIR "/resources/framework/SkinStrip.png");
    ASSERT_GT(file.size(), 8u);
    const MemoryImage whole = LoadSkinStrip(file);
    ASSERT_TRUE(whole);
    EXPECT_EQ(ImageWidth(whole.get()), kSkinStripWidth);
    EXPECT_EQ(ImageHeight(whole.get()), kSkinStripHeight);
    const std::vector<std::uint8_t> stored(file.begin() + 8, file.end());
    const MemoryImage bare = LoadSkinStrip(stored);
    ASSERT_TRUE(bare);
    EXPECT_EQ(ImageWidth(bare.get()), kSkinStripWidth);

    EXPECT_FALSE(InitSkinStrip(std::span(stored).first(100)));
    EXPECT_EQ(SkinStrip(), nullptr);
    ASSERT_TRUE(InitSkinStrip(stored));
    EXPECT_EQ(ImageHeight(SkinStrip()), kSkinStripHeight);
    // A broken replacement keeps the strip that works.
    EXPECT_FALSE(InitSkinStrip(std::span(stored).first(100)));
    EXPECT_NE(SkinStrip(), nullptr);
}

// 10 x 10: red top-left 5 x 5 quarter, green elsewhere.
UniqueBitmap QuarterImage() {
    return MakeBitmap(10, 10, [](int x, int y) { return x < 5 && y < 5 ? kRed : kGreen; });
}

TEST(ImageDrawing, OpacityBelow255DrawsOneToOneInsteadOfScaling) {
    const UniqueBitmap image = QuarterImage();
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(5, 5));

    DrawImageAlpha(surface.graphics(), image.get(), MakeRectF(0, 0, 5, 5), 255);
    Pixels scaled = ReadBitmap(surface.bitmap());
    EXPECT_EQ(scaled.at(0, 0), kRed);
    EXPECT_EQ(scaled.at(4, 4), kGreen); // the whole image shrunk into 5 x 5

    surface.Clear();
    DrawImageAlpha(surface.graphics(), image.get(), MakeRectF(0, 0, 5, 5), 254);
    Pixels direct = ReadBitmap(surface.bitmap());
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(direct.at(x, y) & 0x00FFFFFF, kRed & 0x00FFFFFF) << x << "," << y;
            EXPECT_NEAR(Alpha(direct.at(x, y)), 254, 1);
        }
    }
}

TEST(ImageDrawing, OpacityScalesAlpha) {
    const UniqueBitmap image = QuarterImage();
    for (int opacity : {0, 51, 128, 200}) {
        SCOPED_TRACE(opacity);
        ControlSurface surface;
        ASSERT_TRUE(surface.Create(10, 10));
        DrawImageAlpha(surface.graphics(), image.get(), MakeRectF(0, 0, 10, 10), opacity);
        const Pixels pixels = ReadBitmap(surface.bitmap());
        EXPECT_NEAR(Alpha(pixels.at(2, 2)), opacity, 2);
        EXPECT_NEAR(Alpha(pixels.at(8, 8)), opacity, 2);
        if (opacity > 0) {
            EXPECT_EQ(Red(pixels.at(2, 2)), 255);
            EXPECT_EQ(Green(pixels.at(8, 8)), 255);
        }
    }
}

// 30 x 30 with 10-pixel borders, each of the nine parts in its own colour.
constexpr Argb kNine[3][3] = {
    {0xFFFF0000, 0xFF00FFFF, 0xFF00FF00},
    {0xFF808080, 0xFFFFFFFF, 0xFF000080},
    {0xFF0000FF, 0xFFFF00FF, 0xFFFFFF00},
};

UniqueBitmap NineImage() {
    return MakeBitmap(30, 30, [](int x, int y) { return kNine[y / 10][x / 10]; });
}

TEST(ImageDrawing, NineGridKeepsCornersAndStretchesEdgesAndCentre) {
    const UniqueBitmap image = NineImage();
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(100, 60));
    DrawImageNineGrid(surface.graphics(), image.get(), MakeRectF(0, 0, 100, 60),
                      MakeRectF(10, 10, 10, 10));
    const Pixels p = ReadBitmap(surface.bitmap());
    // Corners unscaled: exactly 10 x 10 each.
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(p.at(i, i), kNine[0][0]);
        EXPECT_EQ(p.at(99 - i, i), kNine[0][2]);
        EXPECT_EQ(p.at(i, 59 - i), kNine[2][0]);
        EXPECT_EQ(p.at(99 - i, 59 - i), kNine[2][2]);
    }
    // Edges and centre stretched over what is left.
    EXPECT_EQ(p.at(50, 5), kNine[0][1]);
    EXPECT_EQ(p.at(30, 2), kNine[0][1]);
    EXPECT_EQ(p.at(50, 55), kNine[2][1]);
    EXPECT_EQ(p.at(5, 30), kNine[1][0]);
    EXPECT_EQ(p.at(95, 30), kNine[1][2]);
    EXPECT_EQ(p.at(50, 30), kNine[1][1]);
    EXPECT_EQ(p.at(20, 20), kNine[1][1]);
    EXPECT_EQ(p.at(80, 40), kNine[1][1]);
    EXPECT_EQ(p.CountOpaque(), 100 * 60);
}

TEST(ImageDrawing, NineGridWithTheWholeImageAsCentreOnlyStretches) {
    const UniqueBitmap image = NineImage();
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(90, 60));
    DrawImageNineGrid(surface.graphics(), image.get(), MakeRectF(0, 0, 90, 60),
                      MakeRectF(0, 0, 30, 30));
    const Pixels p = ReadBitmap(surface.bitmap());
    // Every part scaled by 3 x 2.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(p.at(column * 30 + 15, row * 20 + 10), kNine[row][column])
                << row << "," << column;
        }
    }
    EXPECT_EQ(p.at(25, 15), kNine[0][0]);
}

TEST(ImageDrawing, NineGridOpacityOnlyWhenAsked) {
    const UniqueBitmap image = NineImage();
    for (bool useOpacity : {false, true}) {
        ControlSurface surface;
        ASSERT_TRUE(surface.Create(60, 60));
        DrawImageNineGrid(surface.graphics(), image.get(), MakeRectF(0, 0, 60, 60),
                          MakeRectF(10, 10, 10, 10), 100, useOpacity);
        const Pixels p = ReadBitmap(surface.bitmap());
        EXPECT_NEAR(Alpha(p.at(3, 3)), useOpacity ? 100 : 255, 2);
        EXPECT_NEAR(Alpha(p.at(30, 30)), useOpacity ? 100 : 255, 2);
    }
}

TEST(ImageDrawing, NineGridToleratesNullsAndTinyTargets) {
    const UniqueBitmap image = NineImage();
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(40, 40));
    DrawImageNineGrid(nullptr, image.get(), MakeRectF(0, 0, 40, 40), MakeRectF(10, 10, 10, 10));
    DrawImageNineGrid(surface.graphics(), nullptr, MakeRectF(0, 0, 40, 40),
                      MakeRectF(10, 10, 10, 10));
    EXPECT_EQ(ReadBitmap(surface.bitmap()).CountOpaque(), 0);
    // Smaller than the borders: the corners overlap, nothing is mirrored.
    DrawImageNineGrid(surface.graphics(), image.get(), MakeRectF(0, 0, 15, 15),
                      MakeRectF(10, 10, 10, 10));
    const Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.at(0, 0), kNine[0][0]);
    EXPECT_EQ(p.at(14, 14), kNine[2][2]);
    EXPECT_EQ(p.at(20, 20), 0u);
}

TEST(ImageDrawing, CentredDrawingUsesNaturalSize) {
    const UniqueBitmap image = MakeBitmap(10, 6, [](int, int) { return kRed; });
    for (bool centred : {false, true}) {
        ControlSurface surface;
        ASSERT_TRUE(surface.Create(30, 30));
        DrawImageCentred(surface.graphics(), image.get(), MakeRectF(4, 4, 20, 20), centred);
        const Pixels p = ReadBitmap(surface.bitmap());
        EXPECT_EQ(p.Count(kRed), 60);
        const int left = centred ? 9 : 4;
        const int top = centred ? 11 : 4;
        EXPECT_EQ(p.at(left, top), kRed);
        EXPECT_EQ(p.at(left + 9, top + 5), kRed);
        EXPECT_EQ(p.at(left - 1, top), 0u);
        EXPECT_EQ(p.at(left, top - 1), 0u);
    }
}

TEST(ImageDrawing, PartWithoutSourceSizeTakesTheImageSize) {
    const UniqueBitmap image = QuarterImage();
    ControlSurface surface;
    ASSERT_TRUE(surface.Create(10, 10));
    DrawImagePart(surface.graphics(), image.get(), MakeRectF(0, 0, 5, 5), MakeRectF(0, 0, 5, 5));
    Pixels p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.Count(kRed), 25);
    EXPECT_EQ(p.Count(kGreen), 0);

    surface.Clear();
    DrawImagePart(surface.graphics(), image.get(), MakeRectF(0, 0, 10, 10), MakeRectF(0, 0, 1, 1),
                  false);
    p = ReadBitmap(surface.bitmap());
    EXPECT_EQ(p.Count(kRed), 25);
    EXPECT_EQ(p.Count(kGreen), 75);
}

} // namespace
} // namespace kodaro::ui
