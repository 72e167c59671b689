#include "controls_testing.h"

#include "ui/controls/tab_button.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using test::TestWindow;

constexpr std::uint32_t kRed = 0xFFFF0000;

// Bounding box of the red pixels of a control's surface.
struct Box {
    int left = 1 << 20;
    int top = 1 << 20;
    int right = -1;
    int bottom = -1;
    int count = 0;
};

Box RedBox(const Control& control) {
    test::Pixels pixels = test::ReadBitmap(control.Bitmap());
    Box box;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            std::uint32_t c = pixels.at(x, y);
            if (test::Alpha(c) > 200 && test::Red(c) > 200 && test::Green(c) < 60) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
        }
    }
    return box;
}

TEST(TabButtonLook, SelectedTabIsLitInTheNormalAndFocusedStates) {
    TestWindow window;
    TabButton tab;
    ASSERT_TRUE(tab.Create(window.hwnd(), 20, 35, 75, 70, L""));
    EXPECT_EQ(tab.Kind(), kKindTabButton);
    test::Pixels plain = test::ReadBitmap(tab.Bitmap());
    // An unselected tab at rest is see-through.
    EXPECT_EQ(plain.CountVisible(0, 0, 75, 70), 0);

    tab.Selected(true);
    test::Pixels lit = test::ReadBitmap(tab.Bitmap());
    EXPECT_GT(test::Alpha(lit.at(37, 10)), test::Alpha(lit.at(37, 60)));
    EXPECT_GT(lit.CountVisible(0, 0, 75, 70), 75 * 70 / 2);

    tab.PaintState(kButtonFocused, 255);
    EXPECT_EQ(test::ReadBitmap(tab.Bitmap()), lit);
    tab.PaintState(kButtonNormal, 255);
    EXPECT_EQ(test::ReadBitmap(tab.Bitmap()), lit);

    tab.Selected(false);
    EXPECT_EQ(test::ReadBitmap(tab.Bitmap()), plain);
    // The mouse over an unselected tab lights it too.
    window.MouseMove(50, 60);
    EXPECT_EQ(tab.VisualState(), kButtonHot);
    EXPECT_EQ(test::ReadBitmap(tab.Bitmap()), lit);
}

TEST(TabButtonLook, NeverShowsTheFocusedState) {
    TestWindow window;
    TabButton tab;
    ASSERT_TRUE(tab.Create(window.hwnd(), 20, 35, 75, 70, L"tab"));
    EXPECT_TRUE(window.host().SetFocusControl(&tab, true));
    EXPECT_EQ(window.host().FocusControl(), &tab);
    EXPECT_EQ(tab.VisualState(), kButtonNormal);
}

TEST(TabButtonImage, ImageAboveTheCaptionIsCentredAndMovesWhenPressed) {
    TestWindow window;
    window.host().DragToMove(false);
    TabButton tab;
    ASSERT_TRUE(tab.Create(window.hwnd(), 20, 35, 75, 70, L"生成二维码"));
    tab.SetImage(test::SolidPng(40, 40, kRed), kImageTop);
    Box box = RedBox(tab);
    ASSERT_EQ(box.count, 40 * 40);
    // Centred in the 69-pixel-wide inset: 14.5 pixels each side, rounded.
    EXPECT_NEAR(box.left, 3 + 14.5, 1.0);
    EXPECT_EQ(box.right - box.left, 39);
    // Image and caption together are centred vertically: the image top lies
    // as far below the inset's top as the caption bottom above its bottom.
    const int captionHeight = tab.MeasuredHeight();
    EXPECT_GT(captionHeight, 0);
    EXPECT_NEAR(box.top - 3, 67 - (box.bottom + 1 + captionHeight), 1.0);

    window.MouseMove(50, 60);
    window.LeftDown(50, 60);
    ASSERT_EQ(tab.VisualState(), kButtonPressed);
    Box pressed = RedBox(tab);
    EXPECT_EQ(pressed.left, box.left + 1);
    EXPECT_EQ(pressed.top, box.top + 1);
    window.LeftUp(50, 60);
}

TEST(TabButtonImage, IconFillsASmallSquareTabWhole) {
    TestWindow window;
    TabButton icon;
    ASSERT_TRUE(icon.Create(window.hwnd(), 10, 10, 24, 24, L""));
    icon.SetImage(test::SolidPng(24, 24, kRed), kImageTop);
    Box box = RedBox(icon);
    EXPECT_EQ(box.count, 24 * 24);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
}

TEST(TabButtonImage, ImageLeftPushesTheCaptionRight) {
    TestWindow window;
    TabButton tab;
    ASSERT_TRUE(tab.Create(window.hwnd(), 10, 10, 120, 30, L"caption"));
    tab.SetImage(test::SolidPng(16, 16, kRed));
    EXPECT_EQ(tab.ImagePosition(), kImageLeft);
    EXPECT_EQ(tab.ImageDrawMode(), kImageCentred);
    Box box = RedBox(tab);
    EXPECT_EQ(box.count, 16 * 16);
    // Image rectangle (4, 4, 20, 22); the 16 x 16 image centred in it.
    EXPECT_EQ(box.left, 6);
    EXPECT_EQ(box.top, 7);
    // No caption pixel lies left of the image rectangle's end.
    test::Pixels pixels = test::ReadBitmap(tab.Bitmap());
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 25; ++x) {
            std::uint32_t c = pixels.at(x, y);
            bool red = test::Red(c) > 200 && test::Green(c) < 60;
            EXPECT_TRUE(test::Alpha(c) == 0 || red) << x << "," << y;
        }
    }
    EXPECT_GT(pixels.CountVisible(25, 0, 95, 30), 0);
}

TEST(TabButtonImage, UndecodableImageDrawsNothingAndKeepsTheCaption) {
    TestWindow window;
    TabButton with;
    TabButton without;
    ASSERT_TRUE(with.Create(window.hwnd(), 10, 10, 75, 70, L"caption"));
    ASSERT_TRUE(without.Create(window.hwnd(), 100, 10, 75, 70, L"caption"));
    const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    with.SetImage(junk, kImageTop);
    EXPECT_EQ(with.Image().size(), sizeof(junk));
    EXPECT_EQ(test::ReadBitmap(with.Bitmap()), test::ReadBitmap(without.Bitmap()));
}

} // namespace
} // namespace kodaro::ui
