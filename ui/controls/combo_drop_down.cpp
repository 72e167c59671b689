#include "ui/controls/combo_drop_down.h"

#include "ui/controls/combo_box.h"
#include "ui/controls/list_view.h"
#include "ui/host/framework.h"
#include "ui/host/popup_loop.h"

#include <algorithm>

namespace kodaro::ui {

namespace {

// The drop-down's chosen row, written by the list before the window closes.
// One slot for the process: only one drop-down is open at a time.
int dropDownResult = 0;
bool dropDownOpen = false;

// The selection colour 0xC06000 (ColorRef) at alpha 190.
constexpr int kSelectionAlpha = 190;
constexpr ColorRef kSelectionColor = 0xC06000;
constexpr ColorRef kDropDownBack = 0xFFFFFF;
// A host window shows only inside a margin of 6 pixels on every side (the
// frame's shadow room); a square frame draws its two edge lines just inside
// it. The list sits inside the edge.
constexpr int kMargin = 6;
constexpr int kInset = 8;

class OpenFlag {
public:
    OpenFlag() { dropDownOpen = true; }
    ~OpenFlag() { dropDownOpen = false; }
    OpenFlag(const OpenFlag&) = delete;
    OpenFlag& operator=(const OpenFlag&) = delete;
};

// The combo's rectangle on the screen.
RECT ScreenRect(const ComboBox& combo) {
    RECT window{};
    GetWindowRect(combo.Window(), &window);
    const RectF rect = combo.Rect();
    const LONG left = window.left + static_cast<LONG>(rect.X);
    const LONG top = window.top + static_cast<LONG>(rect.Y);
    return RECT{left, top, left + static_cast<LONG>(rect.Width),
                top + static_cast<LONG>(rect.Height)};
}

} // namespace

int RunDropDown(ComboBox& combo, const std::vector<std::wstring>& items) {
    if (dropDownOpen) {
        return -1;
    }
    if (!combo.Created()) {
        return 0;
    }
    const OpenFlag open;
    dropDownResult = 0;
    RegisterWindowClass(kDropDownClassName);
    const HWND owner = combo.Window();
    const RECT below = ScreenRect(combo);
    const int shown = std::max<LONG>(20, below.right - below.left);
    const int rows = std::clamp(static_cast<int>(items.size()), 1, kDropDownMaxRows);
    // The visible part is as wide as the combo.
    const int width = shown + 2 * kMargin - 1;
    const auto listWidth = static_cast<float>(width - 2 * kInset + 1);

    HostWindowOptions create;
    create.parent = owner;
    create.x = below.left - kMargin;
    create.y = below.bottom - kMargin;
    create.width = width;
    create.height = rows * 24 + 2 * kInset;
    create.className = kDropDownClassName;
    create.style = WS_POPUP | WS_CLIPCHILDREN;
    create.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    const HWND popup = CreateHostWindow(create);
    if (popup == nullptr) {
        return 0;
    }
    HostWindow host;
    ListView list;
    AttachOptions attach;
    attach.frameStyle = 0;
    attach.backgroundColor = kDropDownBack;
    attach.frameLook = WindowLook::Square;
    attach.dragToMove = false;
    attach.resizable = false;
    attach.imageDecoration = false;
    attach.blurBehind = false;
    // Closing with a chosen row: a click released on the list, or Enter.
    host.EventClick = [&list, popup](HWND, Control* control, WPARAM, LPARAM, int) {
        if (control == &list && list.CurrentItem() > 0) {
            dropDownResult = list.CurrentItem();
            PostMessageW(popup, WM_CLOSE, 0, 0);
        }
    };
    if (!host.Attach(popup, attach)) {
        DestroyWindow(popup);
        return 0;
    }
    MakePopup(host, PopupKind::DropDown);

    ListViewOptions look;
    look.rowSpacing = 0;
    look.selectionStyle = 1;
    look.singleSelection = true;
    look.textColor = combo.TextColor();
    look.highlightColor = ToArgb(kSelectionColor, kSelectionAlpha);
    list.Create(host, kInset, kInset, listWidth, static_cast<float>(rows * 24), look);
    list.InsertColumn(0, L"", static_cast<int>(listWidth) - kListBarThickness);
    int preselect = 0;
    for (const std::wstring& text : items) {
        const int row = list.InsertItem(0, text);
        if (preselect == 0 && text == combo.Text()) {
            preselect = row;
        }
    }
    // The window follows the rows; it opens above the combo when the screen
    // has no room below.
    const int listHeight = rows * list.RowHeight();
    const int height = listHeight + 2 * kInset - 1;
    const int shownHeight = height - 2 * kMargin + 1;
    const RECT work = WorkArea();
    const int top = below.bottom + shownHeight > work.bottom && below.top - shownHeight >= work.top
                        ? below.top - shownHeight
                        : below.bottom;
    SetWindowPos(popup, nullptr, below.left - kMargin, top - kMargin, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    list.Move(kInset, kInset, listWidth, static_cast<float>(listHeight));
    if (preselect > 0) {
        list.CurrentItem(preselect);
    }

    ShowWindow(popup, SW_SHOWNORMAL);
    SetForegroundWindow(popup);
    host.SetFocusControl(&list, false);
    RunPopupLoop(popup, {.owner = owner});
    return dropDownResult;
}

} // namespace kodaro::ui
