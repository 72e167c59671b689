#include "controls_testing.h"

#include "ui/controls/push_button.h"
#include "ui/controls/tab_button.h"
#include "ui/draw/color.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using test::TestWindow;

TEST(ButtonAccessKey, TakesTheCharacterAfterTheFirstSingleAmpersand) {
    EXPECT_EQ(ButtonBase::AccessKeyOf(L"保存[&S]"), L'S');
    EXPECT_EQ(ButtonBase::AccessKeyOf(L"&Open &Close"), L'O');
    EXPECT_EQ(ButtonBase::AccessKeyOf(L"Save"), 0);
    EXPECT_EQ(ButtonBase::AccessKeyOf(L"Save&"), 0);
    // "&&" is a literal ampersand, not an access key.
    EXPECT_EQ(ButtonBase::AccessKeyOf(L"Fish && Chips"), 0);
    EXPECT_EQ(ButtonBase::AccessKeyOf(L"A&&B &Go"), L'G');
}

TEST(ButtonAccessKey, AltKeyClicksTheButtonThatCarriesIt) {
    TestWindow window;
    PushButton save;
    PushButton decode;
    ASSERT_TRUE(save.Create(window.hwnd(), 20, 20, 80, 26, L"保存[&S]"));
    // A lower-case mark answers its letter key, whose key code is upper case.
    ASSERT_TRUE(decode.Create(window.hwnd(), 120, 20, 80, 26, L"解码[&e]"));

    window.AltKey(L'S');
    ASSERT_EQ(window.clicks.size(), 1u);
    EXPECT_EQ(window.clicks[0].control, &save);
    EXPECT_EQ(window.clicks[0].wParam, static_cast<WPARAM>(L'S'));
    EXPECT_EQ(window.clicks[0].kind, kKindPushButton);

    window.AltKey(L'E');
    ASSERT_EQ(window.clicks.size(), 2u);
    EXPECT_EQ(window.clicks[1].control, &decode);

    // A hidden button keeps its key but is not clicked by it.
    decode.Visible(false);
    window.AltKey(L'E');
    EXPECT_EQ(window.clicks.size(), 2u);
}

TEST(ButtonAccessKey, CaptionWithoutAmpersandRegistersNoKey) {
    TestWindow window;
    PushButton plain;
    ASSERT_TRUE(plain.Create(window.hwnd(), 20, 20, 80, 26, L"Save"));
    window.AltKey(L'S');
    window.AltKey(L'A');
    EXPECT_TRUE(window.clicks.empty());
}

TEST(ButtonStates, FollowTheMouseAndTheFocus) {
    TestWindow window;
    window.host().DragToMove(false);
    PushButton button;
    ASSERT_TRUE(button.Create(window.hwnd(), 20, 20, 80, 26, L"OK"));
    EXPECT_EQ(button.VisualState(), kButtonNormal);
    window.MouseMove(50, 30);
    EXPECT_EQ(button.VisualState(), kButtonHot);
    window.LeftDown(50, 30);
    EXPECT_EQ(button.VisualState(), kButtonPressed);
    EXPECT_EQ(window.host().FocusControl(), &button);
    window.LeftUp(50, 30);
    EXPECT_EQ(button.VisualState(), kButtonHot);
    ASSERT_EQ(window.clicks.size(), 1u);
    EXPECT_EQ(window.clicks[0].control, &button);
    SendMessageW(window.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button.VisualState(), kButtonNormal);
}

TEST(ButtonStates, NewLookFadesInOverFiveTimerSteps) {
    AttachOptions fading = TestWindow::PlainFrame();
    fading.controlFades = true;
    TestWindow window(320, 240, fading);
    PushButton button;
    ASSERT_TRUE(button.Create(window.hwnd(), 20, 20, 80, 26, L"OK"));
    EXPECT_EQ(button.FadeInterval(), 60u);
    test::Pixels normal = test::ReadBitmap(button.Bitmap());
    window.MouseMove(50, 30);
    EXPECT_EQ(button.VisualState(), kButtonHot);
    EXPECT_TRUE(button.CrossFading());
    EXPECT_EQ(button.FadeLevel(), 51);
    // The old look is kept to fade out under the new one.
    EXPECT_EQ(test::ReadBitmap(button.PreviousBitmap()), normal);
    for (int step = 0; step < 4; ++step) {
        DispatchControlMessage(&button, WM_TIMER, button.TimerId(), 0);
    }
    EXPECT_EQ(button.FadeLevel(), 255);
    EXPECT_FALSE(button.CrossFading());

    // Focus fades in from 204, so one step finishes it.
    ASSERT_TRUE(window.host().SetFocusControl(&button, true));
    EXPECT_EQ(button.VisualState(), kButtonFocused);
    EXPECT_EQ(button.FadeLevel(), 204);
    DispatchControlMessage(&button, WM_TIMER, button.TimerId(), 0);
    EXPECT_EQ(button.FadeLevel(), 255);
    EXPECT_FALSE(button.CrossFading());
}

