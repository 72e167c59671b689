#include "controls_testing.h"

#include "ui/controls/list_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kodaro::ui {
namespace {

using test::TestWindow;

// A list at (10, 10) of one 180-pixel column without a title, so rows start
// at its top.
struct ListFixture {
    TestWindow window;
    ListView list;
    std::vector<std::pair<WPARAM, int>> changes;
    std::vector<int> hot;

    explicit ListFixture(int rows, float height = 150) {
        EXPECT_TRUE(list.Create(window.hwnd(), 10, 10, 200, height));
        list.InsertColumn(0, L"", 180);
        for (int i = 1; i <= rows; ++i) {
            list.InsertItem(0, L"row " + std::to_wstring(i));
        }
        list.Subscribe(kListSelectionChanged, [this](Control*, UINT, WPARAM how, LPARAM row) {
            changes.emplace_back(how, static_cast<int>(row));
        });
        list.Subscribe(kListHotChanged, [this](Control*, UINT, WPARAM, LPARAM row) {
            hot.push_back(static_cast<int>(row));
        });
        window.Pump();
    }

    int RowY(int row) const { return 10 + (row - 1) * list.RowHeight() + list.RowHeight() / 2; }

    void Press(int row, WPARAM keys = 0) {
        window.MouseMove(50, RowY(row));
        SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(50, RowY(row)));
        window.LeftUp(50, RowY(row));
        window.Pump();
    }

    // The key as the window gets it while the given modifiers are down.
    void Key(WPARAM key, bool shift = false, bool control = false) {
        window.KeyDown(key, control, shift);
        window.Pump();
    }

