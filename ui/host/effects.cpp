// Transitions of a framework window: the fade between two backgrounds, the
// show and hide animations and the desktop-composition blur.
#include "runtime/dll_binding.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstring>

namespace kodaro::ui {

namespace {

constexpr UINT kTransitionInterval = 50;
constexpr int kTransitionStep = 51;

// Runs what is waiting in the thread's queue between animation frames; a quit
// request is put back for the real message loop.
void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void ClearSurface(const DibSurface& surface) {
    GdiFlush();
    std::memset(surface.bits(), 0,
                static_cast<std::size_t>(surface.width()) * surface.height() * 4);
}

} // namespace

void HostWindow::TakeSnapshot() {
    if (!compositor_.Buffer() || !snapshot_.Create(compositor_.WindowDc(), Width(), Height())) {
        return;
    }
    gdip::GdipFlush(compositor_.Buffer().graphics(), Gdiplus::FlushIntentionSync);
    BitBlt(snapshot_.dc(), 0, 0, Width(), Height(), compositor_.Buffer().dc(), 0, 0, SRCCOPY);
}

void HostWindow::StartFadeTransition() {
    compositor_.Suspend(true);
    transitionOpacity_ = 0;
    SetTimer(window_, TimerId(), kTransitionInterval, nullptr);
}

void HostWindow::FadeTick() {
    if (!snapshot_) {
        KillTimer(window_, TimerId());
        transitionOpacity_ = 255;
        compositor_.Suspend(false);
        Refresh();
        return;
    }
    transitionOpacity_ = std::min(255, transitionOpacity_ + kTransitionStep);
    DibSurface frame;
    if (frame.Create(compositor_.WindowDc(), Width(), Height())) {
        BitBlt(frame.dc(), 0, 0, Width(), Height(), snapshot_.dc(), 0, 0, SRCCOPY);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(transitionOpacity_), 0};
        GdiAlphaBlend(frame.dc(), 0, 0, Width(), Height(), compositor_.Buffer().dc(), 0, 0, Width(),
                      Height(), blend);
        if (Layered()) {
            compositor_.PresentLayered(frame.dc(), 255);
        } else {
            BitBlt(compositor_.WindowDc(), 0, 0, Width(), Height(), frame.dc(), 0, 0, SRCCOPY);
        }
    }
    if (transitionOpacity_ >= 255) {
        KillTimer(window_, TimerId());
        snapshot_.Release();
        compositor_.Suspend(false);
        Refresh();
    }
}

void HostWindow::Show(Animation animation, int duration) {
    if (window_ == nullptr) {
        return;
    }
    // A window asked to show shows, also when the animation cannot run.
    if (animation == Animation::None || !Animate(animation, duration, true)) {
        ShowWindow(window_, SW_SHOWNORMAL);
    }
    ApplyBlurBehind();
}

