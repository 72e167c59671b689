#include "tests/support/process_memory.h"
#include "tests/ui/host/framework_fixture.h"
#include "ui/host/title_label.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace kodaro::ui::testing {
namespace {

struct EventLog {
    std::vector<std::string> names;
    std::vector<WPARAM> wParams;
    std::vector<Control*> controls;

    void Hook(HostWindow& host) {
        auto record = [this](const char* name) {
            return [this, name](HWND, Control* control, WPARAM wParam, LPARAM, int) {
                names.emplace_back(name);
                wParams.push_back(wParam);
                controls.push_back(control);
            };
        };
        host.EventLeftDown = record("down");
        host.EventLeftUp = record("up");
        host.EventClick = record("click");
        host.EventDoubleClick = record("double");
        host.EventMouseEnter = record("enter");
        host.EventMouseLeave = record("leave");
        host.EventFocusGained = record("gained");
        host.EventFocusLost = record("lost");
    }
};

TEST(HostWindowGeometry, DefaultWindowIs380By250CentredOnTheWorkArea) {
    TestWindow window{AttachOptions{}};
    ASSERT_TRUE(window.attached());
    RECT rect{};
    GetWindowRect(window.hwnd(), &rect);
    const RECT area = WorkArea();
    EXPECT_EQ(rect.right - rect.left, 380);
    EXPECT_EQ(rect.bottom - rect.top, 250);
    EXPECT_EQ(rect.left, area.left + (area.right - area.left - 380) / 2);
    EXPECT_EQ(rect.top, area.top + (area.bottom - area.top - 250) / 2);
    EXPECT_EQ(window.host().Width(), 380);
    // The standard frame: icon, title, close, maximise, minimise, shadow.
    EXPECT_EQ(window.host().FrameStyle(), 1 | 2 | 4 | 8 | 16 | 512);
    EXPECT_EQ(window.host().CaptionButtons().size(), 3u);
    EXPECT_EQ(HostWindow::FromWindow(window.hwnd()), &window.host());
}

TEST(HostWindowGeometry, AttachRefusesInvalidAndRepeatedWindows) {
    TestWindow window{AttachOptions{}};
    EXPECT_FALSE(window.host().Attach(window.hwnd()));
    HostWindow other;
    EXPECT_FALSE(other.Attach(nullptr));
    EXPECT_FALSE(other.Attach(reinterpret_cast<HWND>(0x1234)));
    EXPECT_FALSE(other.Attach(window.hwnd())); // already has a host
}

TEST(HostWindowGeometry, MaximisedSizeCoversWorkAreaPlusSevenAndMinimumWidthIs131) {
    TestWindow window{AttachOptions{}};
    MINMAXINFO info{};
    window.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const RECT area = WorkArea();
    EXPECT_EQ(info.ptMaxSize.x, area.right - area.left + 14);
    EXPECT_EQ(info.ptMaxSize.y, area.bottom - area.top + 14);
    EXPECT_EQ(info.ptMaxPosition.x, area.left - 7);
    EXPECT_EQ(info.ptMaxPosition.y, area.top - 7);
    EXPECT_EQ(info.ptMinTrackSize.x, 131);
    EXPECT_EQ(info.ptMinTrackSize.y, 40);

    // Read at once: under Wine without a window manager the X driver later
    // falls back to the old size of a maximised window that has a region.
    ShowWindow(window.hwnd(), SW_SHOWMAXIMIZED);
    RECT rect{};
    GetWindowRect(window.hwnd(), &rect);
    EXPECT_EQ(rect.right - rect.left, area.right - area.left + 14);
    EXPECT_EQ(rect.bottom - rect.top, area.bottom - area.top + 14);
    EXPECT_EQ(window.host().Width(), area.right - area.left + 14);
    // The caption follows the new width.
    EXPECT_EQ(window.host().CaptionButtons()[0]->X(), window.host().Width() - 11 - 27);
}

TEST(HostWindowGeometry, ResizeZoneReachesXSevenButNotEight) {
    TestWindow window({.resizable = true});
    std::vector<WPARAM> commands;
    int drags = 0;
    window.host().EventMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_SYSCOMMAND) {
            commands.push_back(wParam);
            return 0;
        }
        if (message == WM_NCLBUTTONDOWN) {
            ++drags;
            return 0;
        }
        return -1;
    };
    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(7, 120));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], static_cast<WPARAM>(SC_SIZE + WMSZ_LEFT));
    EXPECT_EQ(drags, 0);

    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(8, 120));
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(drags, 1); // an empty spot drags the window instead

    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(371, 241)); // W - x < 10, H - y < 10
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1], static_cast<WPARAM>(SC_SIZE + WMSZ_BOTTOMRIGHT));
}

