// The message box opened for real under Wine and answered from inside its own
// loop.
#include "tests/support/process_memory.h"
#include "tests/support/timer_script.h"
#include "tests/ui/controls/controls_testing.h"
#include "ui/controls/message_box.h"
#include "ui/controls/push_button.h"
#include "ui/draw/defaults.h"
#include "ui/draw/text.h"
#include "ui/host/popup_loop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kodaro::ui::test {
namespace {

using Script = TimerScript;

// The box's push buttons in creation order.
std::vector<ButtonBase*> Buttons(HWND box) {
    std::vector<ButtonBase*> buttons;
    HostWindow* host = HostWindow::FromWindow(box);
    for (Control* c = host ? host->FirstControl() : nullptr; c != nullptr; c = c->NextSibling()) {
        if (c->Kind() == kKindPushButton) {
            buttons.push_back(static_cast<ButtonBase*>(c));
        }
    }
    return buttons;
}

void ClickControl(HWND window, const Control* control) {
    const RectF r = control->Rect();
    const LPARAM at =
        MAKELPARAM(static_cast<int>(r.X + r.Width / 2), static_cast<int>(r.Y + r.Height / 2));
    SendMessageW(window, WM_MOUSEMOVE, 0, at);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
}

// Opens a box over owner, runs step(box window) once it is up, and returns
// the box's result.
int Answer(MessageBoxParams params, std::function<void(HWND)> step) {
    HWND box = nullptr;
    params.beep = false;
    params.customise = [&box](HWND window, int, int) { box = window; };
    Script script{[&] {
        if (box == nullptr || !IsWindowVisible(box)) {
            return false;
        }
        step(box);
        return true;
    }};
    return ShowMessageBox(params);
}

float MeasuredWidth(const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    Gdiplus::GpGraphics* graphics = nullptr;
    gdip::GdipCreateFromHDC(screen, &graphics);
    RectF bounds{};
    TextFormat format(Gdiplus::StringFormatFlagsNoClip);
    MeasureText(graphics, text, DefaultFont(), MakeRectF(0, 0, 100000, 100000), format.get(),
                &bounds);
    gdip::GdipDeleteGraphics(graphics);
    ReleaseDC(nullptr, screen);
    return bounds.Width;
}

TEST(MessageBoxTest, EverySetPlacesItsButtonsRightToLeftAndReturnsTheirValues) {
    TestWindow owner(480, 320);
    const std::vector<std::vector<std::pair<std::wstring, int>>> sets{
        {{L"确认", 0}},
        {{L"取消", 1}, {L"确认", 0}},
        {{L"放弃", 4}, {L"重试", 3}, {L"忽略", 2}},
        {{L"取消", 1}, {L"否(&N)", 6}, {L"是(&Y)", 5}},
        {{L"否(&N)", 6}, {L"是(&Y)", 5}},
        {{L"取消", 1}, {L"重试", 3}},
    };
    for (int set = 0; set < 6; ++set) {
        const auto& expected = sets[static_cast<std::size_t>(set)];
        for (std::size_t pick = 0; pick < expected.size(); ++pick) {
            MessageBoxParams params{.owner = owner.hwnd(), .text = L"文本", .buttons = set};
            const int result = Answer(params, [&](HWND box) {
                const std::vector<ButtonBase*> buttons = Buttons(box);
                ASSERT_EQ(buttons.size(), expected.size());
                RECT frame{};
                GetWindowRect(box, &frame);
                const int width = frame.right - frame.left;
                const int height = frame.bottom - frame.top;
                for (std::size_t i = 0; i < buttons.size(); ++i) {
                    const int number = static_cast<int>(i) + 1;
                    EXPECT_EQ(buttons[i]->Text(), expected[i].first);
                    EXPECT_EQ(buttons[i]->Rect().X, static_cast<float>(width - number * 75 - 8));
                    EXPECT_EQ(buttons[i]->Rect().Y, static_cast<float>(height - 35));
                    EXPECT_EQ(buttons[i]->Rect().Width, 70.0f);
                }
                ClickControl(box, buttons[pick]);
            });
            EXPECT_EQ(result, expected[pick].second) << "set " << set << " button " << pick + 1;
        }
    }
}

TEST(MessageBoxTest, EscapeAndTheCloseButtonReturnOneAndEnterPressesTheDefault) {
    TestWindow owner(480, 320);
    MessageBoxParams yesNo{.owner = owner.hwnd(), .text = L"继续吗？", .buttons = 4};
    HostWindow* seen = nullptr;
    EXPECT_EQ(Answer(yesNo,
                     [&](HWND box) {
                         seen = HostWindow::FromWindow(box);
                         // No default given: the first created, rightmost "否(&N)".
                         EXPECT_EQ(static_cast<ButtonBase*>(seen->FocusControl())->Text(),
                                   L"否(&N)");
                         PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
                     }),
              1);
    EXPECT_EQ(Answer(yesNo,
                     [](HWND box) {
                         HostWindow* host = HostWindow::FromWindow(box);
                         ClickControl(box, host->CaptionButtons().front());
                     }),
              1);
    EXPECT_EQ(Answer(yesNo, [](HWND box) { PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0); }),
              kMessageBoxNo);
    yesNo.defaultButton = 2;
    EXPECT_EQ(Answer(yesNo, [](HWND box) { PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0); }),
              kMessageBoxYes);
    // Access keys work with and without Alt.
    EXPECT_EQ(Answer(yesNo, [](HWND box) { PostMessageW(box, WM_KEYDOWN, 'N', 0); }),
              kMessageBoxNo);
    EXPECT_EQ(Answer(yesNo, [](HWND box) { PostMessageW(box, WM_SYSKEYDOWN, 'Y', 0); }),
              kMessageBoxYes);
}

