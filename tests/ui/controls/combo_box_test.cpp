#include "controls_testing.h"

#include "tests/support/process_memory.h"
#include "tests/support/timer_script.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/combo_drop_down.h"
#include "ui/host/popup_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kodaro::ui {
namespace {

using test::TestWindow;

// This process's drop-down window (tests of other programs may run at the
// same time on the same desktop).
HWND OwnDropDown() {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, kDropDownClassName, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        if (process == GetCurrentProcessId()) {
            return found;
        }
    }
    return nullptr;
}

// A script step that runs work inside the drop-down's own loop once its
// window shows.
test::ScriptStep WhileOpen(std::function<void(HWND popup)> work) {
    return [work = std::move(work)] {
        const HWND popup = OwnDropDown();
        if (popup == nullptr || !IsWindowVisible(popup)) {
            return false;
        }
        work(popup);
        return true;
    };
}

// Opens the drop-down with work scheduled inside it; what DropDown returns.
bool OpenWith(ComboBox& combo, std::function<void(HWND)> work) {
    test::TimerScript script({WhileOpen(std::move(work))});
    return combo.DropDown();
}

void Key(HWND popup, WPARAM key) {
    SendMessageW(popup, WM_KEYDOWN, key, 1);
}

struct ComboFixture {
    TestWindow window{320, 240};
    ComboBox combo;
    std::vector<std::string> events;
    ComboFixture() {
        EXPECT_TRUE(combo.Create(window.hwnd(), 20, 30, 110, 24));
        for (const wchar_t* text : {L"128", L"256", L"512", L"768"}) {
            combo.AddItem(text);
        }
        combo.CurrentIndex(2);
        combo.OnBeforeDropDown([this](ComboBox&) { events.push_back("before"); });
        combo.OnAfterDropDown([this](ComboBox&) { events.push_back("after"); });
        combo.OnSelect(
            [this](ComboBox&, int index) { events.push_back("select " + std::to_string(index)); });
        window.Pump();
    }
};

TEST(ComboItems, IndexesTextsAndDataStayConsistent) {
    TestWindow window;
    ComboBox combo;
    ASSERT_TRUE(combo.Create(window.hwnd(), 10, 10, 110, 24, L"start"));
    EXPECT_EQ(combo.Kind(), kKindComboBox);
    EXPECT_TRUE(combo.Focusable());
    EXPECT_EQ(combo.AddItem(L"a", 10), 1);
    EXPECT_EQ(combo.AddItem(L"c", 30), 2);
    EXPECT_EQ(combo.InsertItem(2, L"b", 20), 2);
    EXPECT_EQ(combo.ItemText(3), L"c");
    EXPECT_EQ(combo.ItemData(2), 20);
    combo.CurrentIndex(9); // not an item: nothing changes
    EXPECT_EQ(combo.CurrentIndex(), 0);
    EXPECT_EQ(combo.Text(), L"start");
    combo.CurrentIndex(3);
    EXPECT_EQ(combo.Text(), L"c");
    combo.InsertItem(1, L"first");
    EXPECT_EQ(combo.CurrentIndex(), 4); // still "c"
    EXPECT_TRUE(combo.DeleteItem(1));
    EXPECT_EQ(combo.CurrentIndex(), 3);
    EXPECT_TRUE(combo.DeleteItem(3));
    EXPECT_EQ(combo.CurrentIndex(), 0);
    EXPECT_FALSE(combo.DeleteItem(3));
    combo.SetItemData(2, 99);
    combo.SetItemText(2, L"B");
    EXPECT_EQ(combo.ItemData(2), 99);
    EXPECT_EQ(combo.ItemText(2), L"B");
    EXPECT_EQ(combo.ItemData(7), 0);
    EXPECT_FALSE(combo.ValidIndex(0));
    combo.Clear();
    EXPECT_EQ(combo.ItemCount(), 0);
}

TEST(ComboDropDown, OpensBelowTheComboAndTheKeyboardChooses) {
    ComboFixture f;
    RECT window{};
    GetWindowRect(f.window.hwnd(), &window);
    RECT placed{};
    LONG_PTR exStyle = 0;
    HANDLE flags = nullptr;
    const bool chosen = OpenWith(f.combo, [&](HWND popup) {
        GetWindowRect(popup, &placed);
        exStyle = GetWindowLongPtrW(popup, GWL_EXSTYLE);
        flags = GetPropW(popup, kPopupFlagsProperty);
        EXPECT_TRUE(f.combo.DroppedDown());
        // "256" is preselected: one row down is "512", Enter takes it.
        Key(popup, VK_DOWN);
        Key(popup, VK_RETURN);
    });
    EXPECT_TRUE(chosen);
    // Host windows show inside a margin of 6 pixels: the shown part starts
    // right below the combo and is as wide as it.
    EXPECT_EQ(placed.left + 6, window.left + 20);
    EXPECT_EQ(placed.top + 6, window.top + 30 + 24);
    EXPECT_EQ(placed.right - placed.left - 11, 110);
    EXPECT_GT(placed.bottom - placed.top, 4 * 12);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(flags), 2);
    EXPECT_EQ(f.events, (std::vector<std::string>{"before", "after", "select 3"}));
    EXPECT_EQ(f.combo.CurrentIndex(), 3);
    EXPECT_EQ(f.combo.Text(), L"512");
    EXPECT_EQ(OwnDropDown(), nullptr);

    // Escape closes without a choice; the after callback still runs.
    f.events.clear();
    EXPECT_FALSE(OpenWith(f.combo, [](HWND popup) {
        Key(popup, VK_DOWN);
        Key(popup, VK_ESCAPE);
    }));
    EXPECT_EQ(f.events, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(f.combo.Text(), L"512");
}