TEST(HostWindowGeometry, NotResizableWithoutThickFrame) {
    TestWindow window{AttachOptions{}};
    EXPECT_FALSE(window.host().Resizable());
    int sizes = 0;
    window.host().EventMessage = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_SYSCOMMAND || message == WM_NCLBUTTONDOWN) {
            sizes += message == WM_SYSCOMMAND ? 1 : 0;
            return 0;
        }
        return -1;
    };
    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 120));
    EXPECT_EQ(sizes, 0);
}

TEST(HostWindowMouse, DoubleClickArrivesAsDownDoubleAndClick) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 40, 30)));
    EventLog log;
    log.Hook(window.host());
    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 60));
    window.Send(WM_LBUTTONUP, 0, At(60, 60));
    window.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(60, 60));
    window.Send(WM_LBUTTONUP, 0, At(60, 60));
    const std::vector<std::string> expected{"down", "gained", "up", "click",
                                            "down", "double", "up", "click"};
    EXPECT_EQ(log.names, expected);
    EXPECT_EQ(log.wParams[5], kDoubleClickMarker);
    EXPECT_EQ(log.controls[5], &probe);
    // EventLeftUp carries no control.
    EXPECT_EQ(log.controls[2], nullptr);
    EXPECT_EQ(probe.Count(EXM_CLICK), 2);
    EXPECT_EQ(window.host().FocusControl(), &probe);
}

TEST(HostWindowMouse, PressMoveOffReleaseRaisesUpAndLeaveButNoClick) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 40, 30)));
    EventLog log;
    log.Hook(window.host());
    window.Send(WM_MOUSEMOVE, 0, At(60, 60));
    window.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 60));
    EXPECT_EQ(window.host().PressedControl(), &probe);
    window.Send(WM_MOUSEMOVE, MK_LBUTTON, At(150, 150));
    window.Send(WM_LBUTTONUP, 0, At(150, 150));
    const std::vector<std::string> expected{"enter", "down", "gained", "up", "leave"};
    EXPECT_EQ(log.names, expected);
    EXPECT_EQ(probe.Count(EXM_CLICK), 0);
    EXPECT_EQ(window.host().PressedControl(), nullptr);
    EXPECT_EQ(window.host().HotControl(), nullptr);
}

TEST(HostWindowMouse, HoverEntersAndLeavesControls) {
    TestWindow window{AttachOptions{}};
    Probe a;
    Probe b;
    ASSERT_TRUE(a.Create(window.host(), MakeRectF(20, 40, 30, 30)));
    ASSERT_TRUE(b.Create(window.host(), MakeRectF(60, 40, 30, 30)));
    EventLog log;
    log.Hook(window.host());
    window.Send(WM_MOUSEMOVE, 0, At(25, 45));
    window.Send(WM_MOUSEMOVE, 0, At(65, 45));
    window.Send(WM_MOUSELEAVE);
    const std::vector<std::string> expected{"enter", "leave", "enter", "leave"};
    EXPECT_EQ(log.names, expected);
    EXPECT_EQ(log.controls[1], &a);
    EXPECT_EQ(log.controls[2], &b);
    EXPECT_EQ(a.Count(EXM_MOUSEENTER), 1);
    EXPECT_EQ(a.Count(EXM_MOUSELEAVE), 1);
}

