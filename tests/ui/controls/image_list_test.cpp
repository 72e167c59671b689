#include "controls_testing.h"

#include "ui/controls/image_list.h"
#include "ui/draw/image.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

int BitsPerPixel(const ImageList& list) {
    IMAGEINFO info{};
    BITMAP bitmap{};
    if (!ImageList_GetImageInfo(list.Handle(), 0, &info) ||
        GetObjectW(info.hbmImage, sizeof bitmap, &bitmap) != sizeof bitmap) {
        return 0;
    }
    return bitmap.bmBitsPixel;
}

TEST(ImageListBasics, DefaultsToThirtyTwoBitsOnWhiteAndEmptiesSafely) {
    ImageList list;
    EXPECT_FALSE(list.RemoveAll()); // no list yet
    EXPECT_EQ(list.AddPicture(test::SolidPng(24, 24, 0xFF102030)), -1);
    ASSERT_TRUE(list.Create(24, 24));
    EXPECT_EQ(ImageList_GetBkColor(list.Handle()), 0xFFFFFFu);
    EXPECT_EQ(list.IconWidth(), 24);
    EXPECT_EQ(list.IconHeight(), 24);
    EXPECT_TRUE(list.RemoveAll()); // an empty list empties fine
    EXPECT_EQ(list.AddPicture(test::SolidPng(24, 24, 0xFF102030)), 0);
    EXPECT_EQ(BitsPerPixel(list), 32);
    EXPECT_EQ(list.AddPicture(std::vector<std::uint8_t>{1, 2, 3}), -1);
    EXPECT_EQ(list.AddPicture({}), -1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.RemoveAll());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Picture(0), nullptr);
}

TEST(ImageListPictures, PngKeepsItsAlphaAndBmpComesThroughTheOleLoader) {
    ImageList list;
    ASSERT_TRUE(list.Create(8, 8));
    // Left half opaque red, right half half-transparent blue.
    UniqueBitmap source =
        test::MakeBitmap(8, 8, [](int x, int) -> Argb { return x < 4 ? 0xFFFF0000 : 0x800000FF; });
    ASSERT_EQ(list.AddPicture(test::PngBytes(source.get())), 0);
    UniqueBitmap green = test::MakeBitmap(8, 8, [](int, int) -> Argb { return 0xFF00C000; });
    const std::vector<std::uint8_t> bmp = EncodeImage(green.get(), kBmpEncoder);
    ASSERT_FALSE(bmp.empty());
    ASSERT_EQ(list.AddPicture(bmp), 1);

    const test::Pixels png = test::ReadBitmap(list.Picture(0).get());
    ASSERT_EQ(png.width, 8);
    EXPECT_EQ(png.at(1, 1), 0xFFFF0000u);
    EXPECT_NEAR(test::Alpha(png.at(6, 6)), 0x80, 2);
    EXPECT_NEAR(test::Blue(png.at(6, 6)), 0xFF, 3);
    const test::Pixels ole = test::ReadBitmap(list.Picture(1).get());
    ASSERT_EQ(ole.width, 8);
    // A picture without alpha comes back opaque.
    EXPECT_EQ(ole.at(3, 3), 0xFF00C000u);

    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(test::ReadBitmap(list.Picture(0).get()).at(0, 0), 0xFF00C000u);
}

} // namespace
} // namespace kodaro::ui
