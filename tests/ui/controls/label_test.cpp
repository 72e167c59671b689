#include "controls_testing.h"
#include "ui/controls/label.h"
#include "ui/draw/defaults.h"
#include "ui/draw/shapes.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace kodaro::ui {
namespace {

using test::Alpha;
using test::Blue;
using test::Pixels;
using test::ReadBitmap;
using test::Red;
using test::TestWindow;

// A solid square painted under a label.
class Swatch : public Control {
public:
    bool Create(HostWindow& host, const RectF& rect, Argb color) {
        color_ = color;
        return CreateBase(host, rect, kKindNone, true, false);
    }

protected:
    void Paint(Gdiplus::GpGraphics* graphics, int, int) override {
        gdip::GdipGraphicsClear(graphics, color_);
    }

private:
    Argb color_ = 0;
};

// Opaque-enough pixels of a label's surface, split by brightness.
struct Ink {
    int dark = 0;
    int light = 0;
};
Ink InkOf(const Pixels& p) {
    Ink ink;
    for (std::uint32_t c : p.argb) {
        if (Alpha(c) > 100) {
            (Red(c) > 128 ? ink.light : ink.dark)++;
        }
    }
    return ink;
}

class LabelTest : public testing::Test {
protected:
    TestWindow window{320, 200};
};

TEST_F(LabelTest, AutoContrastTurnsWhiteOnlyWhenMoreThanFourOfNineSamplesAreDark) {
    // The label covers (20, 20, 200, 100): samples at x 60, 120, 180 and y 40, 70, 100.
    const float xs[3] = {60, 120, 180};
    const float ys[3] = {40, 70, 100};
    for (int darkCount : {4, 5}) {
        SCOPED_TRACE(darkCount);
        TestWindow w{320, 200};
        std::vector<std::unique_ptr<Swatch>> swatches;
        for (int i = 0; i < darkCount; ++i) {
            swatches.push_back(std::make_unique<Swatch>());
            ASSERT_TRUE(swatches.back()->Create(
                w.host(), MakeRectF(xs[i % 3] - 3, ys[i / 3] - 3, 6, 6), 0xFF000000));
        }
        Label label;
        LabelOptions options;
        options.autoContrast = true;
        options.textColor = 0xC8808080;
        ASSERT_TRUE(label.Create(w.host(), 20, 20, 200, 100, L"A", options));
        w.Pump();
        label.Send(EXM_BACKGROUNDCHANGED);
        w.Pump();
        EXPECT_EQ(label.BackgroundIsDark(), darkCount > 4);
        const Ink ink = InkOf(ReadBitmap(label.Bitmap()));
        EXPECT_GT(ink.dark + ink.light, 5);
        EXPECT_EQ(darkCount > 4 ? ink.dark : ink.light, 0);
        // The alpha of the stored colour is kept.
        const Pixels p = ReadBitmap(label.Bitmap());
        int strongest = 0;
        for (std::uint32_t c : p.argb) {
            strongest = std::max(strongest, Alpha(c));
        }
        EXPECT_LE(strongest, 0xC8);
        EXPECT_EQ(label.TextColor(), 0xC8808080u);
    }
}

TEST_F(LabelTest, GradientColorZeroIsTransparentAndModeMinusOneDrawsNothing) {
    Label label;
    LabelOptions options;
    options.gradientMode = Gdiplus::LinearGradientModeHorizontal;
    options.gradientColor1 = 0;
    options.gradientColor2 = 0xFF0000FF;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 100, 30, L"", options));
    Pixels p = ReadBitmap(label.Bitmap());
    EXPECT_LT(Alpha(p.at(0, 15)), 12);
    EXPECT_GT(Alpha(p.at(97, 15)), 235);
    EXPECT_GT(Blue(p.at(97, 15)), 235);

    label.GradientColor2(0);
    EXPECT_EQ(ReadBitmap(label.Bitmap()).CountVisible(0, 0, 100, 30), 0);

    label.GradientColor2(0xFF0000FF);
    label.GradientMode(kNoGradient);
    EXPECT_EQ(ReadBitmap(label.Bitmap()).CountVisible(0, 0, 100, 30), 0);
}

TEST_F(LabelTest, EmptyTextDrawsOnlyBorderAndBackground) {
    Label label;
    LabelOptions options;
    options.borderStyle = kBorderFlat;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 60, 20, L"", options));
    Pixels p = ReadBitmap(label.Bitmap());
    EXPECT_EQ(p.CountVisible(0, 0, 60, 20), 2 * 60 + 2 * 18);
    EXPECT_EQ(p.CountVisible(1, 1, 58, 18), 0);

    label.Text(L"QR");
    p = ReadBitmap(label.Bitmap());
    EXPECT_GT(p.CountVisible(1, 1, 58, 18), 5);
    // The border stays on top of a background.
    label.GradientMode(Gdiplus::LinearGradientModeVertical);
    label.GradientColor1(0xFFFFFFFF);
    label.GradientColor2(0xFFFFFFFF);
    p = ReadBitmap(label.Bitmap());
    EXPECT_EQ(p.at(0, 10) & 0xFFFFFF, 0x646464u);
    EXPECT_EQ(p.at(59, 10) & 0xFFFFFF, 0x646464u);
}