TEST(HostWindowMessages, EventMessageReturningZeroKeepsTheWindowOnClose) {
    TestWindow window{AttachOptions{}};
    window.host().SetCloseAnimation(Animation::Fade);
    ShowWindow(window.hwnd(), SW_SHOWNORMAL);
    window.host().EventMessage = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_CLOSE ? 0 : -1;
    };
    window.Send(WM_CLOSE);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));

    window.host().EventMessage = nullptr;
    window.Send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(window.hwnd()));
    EXPECT_EQ(window.host().Window(), nullptr);
}

// A program that posts its quit on WM_DESTROY must still see it in its loop
// after the host has cleaned up the window's queue.
TEST(HostWindowMessages, QuitPostedOnDestroyReachesTheMessageLoop) {
    TestWindow window{AttachOptions{}};
    window.host().SetCloseAnimation(Animation::Fade);
    window.host().EventMessage = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) {
            PostQuitMessage(7);
        }
        return -1;
    };
    window.Send(WM_CLOSE);
    ASSERT_FALSE(IsWindow(window.hwnd()));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(HostWindowMessages, AccessKeyClicksItsControl) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 40, 30)));
    EventLog log;
    log.Hook(window.host());
    window.Send(EXM_ACCESSKEY, reinterpret_cast<WPARAM>(&probe), L't');
    window.Send(WM_SYSKEYDOWN, 'T', 0);
    ASSERT_EQ(log.names, std::vector<std::string>{"click"});
    EXPECT_EQ(log.wParams[0], static_cast<WPARAM>('T'));
    probe.Visible(false);
    window.Send(WM_SYSKEYDOWN, 'T', 0);
    EXPECT_EQ(log.names.size(), 1u);
}

// Function keys share codes with lower-case letters (F4 is 's'): Alt+F4 must
// close the window, not press the button marked "&S".
TEST(HostWindowMessages, FunctionKeysAreNotAccessKeys) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 40, 30)));
    EventLog log;
    log.Hook(window.host());
    window.Send(EXM_ACCESSKEY, reinterpret_cast<WPARAM>(&probe), L'S');
    window.Send(WM_SYSKEYDOWN, VK_F4, 0);
    EXPECT_TRUE(log.names.empty());
    window.Send(WM_SYSKEYDOWN, 'S', 0);
    EXPECT_EQ(log.names, std::vector<std::string>{"click"});
}

TEST(HostWindowMessages, EnterAndSpaceClickTheFocusControl) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 40, 30)));
    EventLog log;
    log.Hook(window.host());
    window.Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(log.names.empty()); // nothing focused yet
    window.Send(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(window.host().KeyboardFocusMarker(), &probe);
    window.Send(WM_KEYDOWN, VK_RETURN);
    window.Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(log.names, (std::vector<std::string>{"click", "click"}));
    EXPECT_EQ(probe.Count(EXM_CLICK), 2);
}

TEST(HostWindowFrame, CaptionButtonsActOnZoomedAndIconicWindows) {
    TestWindow window{AttachOptions{}};
    ShowWindow(window.hwnd(), SW_SHOWNORMAL);
    const std::vector<Control*> buttons = window.host().CaptionButtons();
    ASSERT_EQ(buttons.size(), 3u);
    Control* maximise = buttons[1];
    Control* minimise = buttons[2];

    ShowWindow(window.hwnd(), SW_SHOWMAXIMIZED);
    Settle();
    ASSERT_TRUE(IsZoomed(window.hwnd()));
    window.Click(static_cast<int>(maximise->X()) + 5, static_cast<int>(maximise->Y()) + 5);
    Settle();
    EXPECT_FALSE(IsZoomed(window.hwnd()));

    window.Click(static_cast<int>(maximise->X()) + 5, static_cast<int>(maximise->Y()) + 5);
    Settle();
    EXPECT_TRUE(IsZoomed(window.hwnd()));
    ShowWindow(window.hwnd(), SW_RESTORE);
    Settle();

    int minimiseCommands = 0;
    window.host().EventMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
            ++minimiseCommands;
        }
        return -1;
    };
    ShowWindow(window.hwnd(), SW_MINIMIZE);
    Settle();
    ASSERT_TRUE(IsIconic(window.hwnd()));
    window.Click(static_cast<int>(minimise->X()) + 5, static_cast<int>(minimise->Y()) + 5);
    Settle();
    EXPECT_EQ(minimiseCommands, 0);
    ShowWindow(window.hwnd(), SW_RESTORE);
    Settle();
    window.Click(static_cast<int>(minimise->X()) + 5, static_cast<int>(minimise->Y()) + 5);
    Settle();
    EXPECT_EQ(minimiseCommands, 1);
    EXPECT_TRUE(IsIconic(window.hwnd()));
}

