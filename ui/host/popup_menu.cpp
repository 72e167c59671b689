#include "ui/host/popup_menu.h"

#include "ui/draw/defaults.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/draw/text.h"
#include "ui/host/framework.h"
#include "ui/host/popup_loop.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace kodaro::ui {

namespace {

// Layout inside the menu window: the body sits 6 pixels in (room for the
// shadow), the items 2 pixels further in; the icon column is 24 wide.
constexpr float kItemLeft = 8;
constexpr float kItemTop = 8;
constexpr float kItemHeight = 24;
constexpr float kSeparatorHeight = 9;
constexpr float kTextLeft = 32;  // from the item's left edge
constexpr float kRightRoom = 30; // the submenu arrow and a margin
constexpr float kIconSize = 16;
constexpr int kMinimumWidth = 120;
// A submenu overlaps its menu's body edge by this much.
constexpr int kSubmenuOverlap = 10;

constexpr Argb kHotFill = 0x4C3399FF;
constexpr Argb kHotEdge = 0x8C3399FF;
constexpr Argb kSeparatorColor = 0x33000000;
constexpr ColorRef kIconColumn = 0xECE4D1;

// Posted to a menu window: open the submenu of item wParam.
constexpr UINT kOpenSubmenuMessage = WM_APP + 0x4D;

bool IsSeparator(const PopupMenu::Item& item) {
    return item.text.empty();
}

float ItemHeight(const PopupMenu::Item& item) {
    return IsSeparator(item) ? kSeparatorHeight : kItemHeight;
}

TextFormat ItemFormat() {
    TextFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.LineAlign(Gdiplus::StringAlignmentCenter);
    format.HotkeyPrefix(Gdiplus::HotkeyPrefixShow);
    return format;
}

// Widest item text, measured on the screen with the framework's font.
float WidestText(const std::vector<PopupMenu::Item>& items) {
    HDC screen = GetDC(nullptr);
    Gdiplus::GpGraphics* raw = nullptr;
    if (screen == nullptr || gdip::GdipCreateFromHDC(screen, &raw) != Gdiplus::Ok) {
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return 0;
    }
    UniqueGraphics graphics(raw);
    const TextFormat format = ItemFormat();
    float widest = 0;
    for (const PopupMenu::Item& item : items) {
        RectF bounds;
        if (!IsSeparator(item) && MeasureText(graphics.get(), item.text, DefaultFont(),
                                              MakeRectF(0, 0, 4000, 100), format.get(), &bounds)) {
            widest = std::max(widest, bounds.Width);
        }
    }
    graphics.reset();
    ReleaseDC(nullptr, screen);
    return widest;
}

// Moves a rectangle of size (w, h) at (x, y) inside the monitor holding the
// point; alternativeX is tried first when the menu would leave on the right
// (a submenu then opens on its menu's left side).
POINT KeepOnScreen(int x, int y, int w, int h, std::optional<int> alternativeX) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &info)) {
        area = info.rcMonitor;
    }
    if (x + w > area.right && alternativeX.has_value() && *alternativeX >= area.left) {
        x = *alternativeX;
    }
    x = std::max<int>(area.left, std::min<int>(x, area.right - w));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - h));
    return POINT{x, y};
}

} // namespace

// One item of an open menu: highlight, icon, caption with its access key
// underlined, and the arrow of a submenu. Separators are drawn by the menu.
class MenuItemControl : public Control {
public:
    MenuItemControl(const PopupMenu::Item& item, int index, const int& hot)
        : item_(item), index_(index), hot_(hot) {}
    ~MenuItemControl() override { Destroy(); }

