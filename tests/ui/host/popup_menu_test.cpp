// Popup menus opened for real under Wine and driven by window messages from
// inside their own nested loop.
#include "tests/support/timer_script.h"
#include "tests/ui/host/framework_fixture.h"
#include "ui/host/popup_loop.h"
#include "ui/host/popup_menu.h"

#include <functional>

namespace kodaro::ui::testing {
namespace {

using Script = kodaro::test::TimerScript;

// Centre of the menu's item at a 1-based row (24-pixel rows from y = 8, no
// separators above it).
LPARAM Row(int row) {
    return At(60, 8 + 24 * (row - 1) + 12);
}

std::function<bool()> Click(const PopupMenu& menu, int row) {
    return [&menu, row] {
        HWND window = menu.Window();
        if (window == nullptr) {
            return false;
        }
        SendMessageW(window, WM_MOUSEMOVE, 0, Row(row));
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Row(row));
        SendMessageW(window, WM_LBUTTONUP, 0, Row(row));
        return true;
    };
}

std::function<bool()> Key(const PopupMenu& menu, WPARAM key) {
    return [&menu, key] {
        if (menu.Window() == nullptr) {
            return false;
        }
        SendMessageW(menu.Window(), WM_KEYDOWN, key, 0);
        return true;
    };
}

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartFramework();
        menu.AddItem(L"打开(&O)", {}, 11);
        menu.AddItem(L"停用(&D)", {}, 12, kMenuItemDisabled);
        menu.AddItem(L"");
        menu.AddItem(L"保存(&S)", {}, 13);
    }
    // The fourth item sits below a separator: 8 + 24 + 24 + 9 + 12.
    static LPARAM SaveRow() { return At(60, 77); }

    TestWindow owner{AttachOptions{}};
    PopupMenu menu;
};

TEST(PopupMenuItems, IndexesAreOneBasedAndOutOfRangeIsHarmless) {
    PopupMenu menu;
    menu.AddItem(L"一", {}, 1);
    menu.AddItem(L"二", {}, 2);
    EXPECT_TRUE(menu.DeleteItem(1));
    EXPECT_FALSE(menu.DeleteItem(2));
    EXPECT_FALSE(menu.DeleteItem(0));
    EXPECT_EQ(menu.ItemText(1), L"二");
    EXPECT_EQ(menu.ItemCommand(1), 2u);
    menu.ItemState(5, kMenuItemDisabled);
    EXPECT_EQ(menu.ItemState(5), 0);
    EXPECT_EQ(menu.ItemText(0), L"");
    EXPECT_EQ(menu.ItemSubmenu(3), nullptr);
}

TEST(PopupMenuItems, TheEditMenuIsBuiltAtStartUp) {
    StartFramework();
    const PopupMenu& menu = EditContextMenu();
    ASSERT_EQ(menu.ItemCount(), 5);
    const wchar_t* texts[] = {L"剪切(&T)", L"复制(&C)", L"粘贴(&P)", L"", L"全部选择(&A)"};
    const UINT commands[] = {88, 67, 86, 0, 65};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(menu.ItemText(i), texts[i - 1]);
        EXPECT_EQ(menu.ItemCommand(i), commands[i - 1]);
    }
}

TEST_F(PopupMenuTest, TheMenuWindowIsMarkedAndAClickReturnsTheCommand) {
    HWND seen = nullptr;
    int flags = 0;
    HWND chain = nullptr;
    void* opener = nullptr;
    DWORD exStyle = 0;
    wchar_t className[64] = {};
    Script script{[&] {
                      seen = menu.Window();
                      if (seen == nullptr) {
                          return false;
                      }
                      flags = PopupKindOf(seen);
                      chain = static_cast<HWND>(GetPropW(seen, kMenuChainProperty));
                      opener = GetPropW(seen, kMenuEventProperty);
                      exStyle = static_cast<DWORD>(GetWindowLongPtrW(seen, GWL_EXSTYLE));
                      GetClassNameW(seen, className, 64);
                      return true;
                  },
                  [&] {
                      SendMessageW(seen, WM_MOUSEMOVE, 0, SaveRow());
                      SendMessageW(seen, WM_LBUTTONDOWN, MK_LBUTTON, SaveRow());
                      SendMessageW(seen, WM_LBUTTONUP, 0, SaveRow());
                      return true;
                  }};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 13u);
    EXPECT_EQ(flags, 1);
    EXPECT_EQ(chain, seen);
    EXPECT_EQ(opener, &owner.host());
    EXPECT_EQ(std::wstring(className), kMenuClassName);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0u);
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0u);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(menu.Window(), nullptr);
}