TEST(ButtonStates, NoPressedLookWhenNotFocusable) {
    TestWindow window;
    window.host().DragToMove(false);
    PushButton pressable;
    PushButton unfocusable;
    ASSERT_TRUE(pressable.Create(window.hwnd(), 20, 20, 80, 26, L"OK"));
    ASSERT_TRUE(unfocusable.Create(window.hwnd(), 120, 20, 80, 26, L"OK"));
    unfocusable.Focusable(false);

    window.MouseMove(50, 30);
    test::Pixels hot = test::ReadBitmap(pressable.Bitmap());
    window.LeftDown(50, 30);
    EXPECT_EQ(pressable.VisualState(), kButtonPressed);
    EXPECT_NE(test::ReadBitmap(pressable.Bitmap()), hot);
    window.LeftUp(50, 30);

    window.MouseMove(150, 30);
    test::Pixels hotUnfocusable = test::ReadBitmap(unfocusable.Bitmap());
    window.LeftDown(150, 30);
    EXPECT_EQ(unfocusable.VisualState(), kButtonHot);
    EXPECT_EQ(test::ReadBitmap(unfocusable.Bitmap()), hotUnfocusable);
    EXPECT_NE(window.host().FocusControl(), &unfocusable);
    window.LeftUp(150, 30);
}

TEST(ButtonStates, DisabledButtonUsesTheDisabledLook) {
    TestWindow window;
    PushButton button;
    ASSERT_TRUE(button.Create(window.hwnd(), 20, 20, 80, 26, L""));
    test::Pixels enabled = test::ReadBitmap(button.Bitmap());
    button.Disabled(true);
    test::Pixels disabled = test::ReadBitmap(button.Bitmap());
    EXPECT_NE(disabled, enabled);
    // The disabled set is far fainter: its fill has alpha 51 instead of 204.
    EXPECT_LT(test::Alpha(disabled.at(40, 4)), test::Alpha(enabled.at(40, 4)));
    button.Disabled(false);
    EXPECT_EQ(test::ReadBitmap(button.Bitmap()), enabled);
}

TEST(ButtonFont, ReplacingTheSharedDefaultFontNeverDeletesIt) {
    TestWindow window;
    PushButton button;
    ASSERT_TRUE(button.Create(window.hwnd(), 20, 20, 80, 26, L"Size"));
    ASSERT_EQ(button.Font(), DefaultFont());
    int widthAt12 = button.MeasuredWidth();
    button.FontSize(24);
    EXPECT_NE(button.Font(), DefaultFont());
    EXPECT_EQ(button.FontSize(), 24);
    EXPECT_GT(button.MeasuredWidth(), widthAt12);
    // The default font still works: measuring with it succeeds.
    button.Font(DefaultFont());
    EXPECT_EQ(button.MeasuredWidth(), widthAt12);
    button.Destroy();
    float size = 0;
    EXPECT_EQ(gdip::GdipGetFontSize(DefaultFont(), &size), Gdiplus::Ok);
    EXPECT_FLOAT_EQ(size, 12.0f);
}

TEST(ButtonLifecycle, CreatingAgainKeepsTheNewCaption) {
    TestWindow window;
    PushButton button;
    ASSERT_TRUE(button.Create(window.hwnd(), 20, 20, 80, 26, L"first"));
    int firstWidth = button.MeasuredWidth();
    ASSERT_TRUE(button.Create(window.hwnd(), 20, 20, 80, 26, L"second, longer"));
    EXPECT_EQ(button.Text(), L"second, longer");
    EXPECT_GT(button.MeasuredWidth(), firstWidth);
    EXPECT_EQ(window.host().FirstControl(), &button);
    EXPECT_EQ(button.NextSibling(), nullptr);
    button.Destroy();
    EXPECT_TRUE(button.Text().empty());
    EXPECT_EQ(window.host().FirstControl(), nullptr);
}

TEST(ButtonAutoContrast, SamplesNinePointsAndNeedsFiveDark) {
    TestWindow window;
    const BackBuffer& buffer = window.host().Buffer();
    ASSERT_TRUE(buffer);
    RECT all{0, 0, buffer.width(), buffer.height()};
    FillRect(buffer.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RectF area = MakeRectF(100, 100, 100, 50);
    const int xs[] = {120, 150, 180};
    const int ys[] = {110, 125, 140};
    int darkened = 0;
    for (int y : ys) {
        for (int x : xs) {
            if (darkened == 4) {
                EXPECT_FALSE(WindowIsDarkBehind(&window.host(), area));
            }
            SetPixel(buffer.dc(), x, y, RGB(0, 0, 0));
            ++darkened;
        }
    }
    EXPECT_TRUE(WindowIsDarkBehind(&window.host(), area));
    EXPECT_FALSE(WindowIsDarkBehind(nullptr, area));
}

TEST(ButtonAutoContrast, CaptionTurnsWhiteOverADarkWindow) {
    AttachOptions dark = TestWindow::PlainFrame();
    dark.backgroundColor = 0x000000;
    TestWindow window(320, 240, dark);
    // A tab has no glass of its own, so the caption lies on the window itself.
    TabButton tab;
    ButtonOptions options;
    options.textColor = ToArgb(0x000000, 255);
    ASSERT_TRUE(tab.Create(window.hwnd(), 20, 20, 80, 40, L"MMMM", options));
    auto brightest = [&] {
        test::Pixels pixels = test::ReadBitmap(tab.Bitmap());
        int best = 0;
        for (std::uint32_t c : pixels.argb) {
            if (test::Alpha(c) > 128) {
                best = std::max(best, test::Green(c));
            }
        }
        return best;
    };
    EXPECT_LT(brightest(), 64);
    tab.AutoContrast(true);
    EXPECT_GT(brightest(), 192);
}

} // namespace
} // namespace kodaro::ui
