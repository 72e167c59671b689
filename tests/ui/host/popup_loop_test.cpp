// The popups' shared hook and nested loop on real windows under Wine.
#include "tests/ui/host/framework_fixture.h"
#include "ui/host/popup_loop.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace kodaro::ui::testing {
namespace {

// A popup window of one kind, marked and hooked; records what the hook left.
struct Popup {
    explicit Popup(PopupKind kind, HWND owner = nullptr) {
        StartFramework();
        hwnd = CreateHostWindow({.parent = owner,
                                 .width = 120,
                                 .height = 80,
                                 .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW});
        EXPECT_TRUE(host.Attach(hwnd, {.frameStyle = 0}));
        MakePopup(host, kind, [this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            seen.push_back({message, wParam});
            return -1;
        });
    }
    ~Popup() {
        if (IsWindow(hwnd)) {
            DestroyWindow(hwnd);
        }
    }
    int Count(UINT message) const {
        int count = 0;
        for (const auto& entry : seen) {
            count += entry.first == message ? 1 : 0;
        }
        return count;
    }

    HWND hwnd = nullptr;
    HostWindow host;
    std::vector<std::pair<UINT, WPARAM>> seen;
};

void SetWindowProperty(HWND window, const wchar_t* name, HWND value) {
    SetPropW(window, name, static_cast<HANDLE>(value));
}

// Takes a pending quit out of the queue.
bool TakeQuit(int* code) {
    MSG message;
    if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        *code = static_cast<int>(message.wParam);
        return true;
    }
    return false;
}

TEST(PopupHook, EveryKindIsMarkedAndLosesItsPropertiesOnDestroy) {
    for (PopupKind kind : {PopupKind::Menu, PopupKind::DropDown, PopupKind::MessageBox}) {
        Popup popup(kind);
        EXPECT_EQ(PopupKindOf(popup.hwnd), static_cast<int>(kind));
        if (kind == PopupKind::Menu) {
            for (const wchar_t* name :
                 {kMenuChainProperty, kMenuSubProperty, kMenuActiveProperty, kMenuEventProperty}) {
                SetWindowProperty(popup.hwnd, name, popup.hwnd);
            }
        } else if (kind == PopupKind::MessageBox) {
            SetWindowProperty(popup.hwnd, kMessageBoxProperty, popup.hwnd);
        }
        HWND window = popup.hwnd;
        // Properties outlive a window in Wine's table until removed; read them
        // from inside the destroy, after the hook ran.
        int left = -1;
        popup.host.EventMessage = [previous = popup.host.EventMessage,
                                   &left](HWND hwnd, UINT message, WPARAM w, LPARAM l) -> LRESULT {
            const LRESULT result = previous(hwnd, message, w, l);
            if (message == WM_DESTROY) {
                left = 0;
                for (const wchar_t* name :
                     {kPopupFlagsProperty, kMenuChainProperty, kMenuSubProperty,
                      kMenuActiveProperty, kMenuEventProperty, kMessageBoxProperty}) {
                    left += GetPropW(hwnd, name) != nullptr ? 1 : 0;
                }
            }
            return result;
        };
        DestroyWindow(window);
        EXPECT_EQ(left, 0) << "kind " << static_cast<int>(kind);
    }
}