    std::vector<int> Selection() const {
        std::vector<int> rows = list.SelectedRows();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // The array of selected rows always matches the rows' selected states.
    void ExpectInStep() const {
        std::vector<int> states;
        for (int row = 1; row <= list.ItemCount(); ++row) {
            if (list.Selected(row)) {
                states.push_back(row);
            }
        }
        EXPECT_EQ(Selection(), states);
    }
};

TEST(ListViewColumns, ANewColumnGivesEveryRowAnEmptyCell) {
    TestWindow window;
    ListView list;
    ASSERT_TRUE(list.Create(window.hwnd(), 10, 10, 200, 150));
    EXPECT_EQ(list.Kind(), kKindListView);
    EXPECT_EQ(list.InsertItem(0, L"no column"), 0);
    list.InsertColumn(0, L"", 105);
    EXPECT_EQ(list.InsertItem(0, L"a"), 1);
    EXPECT_EQ(list.InsertItem(0, L"b", -1, {L"dropped"}), 2);
    EXPECT_EQ(list.InsertColumn(0, L"second"), 2);
    EXPECT_EQ(list.ColumnWidth(2), 50);
    EXPECT_EQ(list.InsertColumn(1, L"first", 70), 1);
    for (int row = 1; row <= 2; ++row) {
        EXPECT_EQ(list.GetItemText(row, 1), L"");
        EXPECT_EQ(list.GetItemText(row, 3), L"");
    }
    EXPECT_EQ(list.GetItemText(1, 2), L"a");
    EXPECT_EQ(list.InsertItem(1, L"x", 2, {L"y", L"z"}), 1);
    EXPECT_EQ(list.GetItemText(1, 2), L"y");
    EXPECT_EQ(list.GetItemText(1, 3), L"z");
    EXPECT_EQ(list.ItemImage(1), 2);
    EXPECT_EQ(list.GetItemText(2, 2), L"a");
    EXPECT_TRUE(list.SetItemText(3, 3, L"c"));
    EXPECT_FALSE(list.SetItemText(4, 1, L"none"));
    EXPECT_EQ(list.GetItemText(9, 1), L"");
    EXPECT_EQ(list.GetItemText(3, 3), L"c");
    // A title shows the header above the rows.
    window.Pump();
    EXPECT_GT(list.HeaderHeight(), 0);
}

TEST(ListViewSelection, PressesFollowThePlainControlAndShiftRules) {
    ListFixture f(10);
    f.Press(3);
    EXPECT_EQ(f.Selection(), (std::vector<int>{3}));
    f.Press(5, MK_CONTROL);
    EXPECT_EQ(f.list.SelectedRows(), (std::vector<int>{3, 5}));
    f.Press(3, MK_CONTROL); // a selected row toggles off
    EXPECT_EQ(f.Selection(), (std::vector<int>{5}));
    f.ExpectInStep();
    EXPECT_EQ(f.list.AnchorItem(), 3);
    f.Press(7, MK_SHIFT); // from the anchor, the rest cleared
    EXPECT_EQ(f.Selection(), (std::vector<int>{3, 4, 5, 6, 7}));
    f.ExpectInStep();
    f.Press(6, MK_SHIFT); // the anchor stays: the range shrinks
    EXPECT_EQ(f.Selection(), (std::vector<int>{3, 4, 5, 6}));
    f.Press(2);
    EXPECT_EQ(f.Selection(), (std::vector<int>{2}));
    f.ExpectInStep();
    EXPECT_EQ(f.list.CurrentItem(), 2);
    ASSERT_EQ(f.changes.size(), 6u);
    EXPECT_EQ(f.changes.back(), std::make_pair(kListByMouse, 2));

    // Rows inserted or deleted before a selected row keep the array in step.
    f.Press(4, MK_CONTROL);
    f.list.InsertItem(1, L"new");
    EXPECT_EQ(f.Selection(), (std::vector<int>{3, 5}));
    f.list.DeleteItem(3);
    EXPECT_EQ(f.Selection(), (std::vector<int>{4}));
    f.ExpectInStep();
    f.list.Clear();
    EXPECT_TRUE(f.list.SelectedRows().empty());

    // With single selection, Control and Shift press like plain clicks.
    ListFixture single(5);
    single.list.SingleSelection(true);
    single.Press(1);
    single.Press(3, MK_CONTROL);
    single.Press(5, MK_SHIFT);
    EXPECT_EQ(single.Selection(), (std::vector<int>{5}));
    single.list.Selected(2, true);
    EXPECT_EQ(single.Selection(), (std::vector<int>{2}));
}

TEST(ListViewKeyboard, KeysMoveTheCurrentRowAndTheViewFollows) {
    ListFixture f(100);
    ASSERT_TRUE(f.window.host().SetFocusControl(&f.list, false));
    const int view = 150;
    const int content = 100 * f.list.RowHeight();
    f.Key(VK_DOWN);
    EXPECT_EQ(f.list.CurrentItem(), 1);
    f.Key(VK_END);
    EXPECT_EQ(f.list.CurrentItem(), 100);
    EXPECT_EQ(f.list.ScrollOffset(), content - view);
    f.Key(VK_HOME);
    EXPECT_EQ(f.list.ScrollOffset(), 0);
    f.Key(VK_DOWN, true);
    f.Key(VK_DOWN, true);
    EXPECT_EQ(f.Selection(), (std::vector<int>{1, 2, 3}));
    f.Key(VK_DOWN, false, true); // Control moves without selecting
    EXPECT_EQ(f.list.CurrentItem(), 4);
    EXPECT_EQ(f.Selection(), (std::vector<int>{1, 2, 3}));
    f.Key(VK_SPACE, false, true);
    EXPECT_EQ(f.Selection(), (std::vector<int>{1, 2, 3, 4}));
    f.Key(VK_NEXT);
    const int pageRows = view / f.list.RowHeight() - 1;
    EXPECT_EQ(f.list.CurrentItem(), 4 + pageRows);
    EXPECT_EQ(f.Selection(), (std::vector<int>{4 + pageRows}));
    // The current row lies wholly inside the view.
    const int top = (f.list.CurrentItem() - 1) * f.list.RowHeight();
    EXPECT_GE(top, f.list.ScrollOffset());
    EXPECT_LE(top + f.list.RowHeight(), f.list.ScrollOffset() + view);
    f.Key(VK_PRIOR);
    f.Key(VK_PRIOR);
    EXPECT_EQ(f.list.CurrentItem(), 1);
    f.Key(VK_UP);
    EXPECT_EQ(f.list.CurrentItem(), 1);
    f.ExpectInStep();
    EXPECT_EQ(f.changes.back(), std::make_pair(kListByKeyboard, 1));
    f.Key('A', false, true);
    EXPECT_EQ(f.list.SelectedRows().size(), 100u);
    f.ExpectInStep();
}

TEST(ListViewScrolling, WheelStaysInRangeAndOnlyVisibleRowsArePainted) {
    ListFixture f(1000);
    ASSERT_TRUE(f.window.host().SetFocusControl(&f.list, false));
    const int maximum = 1000 * f.list.RowHeight() - 150;
    auto wheel = [&](int delta) {
        SendMessageW(f.window.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(50, 50));
        f.window.Pump();
    };
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(f.list.ScrollOffset(), 3 * f.list.RowHeight());
    EXPECT_LE(f.list.RowsPaintedLastTime(), 150 / f.list.RowHeight() + 2);
    wheel(WHEEL_DELTA * 5);
    EXPECT_EQ(f.list.ScrollOffset(), 0);
    for (int i = 0; i < 4; ++i) {
        wheel(-WHEEL_DELTA * 100);
    }
    EXPECT_EQ(f.list.ScrollOffset(), maximum);
    EXPECT_EQ(f.list.VerticalBar().Position(), maximum);
    EXPECT_LE(f.list.RowsPaintedLastTime(), 150 / f.list.RowHeight() + 2);

    // A short list has no scroll range: the wheel does nothing.
    ListFixture few(3);
    ASSERT_TRUE(few.window.host().SetFocusControl(&few.list, false));
    SendMessageW(few.window.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(few.list.ScrollOffset(), 0);
    EXPECT_FALSE(few.list.VerticalBar().Visible());
}

TEST(ListViewHover, TheHotRowFollowsTheMouseAndIsReported) {
    ListFixture f(5);
    f.window.MouseMove(50, f.RowY(2));
    f.window.MouseMove(50, f.RowY(2) + 1);
    f.window.MouseMove(50, f.RowY(4));
    EXPECT_EQ(f.list.HotItem(), 4);
    f.window.MouseMove(300, 200); // off the list
    EXPECT_EQ(f.list.HotItem(), 0);
    EXPECT_EQ(f.hot, (std::vector<int>{2, 4, 0}));
}

} // namespace
} // namespace kodaro::ui
