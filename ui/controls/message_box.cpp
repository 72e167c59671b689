#include "ui/controls/message_box.h"

#include "ui/controls/label.h"
#include "ui/controls/push_button.h"
#include "ui/draw/defaults.h"
#include "ui/draw/image.h"
#include "ui/draw/text.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"
#include "ui/host/popup_loop.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>

namespace kodaro::ui {

namespace {

// Artwork embedded by message_box.rc: the 2 x 160 background strip and the
// 200 x 40 strip of five 40 x 40 icons.
constexpr wchar_t kBackgroundResource[] = L"KODARO_MSGBOX_BACK";
constexpr wchar_t kIconsResource[] = L"KODARO_MSGBOX_ICONS";

constexpr float kButtonWidth = 70;
constexpr float kButtonHeight = 24;
constexpr int kButtonStep = 75;
constexpr float kBandInset = 7;
constexpr float kTopBand = 96;
constexpr float kBottomBand = 35;
constexpr float kIconSide = 40;

struct ButtonSpec {
    const wchar_t* caption;
    int value;
};

// The button sets in creation order (the first one is placed rightmost).
const std::vector<ButtonSpec>& ButtonSet(int set) {
    static const std::array<std::vector<ButtonSpec>, 6> sets{{
        {{L"确认", kMessageBoxOk}},
        {{L"取消", kMessageBoxCancel}, {L"确认", kMessageBoxOk}},
        {{L"放弃", kMessageBoxAbort}, {L"重试", kMessageBoxRetry}, {L"忽略", kMessageBoxIgnore}},
        {{L"取消", kMessageBoxCancel}, {L"否(&N)", kMessageBoxNo}, {L"是(&Y)", kMessageBoxYes}},
        {{L"否(&N)", kMessageBoxNo}, {L"是(&Y)", kMessageBoxYes}},
        {{L"取消", kMessageBoxCancel}, {L"重试", kMessageBoxRetry}},
    }};
    return sets[static_cast<std::size_t>(std::clamp(set, 0, 5))];
}

// Left edge of an icon type's cell in the icon strip.
float IconCell(int icon) {
    switch (icon) {
    case MB_ICONHAND: // 16
        return 0;
    case MB_ICONEXCLAMATION: // 48
        return 40;
    case MB_ICONQUESTION: // 32
        return 80;
    case MB_ICONASTERISK: // 64
        return 120;
    case 128:
        return 160;
    default:
        return 0;
    }
}

MemoryImage LoadResourceImage(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, RT_RCDATA);
    HGLOBAL data = info != nullptr ? LoadResource(module, info) : nullptr;
    const void* bytes = data != nullptr ? LockResource(data) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return LoadImageFromBytes(
        std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, info)));
}

// Bounding box of the text laid out within maxWidth (no wrapping below it).
RectF MeasureMessage(const std::wstring& text, float maxWidth) {
    RectF bounds{};
    HDC screen = GetDC(nullptr);
    Gdiplus::GpGraphics* raw = nullptr;
    if (screen != nullptr && gdip::GdipCreateFromHDC(screen, &raw) == Gdiplus::Ok) {
        UniqueGraphics graphics(raw);
        TextFormat format(Gdiplus::StringFormatFlagsNoClip);
        MeasureText(graphics.get(), text, DefaultFont(), MakeRectF(0, 0, maxWidth, 100000),
                    format.get(), &bounds);
    }
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return bounds;
}

POINT CentredOn(const RECT& area, int width, int height) {
    return POINT{area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2};
}

// The box's buttons with what each returns, and what was clicked.
struct BoxState {
    int result = kMessageBoxCancel;
    std::vector<std::unique_ptr<PushButton>> buttons;
    std::vector<int> values;
    MemoryImage background;
    MemoryImage icons;
    int icon = 0;
};

void PaintBox(const BoxState& box, Gdiplus::GpGraphics* graphics, int width, int height) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    if (Gdiplus::GpImage* strip = box.background.get()) {
        // Whole source pixels, so the 2-pixel strip does not blur at its ends.
        Gdiplus::InterpolationMode interpolation{};
        Gdiplus::PixelOffsetMode offset{};
        gdip::GdipGetInterpolationMode(graphics, &interpolation);
        gdip::GdipGetPixelOffsetMode(graphics, &offset);
        gdip::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeNearestNeighbor);
        gdip::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
        const float bandWidth = w - 2 * kBandInset;
        const float middleTop = kBandInset + kTopBand;
        const float bottomTop = h - 42;
        DrawImagePart(graphics, strip, MakeRectF(kBandInset, kBandInset, bandWidth, kTopBand),
                      MakeRectF(0, 0, 2, 96));
        if (bottomTop > middleTop) {
            DrawImagePart(graphics, strip,
                          MakeRectF(kBandInset, middleTop, bandWidth, bottomTop - middleTop),
                          MakeRectF(0, 96, 2, 33));
        }
        DrawImagePart(graphics, strip, MakeRectF(kBandInset, bottomTop, bandWidth, kBottomBand),
                      MakeRectF(0, 129, 2, 31));
        gdip::GdipSetInterpolationMode(graphics, interpolation);
        gdip::GdipSetPixelOffsetMode(graphics, offset);
    }
    if (box.icon != 0 && box.icons) {
        DrawImagePart(graphics, box.icons.get(), MakeRectF(30, 40, kIconSide, kIconSide),
                      MakeRectF(IconCell(box.icon), 0, kIconSide, kIconSide));
    }
}

void PlaceButtons(BoxState& box, int width, int height, int rightMargin) {
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        box.buttons[i]->Move(static_cast<float>(width - number * kButtonStep - rightMargin),
                             static_cast<float>(height - 35));
    }
}

} // namespace

