#include "ui/host/caption_button.h"

#include "ui/draw/defaults.h"
#include "ui/draw/image.h"
#include "ui/host/host_window.h"

namespace kodaro::ui {

namespace {

constexpr int kGlyphClose = 0;
constexpr int kGlyphMaximise = 1;
constexpr int kGlyphRestore = 2;
constexpr int kGlyphMinimise = 3;
constexpr int kStateDisabled = 3;

} // namespace

CaptionButton::~CaptionButton() {
    Destroy();
}

bool CaptionButton::Create(HostWindow& host, float x, float y) {
    return CreateBase(host, MakeRectF(x, y, kCaptionButtonWidth, kCaptionButtonHeight),
                      kKindCaptionButton, true, false, nullptr, kButtonFadeInterval);
}

int CaptionButton::Cell() const {
    int glyph = kGlyphClose;
    if (type_ == kFrameMaximise) {
        glyph = Window() != nullptr && IsZoomed(Window()) ? kGlyphRestore : kGlyphMaximise;
    } else if (type_ == kFrameMinimise) {
        glyph = kGlyphMinimise;
    }
    return glyph * 4 + (Disabled() ? kStateDisabled : state_);
}

void CaptionButton::Paint(Gdiplus::GpGraphics* graphics, int, int) {
    const float left = static_cast<float>(Cell() * kCaptionButtonWidth);
    DrawImagePart(graphics, SkinStrip(), MakeRectF(0, 0, kCaptionButtonWidth, kCaptionButtonHeight),
                  MakeRectF(left, 0, kCaptionButtonWidth, kCaptionButtonHeight));
}

void CaptionButton::ChangeState(int state) {
    if (state == state_) {
        return;
    }
    BeginCrossFade();
    state_ = state;
    Redraw();
    FadeLevel(0);
}

void CaptionButton::Act() {
    HWND window = Window();
    switch (type_) {
    case kFrameClose:
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    case kFrameMaximise:
        PostMessageW(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, 0);
        break;
    case kFrameMinimise:
        if (!IsIconic(window)) {
            PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        }
        break;
    default:
        break;
    }
}

LRESULT CaptionButton::OnMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case EXM_QUERYPRESS:
        return 0;
    case EXM_MOUSEENTER:
        ChangeState(1);
        return 0;
    case EXM_MOUSELEAVE:
        ChangeState(0);
        return 0;
    case WM_LBUTTONDOWN:
        ChangeState(2);
        return 0;
    case WM_LBUTTONUP:
        ChangeState(1);
        return 0;
    case EXM_CLICK:
        Act();
        return 0;
    case EXM_MOVED:
        // The maximise glyph follows the zoom state.
        if (type_ == kFrameMaximise) {
            Redraw();
        }
        return 0;
    default:
        return kNotHandled;
    }
}

} // namespace kodaro::ui