    bool Create(HostWindow& host, const RectF& rect) {
        if (!item_.icon.empty()) {
            icon_ = LoadImageFromBytes(item_.icon);
        }
        if (!CreateBase(host, rect, kKindMenuItem, true, false)) {
            return false;
        }
        if (const wchar_t key = AccessKeyOf(item_.text)) {
            SendMessageW(host.Window(), EXM_ACCESSKEY, reinterpret_cast<WPARAM>(this), key);
        }
        Disabled(item_.state == kMenuItemDisabled);
        return true;
    }
    int Index() const { return index_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM, LPARAM) override {
        if (message == EXM_QUERYPRESS) {
            return 1; // a press on an item is the start of its click
        }
        return kNotHandled;
    }
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override {
        const auto w = static_cast<float>(width);
        const auto h = static_cast<float>(height);
        if (hot_ == index_) {
            const RectF area = MakeRectF(0, 0, w, h);
            FillRoundRect(graphics, area, 6, kHotFill);
            DrawRoundRect(graphics, area, 6, kHotEdge);
        }
        if (icon_) {
            const float offset = (kTextLeft - 8 - kIconSize) / 2;
            DrawImageRect(graphics, icon_.get(),
                          MakeRectF(offset, (h - kIconSize) / 2, kIconSize, kIconSize));
        }
        const TextFormat format = ItemFormat();
        DrawTextEffect(graphics, MakeRectF(kTextLeft, 0, w - kTextLeft - kRightRoom + 8, h),
                       item_.text, DefaultFont(), item_.textColor, format.get());
        if (item_.submenu != nullptr) {
            const float x = w - 14;
            const float y = h / 2;
            const std::array<Gdiplus::PointF, 3> arrow{
                Gdiplus::PointF(x, y - 4), Gdiplus::PointF(x + 4, y), Gdiplus::PointF(x, y + 4)};
            Gdiplus::GpSolidFill* brush = nullptr;
            if (gdip::GdipCreateSolidFill(item_.textColor, &brush) == Gdiplus::Ok) {
                UniqueBrush owned(brush);
                gdip::GdipFillPolygon(graphics, brush, arrow.data(), 3, Gdiplus::FillModeAlternate);
            }
        }
    }

private:
    PopupMenu::Item item_;
    int index_;
    const int& hot_;
    MemoryImage icon_;
};

// Everything an open menu needs for one TrackPopup call.
class PopupMenu::Session {
public:
    explicit Session(PopupMenu& menu) : menu_(menu), items_(menu.items_) {}
    ~Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    UINT Run(HostWindow* owner, int x, int y, bool atCursor);
    HWND Window() const { return host_.Window(); }

private:
    bool Open(HostWindow* owner, int x, int y, bool atCursor);
    void BuildItems();
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) const;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHot(int index);
    void MoveHot(int step);
    void Activate(int index, bool byKeyboard);
    void RequestSubmenu(int index, bool byKeyboard);
    void RunSubmenus(int index);
    void Choose(UINT command);
    MenuItemControl* ControlOf(int index) const;

    PopupMenu& menu_;
    // A copy: the menu's items may change while it is open (a handler of the
    // owner editing it); the open window keeps what it showed.
    std::vector<Item> items_;
    HostWindow host_;
    std::vector<std::unique_ptr<MenuItemControl>> controls_;
    HWND parentMenu_ = nullptr;
    int hot_ = 0;
    UINT result_ = 0;
    int openSubmenu_ = 0;
    int pendingSubmenu_ = 0;
    bool subByKeyboard_ = false;
};

MenuItemControl* PopupMenu::Session::ControlOf(int index) const {
    for (const auto& control : controls_) {
        if (control->Index() == index) {
            return control.get();
        }
    }
    return nullptr;
}

UINT PopupMenu::Session::Run(HostWindow* owner, int x, int y, bool atCursor) {
    HWND ownerWindow = owner != nullptr ? owner->Window() : nullptr;
    if (!Open(owner, x, y, atCursor)) {
        return 0;
    }
    HWND window = host_.Window();
    const PopupLoopEnd end = RunPopupLoop(window, {.owner = ownerWindow});
    if (parentMenu_ != nullptr && IsWindow(parentMenu_) &&
        GetPropW(parentMenu_, kMenuSubProperty) == window) {
        RemovePropW(parentMenu_, kMenuSubProperty);
    }
    return end == PopupLoopEnd::Closed ? result_ : 0;
}

