#include "ui/host/host_window.h"

#include "ui/draw/defaults.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/host/caption_button.h"
#include "ui/host/framework.h"
#include "ui/host/title_label.h"

#include <commctrl.h>

#include <algorithm>

namespace kodaro::ui {

HostWindow::HostWindow() = default;

HostWindow::~HostWindow() {
    if (window_ != nullptr) {
        Detach();
    }
}

HostWindow* HostWindow::FromWindow(HWND window) {
    ControlSite* site = ControlSite::FromWindow(window);
    return site != nullptr ? site->Host() : nullptr;
}

bool HostWindow::Attach(HWND window, const AttachOptions& options) {
    if (window == nullptr || !IsWindow(window) || window == window_ || window_ != nullptr ||
        FromWindow(window) != nullptr) {
        return false;
    }
    window_ = window;
    opacity_ = options.opacity < -1 ? -1 : std::min(options.opacity, 255);
    backgroundMode_ = options.backgroundMode;
    imageDecoration_ = options.imageDecoration;
    frameLook_ = options.frameLook;
    resizable_ = options.resizable.value_or(HasStyle(window, WS_THICKFRAME));
    dragToMove_ = options.dragToMove;
    if (options.blurBehind.has_value()) {
        blurBehind_ = *options.blurBehind && opacity_ != -1;
    } else {
        blurBehind_ = OsMajorVersion() == 6;
    }
    controlFades_ = false;
    backgroundCentre_ = options.backgroundCentre;
    skinSource_ = options.skinSource;

    int style = options.frameStyle.value_or(0);
    if (!options.frameStyle.has_value() || (style & kFrameStandard) != 0) {
        AddStyle(window, WS_SYSMENU);
        style |= kFrameIcon | kFrameTitle | kFrameClose;
        if (HasStyle(window, WS_MAXIMIZEBOX)) {
            style |= kFrameMaximise;
        }
        if (HasStyle(window, WS_MINIMIZEBOX)) {
            style |= kFrameMinimise;
        }
    }
    frameStyle_ = style | kFrameShadow;

    AddStyle(window, WS_POPUP);
    SetPropW(window, kHostProperty, static_cast<ControlSite*>(this));
    cursor_ = DefaultCursor();
    RemoveStyle(window, WS_THICKFRAME | WS_DLGFRAME | WS_BORDER);
    if ((frameStyle_ & kFrameMinimise) == 0) {
        RemoveStyle(window, WS_MINIMIZEBOX);
    }
    if ((frameStyle_ & kFrameMaximise) == 0) {
        RemoveStyle(window, WS_MAXIMIZEBOX);
    }
    // A window without area composes nothing until WM_SIZE gives it surfaces.
    const bool surfaces = compositor_.Open(window, Layered());
    if (Layered()) {
        AddStyle(window, WS_EX_LAYERED, true);
    }
    if (!SetWindowSubclass(window, &HostWindow::SubclassProc, 1,
                           reinterpret_cast<DWORD_PTR>(this))) {
        // Without the subclass the host never sees the window's messages.
        Detach();
        return false;
    }
    // The whole window becomes client area (WM_NCCALCSIZE) from here on.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    compositor_.Suspend(true);
    BuildFrame();
    RenderBackground(options.backgroundImage, options.backgroundColor, PresentMode::None);
    compositor_.Suspend(false);
    controlFades_ = options.controlFades;
    if (surfaces) {
        Refresh();
    }
    tree_.CreateTooltipWindow(window);
    return true;
}

void HostWindow::WindowCursor(const wchar_t* systemId) {
    cursor_ = LoadCursorW(nullptr, systemId);
}

LRESULT CALLBACK HostWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) {
    auto* host = reinterpret_cast<HostWindow*>(data);
    if (host == nullptr || host->window_ != window) {
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return host->WindowProc(message, wParam, lParam);
}

LRESULT HostWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    if (EventMessage) {
        const LRESULT result = EventMessage(window, message, wParam, lParam);
        if (result != -1) {
            return result;
        }
    }
    bool handled = false;
    const LRESULT result = HandleMessage(message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case WM_DESTROY:
        Detach();
        handled = false;
        return 0;
    case WM_SIZE:
        OnSize(wParam);
        handled = false;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            input_.OnDeactivate();
        }
        handled = false;
        return 0;
    case WM_SETTEXT:
        if ((frameStyle_ & kFrameTitle) != 0 && titleLabel_ && lParam != 0) {
            titleLabel_->Text(reinterpret_cast<const wchar_t*>(lParam));
        }
        handled = false;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        const BackBuffer& buffer = compositor_.Buffer();
        if (dc != nullptr && buffer) {
            gdip::GdipFlush(buffer.graphics(), Gdiplus::FlushIntentionSync);
            BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top,
                   paint.rcPaint.right - paint.rcPaint.left,
                   paint.rcPaint.bottom - paint.rcPaint.top, buffer.dc(), paint.rcPaint.left,
                   paint.rcPaint.top, SRCCOPY);
        }
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_CLOSE:
        OnClose();
        handled = false;
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != window_) {
            handled = false;
            return 0;
        }
        input_.SetCursorForWindow(cursor_);
        return 1;
    case WM_NCACTIVATE:
        return 1;
    case WM_GETMINMAXINFO:
        OnMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE)) {
            RemoveStyle(window_, WS_DLGFRAME | WS_BORDER);
        }
        handled = false;
        return 0;
    case WM_NCCALCSIZE:
        if (wParam == TRUE) {
            return 0;
        }
        handled = false;
        return 0;
    case WM_KEYDOWN:
        input_.OnKeyDown(wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        input_.OnSysKeyDown(wParam, lParam);
        handled = false;
        return 0;
    case WM_TIMER:
        if (wParam == TimerId() || tree_.Lookup(wParam) != nullptr) {
            OnTimer(wParam);
            return 0;
        }
        handled = false;
        return 0;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_IME_COMPOSITION:
    case WM_COMMAND:
    case WM_MOUSEWHEEL: {
        Control* focus = tree_.Focus();
        const LRESULT result =
            focus ? DispatchControlMessage(focus, message, wParam, lParam) : kNotHandled;
        handled = result != kNotHandled;
        return result;
    }
    case WM_MOUSEMOVE:
        tree_.TooltipFollowMouse(wParam, lParam);
        input_.OnMouse(message, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        input_.OnMouse(message, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        SendMessageW(window_, WM_LBUTTONDOWN, kDoubleClickMarker, lParam);
        return 0;
    case WM_MOUSELEAVE:
        input_.OnMouseLeave();
        return 0;
    default:
        return OnPrivateMessage(message, wParam, lParam, handled);
    }
}

LRESULT HostWindow::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case EXM_SETFOCUS:
        if (lParam != 0) {
            SetFocusControl(reinterpret_cast<Control*>(lParam), false);
        }
        return 0;
    case EXM_ACCESSKEY:
        tree_.RegisterAccessKey(reinterpret_cast<Control*>(wParam), static_cast<wchar_t>(lParam));
        return 0;
    case EXM_PRESENT:
        Present();
        return 0;
    case EXM_INVALIDATE:
        if (lParam == 0) {
            compositor_.FlushPending();
        } else {
            QueueRect(*reinterpret_cast<const RectF*>(lParam), static_cast<QueueMode>(wParam));
        }
        return 0;
    case EXM_MOVED: {
        const HeldControl control = tree_.Hold(reinterpret_cast<Control*>(wParam));
        if (control.control == nullptr) {
            return 0;
        }
        DispatchControlMessage(control.control, EXM_MOVED, 0, 0);
        if (!tree_.Alive(control)) {
            return 0;
        }
        if (!control.control->Tooltip().empty()) {
            UpdateTooltip(control.control, TooltipMode::Rect);
        }
        if (lParam == 1) {
            compositor_.ComposeMoved(control.control->PreviousRect(), control.control->Rect());
        }
        return 0;
    }
    case EXM_LISTNOTIFY1:
    case EXM_LISTNOTIFY2: {
        auto* control = reinterpret_cast<Control*>(lParam);
        return tree_.Contains(control)
                   ? DispatchControlMessage(control, message, 0, static_cast<LPARAM>(wParam))
                   : 0;
    }
    case EXM_MARSHAL: {
        auto* record = reinterpret_cast<MarshalRecord*>(lParam);
        if (record == nullptr) {
            return 0;
        }
        const MarshalRecord copy = *record;
        if (record->heap) {
            delete record;
        }
        // A posted message may outlive its control; the id finds only the
        // creation it was meant for.
        Control* control = tree_.Lookup(copy.control);
        if (control == nullptr) {
            return 0;
        }
        return DispatchControlMessage(control, copy.message, copy.wParam, copy.lParam);
    }
    default:
        if (message == RegionMessage() && message != 0) {
            if (!Layered()) {
                ApplyWindowRegion();
            }
            return 0;
        }
        handled = false;
        return 0;
    }
}

