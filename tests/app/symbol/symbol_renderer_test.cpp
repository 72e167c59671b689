#include "app/symbol/symbol_renderer.h"

#include "app/symbol/image_export.h"
#include "bench/render/matrix_bitmap.h"
#include "bench/render/per_pixel_fill.h"
#include "runtime/text.h"
#include "tests/app/symbol/render_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kodaro {
namespace {

using test::Pixels;

constexpr std::uint32_t kBlack = 0xFE000000;
constexpr std::uint32_t kWhite = 0xFEFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;

std::vector<std::string> AllDark(int modules) {
    return std::vector<std::string>(static_cast<std::size_t>(modules),
                                    std::string(static_cast<std::size_t>(modules), '#'));
}

// The bounding box of the pixels that differ from colour.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};
Box BoxOfPixelsNot(const Pixels& pixels, std::uint32_t color) {
    Box box;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            if (pixels.at(x, y) != color) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

class RendererTest : public testing::Test {
protected:
    // A logo file of the given picture bytes, loaded into the test's slots.
    std::wstring LoadLogo(std::span<const std::uint8_t> png, int side = 256) {
        const std::wstring path = folder_.File(L"logo" + std::to_wstring(++files_) + L".png");
        test::WriteBytes(path, png);
        ReloadStyleImage(StyleSlot::Logo, path, side, images_);
        return path;
    }
    std::wstring LoadPicture(StyleSlot slot, std::span<const std::uint8_t> png, int side) {
        const std::wstring path = folder_.File(L"picture" + std::to_wstring(++files_) + L".png");
        test::WriteBytes(path, png);
        ReloadStyleImage(slot, path, side, images_);
        return path;
    }
    Pixels Render(std::span<const std::uint8_t> matrix, int side, const SymbolStyle& style) {
        const ui::UniqueBitmap bitmap = RenderSymbolBitmap(matrix, side, side, style, images_);
        return test::ReadBitmap(bitmap.get());
    }

    test::TempFolder folder_;
    StyleImages images_;
    int files_ = 0;
};

TEST_F(RendererTest, DefaultColorsFollowTheSampledMatrix) {
    // 25 modules of 3 pixels with a 4-module quiet zone: 99 pixels, which
    // does not divide 256, so sampling by truncation is visible.
    const std::vector<std::string> pattern = bench::SymbolLikePattern(25, 3);
    const std::vector<std::uint8_t> matrix = bench::MatrixBitmap(pattern, 3, 4);
    const Pixels pixels = Render(matrix, 256, SymbolStyle{});
    ASSERT_EQ(pixels.width, 256);
    ASSERT_EQ(pixels.height, 256);
    const double scale = 99.0 / 256;
    int mismatches = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int moduleX = static_cast<int>(x * scale) / 3 - 4;
            const int moduleY = static_cast<int>(y * scale) / 3 - 4;
            const bool dark = moduleX >= 0 && moduleX < 25 && moduleY >= 0 && moduleY < 25 &&
                              pattern[moduleY][moduleX] == '#';
            mismatches += pixels.at(x, y) != (dark ? kBlack : kWhite);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(RendererTest, OnlyExactlyOpaqueWhiteIsLight) {
    // Dark modules drawn in light grey 0xFEFEFE still count as dark.
    const std::vector<std::string> pattern = bench::SymbolLikePattern(21, 5);
    const Pixels grey = Render(bench::MatrixBitmap(pattern, 4, 2, 0xFEFEFE), 100, SymbolStyle{});
    const Pixels black = Render(bench::MatrixBitmap(pattern, 4, 2, 0x000000), 100, SymbolStyle{});
    ASSERT_EQ(grey.argb.size(), 100u * 100u);
    EXPECT_EQ(grey.argb, black.argb);
    EXPECT_NE(BoxOfPixelsNot(grey, kWhite).right, -1);
}

TEST_F(RendererTest, LogoBoxIsTwentyTwoHundredthsOfTheSide) {
    const std::wstring logo = LoadLogo(test::SolidPng(300, 300, kRed));
    for (const auto& [side, box] : {std::pair{128, 28}, {256, 56}, {512, 112}, {768, 168}}) {
        SymbolStyle style;
        style.side = side;
        style.logoPath = logo;
        style.logoBorder = LogoBorder::None;
        const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), side, style);
        const Box found = BoxOfPixelsNot(pixels, kBlack);
        EXPECT_EQ(found.width(), box) << side;
        EXPECT_EQ(found.height(), box) << side;
        EXPECT_EQ(found.left, (side - box) / 2) << side;
        EXPECT_EQ(found.top, (side - box) / 2) << side;
        EXPECT_EQ(pixels.at(side / 2, side / 2), kRed) << side;
    }
}

TEST_F(RendererTest, SmallLogoKeepsItsSizeAndWideLogoIsSqueezedOnOneAxis) {
    SymbolStyle style;
    style.logoBorder = LogoBorder::None;
    style.logoPath = LoadLogo(test::SolidPng(30, 20, kRed));
    Box found = BoxOfPixelsNot(Render(bench::MatrixBitmap(AllDark(16), 2, 0), 256, style), kBlack);
    EXPECT_EQ(found.width(), 30);
    EXPECT_EQ(found.height(), 20);
    EXPECT_EQ(found.left, 113);
    EXPECT_EQ(found.top, 118);

    style.logoPath = LoadLogo(test::SolidPng(100, 50, kRed));
    const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), 256, style);
    found = BoxOfPixelsNot(pixels, kBlack);
    EXPECT_EQ(found.width(), 56);
    EXPECT_EQ(found.height(), 50);
    EXPECT_EQ(found.left, 100);
    EXPECT_EQ(found.top, 103);
    EXPECT_EQ(pixels.at(128, 128), kRed);
}