bool PopupMenu::Session::Open(HostWindow* owner, int x, int y, bool atCursor) {
    if (RegisterWindowClass(kMenuClassName) == 0) {
        return false;
    }
    HWND ownerWindow = owner != nullptr ? owner->Window() : nullptr;
    if (ownerWindow != nullptr && PopupKindOf(ownerWindow) == static_cast<int>(PopupKind::Menu)) {
        parentMenu_ = ownerWindow;
    }
    const SIZE size = menu_.MeasureSize();
    std::optional<int> alternativeX;
    if (atCursor) {
        POINT cursor{};
        GetCursorPos(&cursor);
        x = cursor.x;
        y = cursor.y;
    } else if (parentMenu_ != nullptr) {
        RECT parent{};
        GetWindowRect(parentMenu_, &parent);
        alternativeX = parent.left - size.cx + kSubmenuOverlap;
    }
    const POINT at = KeepOnScreen(x, y, size.cx, size.cy, alternativeX);
    HWND window = CreateHostWindow({.parent = ownerWindow,
                                    .x = at.x,
                                    .y = at.y,
                                    .width = size.cx,
                                    .height = size.cy,
                                    .className = kMenuClassName,
                                    .style = WS_POPUP,
                                    .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW});
    if (window == nullptr) {
        return false;
    }
    host_.EventPaint = [this](HWND, Gdiplus::GpGraphics* graphics, int width, int height) {
        Paint(graphics, width, height);
    };
    if (!host_.Attach(window, {.frameStyle = 0,
                               .opacity = 255,
                               .frameLook = WindowLook::Bare,
                               .resizable = false,
                               .dragToMove = false,
                               .imageDecoration = false,
                               .blurBehind = false})) {
        DestroyWindow(window);
        return false;
    }
    MakePopup(host_, PopupKind::Menu, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMessage(message, wParam, lParam);
    });
    HWND first = parentMenu_ != nullptr
                     ? static_cast<HWND>(GetPropW(parentMenu_, kMenuChainProperty))
                     : window;
    SetPropW(window, kMenuChainProperty, first != nullptr ? first : window);
    SetPropW(window, kMenuEventProperty, owner);
    if (parentMenu_ != nullptr) {
        SetPropW(parentMenu_, kMenuSubProperty, window);
    }
    host_.EventMouseEnter = [this](HWND, Control* control, WPARAM, LPARAM, int) {
        const int index = static_cast<MenuItemControl*>(control)->Index();
        SetHot(index);
        RequestSubmenu(items_[index - 1].submenu != nullptr ? index : 0, false);
    };
    host_.EventClick = [this](HWND, Control* control, WPARAM, LPARAM, int) {
        Activate(static_cast<MenuItemControl*>(control)->Index(), false);
    };
    BuildItems();
    if (std::exchange(menu_.keyboardStart_, false)) {
        MoveHot(1);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    return true;
}

void PopupMenu::Session::BuildItems() {
    float y = kItemTop;
    const float width = static_cast<float>(host_.Width()) - 2 * kItemLeft;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (!IsSeparator(item)) {
            auto control = std::make_unique<MenuItemControl>(item, static_cast<int>(i) + 1, hot_);
            if (control->Create(host_, MakeRectF(kItemLeft, y, width, kItemHeight))) {
                controls_.push_back(std::move(control));
            }
        }
        y += ItemHeight(item);
    }
}

void PopupMenu::Session::Paint(Gdiplus::GpGraphics* graphics, int width, int height) const {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    ResetClip(graphics);
    gdip::GdipGraphicsClear(graphics, 0);
    const RectF body = MakeRectF(6, 6, w - 12, h - 12);
    FillRoundRect(graphics, body, 4, ToArgb(0xFFFFFF, 234));
    DrawRoundRect(graphics, body, 4, ToArgb(0x000000, 125));
    constexpr std::array<std::pair<float, int>, 3> kShadow{{{7, 35}, {10, 15}, {13, 5}}};
    float out = 1;
    for (const auto& [diameter, alpha] : kShadow) {
        DrawRoundRect(graphics, GrowRect(body, -out, -out, 2 * out, 2 * out), diameter,
                      ToArgb(0x000000, alpha));
        out += 1;
    }
    const RectF column = MakeRectF(8, 8, 24, h - 16);
    FillRoundRect(graphics, column, 3, ToArgb(kIconColumn));
    DrawRoundRect(graphics, column, 3, ToArgb(kIconColumn));
    float y = kItemTop;
    for (const Item& item : items_) {
        if (IsSeparator(item)) {
            const float line = y + kSeparatorHeight / 2;
            DrawLine(graphics, kSeparatorColor, kItemLeft + kTextLeft, line, w - kItemLeft - 4,
                     line);
        }
        y += ItemHeight(item);
    }
}