TEST(HostWindowFrame, CloseButtonClosesThroughTheHideAnimation) {
    TestWindow window{AttachOptions{}};
    window.host().SetCloseAnimation(Animation::Fade);
    window.host().Show(Animation::Fade, 20);
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
    Control* close = window.host().CaptionButtons()[0];
    window.Click(static_cast<int>(close->X()) + 5, static_cast<int>(close->Y()) + 5);
    Pump();
    EXPECT_FALSE(IsWindow(window.hwnd()));
}

TEST(HostWindowFrame, ShowAnimationsEndShownComposedAndInTheirOwnStyle) {
    TestWindow plain{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(plain.host(), MakeRectF(50, 50, 40, 30)));
    plain.host().Show(Animation::Grow, 20); // through a layered phase
    EXPECT_TRUE(IsWindowVisible(plain.hwnd()));
    EXPECT_FALSE(plain.host().CompositionSuspended());
    EXPECT_FALSE(HasStyle(plain.hwnd(), WS_EX_LAYERED, true));
    EXPECT_TRUE(Near(Rgb(plain.host(), 60, 60), 0xFF0000));

    TestWindow layered({.opacity = 255});
    layered.host().Show(Animation::SlideFromBelow, 20);
    EXPECT_TRUE(IsWindowVisible(layered.hwnd()));
    EXPECT_FALSE(layered.host().CompositionSuspended());
    EXPECT_TRUE(HasStyle(layered.hwnd(), WS_EX_LAYERED, true));
}

TEST(HostWindowFrame, ShowShowsEvenWhenTheAnimationCannotRun) {
    StartFramework();
    HWND hwnd = CreateHostWindow();
    // Without an area there is no back buffer to animate.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HostWindow host;
    ASSERT_TRUE(host.Attach(hwnd));
    ASSERT_FALSE(host.Buffer());
    host.Show(Animation::Grow, 20);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    DestroyWindow(hwnd);
}

TEST(HostWindowFrame, FadeTransitionTakesFiveTicks) {
    TestWindow window({.backgroundColor = 0x0000FF});
    ShowWindow(window.hwnd(), SW_SHOWNORMAL);
    Pump();
    EXPECT_TRUE(Near(Rgb(window.host(), 100, 100), 0xFF0000)); // ColorRef red

    window.host().RenderBackground({}, 0x00FF00, PresentMode::Fade);
    EXPECT_TRUE(window.host().CompositionSuspended());
    EXPECT_EQ(window.host().TransitionOpacity(), 0);
    std::vector<int> seen;
    MSG message;
    while (window.host().CompositionSuspended() && seen.size() < 20 &&
           GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
        if (message.message == WM_TIMER && message.wParam == window.host().TimerId()) {
            seen.push_back(window.host().TransitionOpacity());
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{51, 102, 153, 204, 255}));
    EXPECT_FALSE(window.host().CompositionSuspended());
    EXPECT_TRUE(Near(Rgb(window.host(), 100, 100), 0x00FF00));
}

TEST(HostWindowFrame, BackgroundImageGivesItsAverageColor) {
    // A 2 x 1 BMP: one red and one blue pixel (24-bit, bottom-up).
    const std::uint8_t bmp[] = {
        'B', 'M', 62,  0,   0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                    // file header
        40,  0,   0,   0,   2, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0, // info header
        8,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,
        0,   0,   255, 255, 0, 0, 0, 0}; // red (BGR), blue, padding
    TestWindow window({.backgroundImage = bmp});
    ASSERT_NE(window.host().BackgroundImage(), nullptr);
    EXPECT_EQ(window.host().BackgroundColor(), RGB(127, 0, 127));
    TestWindow colored({.backgroundImage = bmp, .backgroundColor = 0x123456});
    EXPECT_EQ(colored.host().BackgroundColor(), 0x123456u);
}