TEST_F(RendererTest, NoLogoWithoutAnExistingFileOrALoadedPicture) {
    SymbolStyle style;
    style.logoPath = LoadLogo(test::SolidPng(40, 40, kRed));
    const std::vector<std::uint8_t> matrix = bench::MatrixBitmap(AllDark(16), 2, 0);
    EXPECT_NE(BoxOfPixelsNot(Render(matrix, 256, style), kBlack).right, -1);

    // The picture is still loaded but its file is gone.
    style.logoPath = folder_.File(L"missing.png");
    EXPECT_EQ(BoxOfPixelsNot(Render(matrix, 256, style), kBlack).right, -1);

    // The file exists but is no picture: the slot is emptied.
    const std::wstring junk = folder_.File(L"junk.png");
    test::WriteBytes(junk, std::vector<std::uint8_t>{'n', 'o', 't'});
    ReloadStyleImage(StyleSlot::Logo, junk, 256, images_);
    style.logoPath = junk;
    EXPECT_EQ(BoxOfPixelsNot(Render(matrix, 256, style), kBlack).right, -1);
}

TEST_F(RendererTest, BorderlessLogoSitsOnABackgroundBox) {
    // A red logo whose middle is fully transparent: the background-coloured
    // box shows through it, and nothing is drawn around it.
    const ui::UniqueBitmap ring = test::MakeBitmap(40, 40, [](int x, int y) {
        return (x >= 10 && x < 30 && y >= 10 && y < 30) ? 0x00000000u : kRed;
    });
    SymbolStyle style;
    style.logoBorder = LogoBorder::None;
    style.backgroundColor = 0xFE10E010;
    style.logoPath = LoadLogo(test::PngBytes(ring.get()));
    const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), 256, style);
    const int x0 = 108;
    EXPECT_EQ(pixels.at(x0 + 20, x0 + 20), 0xFE10E010u);
    EXPECT_EQ(pixels.at(x0, x0), kRed);
    EXPECT_EQ(pixels.at(x0 + 39, x0 + 39), kRed);
    const Box found = BoxOfPixelsNot(pixels, kBlack);
    EXPECT_EQ(found.left, x0);
    EXPECT_EQ(found.right, x0 + 39);
}

TEST_F(RendererTest, RectangleFrameIsFourPixelsWideInTheBackgroundColor) {
    SymbolStyle style;
    style.logoBorder = LogoBorder::Rectangle;
    style.logoPath = LoadLogo(test::SolidPng(40, 40, kRed));
    const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), 256, style);
    const int x0 = 108;
    const int middle = x0 + 20;
    // The 4-pixel pen is centred on the outline of the rectangle grown by 2:
    // x0 - 4 .. x0 - 1 on the left and top, x0 + 39 .. x0 + 42 on the right
    // and bottom, where it covers the logo's last column and row.
    for (int d = 1; d <= 4; ++d) {
        EXPECT_EQ(pixels.at(x0 - d, middle), kWhite) << d;
        EXPECT_EQ(pixels.at(middle, x0 - d), kWhite) << d;
    }
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(pixels.at(x0 + 40 + d, middle), kWhite) << d;
        EXPECT_EQ(pixels.at(middle, x0 + 40 + d), kWhite) << d;
    }
    EXPECT_NE(pixels.at(x0 + 39, middle), kRed);
    // Square corners, and nothing beyond the frame.
    EXPECT_EQ(pixels.at(x0 - 4, x0 - 4), kWhite);
    EXPECT_EQ(pixels.at(x0 + 42, x0 + 42), kWhite);
    EXPECT_EQ(pixels.at(x0 - 5, middle), kBlack);
    EXPECT_EQ(pixels.at(x0 + 43, middle), kBlack);
    EXPECT_EQ(pixels.at(middle, middle), kRed);
}