LRESULT PopupMenu::Session::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_UP:
            MoveHot(-1);
            return 0;
        case VK_DOWN:
            MoveHot(1);
            return 0;
        case VK_RETURN:
        case VK_SPACE:
        case VK_RIGHT:
            if (hot_ != 0 && (wParam != VK_RIGHT || items_[hot_ - 1].submenu != nullptr)) {
                Activate(hot_, true);
            }
            return 0;
        case VK_LEFT:
            if (parentMenu_ != nullptr) {
                PostMessageW(host_.Window(), WM_CLOSE, 0, 0);
            }
            return 0;
        default:
            return -1;
        }
    case WM_CLOSE:
        // A submenu closing on its own hands the activation back to its menu
        // first, so that its menu does not take it as leaving the chain.
        if (parentMenu_ != nullptr && GetActiveWindow() == host_.Window()) {
            SetForegroundWindow(parentMenu_);
        }
        return -1;
    case kOpenSubmenuMessage:
        if (openSubmenu_ != 0) {
            RequestSubmenu(static_cast<int>(wParam), subByKeyboard_);
        } else {
            RunSubmenus(static_cast<int>(wParam));
        }
        return 0;
    default:
        return -1;
    }
}

void PopupMenu::Session::SetHot(int index) {
    if (index == hot_) {
        return;
    }
    MenuItemControl* old = ControlOf(hot_);
    hot_ = index;
    if (old != nullptr) {
        old->Redraw();
    }
    if (MenuItemControl* now = ControlOf(hot_)) {
        now->Redraw();
    }
}

void PopupMenu::Session::MoveHot(int step) {
    const int count = static_cast<int>(items_.size());
    int index = hot_;
    for (int tried = 0; tried < count; ++tried) {
        index += step;
        if (index < 1) {
            index = count;
        } else if (index > count) {
            index = 1;
        }
        const Item& item = items_[index - 1];
        if (!IsSeparator(item) && item.state != kMenuItemDisabled) {
            SetHot(index);
            return;
        }
    }
}

void PopupMenu::Session::Activate(int index, bool byKeyboard) {
    if (index < 1 || index > static_cast<int>(items_.size())) {
        return;
    }
    const Item& item = items_[index - 1];
    if (IsSeparator(item) || item.state == kMenuItemDisabled) {
        return;
    }
    SetHot(index);
    if (item.submenu != nullptr) {
        RequestSubmenu(index, byKeyboard);
    } else {
        Choose(item.command);
    }
}

// Submenus open from a posted message, never inside the host's own mouse or
// key handling, since their nested loop runs until they close.
void PopupMenu::Session::RequestSubmenu(int index, bool byKeyboard) {
    if (openSubmenu_ == index) {
        pendingSubmenu_ = 0;
        return;
    }
    if (openSubmenu_ != 0) {
        pendingSubmenu_ = index;
        subByKeyboard_ = byKeyboard;
        if (HWND sub = static_cast<HWND>(GetPropW(host_.Window(), kMenuSubProperty))) {
            PostMessageW(sub, WM_CLOSE, 0, 0);
        }
        return;
    }
    if (index != 0) {
        subByKeyboard_ = byKeyboard;
        PostMessageW(host_.Window(), kOpenSubmenuMessage, static_cast<WPARAM>(index), 0);
    }
}