// --- window life -----------------------------------------------------------------

void HostWindow::OnMinMaxInfo(MINMAXINFO* info) const {
    if (info == nullptr) {
        return;
    }
    const RECT area = WorkArea();
    info->ptMaxSize = {area.right - area.left + 14, area.bottom - area.top + 14};
    info->ptMaxPosition = {area.left - 7, area.top - 7};
    const int buttons = static_cast<int>(captionButtons_.size());
    info->ptMinTrackSize.x =
        1 +
        (frameStyle_ == 0 ? 20 : 35 + 28 * buttons + ((frameStyle_ & kFrameClose) != 0 ? 11 : 0));
    info->ptMinTrackSize.y = frameStyle_ != 0 ? 40 : 20;
}

void HostWindow::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED || compositor_.Window() == nullptr) {
        return;
    }
    // A window too small for surfaces composes nothing until it grows.
    const bool surfaces = compositor_.Resize();
    if (EventResized) {
        EventResized(window_, Width(), Height());
    }
    if (!surfaces) {
        return;
    }
    LayoutCaption();
    sizing_ = true;
    RenderBackground({}, std::nullopt, PresentMode::Whole);
    sizing_ = false;
}

void HostWindow::OnTimer(UINT_PTR id) {
    if (id == TimerId()) {
        FadeTick();
        return;
    }
    if (Control* control = tree_.Lookup(id)) {
        DispatchControlMessage(control, WM_TIMER, id, 0);
    }
}