TEST_F(RendererTest, DefaultStyleFramesTheShippedLogoInWhite) {
    // The program's own logo (128 x 128) at the default side 256 and default
    // settings: 56 x 56 at (100, 100) inside a 4-pixel white frame.
    const std::wstring shipped = Utf8ToWide(KODARO_SOURCE_DIR "/resources/Resource/Logo.png");
    ReloadStyleImage(StyleSlot::Logo, shipped, 256, images_);
    SymbolStyle style;
    style.logoPath = shipped;
    const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), 256, style);
    ASSERT_EQ(pixels.width, 256);
    const Box framed = BoxOfPixelsNot(pixels, kBlack);
    EXPECT_EQ(framed.left, 96);
    EXPECT_EQ(framed.top, 96);
    EXPECT_EQ(framed.right, 158);
    EXPECT_EQ(framed.bottom, 158);
    for (int d = 1; d <= 4; ++d) {
        EXPECT_EQ(pixels.at(100 - d, 128), kWhite) << d;
        EXPECT_EQ(pixels.at(128, 100 - d), kWhite) << d;
    }
    EXPECT_EQ(pixels.at(96, 96), kWhite);
    // The logo itself is drawn inside: not all of it is the frame's white.
    int logoPixels = 0;
    for (int y = 100; y < 155; ++y) {
        for (int x = 100; x < 155; ++x) {
            logoPixels += pixels.at(x, y) != kWhite;
        }
    }
    EXPECT_GT(logoPixels, 100);
}

TEST_F(RendererTest, RoundedFrameHasRoundCorners) {
    SymbolStyle style;
    style.logoBorder = LogoBorder::Rounded;
    style.backgroundColor = 0xFE00FF00;
    style.logoPath = LoadLogo(test::SolidPng(40, 40, kRed));
    const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), 256, style);
    const int x0 = 108;
    const int middle = x0 + 20;
    // Three rings outside the logo along its edges.
    for (int d = 1; d <= 3; ++d) {
        EXPECT_EQ(pixels.at(x0 - d, middle), 0xFE00FF00u) << d;
        EXPECT_EQ(pixels.at(middle, x0 - d), 0xFE00FF00u) << d;
    }
    EXPECT_EQ(pixels.at(x0 - 4, middle), kBlack);
    // The outer ring's corner is cut round: its corner pixel keeps the module colour.
    EXPECT_EQ(pixels.at(x0 - 3, x0 - 3), kBlack);
    EXPECT_EQ(pixels.at(middle, middle), kRed);
}

TEST_F(RendererTest, ForegroundPictureKeepsTheSizeItWasLoadedAt) {
    SymbolStyle style;
    style.foregroundIsPicture = true;
    LoadPicture(StyleSlot::Foreground, test::SolidPng(30, 30, 0xFF3366CC), 256);
    const Pixels pixels = Render(bench::MatrixBitmap(AllDark(16), 2, 0), 512, style);
    ASSERT_EQ(pixels.width, 512);
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            if (x < 256 && y < 256) {
                inside += pixels.at(x, y) == 0xFF3366CC;
            } else {
                outside += pixels.at(x, y) == 0;
            }
        }
    }
    EXPECT_EQ(inside, 256 * 256);
    EXPECT_EQ(outside, 512 * 512 - 256 * 256);
}

TEST_F(RendererTest, PicturesColorTheirOwnPixelsOnly) {
    // Left half dark, right half light; a background picture for the light
    // side; the picture radio off for the foreground keeps its colour.
    std::vector<std::string> halves(10, std::string(5, '#') + std::string(5, '.'));
    SymbolStyle style;
    style.backgroundIsPicture = true;
    style.foregroundColor = 0xFE0000FF;
    LoadPicture(StyleSlot::Foreground, test::SolidPng(8, 8, 0xFF3366CC), 100);
    LoadPicture(StyleSlot::Background, test::SolidPng(8, 8, 0xFFCC6633), 100);
    const Pixels pixels = Render(bench::MatrixBitmap(halves, 10, 0), 100, style);
    EXPECT_EQ(pixels.at(10, 50), 0xFE0000FFu);
    EXPECT_EQ(pixels.at(90, 50), 0xFFCC6633u);

    // A picture radio without a loaded picture falls back to the colour.
    images_.ReleaseAll();
    const Pixels plain = Render(bench::MatrixBitmap(halves, 10, 0), 100, style);
    EXPECT_EQ(plain.at(90, 50), kWhite);
}