TEST(HostWindowFrame, BareLookDrawsNoEdgeAndNoBlur) {
    TestWindow bare(
        {.backgroundColor = 0xFFFFFF, .frameLook = WindowLook::Bare, .blurBehind = true});
    TestWindow edged({.backgroundColor = 0xFFFFFF, .frameLook = WindowLook::Square});
    // The outer edge runs along x = 6 inside the window shape.
    EXPECT_TRUE(Near(Rgb(bare.host(), 6, 100), 0xFFFFFF));
    EXPECT_FALSE(Near(Rgb(edged.host(), 6, 100), 0xFFFFFF));
}

TEST(HostWindowFrame, TitleLabelFollowsTheWindowText) {
    TestWindow window({}, {.title = L"旧标题"});
    auto* title = static_cast<TitleLabel*>(window.host().TitleControl());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Text(), L"旧标题");
    SetWindowTextW(window.hwnd(), L"新标题");
    EXPECT_EQ(title->Text(), L"新标题");
    TestWindow untitled({.frameStyle = kFrameClose});
    EXPECT_EQ(untitled.host().TitleControl(), nullptr);
    EXPECT_EQ(untitled.host().CaptionButtons().size(), 1u);
}

TEST(HostWindowFrame, SkinSourceLendsItsBackground) {
    const std::uint8_t bmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0,    54,   0,    0, 0,  40,
                                0,   0,   0,  1, 0, 0, 0, 1, 0, 0,    0,    1,    0, 24, 0,
                                0,   0,   0,  0, 4, 0, 0, 0, 0, 0,    0,    0,    0, 0,  0,
                                0,   0,   0,  0, 0, 0, 0, 0, 0, 0x30, 0x20, 0x10, 0};
    TestWindow source({.backgroundImage = bmp});
    ASSERT_NE(source.host().BackgroundImage(), nullptr);
    EXPECT_EQ(source.host().BackgroundColor(), RGB(0x10, 0x20, 0x30));
    TestWindow borrower({.skinSource = source.hwnd()});
    EXPECT_NE(borrower.host().BackgroundImage(), nullptr);
    EXPECT_EQ(borrower.host().BackgroundColor(), RGB(0x10, 0x20, 0x30));
}

RECT ToolRect(const TestWindow& window, const Control& control) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window.hwnd();
    info.uId = control.Id();
    SendMessageW(window.host().TooltipWindow(), TTM_GETTOOLINFOW, 0,
                 reinterpret_cast<LPARAM>(&info));
    return info.rect;
}

bool ToolIsEmpty(const TestWindow& window, const Control& control) {
    const RECT rect = ToolRect(window, control);
    return IsRectEmpty(&rect) != 0;
}