void PopupMenu::Session::RunSubmenus(int index) {
    HWND window = host_.Window();
    while (index > 0 && index <= static_cast<int>(items_.size())) {
        PopupMenu* sub = items_[index - 1].submenu;
        MenuItemControl* control = ControlOf(index);
        if (sub == nullptr || control == nullptr) {
            return;
        }
        pendingSubmenu_ = 0;
        openSubmenu_ = index;
        RECT frame{};
        GetWindowRect(window, &frame);
        const int x = frame.right - kSubmenuOverlap;
        const int y = frame.top + static_cast<int>(control->Y()) - static_cast<int>(kItemTop);
        sub->keyboardStart_ = subByKeyboard_;
        const UINT chosen = sub->TrackPopup(&host_, x, y, false);
        openSubmenu_ = 0;
        if (!IsWindow(window) || host_.Window() != window) {
            return; // the chain went away meanwhile
        }
        if (chosen != 0) {
            Choose(chosen);
            return;
        }
        index = pendingSubmenu_;
    }
}

void PopupMenu::Session::Choose(UINT command) {
    result_ = command;
    PostMessageW(host_.Window(), WM_CLOSE, 0, 0);
}

PopupMenu::PopupMenu() = default;

PopupMenu::~PopupMenu() = default;

const PopupMenu::Item* PopupMenu::At(int index) const {
    if (index < 1 || index > static_cast<int>(items_.size())) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index - 1)];
}

PopupMenu::Item* PopupMenu::At(int index) {
    return const_cast<Item*>(std::as_const(*this).At(index));
}

int PopupMenu::AddItem(std::wstring text, std::span<const std::uint8_t> icon, UINT command,
                       int state, Argb textColor, PopupMenu* submenu) {
    items_.push_back(Item{std::move(text), std::vector<std::uint8_t>(icon.begin(), icon.end()),
                          command, state, textColor, submenu});
    return static_cast<int>(items_.size());
}

bool PopupMenu::DeleteItem(int index) {
    if (At(index) == nullptr) {
        return false;
    }
    items_.erase(items_.begin() + (index - 1));
    return true;
}

void PopupMenu::Clear() {
    items_.clear();
}

int PopupMenu::ItemState(int index) const {
    const Item* item = At(index);
    return item != nullptr ? item->state : 0;
}

void PopupMenu::ItemState(int index, int state) {
    if (Item* item = At(index)) {
        item->state = state;
    }
}

std::wstring PopupMenu::ItemText(int index) const {
    const Item* item = At(index);
    return item != nullptr ? item->text : std::wstring();
}

void PopupMenu::ItemText(int index, std::wstring text) {
    if (Item* item = At(index)) {
        item->text = std::move(text);
    }
}

std::vector<std::uint8_t> PopupMenu::ItemIcon(int index) const {
    const Item* item = At(index);
    return item != nullptr ? item->icon : std::vector<std::uint8_t>();
}

void PopupMenu::ItemIcon(int index, std::span<const std::uint8_t> icon) {
    if (Item* item = At(index)) {
        item->icon.assign(icon.begin(), icon.end());
    }
}

UINT PopupMenu::ItemCommand(int index) const {
    const Item* item = At(index);
    return item != nullptr ? item->command : 0;
}

PopupMenu* PopupMenu::ItemSubmenu(int index) const {
    const Item* item = At(index);
    return item != nullptr ? item->submenu : nullptr;
}

void PopupMenu::ItemSubmenu(int index, PopupMenu* submenu) {
    if (Item* item = At(index)) {
        item->submenu = submenu;
    }
}

SIZE PopupMenu::MeasureSize() const {
    float height = 2 * kItemTop;
    for (const Item& item : items_) {
        height += ItemHeight(item);
    }
    const float width = 2 * kItemLeft + kTextLeft + std::ceil(WidestText(items_)) + kRightRoom;
    return SIZE{std::max(kMinimumWidth, static_cast<int>(width)), static_cast<int>(height)};
}

HWND PopupMenu::Window() const {
    return session_ != nullptr ? session_->Window() : nullptr;
}

UINT PopupMenu::TrackPopup(HostWindow* owner, int x, int y, bool atCursor) {
    if (session_ != nullptr) {
        return 0; // already open (a menu listed as its own submenu)
    }
    Session session(*this);
    session_ = &session;
    const UINT result = session.Run(owner, x, y, atCursor);
    session_ = nullptr;
    return result;
}

PopupMenu& EditContextMenu() {
    static PopupMenu menu;
    return menu;
}

} // namespace kodaro::ui
