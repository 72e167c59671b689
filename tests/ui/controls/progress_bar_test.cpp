#include "controls_testing.h"

#include "ui/controls/progress_bar.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using test::TestWindow;

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kBlue = 0xFF0000FF;

ProgressBarOptions Plain(bool vertical = false) {
    ProgressBarOptions options;
    options.vertical = vertical;
    options.startColor = kRed;
    options.endColor = kBlue;
    options.rounded = false;
    options.backgroundColor = 0;
    return options;
}

TEST(ProgressBar, FillLengthFollowsTheRangeAndStaysInsideTheBar) {
    TestWindow window;
    ProgressBar bar;
    ProgressBarOptions options = Plain();
    options.minimum = 10;
    options.maximum = 20;
    options.position = 15;
    // The bar is the control less 2 pixels all round: 200 pixels long.
    ASSERT_TRUE(bar.Create(window.hwnd(), 10, 10, 204, 24, options));
    EXPECT_EQ(bar.Kind(), kKindProgressBar);
    EXPECT_FALSE(bar.Focusable());
    EXPECT_EQ(bar.FillLength(), 100);
    const std::pair<int, int> cases[] = {{10, 0}, {13, 60}, {20, 200}, {5, 0}, {99, 200}};
    for (auto [position, length] : cases) {
        bar.Position(position);
        EXPECT_EQ(bar.FillLength(), length) << position;
    }
    // 1/3 of 200 rounds to 67.
    ProgressBar third;
    options.minimum = 0;
    options.maximum = 3;
    options.position = 1;
    ASSERT_TRUE(third.Create(window.hwnd(), 10, 40, 204, 24, options));
    EXPECT_EQ(third.FillLength(), 67);
    // An empty range shows nothing instead of dividing by zero.
    options.maximum = 0;
    ProgressBar empty;
    ASSERT_TRUE(empty.Create(window.hwnd(), 10, 70, 204, 24, options));
    EXPECT_EQ(empty.FillLength(), 0);
}

TEST(ProgressBar, HorizontalFillRunsFromStartToEndColorLeftToRight) {
    TestWindow window;
    ProgressBar bar;
    ProgressBarOptions options = Plain();
    options.position = 50;
    ASSERT_TRUE(bar.Create(window.hwnd(), 10, 10, 204, 24, options));
    test::Pixels pixels = test::ReadBitmap(bar.Bitmap());
    const std::uint32_t left = pixels.at(5, 8);
    const std::uint32_t right = pixels.at(98, 8);
    EXPECT_GT(test::Red(left), test::Blue(left));
    EXPECT_GT(test::Blue(right), test::Red(right));
    // Beyond the fill, with no track, only the outline is drawn.
    EXPECT_EQ(pixels.CountVisible(110, 4, 80, 16), 0);

    bar.BackgroundColor(0xFFFFFFFF);
    bar.Colors(kBlue, std::nullopt);
    pixels = test::ReadBitmap(bar.Bitmap());
    EXPECT_GT(test::Blue(pixels.at(5, 8)), test::Red(pixels.at(5, 8)));
    EXPECT_GT(test::Green(pixels.at(150, 8)), 150);
}

TEST(ProgressBar, VerticalFillGrowsFromTheBottomWithTheStartColorThere) {
    TestWindow window;
    ProgressBar bar;
    ProgressBarOptions options = Plain(true);
    options.position = 50;
    ASSERT_TRUE(bar.Create(window.hwnd(), 10, 10, 24, 204, options));
    EXPECT_EQ(bar.FillLength(), 100);
    const test::Pixels pixels = test::ReadBitmap(bar.Bitmap());
    EXPECT_EQ(pixels.CountVisible(4, 4, 16, 90), 0);
    const std::uint32_t bottom = pixels.at(12, 198);
    const std::uint32_t top = pixels.at(12, 105);
    EXPECT_GT(test::Red(bottom), test::Blue(bottom));
    EXPECT_GT(test::Blue(top), test::Red(top));
}

TEST(ProgressBar, RoundedBarsLeaveTheirCornersClear) {
    TestWindow window;
    ProgressBarOptions options = Plain();
    options.position = 100;
    options.backgroundColor = 0xFFFFFFFF;
    ProgressBar square;
    ASSERT_TRUE(square.Create(window.hwnd(), 10, 10, 204, 24, options));
    options.rounded = true;
    ProgressBar rounded;
    ASSERT_TRUE(rounded.Create(window.hwnd(), 10, 40, 204, 24, options));
    EXPECT_GT(test::Alpha(test::ReadBitmap(square.Bitmap()).at(2, 2)), 0);
    EXPECT_EQ(test::Alpha(test::ReadBitmap(rounded.Bitmap()).at(2, 2)), 0);
    EXPECT_GT(test::Alpha(test::ReadBitmap(rounded.Bitmap()).at(100, 12)), 0);
    // By default the bar follows the window's frame look.
    options.rounded.reset();
    window.host().FrameLook(WindowLook::Square);
    ProgressBar following;
    ASSERT_TRUE(following.Create(window.hwnd(), 10, 70, 204, 24, options));
    EXPECT_FALSE(following.Rounded());
}

} // namespace
} // namespace kodaro::ui