TEST(ComboDropDown, AClickOnARowChoosesIt) {
    ComboFixture f;
    f.combo.CurrentIndex(4);
    f.combo.Text(L"not an item"); // nothing preselected
    EXPECT_TRUE(OpenWith(f.combo, [](HWND popup) {
        RECT rect{};
        GetWindowRect(popup, &rect);
        const int row = (rect.bottom - rect.top - 15) / 4;
        const LPARAM at = MAKELPARAM(20, 8 + row + row / 2); // the second row
        SendMessageW(popup, WM_MOUSEMOVE, 0, at);
        SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(popup, WM_LBUTTONUP, 0, at);
    }));
    EXPECT_EQ(f.combo.CurrentIndex(), 2);
    EXPECT_EQ(f.combo.Text(), L"256");

    // A press or Space on the combo opens it once the press is handled.
    f.window.host().SetFocusControl(&f.combo, false);
    test::TimerScript script({WhileOpen([](HWND popup) { Key(popup, VK_ESCAPE); })});
    f.events.clear();
    f.window.Click(40, 40);
    f.window.Pump();
    EXPECT_EQ(f.events, (std::vector<std::string>{"before", "after"}));
    // Up and Down on the closed combo step through the items.
    SendMessageW(f.window.hwnd(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(f.combo.CurrentIndex(), 3);
    SendMessageW(f.window.hwnd(), WM_KEYDOWN, VK_UP, 1);
    SendMessageW(f.window.hwnd(), WM_KEYDOWN, VK_UP, 1);
    SendMessageW(f.window.hwnd(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(f.combo.CurrentIndex(), 1);
}

TEST(ComboEditable, TheEmbeddedBoxTypesTheTextAndTakesTheChoice) {
    TestWindow window;
    ComboBox combo;
    ComboBoxOptions options;
    options.editable = true;
    ASSERT_TRUE(combo.Create(window.hwnd(), 20, 30, 110, 24, L"abc", options));
    combo.AddItem(L"WPA/WPA2");
    combo.AddItem(L"WEP");
    EditBox* box = combo.Editor();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Text(), L"abc");
    // Over the combo, left of the arrow, 8 pixels lower.
    EXPECT_EQ(box->Height(), 16);
    EXPECT_LT(box->X() + box->Width(), 20 + 110 - 15);
    combo.Text(L"set");
    EXPECT_EQ(box->Text(), L"set");

    // Focus given to the combo goes on to its box, which types the text.
    window.host().SetFocusControl(&combo, false);
    window.Pump();
    EXPECT_EQ(window.host().FocusControl(), box);
    EXPECT_TRUE(combo.HasFocus());
    SendMessageW(window.hwnd(), WM_CHAR, L'!', 1);
    EXPECT_EQ(combo.Text(), L"set!");

    EXPECT_TRUE(OpenWith(combo, [](HWND popup) {
        Key(popup, VK_DOWN);
        Key(popup, VK_DOWN);
        Key(popup, VK_RETURN);
    }));
    EXPECT_EQ(combo.CurrentIndex(), 2);
    EXPECT_EQ(box->Text(), L"WEP");
    EXPECT_EQ(combo.Text(), L"WEP");

    ComboBox plain;
    ASSERT_TRUE(plain.Create(window.hwnd(), 20, 100, 110, 24));
    EXPECT_EQ(plain.Editor(), nullptr);
}

TEST(ComboDropDown, TheOwnerClosingEndsTheDropDown) {
    ComboFixture f;
    EXPECT_FALSE(OpenWith(f.combo, [&](HWND) { DestroyWindow(f.window.hwnd()); }));
    EXPECT_FALSE(f.combo.Created());
    EXPECT_EQ(OwnDropDown(), nullptr);
    EXPECT_EQ(f.events, (std::vector<std::string>{"before"}));

    // The same when the list was opened by a click, from the window's own
    // message handling.
    ComboFixture clicked;
    test::TimerScript script({WhileOpen([&](HWND) { DestroyWindow(clicked.window.hwnd()); })});
    clicked.window.Click(40, 40);
    clicked.window.Pump();
    EXPECT_FALSE(IsWindow(clicked.window.hwnd()));
    EXPECT_EQ(OwnDropDown(), nullptr);
    EXPECT_EQ(clicked.events, (std::vector<std::string>{"before"}));
}

TEST(ComboDropDown, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
    ComboFixture f;
    auto cycle = [&] { OpenWith(f.combo, [](HWND popup) { Key(popup, VK_ESCAPE); }); };
    for (int i = 0; i < 10; ++i) {
        cycle();
    }
    HANDLE process = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
    const SIZE_T memoryBefore = test::WorkingSetBytes();
    for (int i = 0; i < 100; ++i) {
        cycle();
    }
    EXPECT_EQ(GetGuiResources(process, GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(process, GR_USEROBJECTS), userBefore);
    // Wine counts no GUI objects; a leaked drop-down window's surfaces
    // (110 x 100 x 4 bytes and more each) would still show as memory.
    EXPECT_LT(test::WorkingSetBytes(), memoryBefore + 4 * 1024 * 1024);
}

} // namespace
} // namespace kodaro::ui