TEST(MessageBoxTest, WideTextGrowsTheBoxBeyondTwoHundredWithAnIconAndTwoSixtyWithout) {
    std::wstring text = L"这是";
    while (MeasuredWidth(text) <= 230) {
        text += L"很";
    }
    const float width = MeasuredWidth(text);
    const MessageBoxLayout withIcon = LayOutMessageBox(text, true);
    const MessageBoxLayout without = LayOutMessageBox(text, false);
    EXPECT_EQ(withIcon.width, 320 + static_cast<int>(std::ceil(width - 200)));
    EXPECT_FLOAT_EQ(withIcon.textWidth, width + 10);
    EXPECT_EQ(withIcon.textX, 85.0f);
    EXPECT_EQ(without.width, 320);
    EXPECT_EQ(without.textWidth, 260.0f);
    EXPECT_EQ(without.textX, 30.0f);
    EXPECT_EQ(without.height, 150);

    const MessageBoxLayout tall = LayOutMessageBox(L"一\n二\n三\n四\n五", false);
    EXPECT_GT(tall.height, 150);
    EXPECT_EQ(static_cast<float>(tall.height - 150), std::ceil(tall.textHeight - 5 - 50));

    // The grown box stays centred on its owner.
    TestWindow owner(480, 320);
    RECT ownerFrame{};
    GetWindowRect(owner.hwnd(), &ownerFrame);
    RECT boxFrame{};
    Answer({.owner = owner.hwnd(), .text = text, .icon = 64}, [&](HWND box) {
        GetWindowRect(box, &boxFrame);
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(boxFrame.right - boxFrame.left, withIcon.width);
    EXPECT_NEAR((boxFrame.left + boxFrame.right) / 2.0, (ownerFrame.left + ownerFrame.right) / 2.0,
                1);
    EXPECT_NEAR((boxFrame.top + boxFrame.bottom) / 2.0, (ownerFrame.top + ownerFrame.bottom) / 2.0,
                1);
}

TEST(MessageBoxTest, TextTooWideForTheScreenWrapsInsteadOfPushingButtonsAway) {
    const std::wstring text(400, L'宽');
    const MessageBoxLayout layout = LayOutMessageBox(text, true);
    const RECT area = WorkArea();
    EXPECT_TRUE(layout.wrapped);
    EXPECT_LE(layout.width, area.right - area.left);
    EXPECT_GT(layout.height, 150);
}

TEST(MessageBoxTest, TheOwnerCannotBeUsedWhileTheBoxIsOpen) {
    TestWindow owner(480, 320);
    PushButton button;
    ASSERT_TRUE(button.Create(owner.host(), 20, 60, 80, 24, L"按钮"));
    int ownerClicks = 0;
    owner.host().EventClick = [&](HWND, Control*, WPARAM, LPARAM, int) { ++ownerClicks; };
    Answer({.owner = owner.hwnd(), .text = L"模态"}, [&](HWND box) {
        PostMessageW(owner.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 72));
        PostMessageW(owner.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(60, 72));
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(ownerClicks, 0);
    owner.Click(60, 72); // and after it closes, the owner works again
    EXPECT_EQ(ownerClicks, 1);
}

TEST(MessageBoxTest, TheBoxCarriesItsPropertiesWhileOpenAndLosesThemAfter) {
    int flags = 0;
    int icon = 0;
    HWND seen = nullptr;
    Answer({.text = L"属性", .icon = 48}, [&](HWND box) {
        seen = box;
        flags = PopupKindOf(box);
        icon = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(box, kMessageBoxProperty)));
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(flags, 3);
    EXPECT_EQ(icon, 48);
    EXPECT_FALSE(IsWindow(seen));
}

HHOOK refuseHook = nullptr;

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        return 1; // the window is not created
    }
    return CallNextHookEx(refuseHook, code, wParam, lParam);
}

TEST(MessageBoxTest, ABoxThatCannotBeCreatedReturnsOne) {
    refuseHook = SetWindowsHookExW(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(refuseHook, nullptr);
    const int result = ShowMessageBox({.text = L"无窗口", .buttons = 4});
    UnhookWindowsHookEx(refuseHook);
    EXPECT_EQ(result, 1);
}

TEST(MessageBoxTest, AHundredBoxesLeaveMemoryAndObjectsWhereTheyWere) {
    TestWindow owner(480, 320);
    auto cycle = [&] {
        Answer({.owner = owner.hwnd(), .text = L"泄漏检查", .buttons = 3, .icon = 32},
               [](HWND box) { PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0); });
    };
    for (int i = 0; i < 10; ++i) {
        cycle();
    }
    HANDLE process = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
    const SIZE_T memoryBefore = WorkingSetBytes();
    for (int i = 0; i < 100; ++i) {
        cycle();
    }
    EXPECT_EQ(GetGuiResources(process, GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(process, GR_USEROBJECTS), userBefore);
    // Wine counts no GUI objects; a leaked surface or picture per box still
    // shows as memory that does not come back.
    EXPECT_LT(WorkingSetBytes(), memoryBefore + 16 * 1024 * 1024);
}

} // namespace
} // namespace kodaro::ui::test