MessageBoxLayout LayOutMessageBox(const std::wstring& text, bool hasIcon) {
    MessageBoxLayout layout{kMessageBoxWidth,
                            kMessageBoxHeight,
                            hasIcon ? 85.0f : 30.0f,
                            43,
                            hasIcon ? 200.0f : 260.0f,
                            50,
                            false};
    // A text wider than the screen allows wraps instead of pushing the
    // buttons off the screen.
    const RECT area = WorkArea();
    const float chrome = static_cast<float>(kMessageBoxWidth) - layout.textWidth;
    const float widest =
        std::max(layout.textWidth, static_cast<float>(area.right - area.left) - chrome - 10);
    RectF measured = MeasureMessage(text, 100000);
    if (measured.Width > widest) {
        measured = MeasureMessage(text, widest);
        layout.wrapped = true;
    }
    if (measured.Width > layout.textWidth) {
        layout.width += static_cast<int>(std::ceil(measured.Width - layout.textWidth));
        layout.textWidth = measured.Width + 10;
    }
    if (measured.Height > layout.textHeight) {
        layout.height += static_cast<int>(std::ceil(measured.Height - layout.textHeight));
        layout.textHeight = measured.Height + 5;
    }
    return layout;
}

int ShowMessageBox(const MessageBoxParams& params) {
    const MessageBoxLayout layout = LayOutMessageBox(params.text, params.icon != 0);
    HWND owner = IsWindow(params.owner) ? params.owner : nullptr;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (params.centreOnOwner && owner != nullptr) {
        GetWindowRect(owner, &area);
    }
    const POINT at = CentredOn(area, layout.width, layout.height);
    HWND window = CreateHostWindow({.parent = owner,
                                    .title = params.title,
                                    .x = at.x,
                                    .y = at.y,
                                    .width = layout.width,
                                    .height = layout.height,
                                    .style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU});
    if (window == nullptr) {
        return kMessageBoxCancel;
    }
    BoxState box;
    box.icon = params.icon;
    box.background = LoadResourceImage(kBackgroundResource);
    if (box.icon != 0) {
        box.icons = LoadResourceImage(kIconsResource);
    }
    HostWindow host;
    host.EventPaint = [&box](HWND, Gdiplus::GpGraphics* graphics, int width, int height) {
        PaintBox(box, graphics, width, height);
    };
    // Over one of the framework's windows the box takes on its look.
    AttachOptions look{.frameStyle = params.frameStyle, .opacity = 255, .resizable = false};
    if (const HostWindow* ownerHost = HostWindow::FromWindow(owner)) {
        look.opacity = ownerHost->Opacity();
        look.frameLook = ownerHost->FrameLook();
        look.skinSource = owner;
    }
    if (!host.Attach(window, look)) {
        DestroyWindow(window);
        return kMessageBoxCancel;
    }
    MakePopup(host, PopupKind::MessageBox, [](HWND hwnd, UINT message, WPARAM key, LPARAM lParam) {
        // A button's access key works without Alt, as in the system's boxes.
        if (message == WM_KEYDOWN && key >= 'A' && key <= 'Z') {
            SendMessageW(hwnd, WM_SYSKEYDOWN, key, lParam);
        }
        return LRESULT{-1};
    });
    SetPropW(window, kMessageBoxProperty,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(params.icon)));

    const std::vector<ButtonSpec>& set = ButtonSet(params.buttons);
    const std::size_t count = params.captions.empty() ? set.size() : params.captions.size();
    for (std::size_t i = 0; i < count; ++i) {
        auto button = std::make_unique<PushButton>();
        const bool custom = !params.captions.empty();
        button->Create(host, 0, 0, kButtonWidth, kButtonHeight,
                       custom ? params.captions[i] : std::wstring(set[i].caption));
        box.values.push_back(custom ? static_cast<int>(i) + 1 : set[i].value);
        box.buttons.push_back(std::move(button));
    }
    PlaceButtons(box, layout.width, layout.height, 8);
    host.EventResized = [&box](HWND, int width, int height) {
        PlaceButtons(box, width, height, 10);
    };
    host.EventClick = [&box](HWND hwnd, Control* control, WPARAM, LPARAM, int kind) {
        if (kind != kKindPushButton) {
            return;
        }
        for (std::size_t i = 0; i < box.buttons.size(); ++i) {
            if (box.buttons[i].get() == control) {
                box.result = box.values[i];
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
            }
        }
    };

    Label message;
    LabelOptions textOptions;
    textOptions.wordWrap = layout.wrapped;
    message.Create(host, layout.textX, layout.textY, layout.textWidth, layout.textHeight,
                   params.text, textOptions);
    const int defaultButton = params.defaultButton.value_or(1);
    if (!box.buttons.empty()) {
        const std::size_t index =
            defaultButton >= 1 && static_cast<std::size_t>(defaultButton) <= box.buttons.size()
                ? static_cast<std::size_t>(defaultButton) - 1
                : 0;
        host.SetFocusControl(box.buttons[index].get(), false);
    }
    if (params.customise) {
        params.customise(window, host.Width(), host.Height());
    }
    if (params.icon != 0 && params.beep) {
        MessageBeep(static_cast<UINT>(params.icon));
    }
    if (owner != nullptr) {
        SendMessageW(owner, WM_MOUSELEAVE, 0, 0);
    }
    host.Show();
    SetForegroundWindow(window);
    if (owner != nullptr) {
        SendMessageW(owner, WM_MOUSELEAVE, 0, 0);
    }
    const PopupLoopEnd end = RunPopupLoop(window, {.owner = owner, .dropForeignInput = true});
    return end == PopupLoopEnd::Closed ? box.result : kMessageBoxCancel;
}

} // namespace kodaro::ui