// The tooltip window shows the first tool holding the mouse, so only the
// control under the mouse may own a rectangle: not one beneath it, not a
// hidden one, not one the mouse has left.
TEST(HostWindowFrame, TooltipToolsFollowTheControlUnderTheMouse) {
    TestWindow window{AttachOptions{}};
    ASSERT_NE(window.host().TooltipWindow(), nullptr);
    auto below = std::make_unique<Probe>();
    ASSERT_TRUE(below->Create(window.host(), MakeRectF(50, 50, 100, 100)));
    below->Tooltip(L"下面");
    auto above = std::make_unique<Probe>();
    ASSERT_TRUE(above->Create(window.host(), MakeRectF(60, 120, 40, 20)));
    above->Tooltip(L"上面");
    EXPECT_EQ(SendMessageW(window.host().TooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 2);

    window.Send(WM_MOUSEMOVE, 0, At(70, 125));
    EXPECT_EQ(ToolRect(window, *above).left, 60);
    EXPECT_TRUE(ToolIsEmpty(window, *below));

    window.Send(WM_MOUSEMOVE, 0, At(70, 60));
    EXPECT_EQ(ToolRect(window, *below).left, 50);
    EXPECT_TRUE(ToolIsEmpty(window, *above));
    below->Move(55.0f, 55.0f);
    EXPECT_EQ(ToolRect(window, *below).left, 55);

    above->Visible(false);
    window.Send(WM_MOUSEMOVE, 0, At(70, 125));
    EXPECT_EQ(ToolRect(window, *below).left, 55);
    EXPECT_TRUE(ToolIsEmpty(window, *above));

    window.Send(WM_MOUSEMOVE, 0, At(300, 200));
    EXPECT_TRUE(ToolIsEmpty(window, *below));

    window.Send(WM_MOUSEMOVE, 0, At(70, 60));
    below.reset();
    EXPECT_EQ(SendMessageW(window.host().TooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
    window.Send(WM_MOUSEMOVE, 0, At(70, 60));
    EXPECT_TRUE(ToolIsEmpty(window, *above));
}

TEST(HostWindowThreads, SendAndPostFromAnotherThreadRunOnTheWindowThread) {
    TestWindow window{AttachOptions{}};
    Probe probe;
    ASSERT_TRUE(probe.Create(window.host(), MakeRectF(50, 50, 40, 30)));
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    LRESULT sent = 0;
    bool posted = false;
    std::thread worker([&] {
        sent = probe.Send(WM_USER + 7, 1, 2);
        posted = probe.Post(WM_USER + 8, 3, 4);
        probe.Color(0xFF0000FF); // repaints through Send, invalidates through Post
        done = true;
    });
    // The worker's Send waits until this thread handles it.
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    worker.join();
    Pump();
    EXPECT_EQ(sent, kNotHandled);
    EXPECT_TRUE(posted);
    ASSERT_EQ(probe.Count(WM_USER + 7), 1);
    ASSERT_EQ(probe.Count(WM_USER + 8), 1);
    for (std::size_t i = 0; i < probe.messages.size(); ++i) {
        EXPECT_EQ(probe.threads[i], uiThread);
    }
    EXPECT_TRUE(Near(Rgb(window.host(), 60, 60), 0x0000FF));
}

TEST(HostWindowThreads, PostToADestroyedControlIsDropped) {
    TestWindow window{AttachOptions{}};
    auto probe = std::make_unique<Probe>();
    ASSERT_TRUE(probe->Create(window.host(), MakeRectF(50, 50, 40, 30)));
    ASSERT_TRUE(probe->Post(WM_USER + 9));
    probe.reset();
    Pump(); // must not reach freed memory
    EXPECT_EQ(window.host().FirstControl(), window.host().TitleControl());
}

TEST(HostWindowResources, GdiAndUserObjectsComeBackAfterAHundredWindows) {
    StartFramework();
    auto cycle = [] {
        TestWindow window({.opacity = 255});
        Probe parent;
        Probe child;
        Probe other(0xFF00FF00);
        parent.Create(window.host(), MakeRectF(20, 40, 100, 80));
        child.Create(parent, MakeRectF(30, 50, 20, 20));
        other.Create(window.host(), MakeRectF(150, 40, 60, 60));
        other.Tooltip(L"提示");
        window.host().RenderBackground({}, 0x336699, PresentMode::Whole);
        Pump();
    };
    // The first windows load what stays for the process (fonts, classes,
    // Wine's own caches).
    for (int i = 0; i < 20; ++i) {
        cycle();
    }
    HANDLE process = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
    const SIZE_T memoryBefore = kodaro::test::WorkingSetBytes();
    for (int i = 0; i < 100; ++i) {
        cycle();
    }
    EXPECT_EQ(GetGuiResources(process, GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(process, GR_USEROBJECTS), userBefore);
    // Wine counts no GUI objects (both counts read 0 there); a leaked back
    // buffer or surface per window (380 x 250 x 4 bytes and more) still shows
    // as memory that does not come back.
    EXPECT_LT(kodaro::test::WorkingSetBytes(), memoryBefore + 16 * 1024 * 1024);
}

} // namespace
} // namespace kodaro::ui::testing