TEST(PopupHook, EscapeClosesEveryKindAndOnlyAMenuTurnsKeysIntoAccessKeys) {
    for (PopupKind kind : {PopupKind::Menu, PopupKind::DropDown, PopupKind::MessageBox}) {
        Popup popup(kind);
        SendMessageW(popup.hwnd, WM_KEYDOWN, 'C', 0);
        EXPECT_EQ(popup.Count(WM_SYSKEYDOWN), kind == PopupKind::Menu ? 1 : 0);
        EXPECT_EQ(popup.Count(WM_KEYDOWN), 1); // the key still reaches the popup
        PostMessageW(popup.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(RunPopupLoop(popup.hwnd), PopupLoopEnd::Closed);
        EXPECT_FALSE(IsWindow(popup.hwnd));
    }
}

TEST(PopupHook, AMenuChainClosesOnForeignActivationButNotForItsSubmenu) {
    TestWindow other{AttachOptions{}};
    Popup first(PopupKind::Menu);
    Popup sub(PopupKind::Menu, first.hwnd);
    SetWindowProperty(first.hwnd, kMenuChainProperty, first.hwnd);
    SetWindowProperty(sub.hwnd, kMenuChainProperty, first.hwnd);
    SetWindowProperty(first.hwnd, kMenuSubProperty, sub.hwnd);

    // Moving into the submenu and back deactivates each in turn: nothing closes.
    SendMessageW(first.hwnd, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(sub.hwnd));
    SendMessageW(sub.hwnd, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(first.hwnd));
    Pump();
    EXPECT_TRUE(IsWindow(first.hwnd));
    EXPECT_TRUE(IsWindow(sub.hwnd));

    // Another window (or another program, lParam null) takes over: the whole
    // chain goes, from its first menu.
    SendMessageW(sub.hwnd, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.hwnd()));
    EXPECT_EQ(RunPopupLoop(first.hwnd), PopupLoopEnd::Closed);
    EXPECT_FALSE(IsWindow(sub.hwnd));

    Popup lone(PopupKind::Menu);
    SetWindowProperty(lone.hwnd, kMenuChainProperty, lone.hwnd);
    SendMessageW(lone.hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(RunPopupLoop(lone.hwnd), PopupLoopEnd::Closed);
}

TEST(PopupHook, ADropDownClosesWhenItLosesActivation) {
    TestWindow other{AttachOptions{}};
    Popup dropDown(PopupKind::DropDown);
    SendMessageW(dropDown.hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
    EXPECT_TRUE(IsWindow(dropDown.hwnd));
    SendMessageW(dropDown.hwnd, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.hwnd()));
    EXPECT_EQ(RunPopupLoop(dropDown.hwnd), PopupLoopEnd::Closed);
}

TEST(PopupLoop, AQuitEndsTheLoopFreesThePopupAndIsPostedAgain) {
    Popup popup(PopupKind::MessageBox);
    PostQuitMessage(7);
    EXPECT_EQ(RunPopupLoop(popup.hwnd), PopupLoopEnd::QuitPosted);
    EXPECT_FALSE(IsWindow(popup.hwnd));
    int code = 0;
    EXPECT_TRUE(TakeQuit(&code));
    EXPECT_EQ(code, 7);
}

TEST(PopupLoop, APopupWhoseOwnerIsDestroyedEndsItsLoopAndGoes) {
    // Owned by the window (destroyed with it) and merely tied to it.
    for (bool windowsOwner : {true, false}) {
        auto owner = std::make_unique<TestWindow>(AttachOptions{});
        Popup popup(PopupKind::DropDown, windowsOwner ? owner->hwnd() : nullptr);
        HWND ownerWindow = owner->hwnd();
        PostMessageW(ownerWindow, WM_CLOSE, 0, 0);
        EXPECT_EQ(RunPopupLoop(popup.hwnd, {.owner = ownerWindow}), PopupLoopEnd::OwnerGone);
        EXPECT_FALSE(IsWindow(ownerWindow));
        EXPECT_FALSE(IsWindow(popup.hwnd)) << "owned " << windowsOwner;
    }
}

TEST(PopupLoop, AnOwnerClosedFromAnotherThreadStillEndsTheLoop) {
    TestWindow owner{AttachOptions{}};
    Popup popup(PopupKind::Menu, owner.hwnd());
    // A message sent from another thread runs inside GetMessage, which does
    // not return for it: the loop must still notice the window went.
    std::thread closer([window = owner.hwnd()] {
        Sleep(100);
        SendMessageW(window, WM_CLOSE, 0, 0);
    });
    const PopupLoopEnd end = RunPopupLoop(popup.hwnd, {.owner = owner.hwnd()});
    closer.join();
    EXPECT_EQ(end, PopupLoopEnd::OwnerGone);
    EXPECT_FALSE(IsWindow(popup.hwnd));
}

TEST(PopupLoop, AModalLoopDropsInputForOtherWindowsOnly) {
    TestWindow owner{AttachOptions{}};
    std::vector<UINT> ownerSeen;
    owner.host().EventMessage = [&ownerSeen](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        ownerSeen.push_back(message);
        return -1;
    };
    Popup box(PopupKind::MessageBox, owner.hwnd());
    PostMessageW(owner.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(50, 50));
    PostMessageW(owner.hwnd(), WM_KEYDOWN, 'A', 0);
    PostMessageW(owner.hwnd(), WM_USER + 3, 0, 0); // not input: delivered
    PostMessageW(box.hwnd, WM_KEYDOWN, 'B', 0);
    PostMessageW(box.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(RunPopupLoop(box.hwnd, {.owner = owner.hwnd(), .dropForeignInput = true}),
              PopupLoopEnd::Closed);
    EXPECT_EQ(std::count(ownerSeen.begin(), ownerSeen.end(), WM_LBUTTONDOWN), 0);
    EXPECT_EQ(std::count(ownerSeen.begin(), ownerSeen.end(), WM_KEYDOWN), 0);
    EXPECT_EQ(std::count(ownerSeen.begin(), ownerSeen.end(), WM_USER + 3), 1);
    EXPECT_EQ(box.Count(WM_KEYDOWN), 1); // 'B'; Escape is taken by the hook
}

} // namespace
} // namespace kodaro::ui::testing
