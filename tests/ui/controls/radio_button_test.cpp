#include "controls_testing.h"

#include "ui/controls/panel.h"
#include "ui/controls/radio_button.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using test::TestWindow;

bool MakeRadio(RadioButton& radio, ControlParent parent, float x, float y, int group,
               const wchar_t* text = L"option") {
    if (!radio.Create(parent, x, y, 80, 24, text)) {
        return false;
    }
    radio.GroupId(group);
    return true;
}

TEST(RadioGroups, CheckingOneUnchecksOnlyItsGroupUnderTheSameParent) {
    TestWindow window;
    Panel panel;
    ASSERT_TRUE(panel.Create(window.hwnd(), 0, 0, 320, 200, L""));
    RadioButton a, b, c, d;
    ASSERT_TRUE(MakeRadio(a, panel, 10, 10, 1));
    ASSERT_TRUE(MakeRadio(b, panel, 100, 10, 1));
    ASSERT_TRUE(MakeRadio(c, panel, 10, 50, 2));
    ASSERT_TRUE(MakeRadio(d, panel, 100, 50, 2));
    EXPECT_EQ(a.Kind(), kKindRadioButton);

    a.Checked(true);
    c.Checked(true);
    // Two radios of different groups under one parent are both checked.
    EXPECT_TRUE(a.Checked());
    EXPECT_TRUE(c.Checked());

    window.Click(140, 22);
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(c.Checked());
    EXPECT_FALSE(d.Checked());
    ASSERT_EQ(window.clicks.size(), 1u);
    EXPECT_EQ(window.clicks[0].control, &b);
    EXPECT_EQ(window.clicks[0].kind, kKindRadioButton);

    // Checking without exclusivity leaves the group alone.
    a.Checked(true, false);
    EXPECT_TRUE(a.Checked());
    EXPECT_TRUE(b.Checked());
    // Unchecking only clears the flag.
    b.Checked(false);
    EXPECT_TRUE(a.Checked());
}

TEST(RadioGroups, TopLevelRadiosCompeteAcrossTheWindowButNotWithChildren) {
    TestWindow window;
    RadioButton first, second, inner;
    Panel panel;
    ASSERT_TRUE(MakeRadio(first, window.hwnd(), 10, 10, 5));
    ASSERT_TRUE(panel.Create(window.hwnd(), 0, 100, 320, 100, L"group"));
    ASSERT_TRUE(MakeRadio(second, window.hwnd(), 200, 10, 5));
    ASSERT_TRUE(MakeRadio(inner, panel, 10, 140, 5));

    first.Checked(true);
    inner.Checked(true);
    second.Check();
    EXPECT_TRUE(second.Checked());
    EXPECT_FALSE(first.Checked());
    EXPECT_TRUE(inner.Checked());
}

TEST(RadioGroups, ClickingACheckedRadioSendsNoGroupMessage) {
    TestWindow window;
    RadioButton a, b;
    ASSERT_TRUE(MakeRadio(a, window.hwnd(), 10, 10, 1));
    ASSERT_TRUE(MakeRadio(b, window.hwnd(), 100, 10, 1));
    int received = 0;
    b.Subscribe(EXM_RADIOGROUP, ControlHandler4([&](Control*, UINT, WPARAM wParam, LPARAM lParam) {
                    EXPECT_EQ(wParam, 1u);
                    EXPECT_EQ(reinterpret_cast<Control*>(lParam), &a);
                    ++received;
                }));
    window.Click(30, 22);
    EXPECT_TRUE(a.Checked());
    EXPECT_EQ(received, 1);
    window.Click(30, 22);
    EXPECT_TRUE(a.Checked());
    EXPECT_EQ(received, 1);
    EXPECT_EQ(window.clicks.size(), 2u);
}

TEST(RadioLook, NoPressedLookAndTheGlyphCellFollowsTheState) {
    TestWindow window;
    window.host().DragToMove(false);
    RadioButton radio;
    ASSERT_TRUE(MakeRadio(radio, window.hwnd(), 10, 10, 1, L"本地文件"));
    std::shared_ptr<MemoryImage> glyphs = RadioButton::LoadGlyphs();
    ASSERT_TRUE(glyphs && *glyphs);
    EXPECT_EQ(ImageWidth(glyphs->get()), 68);
    EXPECT_EQ(ImageHeight(glyphs->get()), 17);
    test::Pixels strip = test::ReadBitmap(static_cast<Gdiplus::GpBitmap*>(glyphs->get()));

    // The glyph sits centred in (4, 4, 20, height - 8): at (6, 4) for 24 high.
    auto closestCell = [&] {
        test::Pixels pixels = test::ReadBitmap(radio.Bitmap());
        int best = -1;
        long bestDistance = 0;
        for (int cell = 0; cell < 4; ++cell) {
            long distance = 0;
            for (int y = 0; y < 17; ++y) {
                for (int x = 0; x < 17; ++x) {
                    std::uint32_t p = pixels.at(6 + x, 4 + y);
                    std::uint32_t q = strip.at(cell * 17 + x, y);
                    distance += std::abs(test::Alpha(p) - test::Alpha(q)) +
                                std::abs(test::Green(p) - test::Green(q));
                }
            }
            if (best < 0 || distance < bestDistance) {
                best = cell;
                bestDistance = distance;
            }
        }
        return best;
    };
    EXPECT_EQ(closestCell(), 0);
    window.MouseMove(30, 20);
    EXPECT_EQ(closestCell(), 1);
    window.LeftDown(30, 20);
    EXPECT_NE(radio.VisualState(), kButtonPressed);
    window.LeftUp(30, 20);
    EXPECT_TRUE(radio.Checked());
    EXPECT_EQ(radio.VisualState(), kButtonHot);
    EXPECT_EQ(closestCell(), 3);
    SendMessageW(window.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(closestCell(), 2);
    // No cross-fade: the new look is there at once.
    EXPECT_FALSE(radio.CrossFading());
    EXPECT_EQ(radio.FadeLevel(), radio.Opacity());
}

} // namespace
} // namespace kodaro::ui
