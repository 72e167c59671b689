#include "controls_testing.h"

#include "ui/controls/panel.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using test::TestWindow;

TEST(PanelLook, CaptionSitsOnTheOutlineWhichBreaksAroundIt) {
    TestWindow window;
    Panel panel;
    ASSERT_TRUE(panel.Create(window.hwnd(), 20, 20, 210, 60, L"二维码信息"));
    EXPECT_EQ(panel.Kind(), kKindPanel);
    EXPECT_FALSE(panel.Focusable());
    ASSERT_GT(panel.MeasuredWidth(), 0);
    ASSERT_GT(panel.MeasuredHeight(), 0);

    const RectF caption = panel.CaptionRect();
    EXPECT_EQ(caption.X, 8);
    EXPECT_EQ(caption.Y, 2);
    const RectF body = panel.BodyRect();
    EXPECT_EQ(body.X, 1);
    EXPECT_EQ(body.Width, 208);
    EXPECT_GT(body.Y, caption.Y);
    EXPECT_LT(body.Y, caption.Y + caption.Height);

    test::Pixels pixels = test::ReadBitmap(panel.Bitmap());
    // Glyphs inside the caption rectangle.
    EXPECT_GT(pixels.CountVisible(static_cast<int>(caption.X), 2, static_cast<int>(caption.Width),
                                  static_cast<int>(caption.Height)),
              10);
    // The top edge of the outline is drawn right of the caption but not
    // through its glyphs (made invisible here to see what lies under them).
    panel.TextColor(0);
    pixels = test::ReadBitmap(panel.Bitmap());
    const int top = static_cast<int>(body.Y);
    const int rightOfCaption = static_cast<int>(caption.X + caption.Width) + 10;
    EXPECT_GT(pixels.CountVisible(rightOfCaption, top, 180 - rightOfCaption, 1), 0);
    int outlineUnderCaption = 0;
    for (int x = static_cast<int>(caption.X); x < caption.X + caption.Width; ++x) {
        if (test::Alpha(pixels.at(x, top)) > 0) {
            ++outlineUnderCaption;
        }
    }
    EXPECT_EQ(outlineUnderCaption, 0);
    // Without a fill the inside stays see-through.
    EXPECT_EQ(pixels.CountVisible(20, 35, 170, 15), 0);
}

TEST(PanelLook, AlignmentFillAndNoCaption) {
    TestWindow window;
    Panel right;
    PanelOptions options;
    options.alignment = kCaptionRight;
    options.fillColor = 0xFF336699;
    ASSERT_TRUE(right.Create(window.hwnd(), 10, 10, 200, 80, L"title", options));
    EXPECT_FLOAT_EQ(right.CaptionRect().X, 200 - 8 - static_cast<float>(right.MeasuredWidth()));
    EXPECT_EQ(test::ReadBitmap(right.Bitmap()).at(100, 50), 0xFF336699u);

    right.Alignment(kCaptionCentre);
    EXPECT_FLOAT_EQ(right.CaptionRect().X, (200 - static_cast<float>(right.MeasuredWidth())) / 2);

    Panel bar;
    ASSERT_TRUE(bar.Create(window.hwnd(), 10, 100, 208, 28, L""));
    EXPECT_EQ(bar.BodyRect().Y, 0);
    EXPECT_EQ(bar.MeasuredWidth(), 0);

    // Resizing measures the caption again for the new width.
    right.Caption(L"a much longer title than before");
    int wide = right.MeasuredWidth();
    right.Width(80);
    EXPECT_LT(right.MeasuredWidth(), wide);
}

} // namespace
} // namespace kodaro::ui