void HostWindow::Detach() {
    HWND window = window_;
    detaching_ = true;
    RemoveWindowSubclass(window, &HostWindow::SubclassProc, 1);
    KillTimer(window, TimerId());
    tree_.DestroyAll();
    captionButtons_.clear();
    titleLabel_.reset();
    backgroundImage_.reset();
    tree_.DestroyTooltipWindow();
    input_.Reset();
    snapshot_.Release();
    compositor_.Close();
    RemovePropW(window, kHostProperty);
    // Posted control messages still queued would never be delivered: free them.
    MSG message;
    while (PeekMessageW(&message, window, EXM_MARSHAL, EXM_MARSHAL, PM_REMOVE)) {
        // PeekMessage hands out a pending quit whatever the filter: put it back
        // for the message loop, or the program never ends.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        auto* record = reinterpret_cast<MarshalRecord*>(message.lParam);
        if (record != nullptr && record->heap) {
            delete record;
        }
    }
    window_ = nullptr;
    detaching_ = false;
}

// --- composition -------------------------------------------------------------------

void HostWindow::QueueRect(const RectF& rect, QueueMode mode) {
    compositor_.QueueRect(rect, mode);
}

void HostWindow::ComposeRect(const RectF& rect, bool present) {
    compositor_.ComposeRect(rect, present);
}

void HostWindow::Present(const std::optional<RectF>& rect) {
    compositor_.Present(rect);
}

void HostWindow::Refresh(bool present) {
    compositor_.Refresh(present);
}

// --- what controls reach through ControlSite ----------------------------------------

const TreeLinks* HostWindow::Adopt(Control& control, Control* parent) {
    return tree_.Adopt(control, parent);
}

void HostWindow::Restack(Control& control, Control* newParent, bool front) {
    tree_.Restack(control, newParent, front);
}

void HostWindow::Unlink(Control& control) {
    tree_.Unlink(control);
}

void HostWindow::Release(Control& control) {
    input_.Forget(control);
    tree_.Forget(control);
    if (!detaching_) {
        compositor_.InvalidateLater(control.Rect());
    }
}

bool HostWindow::ReleaseFocusAndHover(Control& control) {
    input_.ForgetHover(control);
    return tree_.DropFocus(control);
}

void HostWindow::UpdateTooltip(Control& control, TooltipMode mode) {
    tree_.UpdateTooltip(control, mode);
}

void HostWindow::UpdateTooltip(Control* control, TooltipMode mode) {
    if (control != nullptr) {
        tree_.UpdateTooltip(*control, mode);
    }
}

void HostWindow::InvalidateLater(const RectF& rect) {
    compositor_.InvalidateLater(rect);
}

} // namespace kodaro::ui