TEST_F(PopupMenuTest, DisabledItemsAndSeparatorsChooseNothing) {
    auto separator = [this] {
        SendMessageW(menu.Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 60));
        SendMessageW(menu.Window(), WM_LBUTTONUP, 0, At(60, 60));
        return true;
    };
    Script script{Click(menu, 2), separator, Key(menu, 'D'), Key(menu, VK_ESCAPE)};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 0u);
    EXPECT_TRUE(Script::Done()); // the menu was still open for every step
}

TEST_F(PopupMenuTest, AccessKeysWorkWithoutAlt) {
    Script script{Key(menu, 'S')};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 13u);
}

TEST_F(PopupMenuTest, ArrowKeysSkipSeparatorsAndDisabledItemsAndWrap) {
    // Down: 打开; Down: 保存 (past the disabled item and the separator);
    // Down wraps to 打开; Up wraps back to 保存.
    Script script{Key(menu, VK_DOWN), Key(menu, VK_DOWN), Key(menu, VK_DOWN), Key(menu, VK_UP),
                  Key(menu, VK_RETURN)};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 13u);
}

TEST_F(PopupMenuTest, TheMenuStaysInsideTheScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT placed{};
    Script script{[&] {
        if (menu.Window() == nullptr) {
            return false;
        }
        GetWindowRect(menu.Window(), &placed);
        SendMessageW(menu.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    }};
    menu.TrackPopup(&owner.host(), screenWidth - 10, screenHeight - 10);
    const SIZE size = menu.MeasureSize();
    EXPECT_EQ(placed.right, screenWidth);
    EXPECT_EQ(placed.bottom, screenHeight);
    EXPECT_EQ(placed.right - placed.left, size.cx);
    EXPECT_EQ(placed.bottom - placed.top, size.cy);
}

TEST_F(PopupMenuTest, ClosingTheOwnerWhileTheMenuIsOpenEndsIt) {
    HWND seen = nullptr;
    Script script{[&] {
        seen = menu.Window();
        if (seen == nullptr) {
            return false;
        }
        PostMessageW(owner.hwnd(), WM_CLOSE, 0, 0);
        return true;
    }};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 0u);
    EXPECT_FALSE(IsWindow(owner.hwnd()));
    EXPECT_FALSE(IsWindow(seen));
}

class SubmenuTest : public PopupMenuTest {
protected:
    void SetUp() override {
        PopupMenuTest::SetUp();
        sub.AddItem(L"子项一", {}, 21);
        sub.AddItem(L"子项二", {}, 22);
        menu.ItemSubmenu(1, &sub);
    }
    PopupMenu sub;
};

TEST_F(SubmenuTest, HoveringOpensTheSubmenuAndItsChoiceEndsTheChain) {
    HWND first = nullptr;
    HWND second = nullptr;
    Script script{[&] {
                      first = menu.Window();
                      if (first == nullptr) {
                          return false;
                      }
                      SendMessageW(first, WM_MOUSEMOVE, 0, Row(1));
                      return true;
                  },
                  [&] {
                      second = sub.Window();
                      if (second == nullptr) {
                          return false;
                      }
                      EXPECT_EQ(GetPropW(first, kMenuSubProperty), second);
                      EXPECT_EQ(GetPropW(second, kMenuChainProperty), first);
                      RECT a{};
                      RECT b{};
                      GetWindowRect(first, &a);
                      GetWindowRect(second, &b);
                      EXPECT_GT(b.left, a.left); // beside its menu, on the right
                      return true;
                  },
                  Click(sub, 2)};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 22u);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(SubmenuTest, AnotherWindowActivatedClosesTheChainButTheSubmenuDoesNot) {
    TestWindow other{AttachOptions{}};
    HWND first = nullptr;
    HWND second = nullptr;
    Script script{[&] {
                      first = menu.Window();
                      if (first == nullptr) {
                          return false;
                      }
                      SendMessageW(first, WM_KEYDOWN, VK_DOWN, 0);
                      SendMessageW(first, WM_KEYDOWN, VK_RIGHT, 0);
                      return true;
                  },
                  [&] {
                      second = sub.Window();
                      if (second == nullptr) {
                          return false;
                      }
                      // Entering the submenu took the activation from the menu
                      // without closing it.
                      EXPECT_TRUE(IsWindow(first));
                      ShowWindow(other.hwnd(), SW_SHOW);
                      SetForegroundWindow(other.hwnd());
                      return true;
                  }};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 0u);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(SubmenuTest, EscapeInTheSubmenuReturnsToTheMenu) {
    Script script{Key(menu, VK_DOWN),
                  Key(menu, VK_RIGHT),
                  Key(sub, VK_DOWN),
                  Key(sub, VK_ESCAPE),
                  [&] { return sub.Window() == nullptr; },
                  Key(menu, 'S')};
    EXPECT_EQ(menu.TrackPopup(&owner.host(), 100, 100), 13u);
}

} // namespace
} // namespace kodaro::ui::testing