TEST_F(RendererTest, UnusableInputGivesNoPicture) {
    const std::vector<std::uint8_t> matrix = bench::MatrixBitmap(AllDark(4), 2, 0);
    EXPECT_TRUE(
        RenderSymbol(std::vector<std::uint8_t>{'B', 'M', 0, 0}, 256, 256, {}, images_).empty());
    EXPECT_TRUE(RenderSymbol({}, 256, 256, {}, images_).empty());
    EXPECT_TRUE(RenderSymbol(matrix, 0, 0, {}, images_).empty());
    const std::vector<std::uint8_t> bytes = RenderSymbol(matrix, 64, 64, {}, images_);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(test::DecodePixels(bytes).width, 64);
}

// The direct pass must give exactly the pixels of the per-pixel method for
// every kind of symbol, size and style.
TEST_F(RendererTest, DirectPassEqualsPerPixelReference) {
    const std::wstring logo = LoadLogo(test::SolidPng(70, 45, 0xFFA05020));
    const ui::UniqueBitmap gradient = test::MakeBitmap(
        37, 53, [](int x, int y) { return 0xFF000000u | (x * 6u << 16) | (y * 4u << 8) | 0x40u; });
    const std::vector<std::uint8_t> gradientPng = test::PngBytes(gradient.get());
    LoadPicture(StyleSlot::Foreground, gradientPng, 256);
    LoadPicture(StyleSlot::Background, test::SolidPng(9, 9, 0x80FFEEDD), 300);

    const std::vector<std::vector<std::uint8_t>> matrices = {
        bench::MatrixBitmap(bench::SymbolLikePattern(21, 1), 3, 4),
        bench::MatrixBitmap(bench::SymbolLikePattern(57, 2), 5, 4, 0x102030),
        bench::MatrixBitmap(bench::SymbolLikePattern(29, 3), 1, 1),
        bench::MatrixBitmap(bench::SymbolLikePattern(177, 4), 4, 4),
    };
    std::vector<SymbolStyle> styles(5);
    styles[1].foregroundIsPicture = true;
    styles[1].logoPath = logo;
    styles[1].logoBorder = LogoBorder::Rounded;
    styles[2].backgroundIsPicture = true;
    styles[2].foregroundColor = 0x7F123456;
    styles[2].logoPath = logo;
    styles[3].foregroundIsPicture = true;
    styles[3].backgroundIsPicture = true;
    styles[3].logoPath = logo;
    styles[3].logoBorder = LogoBorder::None;
    styles[4].backgroundColor = 0x00000000;
    int compared = 0;
    for (const std::vector<std::uint8_t>& matrix : matrices) {
        for (const int side : {128, 256, 512, 768, 301}) {
            for (SymbolStyle style : styles) {
                style.side = side;
                const ui::UniqueBitmap direct =
                    RenderSymbolBitmap(matrix, side, side, style, images_, FillModules);
                const ui::UniqueBitmap reference = RenderSymbolBitmap(
                    matrix, side, side, style, images_, bench::FillModulesPerPixel);
                ASSERT_TRUE(direct && reference);
                ASSERT_EQ(test::ReadBitmap(direct.get()).argb,
                          test::ReadBitmap(reference.get()).argb)
                    << "side " << side << ", matrix " << compared / 25;
                ASSERT_EQ(ImageToBmpBytes(direct.get()), ImageToBmpBytes(reference.get()));
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 100);
}

// Reloading pictures on one thread while another renders with them must
// never hand the renderer a disposed picture.
TEST_F(RendererTest, ReloadWhileRenderingIsSafe) {
    const std::vector<std::uint8_t> picture = test::SolidPng(64, 64, 0xFF336699);
    const std::wstring logo = LoadLogo(test::SolidPng(50, 50, kRed));
    const std::wstring foreground = LoadPicture(StyleSlot::Foreground, picture, 256);
    SymbolStyle style;
    style.foregroundIsPicture = true;
    style.logoPath = logo;
    const std::vector<std::uint8_t> matrix = bench::MatrixBitmap(AllDark(8), 4, 0);
    std::atomic<bool> done{false};
    std::thread reloader([&] {
        while (!done) {
            ReloadStyleImage(StyleSlot::Foreground, foreground, 256, images_);
            ReloadStyleImage(StyleSlot::Logo, logo, 256, images_);
        }
    });
    int complete = 0;
    for (int i = 0; i < 40; ++i) {
        const Pixels pixels = Render(matrix, 256, style);
        complete +=
            pixels.width == 256 && pixels.at(0, 0) == 0xFF336699 && pixels.at(128, 128) == kRed;
    }
    done = true;
    reloader.join();
    EXPECT_EQ(complete, 40);
}

} // namespace
} // namespace kodaro
