#include "ui/host/host_window.h"

#include "ui/draw/defaults.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/host/caption_button.h"
#include "ui/host/framework.h"
#include "ui/host/title_label.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace kodaro::ui {

namespace {

RECT ToRect(const RectF& rect) {
    return RECT{static_cast<LONG>(std::floor(rect.X)), static_cast<LONG>(std::floor(rect.Y)),
                static_cast<LONG>(std::ceil(rect.X + rect.Width)),
                static_cast<LONG>(std::ceil(rect.Y + rect.Height))};
}

LPARAM CursorScreenPosition() {
    POINT point{};
    GetCursorPos(&point);
    return MAKELPARAM(point.x, point.y);
}

} // namespace

HostWindow::HostWindow() = default;

HostWindow::~HostWindow() {
    if (window_ != nullptr) {
        Detach();
    }
}

HostWindow* HostWindow::FromWindow(HWND window) {
    if (window == nullptr || !IsWindow(window)) {
        return nullptr;
    }
    return static_cast<HostWindow*>(GetPropW(window, kHostProperty));
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
    SetPropW(window, kHostProperty, this);
    cursor_ = DefaultCursor();
    RemoveStyle(window, WS_THICKFRAME | WS_DLGFRAME | WS_BORDER);
    if ((frameStyle_ & kFrameMinimise) == 0) {
        RemoveStyle(window, WS_MINIMIZEBOX);
    }
    if ((frameStyle_ & kFrameMaximise) == 0) {
        RemoveStyle(window, WS_MAXIMIZEBOX);
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    width_ = outer.right - outer.left;
    height_ = outer.bottom - outer.top;
    windowDc_ = GetDC(window);
    CreateSurfaces();
    if (Layered()) {
        AddStyle(window, WS_EX_LAYERED, true);
    }
    queue_.Init(this);
    SetWindowSubclass(window, &HostWindow::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // The whole window becomes client area (WM_NCCALCSIZE) from here on.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    suspended_ = true;
    BuildFrame();
    RenderBackground(options.backgroundImage, options.backgroundColour, kPresentNone);
    suspended_ = false;
    controlFades_ = options.controlFades;
    Refresh();
    CreateTooltipWindow();
    return true;
}

bool HostWindow::CreateSurfaces() {
    const bool back = backBuffer_.Create(windowDc_, width_, height_);
    const bool background = background_.Create(windowDc_, width_, height_);
    return back && background;
}

void HostWindow::CreateTooltipWindow() {
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                               0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip_ == nullptr) {
        return;
    }
    SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 1024);
    for (Control* control = first_; control != nullptr; control = control->NextSibling()) {
        if (!control->Tooltip().empty()) {
            UpdateTooltip(control, TooltipMode::Add);
        }
    }
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
        OnDestroy();
        handled = false;
        return 0;
    case WM_SIZE:
        OnSize(wParam);
        handled = false;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && capturing_) {
            capturing_ = false;
            pressed_ = nullptr;
            ReleaseCapture();
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
        if (dc != nullptr && backBuffer_) {
            gdip::GdipFlush(backBuffer_.graphics(), Gdiplus::FlushIntentionSync);
            BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top,
                   paint.rcPaint.right - paint.rcPaint.left,
                   paint.rcPaint.bottom - paint.rcPaint.top, backBuffer_.dc(), paint.rcPaint.left,
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
        if (resizeCursor_ != nullptr) {
            SetCursor(resizeCursor_); // keeps the sizing arrow steady over a border
        } else {
            SetCursor(hot_ != nullptr && hot_->Cursor() != nullptr ? hot_->Cursor() : cursor_);
        }
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
        OnKeyDown(wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        OnSysKeyDown(wParam, lParam);
        handled = false;
        return 0;
    case WM_TIMER:
        if (wParam == TimerId() || Lookup(wParam) != nullptr) {
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
        const LRESULT result =
            focus_ ? DispatchControlMessage(focus_, message, wParam, lParam) : kNotHandled;
        handled = result != kNotHandled;
        return result;
    }
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        OnMouse(message, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        OnMouse(message, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        SendMessageW(window_, WM_LBUTTONDOWN, kDoubleClickMarker, lParam);
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
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
        RegisterAccessKey(reinterpret_cast<Control*>(wParam), static_cast<wchar_t>(lParam));
        return 0;
    case EXM_PRESENT:
        Present();
        return 0;
    case EXM_INVALIDATE:
        if (lParam == 0) {
            FlushPending();
        } else {
            QueueRect(*reinterpret_cast<const RectF*>(lParam), static_cast<int>(wParam));
        }
        return 0;
    case EXM_MOVED: {
        const Held control = Hold(reinterpret_cast<Control*>(wParam));
        if (control.control == nullptr) {
            return 0;
        }
        DispatchControlMessage(control.control, EXM_MOVED, 0, 0);
        if (!Alive(control)) {
            return 0;
        }
        if (!control.control->Tooltip().empty()) {
            UpdateTooltip(control.control, TooltipMode::Rect);
        }
        if (!suspended_ && lParam == 1) {
            queue_.Add(control.control->PreviousRect(), 0, false);
            queue_.Add(control.control->Rect(), 0);
        }
        return 0;
    }
    case EXM_LISTNOTIFY1:
    case EXM_LISTNOTIFY2: {
        auto* control = reinterpret_cast<Control*>(lParam);
        return Contains(control)
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
        Control* control = Lookup(copy.control);
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

// --- composition -------------------------------------------------------------

void HostWindow::QueueRect(const RectF& rect, int mode) {
    queue_.Add(rect, mode);
}

void HostWindow::InvalidateLater(const RectF& rect) {
    if (window_ == nullptr || rect.Width <= 0 || rect.Height <= 0) {
        return;
    }
    for (const RectF& pending : pending_) {
        if (pending.Equals(rect)) {
            return;
        }
    }
    if (pending_.empty()) {
        PostMessageW(window_, EXM_INVALIDATE, 0, 0);
    }
    pending_.push_back(rect);
}

void HostWindow::FlushPending() {
    std::vector<RectF> rects;
    rects.swap(pending_);
    for (const RectF& rect : rects) {
        queue_.Add(rect, 0, false);
    }
    queue_.Flush();
}

void HostWindow::Refresh(bool present) {
    ComposeRect(MakeRectF(0, 0, static_cast<float>(width_), static_cast<float>(height_)), present);
}

void HostWindow::ComposeRect(const RectF& rect, bool present) {
    if (suspended_ || !backBuffer_ || !background_) {
        return;
    }
    Gdiplus::GpGraphics* graphics = backBuffer_.graphics();
    const RECT area = ToRect(rect);
    const RectF whole = MakeRectF(static_cast<float>(area.left), static_cast<float>(area.top),
                                  static_cast<float>(area.right - area.left),
                                  static_cast<float>(area.bottom - area.top));
    if (clipRegion_) {
        SetClipRegion(graphics, clipRegion_.get(), Gdiplus::CombineModeReplace);
        SetClipRect(graphics, whole, Gdiplus::CombineModeIntersect);
    } else {
        SetClipRect(graphics, whole, Gdiplus::CombineModeReplace);
    }
    gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    BitBlt(backBuffer_.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           background_.dc(), area.left, area.top, SRCCOPY);
    PaintControls(first_, whole);
    ResetClip(graphics);
    gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    if (present) {
        PresentRect(whole);
    }
}

void HostWindow::PaintControls(Control* first, const RectF& dirty) {
    for (Control* control = first; control != nullptr; control = control->NextSibling()) {
        if (control->Visible() && RectsIntersect(control->Rect(), dirty)) {
            const Held held = Hold(control);
            PaintControl(control, dirty);
            // A control that went away while drawing leaves the rest of this
            // pass to the repaint its removal queued.
            if (!Alive(held)) {
                return;
            }
        }
    }
}

void HostWindow::PaintControl(Control* control, const RectF& dirty) {
    Gdiplus::GpGraphics* graphics = backBuffer_.graphics();
    const RectF rect = control->Rect();
    if (control->Disabled()) {
        DrawImageAlpha(graphics, control->Bitmap(), rect, control->Opacity());
    } else {
        DrawRecord record{graphics, control->Bitmap(), control->PreviousBitmap(), rect};
        if (DispatchControlMessage(control, EXM_DRAW, 0, reinterpret_cast<LPARAM>(&record)) <= 0) {
            if (control->PreviousBitmap() != nullptr) {
                DrawImageAlpha(graphics, control->PreviousBitmap(), rect,
                               control->Opacity() - control->FadeLevel());
            }
            DrawImageAlpha(graphics, control->Bitmap(), rect, control->FadeLevel());
        }
    }
    if (control->FirstChild() != nullptr) {
        Gdiplus::GpRegion* saved = nullptr;
        gdip::GdipCreateRegion(&saved);
        UniqueRegion clip(saved);
        gdip::GdipGetClip(graphics, clip.get());
        SetClipRect(graphics, rect, Gdiplus::CombineModeIntersect);
        PaintControls(control->FirstChild(), dirty);
        SetClipRegion(graphics, clip.get(), Gdiplus::CombineModeReplace);
    }
}

void HostWindow::Present(const std::optional<RectF>& rect) {
    if (!backBuffer_) {
        return;
    }
    gdip::GdipFlush(backBuffer_.graphics(), Gdiplus::FlushIntentionSync);
    PresentRect(
        rect.value_or(MakeRectF(0, 0, static_cast<float>(width_), static_cast<float>(height_))));
}

void HostWindow::PresentRect(const RectF& rect) {
    if (Layered()) {
        PresentLayered(backBuffer_.dc(), 255);
        return;
    }
    const RECT area = ToRect(rect);
    BitBlt(windowDc_, area.left, area.top, area.right - area.left, area.bottom - area.top,
           backBuffer_.dc(), area.left, area.top, SRCCOPY);
}

void HostWindow::PresentLayered(HDC source, BYTE alpha) {
    SIZE size{width_, height_};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    UpdateLayeredWindow(window_, nullptr, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
}

// --- the control tree ----------------------------------------------------------

namespace {

Control* HitChildren(Control* last, float x, float y) {
    for (Control* control = last; control != nullptr; control = control->PreviousSibling()) {
        if (control->Visible() && !control->Disabled() && PointInRect(control->Rect(), x, y)) {
            Control* deeper = HitChildren(control->LastChild(), x, y);
            return deeper != nullptr ? deeper : control;
        }
    }
    return nullptr;
}

// Depth-first order of the tree, the order Tab walks.
Control* NextInTree(Control* control, Control* first) {
    if (control == nullptr) {
        return first;
    }
    if (control->FirstChild() != nullptr && control->Visible() && !control->Disabled()) {
        return control->FirstChild();
    }
    for (Control* up = control; up != nullptr; up = up->Parent()) {
        if (up->NextSibling() != nullptr) {
            return up->NextSibling();
        }
    }
    return first;
}

bool ShownAndEnabled(const Control* control) {
    for (const Control* up = control; up != nullptr; up = up->Parent()) {
        if (!up->Visible() || up->Disabled()) {
            return false;
        }
    }
    return true;
}

} // namespace

Control* HostWindow::HitTest(float x, float y) const {
    return HitChildren(last_, x, y);
}

bool HostWindow::Contains(const Control* control) const {
    return control != nullptr && byPointer_.contains(control);
}

Control* HostWindow::Lookup(ControlId id) const {
    const auto found = byId_.find(id);
    return found != byId_.end() ? found->second : nullptr;
}

HostWindow::Held HostWindow::Hold(Control* control) const {
    if (control == nullptr) {
        return {nullptr, 0};
    }
    const auto found = byPointer_.find(control);
    return found != byPointer_.end() ? Held{control, found->second} : Held{nullptr, 0};
}

bool HostWindow::Alive(const Held& held) const {
    return held.control != nullptr && Lookup(held.id) == held.control;
}

void HostWindow::ControlCreated(Control* control) {
    byId_[control->Id()] = control;
    byPointer_[control] = control->Id();
}

bool HostWindow::SetFocusControl(Control* control, bool keyboard) {
    if (!Contains(control) || control->Disabled() || !control->Visible() || !control->Focusable() ||
        control->Kind() == kKindCaptionButton) {
        return false;
    }
    if (focus_ == control) {
        return true;
    }
    const Held target = Hold(control);
    const Held old = Hold(focus_);
    focus_ = control;
    keyboardFocus_ = nullptr;
    if (old.control != nullptr) {
        DispatchControlMessage(old.control, EXM_KILLFOCUS, 0, reinterpret_cast<LPARAM>(control));
    }
    // The old control's handler may have destroyed the new one.
    if (!Alive(target)) {
        return false;
    }
    if (keyboard) {
        keyboardFocus_ = control;
    }
    DispatchControlMessage(control, EXM_SETFOCUS, 0,
                           reinterpret_cast<LPARAM>(Alive(old) ? old.control : nullptr));
    return true;
}

void HostWindow::SetMouseFocus(Control* control) {
    if (control->Kind() == kKindCaptionButton) {
        return;
    }
    const Held target = Hold(control);
    const Held old = Hold(focus_);
    focus_ = control;
    keyboardFocus_ = nullptr;
    if (old.control != nullptr) {
        DispatchControlMessage(old.control, EXM_KILLFOCUS, 0, reinterpret_cast<LPARAM>(control));
        if (Alive(old)) {
            Raise(EventFocusLost, old, 0, 0);
        }
    }
    if (!Alive(target)) {
        return;
    }
    DispatchControlMessage(control, EXM_SETFOCUS, 0,
                           reinterpret_cast<LPARAM>(Alive(old) ? old.control : nullptr));
    if (Alive(target)) {
        Raise(EventFocusGained, target, 0, 0);
    }
}

void HostWindow::TabToNext() {
    Control* start = focus_;
    Control* candidate = start ? NextInTree(start, first_) : first_;
    while (candidate != nullptr && candidate != start) {
        if (ShownAndEnabled(candidate) && candidate->Focusable() &&
            candidate->Kind() != kKindCaptionButton) {
            SetFocusControl(candidate, true);
            return;
        }
        Control* next = NextInTree(candidate, first_);
        // Without a focus control the walk ends when it wraps to the start.
        if (start == nullptr && next == first_) {
            return;
        }
        candidate = next;
    }
}

void HostWindow::RegisterAccessKey(Control* control, wchar_t key) {
    if (control == nullptr) {
        return;
    }
    for (auto entry = accessKeys_.begin(); entry != accessKeys_.end(); ++entry) {
        if (entry->control == control) {
            if (key == 0) {
                accessKeys_.erase(entry);
            } else {
                entry->key = key;
            }
            return;
        }
    }
    if (key != 0) {
        accessKeys_.push_back({control, key});
    }
}

void HostWindow::ControlDestroyed(Control* control) {
    byId_.erase(control->Id());
    byPointer_.erase(control);
    if (focus_ == control) {
        focus_ = nullptr;
    }
    if (keyboardFocus_ == control) {
        keyboardFocus_ = nullptr;
    }
    if (hot_ == control) {
        hot_ = nullptr;
    }
    if (pressed_ == control) {
        pressed_ = nullptr;
        if (capturing_) {
            capturing_ = false;
            ReleaseCapture();
        }
    }
    std::erase_if(accessKeys_,
                  [control](const AccessKey& entry) { return entry.control == control; });
    if (!control->Tooltip().empty()) {
        UpdateTooltip(control, TooltipMode::Remove);
    }
    if (!detaching_) {
        InvalidateLater(control->Rect());
    }
}

void HostWindow::UpdateTooltip(Control* control, TooltipMode mode) {
    if (tooltip_ == nullptr || control == nullptr) {
        return;
    }
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = window_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.rect = ToRect(control->Rect());
    info.lpszText = const_cast<wchar_t*>(control->Tooltip().c_str());
    switch (mode) {
    case TooltipMode::Remove:
        SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    case TooltipMode::Add:
        SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    case TooltipMode::Rect:
        SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    case TooltipMode::Text:
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    }
}

// --- input ---------------------------------------------------------------------

// Every handler an event or a control message reaches may destroy the control
// it was about (a message box's button closes the box), so the control is held
// with its id and checked again before the host touches it once more.
bool HostWindow::Raise(const ControlEvent& event, const Held& control, WPARAM wParam,
                       LPARAM lParam) {
    if (!Alive(control)) {
        return false;
    }
    if (event) {
        event(window_, control.control, wParam, lParam, control.control->Kind());
    }
    return Alive(control);
}

void HostWindow::RaiseLeftUp(WPARAM wParam, LPARAM lParam) {
    if (EventLeftUp) {
        EventLeftUp(window_, nullptr, wParam, lParam, 0);
    }
}

void HostWindow::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (suspended_ || HitResizeBorder(message, lParam)) {
        return;
    }
    const auto x = static_cast<float>(MouseX(lParam));
    const auto y = static_cast<float>(MouseY(lParam));
    if (capturing_ && pressed_ != nullptr) {
        const Held pressed = Hold(pressed_);
        DispatchControlMessage(pressed.control, message, wParam, lParam);
        if (message != WM_LBUTTONUP) {
            return;
        }
        RaiseLeftUp(wParam, lParam);
        if (capturing_) {
            capturing_ = false;
            ReleaseCapture();
        }
        pressed_ = nullptr;
        const Held under = Hold(HitTest(x, y));
        if (Alive(pressed) && under.control == pressed.control) {
            DispatchControlMessage(pressed.control, EXM_CLICK,
                                   reinterpret_cast<WPARAM>(pressed.control), lParam);
            Raise(EventClick, pressed, wParam, lParam);
            return;
        }
        if (Alive(pressed) && pressed.control->Visible()) {
            DispatchControlMessage(pressed.control, EXM_MOUSELEAVE, wParam,
                                   reinterpret_cast<LPARAM>(under.control));
            Raise(EventMouseLeave, pressed, 0, 0);
        }
        hot_ = Alive(under) ? under.control : nullptr;
        if (hot_ != nullptr) {
            DispatchControlMessage(
                under.control, EXM_MOUSEENTER, wParam,
                reinterpret_cast<LPARAM>(Alive(pressed) ? pressed.control : nullptr));
            Raise(EventMouseEnter, under, 0, 0);
        }
        return;
    }
    capturing_ = false;
    pressed_ = nullptr;

    Held under = Hold(HitTest(x, y));
    const Held previousHot = Hold(hot_);
    if (under.control != previousHot.control && previousHot.control != nullptr &&
        previousHot.control->Visible()) {
        DispatchControlMessage(previousHot.control, EXM_MOUSELEAVE, wParam,
                               reinterpret_cast<LPARAM>(under.control));
        Raise(EventMouseLeave, previousHot, 0, 0);
    }
    if (!Alive(under)) {
        under = {};
    }
    hot_ = under.control;
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLeftDown(under, wParam, lParam);
        break;
    case WM_RBUTTONDOWN:
        Raise(EventRightDown, under, wParam, lParam);
        break;
    case WM_RBUTTONUP:
        Raise(EventRightUp, under, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        if (under.control != nullptr && under.control != previousHot.control) {
            DispatchControlMessage(
                under.control, EXM_MOUSEENTER, wParam,
                reinterpret_cast<LPARAM>(Alive(previousHot) ? previousHot.control : nullptr));
            Raise(EventMouseEnter, under, 0, 0);
        }
        break;
    default:
        break;
    }
    if (Alive(under)) {
        DispatchControlMessage(under.control, message, wParam, lParam);
    }
}

void HostWindow::OnLeftDown(const Held& under, WPARAM wParam, LPARAM lParam) {
    if (GetFocus() != window_) {
        SetFocus(window_);
    }
    const bool doubleClick = wParam == kDoubleClickMarker;
    bool accepted = false;
    if (Alive(under)) {
        accepted =
            DispatchControlMessage(under.control, EXM_QUERYPRESS, wParam, lParam) != kNotHandled;
        if (!Alive(under)) {
            return;
        }
        accepted = accepted || under.control->Focusable();
    }
    if (!accepted) {
        if (doubleClick && MouseY(lParam) < 30 && (frameStyle_ & kFrameMaximise) != 0) {
            ToggleMaximise();
        } else if (dragToMove_) {
            SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, CursorScreenPosition());
        }
        return;
    }
    Control* control = under.control;
    if (!Raise(EventLeftDown, under, wParam, lParam)) {
        return;
    }
    pressed_ = control;
    capturing_ = true;
    if (control->Focusable() && focus_ != control) {
        SetMouseFocus(control);
        if (!Alive(under)) {
            return;
        }
    }
    if (doubleClick && !Raise(EventDoubleClick, under, wParam, lParam)) {
        return;
    }
    SetCapture(window_);
    if (doubleClick && titleLabel_ && control == titleLabel_.get() &&
        (frameStyle_ & kFrameTitle) != 0 && (frameStyle_ & kFrameMaximise) != 0) {
        ToggleMaximise();
    }
}

void HostWindow::ToggleMaximise() {
    PostMessageW(window_, WM_SYSCOMMAND, IsZoomed(window_) ? SC_RESTORE : SC_MAXIMIZE, 0);
    SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, CursorScreenPosition());
}

bool HostWindow::HitResizeBorder(UINT message, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) {
        resizeCursor_ = nullptr;
    }
    if (!resizable_ || capturing_ || (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN) ||
        IsZoomed(window_)) {
        return false;
    }
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    const bool left = x <= 7;
    const bool top = y <= 7;
    const bool right = width_ - x < 10;
    const bool bottom = height_ - y < 10;
    int zone = 0;
    if (top) {
        zone = x <= 9 ? WMSZ_TOPLEFT : (right ? WMSZ_TOPRIGHT : WMSZ_TOP);
    } else if (bottom) {
        zone = x < 10 ? WMSZ_BOTTOMLEFT : (right ? WMSZ_BOTTOMRIGHT : WMSZ_BOTTOM);
    } else if (left) {
        zone = WMSZ_LEFT;
    } else if (right) {
        zone = WMSZ_RIGHT;
    }
    if (zone == 0) {
        return false;
    }
    const wchar_t* cursor = IDC_SIZEWE;
    if (zone == WMSZ_TOP || zone == WMSZ_BOTTOM) {
        cursor = IDC_SIZENS;
    } else if (zone == WMSZ_TOPLEFT || zone == WMSZ_BOTTOMRIGHT) {
        cursor = IDC_SIZENWSE;
    } else if (zone == WMSZ_TOPRIGHT || zone == WMSZ_BOTTOMLEFT) {
        cursor = IDC_SIZENESW;
    }
    resizeCursor_ = LoadCursorW(nullptr, cursor);
    SetCursor(resizeCursor_);
    if (hot_ != nullptr) {
        Control* hot = hot_;
        hot_ = nullptr;
        DispatchControlMessage(hot, EXM_MOUSELEAVE, 0, 0);
    }
    if (message == WM_LBUTTONDOWN) {
        SendMessageW(window_, WM_SYSCOMMAND, SC_SIZE + zone, CursorScreenPosition());
    }
    return true;
}

void HostWindow::OnMouseLeave() {
    tracking_ = false;
    resizeCursor_ = nullptr;
    // A control holding the capture keeps it: its release must still arrive.
    if (!capturing_) {
        ReleaseCapture();
    }
    if (hot_ != nullptr) {
        const Held hot = Hold(hot_);
        hot_ = nullptr;
        DispatchControlMessage(hot.control, EXM_MOUSELEAVE, 0, 0);
        Raise(EventMouseLeave, hot, 0, 0);
    }
}

void HostWindow::OnKeyDown(WPARAM key, LPARAM lParam) {
    if (focus_ != nullptr &&
        DispatchControlMessage(focus_, WM_KEYDOWN, key, lParam) != kNotHandled) {
        return;
    }
    // focus_ is cleared if the key handler destroyed the control.
    if (key == VK_TAB) {
        TabToNext();
    } else if ((key == VK_RETURN || key == VK_SPACE) && focus_ != nullptr && focus_->Visible() &&
               !focus_->Disabled()) {
        const Held control = Hold(focus_);
        DispatchControlMessage(control.control, EXM_CLICK, 0, 0);
        Raise(EventClick, control, 0, 0);
    }
}

void HostWindow::OnSysKeyDown(WPARAM key, LPARAM lParam) {
    // Only letter and digit keys have a virtual-key code equal to their
    // character; others (F4 is 0x73, 's') must not match an access key.
    const bool letterOrDigit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    if (!letterOrDigit) {
        return;
    }
    const auto pressed = static_cast<wint_t>(key);
    Held found{};
    for (const AccessKey& entry : accessKeys_) {
        if (static_cast<wint_t>(std::towupper(entry.key)) == pressed && entry.control->Visible() &&
            !entry.control->Disabled()) {
            found = Hold(entry.control);
            break;
        }
    }
    // The click may change the list (a control destroyed): it is left first.
    if (found.control != nullptr) {
        DispatchControlMessage(found.control, EXM_CLICK, 0, 0);
        Raise(EventClick, found, key, lParam);
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
    if (kind == SIZE_MINIMIZED || !backBuffer_) {
        return;
    }
    RECT outer{};
    GetWindowRect(window_, &outer);
    width_ = outer.right - outer.left;
    height_ = outer.bottom - outer.top;
    if (EventResized) {
        EventResized(window_, width_, height_);
    }
    CreateSurfaces();
    LayoutCaption();
    sizing_ = true;
    RenderBackground({}, std::nullopt, kPresentWhole);
    sizing_ = false;
}

void HostWindow::OnTimer(UINT_PTR id) {
    if (id == TimerId()) {
        FadeTick();
        return;
    }
    if (Control* control = Lookup(id)) {
        DispatchControlMessage(control, WM_TIMER, id, 0);
    }
}

void HostWindow::OnDestroy() {
    Detach();
}

void HostWindow::Detach() {
    HWND window = window_;
    detaching_ = true;
    RemoveWindowSubclass(window, &HostWindow::SubclassProc, 1);
    KillTimer(window, TimerId());
    while (first_ != nullptr) {
        first_->Destroy();
    }
    captionButtons_.clear();
    titleLabel_.reset();
    backgroundImage_.reset();
    if (tooltip_ != nullptr) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
    }
    if (capturing_) {
        ReleaseCapture();
    }
    capturing_ = false;
    focus_ = hot_ = pressed_ = keyboardFocus_ = nullptr;
    backBuffer_.Release();
    background_.Release();
    snapshot_.Release();
    if (windowDc_ != nullptr) {
        ReleaseDC(window, windowDc_);
        windowDc_ = nullptr;
    }
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
    clipRegion_.reset();
    accessKeys_.clear();
    pending_.clear();
    queue_.Clear();
    window_ = nullptr;
    detaching_ = false;
}

} // namespace kodaro::ui