// Plays a show (or hide) animation through UpdateLayeredWindow. A window that
// is not layered is made layered for the animation; after a show it is put
// back, after a hide the caller (OnClose) puts it back once it is hidden.
bool HostWindow::Animate(Animation kind, int duration, bool showing) {
    DibSurface frame;
    if (!compositor_.Buffer() || !frame.Create(compositor_.WindowDc(), Width(), Height())) {
        return false;
    }
    Refresh(false);
    const bool wasLayered = HasStyle(window_, WS_EX_LAYERED, true);
    if (!wasLayered) {
        AddStyle(window_, WS_EX_LAYERED, true);
    }
    compositor_.Suspend(true);
    const int frames = showing ? 10 : (kind == Animation::Fade ? 15 : 20);
    const int pause = showing ? duration / 10 : (kind == Animation::Fade ? 10 : duration / 20);
    HWND window = window_;
    // Where pushing a frame is slow (software blending, a remote display) the
    // animation drops its remaining frames rather than hold the user up.
    const ULONGLONG started = GetTickCount64();
    const ULONGLONG longest = 2ull * static_cast<ULONGLONG>(std::max(0, pause)) * frames;
    if (showing) {
        ClearSurface(frame);
        compositor_.PresentLayered(frame.dc(), 255);
        ShowWindow(window, SW_SHOWNORMAL);
    }
    for (int i = 1; i <= frames; ++i) {
        // How much of the picture is in: rising when showing, falling when hiding.
        const double in =
            showing ? static_cast<double>(i) / frames : 1.0 - static_cast<double>(i) / frames;
        int alpha = showing ? std::min(255, i * (255 / 10)) : std::max(0, 255 - i * 17);
        if (kind != Animation::Fade) {
            alpha = static_cast<int>(255 * in);
        }
        ClearSurface(frame);
        int x = 0;
        int y = 0;
        int w = Width();
        int h = Height();
        if (kind == Animation::Grow) {
            w = std::max(1, static_cast<int>(Width() * (0.5 + 0.5 * in)));
            h = std::max(1, static_cast<int>(Height() * (0.5 + 0.5 * in)));
            x = (Width() - w) / 2;
            y = (Height() - h) / 2;
        } else if (kind != Animation::Fade) {
            // Slides; kinds without a name come from the right.
            const int distance = static_cast<int>(40 * (1.0 - in));
            if (kind == Animation::SlideFromAbove) {
                y = -distance;
            } else if (kind == Animation::SlideFromBelow) {
                y = distance;
            } else if (kind == Animation::SlideFromLeft) {
                x = -distance;
            } else {
                x = distance;
            }
        }
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
        GdiAlphaBlend(frame.dc(), x, y, w, h, compositor_.Buffer().dc(), 0, 0, Width(), Height(),
                      blend);
        compositor_.PresentLayered(frame.dc(), 255);
        Sleep(static_cast<DWORD>(std::max(0, pause)));
        PumpMessages();
        if (window_ != window) {
            return true; // the window went away meanwhile
        }
        if (GetTickCount64() - started > longest) {
            break;
        }
    }
    if (showing) {
        compositor_.Suspend(false);
        if (!wasLayered) {
            RemoveStyle(window_, WS_EX_LAYERED, true);
            InvalidateRect(window_, nullptr, FALSE);
        }
        // Whatever changed while the frames ran is composed now.
        Refresh();
    } else {
        ClearSurface(frame);
        compositor_.PresentLayered(frame.dc(), 255);
        restoreAfterHide_ = !wasLayered;
    }
    return true;
}

void HostWindow::ApplyBlurBehind() {
    if (!blurBehind_ || OsMajorVersion() != 6 || frameLook_ == WindowLook::Bare) {
        return;
    }
    using IsEnabledFn = HRESULT(WINAPI*)(BOOL*);
    using EnableBlurFn = HRESULT(WINAPI*)(HWND, const DWM_BLURBEHIND*);
    auto isEnabled =
        reinterpret_cast<IsEnabledFn>(FindFunction("dwmapi.dll", "DwmIsCompositionEnabled"));
    auto enableBlur =
        reinterpret_cast<EnableBlurFn>(FindFunction("dwmapi.dll", "DwmEnableBlurBehindWindow"));
    BOOL enabled = FALSE;
    if (isEnabled == nullptr || enableBlur == nullptr || FAILED(isEnabled(&enabled)) || !enabled) {
        return;
    }
    HRGN region = CreateRoundRectRgn(6, 6, Width() - 5, Height() - 5, 6, 6);
    if (region == nullptr) {
        return;
    }
    DWM_BLURBEHIND blur{};
    blur.dwFlags = DWM_BB_ENABLE | DWM_BB_BLURREGION;
    blur.fEnable = TRUE;
    blur.hRgnBlur = region;
    enableBlur(window_, &blur);
    DeleteObject(region);
}

void HostWindow::OnClose() {
    if (closeAnimation_ != Animation::None && IsWindowVisible(window_) && !IsIconic(window_)) {
        Animate(closeAnimation_, 200, false);
    }
    if (window_ == nullptr) {
        return;
    }
    ShowWindow(window_, SW_HIDE);
    if (restoreAfterHide_) {
        RemoveStyle(window_, WS_EX_LAYERED, true);
        restoreAfterHide_ = false;
    }
    if (compositor_.Suspended() && !snapshot_) {
        compositor_.Suspend(false);
    }
}

} // namespace kodaro::ui