TEST_F(LabelTest, SharedDefaultFontIsNeverDeleted) {
    Gdiplus::GpFont* shared = DefaultFont();
    ASSERT_NE(shared, nullptr);
    const std::wstring face = FontFaceOf(shared);
    {
        Label label;
        ASSERT_TRUE(label.Create(window.host(), 10, 10, 100, 30, L"QR"));
        EXPECT_TRUE(label.UsesDefaultFont());
        EXPECT_EQ(label.Font(), shared);
        label.FontSize(20);
        EXPECT_NE(label.Font(), shared);
        EXPECT_EQ(label.FontSize(), 20);
        EXPECT_EQ(label.FontName(), face);
        label.Font(shared);
        EXPECT_TRUE(label.UsesDefaultFont());
        label.FontName(L"宋体");
        EXPECT_FALSE(label.UsesDefaultFont());
        label.Font(shared);
        label.Font(CreateUiFont(L"宋体", 14).release());
        EXPECT_EQ(label.FontSize(), 14);
    }
    {
        Label label;
        ASSERT_TRUE(label.Create(window.host(), 10, 10, 100, 30, L"QR"));
        label.Destroy();
    }
    // Fonts made and freed after the labels would reuse a freed shared font's memory.
    for (int i = 0; i < 50; ++i) {
        UniqueFont churn = CreateUiFont(L"宋体", 30.0f + static_cast<float>(i), 1);
    }
    ASSERT_EQ(DefaultFont(), shared);
    EXPECT_EQ(FontFaceOf(shared), face);
    EXPECT_EQ(FontSizeOf(shared), kDefaultFontSize);
    EXPECT_EQ(FontStyleOf(shared), 0);
    Label after;
    ASSERT_TRUE(after.Create(window.host(), 10, 10, 100, 30, L"QR"));
    EXPECT_GT(ReadBitmap(after.Bitmap()).CountVisible(0, 0, 100, 30), 10);
}

TEST_F(LabelTest, FontOptionsMakeTheLabelsOwnFont) {
    Label label;
    LabelOptions options;
    options.fontSize = 18;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 150, 40, L"QR", options));
    EXPECT_FALSE(label.UsesDefaultFont());
    EXPECT_EQ(label.FontSize(), 18);
    EXPECT_EQ(label.FontName(), FontFaceOf(DefaultFont()));
    EXPECT_EQ(label.FontStyle(), 0);
    label.FontStyle(Gdiplus::FontStyleBold);
    EXPECT_EQ(label.FontStyle(), Gdiplus::FontStyleBold);
    EXPECT_EQ(label.FontSize(), 18);

    Label missing;
    options.fontName = L"Kodaro No Such Face";
    options.fontSize = std::nullopt;
    ASSERT_TRUE(missing.Create(window.host(), 10, 60, 150, 40, L"QR", options));
    EXPECT_EQ(missing.FontSize(), 12);
    EXPECT_EQ(missing.FontName(), FontFaceOf(DefaultFont()));
}

TEST_F(LabelTest, FormatPropertiesReadWithoutChanging) {
    Label label;
    LabelOptions options;
    options.alignment = Gdiplus::StringAlignmentCenter;
    options.trimming = Gdiplus::StringTrimmingEllipsisWord;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 100, 30, L"QR", options));
    EXPECT_EQ(label.FormatFlags(), kLabelSingleLineFlags);
    EXPECT_EQ(label.Trimming(), Gdiplus::StringTrimmingEllipsisWord);
    EXPECT_EQ(label.Trimming(), Gdiplus::StringTrimmingEllipsisWord);
    EXPECT_EQ(label.FormatFlags(), kLabelSingleLineFlags);
    EXPECT_EQ(label.Alignment(), Gdiplus::StringAlignmentCenter);
    EXPECT_EQ(label.VerticalAlign(), kLabelMiddle);

    label.WordWrap(true);
    EXPECT_EQ(label.FormatFlags(), 27648);
    label.WordWrap(false);
    EXPECT_EQ(label.FormatFlags(), 4096);
    label.Trimming(Gdiplus::StringTrimmingNone);
    EXPECT_EQ(label.Trimming(), Gdiplus::StringTrimmingNone);

    Label wrapping;
    options.wordWrap = true;
    ASSERT_TRUE(wrapping.Create(window.host(), 10, 50, 100, 30, L"QR", options));
    EXPECT_EQ(wrapping.FormatFlags(), 27648);
    EXPECT_EQ(wrapping.Alignment(), Gdiplus::StringAlignmentCenter);
}

TEST_F(LabelTest, MeasuringFollowsTextAndWrapping) {
    Label label;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 60, 30, L"QR"));
    const int shortWidth = label.MeasuredWidth();
    EXPECT_GT(shortWidth, 8);
    EXPECT_GT(label.MeasuredHeight(), 10);
    label.Text(L"QR 二维码");
    EXPECT_GT(label.MeasuredWidth(), shortWidth + 20);
    // One line within the label's width, unbounded when wrapping.
    label.Text(L"二维码二维码二维码二维码二维码");
    EXPECT_LE(label.MeasuredWidth(), 61);
    label.WordWrap(true);
    EXPECT_GT(label.MeasuredWidth(), 120);
    label.Text(L"");
    EXPECT_EQ(label.Text(), L"");
}

TEST_F(LabelTest, EverySingleLineFontSizeMeasuresAndShowsItsLine) {
    Label label;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 280, 60, L"QR 二维码"));
    for (int size = 8; size <= 40; ++size) {
        SCOPED_TRACE(size);
        label.FontSize(size);
        EXPECT_GE(label.MeasuredHeight(), size);
        EXPECT_LE(label.MeasuredHeight(), 2 * size);
        // Middle alignment puts the line's box inside the label.
        const Pixels p = ReadBitmap(label.Bitmap());
        const int top = 2 + (56 - label.MeasuredHeight()) / 2;
        EXPECT_GT(p.CountVisible(2, top, 276, label.MeasuredHeight()), size);
        EXPECT_EQ(p.CountVisible(0, 0, 280, std::max(0, top - 1)), 0);
    }
}

TEST_F(LabelTest, BottomAlignedTallTextIsClippedInsideTheMargin) {
    Label label;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 80, 12, L"QRgj"));
    label.VerticalAlign(kLabelBottom);
    const Pixels p = ReadBitmap(label.Bitmap());
    EXPECT_GT(p.CountVisible(2, 2, 76, 8), 3);
    EXPECT_EQ(p.CountVisible(0, 0, 80, 2), 0);
    EXPECT_EQ(p.CountVisible(0, 10, 80, 2), 0);
    EXPECT_EQ(p.CountVisible(0, 0, 2, 12), 0);
}

TEST_F(LabelTest, FocusedLabelWithTextShowsADashedFrame) {
    Label label;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 100, 30, L"QR"));
    Pixels p = ReadBitmap(label.Bitmap());
    EXPECT_EQ(p.CountVisible(0, 0, 100, 1), 0);
    label.Focusable(true);
    ASSERT_TRUE(window.host().SetFocusControl(&label, false));
    p = ReadBitmap(label.Bitmap());
    // The dashed frame: part of the top row, with gaps.
    const int top = p.CountVisible(0, 0, 100, 1);
    EXPECT_GT(top, 30);
    EXPECT_LT(top, 100);
    EXPECT_EQ(Alpha(p.at(1, 0)), 120);

    // Without text there is no frame.
    label.Text(L"");
    EXPECT_EQ(ReadBitmap(label.Bitmap()).CountVisible(0, 0, 100, 30), 0);
    label.Text(L"QR");
    Label other;
    ASSERT_TRUE(other.Create(window.host(), 10, 50, 100, 30, L"other"));
    other.Focusable(true);
    ASSERT_TRUE(window.host().SetFocusControl(&other, false));
    EXPECT_EQ(ReadBitmap(label.Bitmap()).CountVisible(0, 0, 100, 1), 0);
}

TEST_F(LabelTest, WrappingLabelBreaksLongTextIntoLines) {
    Label label;
    LabelOptions options;
    options.wordWrap = true;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 80, 60, L"二维码二维码二维码二维码二维码二维码",
                             options));
    const Pixels wrapped = ReadBitmap(label.Bitmap());
    EXPECT_GT(wrapped.CountVisible(2, 2, 76, 14), 10);  // first line
    EXPECT_GT(wrapped.CountVisible(2, 18, 76, 14), 10); // second line
    label.WordWrap(false);
    const Pixels single = ReadBitmap(label.Bitmap());
    // One middle line: nothing in the top rows any more.
    EXPECT_EQ(single.CountVisible(0, 0, 80, 18), 0);
    EXPECT_GT(single.CountVisible(2, 20, 76, 20), 10);
}

TEST_F(LabelTest, DestroyedLabelKeepsQuiet) {
    Label label;
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 80, 20, L"QR"));
    label.Destroy();
    EXPECT_EQ(label.Text(), L"");
    EXPECT_EQ(label.Font(), nullptr);
    label.Text(L"after");
    label.FontSize(20);
    label.TextColor(0xFFFF0000);
    label.Measure();
    EXPECT_EQ(label.Bitmap(), nullptr);
    // Created again, it works as new.
    ASSERT_TRUE(label.Create(window.host(), 10, 10, 80, 20, L"QR"));
    EXPECT_GT(ReadBitmap(label.Bitmap()).CountVisible(0, 0, 80, 20), 5);
    EXPECT_EQ(label.Kind(), kKindLabel);
    EXPECT_FALSE(label.Focusable());
}

} // namespace
} // namespace kodaro::ui
