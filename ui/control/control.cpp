#include "ui/control/control.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace kodaro::ui {

namespace {

bool OnWindowThread(HWND window) {
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// Ids start above the small timer ids hosts use for themselves.
ControlId NewControlId() {
    static std::atomic<ControlId> next{0x100};
    return next++;
}

} // namespace

Control::~Control() {
    // The class's own part is gone: its OnMessage and the subscribers who
    // know it must not hear of this any more.
    TearDown(false);
}

bool Control::CreateBase(HWND window, const RectF& rect, int kind, bool visible, bool focusable,
                         HCURSOR cursor, UINT fadeInterval) {
    ControlSite* site = ControlSite::FromWindow(window);
    if (site == nullptr) {
        return false;
    }
    return Link(site, window, nullptr, rect, kind, visible, focusable, cursor, fadeInterval);
}

bool Control::CreateBase(ControlSite& host, const RectF& rect, int kind, bool visible,
                         bool focusable, HCURSOR cursor, UINT fadeInterval) {
    return CreateBase(host.Window(), rect, kind, visible, focusable, cursor, fadeInterval);
}

bool Control::CreateBase(Control& parent, const RectF& rect, int kind, bool visible, bool focusable,
                         HCURSOR cursor, UINT fadeInterval) {
    // A parent from another window (or one not created) cannot take children.
    if (parent.site_ == nullptr || &parent == this ||
        ControlSite::FromWindow(parent.window_) != parent.site_) {
        return false;
    }
    return Link(parent.site_, parent.window_, &parent, rect, kind, visible, focusable, cursor,
                fadeInterval);
}

bool Control::Link(ControlSite* site, HWND window, Control* parent, const RectF& rect, int kind,
                   bool visible, bool focusable, HCURSOR cursor, UINT fadeInterval) {
    if (site_ != nullptr) {
        Destroy();
    }
    {
        std::lock_guard lock(addressLock_);
        window_ = window;
        id_ = NewControlId();
    }
    site_ = site;
    rect_ = rect;
    previousRect_ = rect;
    tooltip_.clear();
    fadeLevel_ = 255;
    opacity_ = 255;
    kind_ = kind;
    cursor_ = cursor;
    visible_ = visible;
    focusable_ = focusable;
    disabled_ = false;
    links_ = site_->Adopt(*this, parent);
    // A control without area has no surface and paints nothing until a resize
    // gives it one; painting checks for the missing bitmap.
    static_cast<void>(surface_.Create(static_cast<int>(rect.Width), static_cast<int>(rect.Height)));
    fadeInterval_ = fadeInterval;
    Send(WM_CREATE, reinterpret_cast<WPARAM>(Bitmap()), reinterpret_cast<LPARAM>(Graphics()));
    Send(WM_PAINT, reinterpret_cast<WPARAM>(Bitmap()), reinterpret_cast<LPARAM>(Graphics()));
    return true;
}

void Control::Unlink() {
    if (site_ != nullptr) {
        site_->Unlink(*this);
    }
}

void Control::Reparent(Control* newParent) {
    if (site_ == nullptr || newParent == this ||
        (newParent != nullptr && newParent->site_ != site_)) {
        return;
    }
    // A control cannot become a child of its own descendant.
    for (Control* up = newParent; up != nullptr; up = up->Parent()) {
        if (up == this) {
            return;
        }
    }
    site_->Restack(*this, newParent, false);
    Invalidate();
}

void Control::ZOrder(int position, bool redraw) {
    if (site_ == nullptr) {
        return;
    }
    site_->Restack(*this, Parent(), position == 2);
    if (redraw) {
        Invalidate();
    }
}

void Control::Destroy() {
    TearDown(true);
}

void Control::TearDown(bool notify) {
    // A WM_DESTROY handler calling Destroy() again changes nothing.
    if (site_ == nullptr || tearingDown_) {
        return;
    }
    tearingDown_ = true;
    while (FirstChild() != nullptr) {
        FirstChild()->Destroy();
    }
    StopFade();
    // Whatever timer the class ran under the control's id ends with it.
    KillTimer(window_, TimerId());
    if (notify) {
        Dispatch(WM_DESTROY, 0, 0);
    }
    site_->Release(*this);
    links_ = nullptr;
    surface_.Release();
    previousBitmap_.reset();
    subscriptions_.clear();
    site_ = nullptr;
    {
        std::lock_guard lock(addressLock_);
        window_ = nullptr;
        id_ = 0;
    }
    tearingDown_ = false;
    rect_ = RectF();
    previousRect_ = RectF();
    tooltip_.clear();
    name_.clear();
}

void Control::ShiftDescendants(float dx, float dy) {
    for (Control* child = FirstChild(); child != nullptr; child = child->NextSibling()) {
        child->previousRect_ = child->rect_;
        child->rect_.X += dx;
        child->rect_.Y += dy;
        child->ShiftDescendants(dx, dy);
    }
}

void Control::Move(std::optional<float> x, std::optional<float> y, std::optional<float> width,
                   std::optional<float> height, bool redraw) {
    if (site_ == nullptr) {
        return;
    }
    previousRect_ = rect_;
    RectF next(x.value_or(rect_.X), y.value_or(rect_.Y), width.value_or(rect_.Width),
               height.value_or(rect_.Height));
    rect_ = next;
    if (next.X != previousRect_.X || next.Y != previousRect_.Y) {
        ShiftDescendants(next.X - previousRect_.X, next.Y - previousRect_.Y);
    }
    if (next.Width != previousRect_.Width || next.Height != previousRect_.Height) {
        const int w = static_cast<int>(next.Width);
        const int h = static_cast<int>(next.Height);
        // As at creation: shrunk to nothing, the control keeps no surface.
        static_cast<void>(surface_.Create(w, h));
        Dispatch(EXM_SIZE, static_cast<WPARAM>(w), static_cast<LPARAM>(h));
        Send(WM_PAINT, reinterpret_cast<WPARAM>(Bitmap()), reinterpret_cast<LPARAM>(Graphics()));
    }
    SendMessageW(window_, EXM_MOVED, reinterpret_cast<WPARAM>(this), redraw ? 1 : 0);
}

void Control::Visible(bool value) {
    if (site_ == nullptr) {
        visible_ = value;
        return;
    }
    if (value == visible_) {
        return;
    }
    visible_ = value;
    Dispatch(value ? EXM_SHOWN : EXM_HIDDEN, 0, 0);
    Invalidate();
}

void Control::Disabled(bool value) {
    if (site_ == nullptr) {
        disabled_ = value;
        return;
    }
    if (value == disabled_) {
        return;
    }
    const bool hadFocus = site_->ReleaseFocusAndHover(*this);
    if (value && hadFocus) {
        Dispatch(EXM_KILLFOCUS, 0, 0);
    }
    Dispatch(EXM_MOUSELEAVE, 0, 0);
    if (Dispatch(EXM_ENABLECHANGED, 0, value ? 1 : 0) == kNotHandled) {
        opacity_ = value ? static_cast<int>(opacity_ * 0.5) : std::min(255, opacity_ * 2);
    }
    StopFade();
    fadeLevel_ = opacity_;
    disabled_ = value;
    Invalidate();
}

bool Control::HasFocus() {
    if (site_ == nullptr) {
        return false;
    }
    const LRESULT answer = Dispatch(EXM_QUERYFOCUS, 0, 0);
    if (answer != kNotHandled) {
        return answer == 1;
    }
    return site_->FocusControl() == this;
}

void Control::Opacity(int value, bool redraw) {
    value = std::clamp(value, 0, 255);
    opacity_ = value;
    fadeLevel_ = value;
    if (site_ == nullptr) {
        return;
    }
    StopFade();
    Dispatch(EXM_ALPHACHANGED, 0, value);
    if (redraw) {
        Invalidate();
    }
}

void Control::StopFade() {
    if (timerRunning_ && window_ != nullptr) {
        KillTimer(window_, TimerId());
    }
    timerRunning_ = false;
    previousBitmap_.reset();
}

void Control::BeginCrossFade() {
    if (site_ == nullptr || !surface_ || !site_->ControlFades() || fadeInterval_ == 0) {
        return;
    }
    Gdiplus::GpBitmap* copy = nullptr;
    if (gdip::GdipCloneBitmapAreaI(0, 0, surface_.width(), surface_.height(), PixelFormat32bppARGB,
                                   surface_.bitmap(), &copy) == Gdiplus::Ok) {
        previousBitmap_.reset(copy);
    }
}

void Control::FadeLevel(int value) {
    if (site_ == nullptr) {
        fadeLevel_ = std::clamp(value, 0, opacity_);
        return;
    }
    // A hidden control has no timer to finish a fade, so it takes the end state.
    if (value >= opacity_ || !site_->ControlFades() || fadeInterval_ == 0 || !visible_ ||
        disabled_) {
        fadeLevel_ = opacity_;
        StopFade();
    } else {
        fadeLevel_ = std::max(0, value);
        if (!timerRunning_) {
            timerRunning_ = SetTimer(window_, TimerId(), fadeInterval_, nullptr) != 0;
        }
        if (!timerRunning_) {
            fadeLevel_ = opacity_;
            StopFade();
        }
    }
    if (visible_) {
        Invalidate();
    }
}

void Control::Tooltip(std::wstring text, bool apply) {
    tooltip_ = std::move(text);
    if (apply) {
        ApplyTooltip();
    }
}

void Control::ApplyTooltip() {
    if (site_ != nullptr) {
        site_->UpdateTooltip(*this, tooltip_.empty() ? TooltipMode::Remove : TooltipMode::Add);
    }
}

void Control::Redraw() {
    // The surface is filled in on the UI thread (see Dispatch).
    Send(WM_PAINT, 0, 0);
}

void Control::Invalidate() {
    const Address address = SnapshotAddress();
    if (address.window == nullptr) {
        return;
    }
    if (OnWindowThread(address.window)) {
        if (site_ != nullptr) {
            site_->InvalidateLater(rect_);
        }
    } else {
        Post(EXM_INVALIDATE);
    }
}

Control::Address Control::SnapshotAddress() const {
    std::lock_guard lock(addressLock_);
    return {window_, id_};
}

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    const Address address = SnapshotAddress();
    if (address.window == nullptr) {
        return 0;
    }
    MarshalRecord record{address.id, message, wParam, lParam, false};
    return SendMessageW(address.window, EXM_MARSHAL, address.id, reinterpret_cast<LPARAM>(&record));
}

bool Control::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    const Address address = SnapshotAddress();
    if (address.window == nullptr) {
        return false;
    }
    auto* record = new MarshalRecord{address.id, message, wParam, lParam, true};
    if (!PostMessageW(address.window, EXM_MARSHAL, address.id, reinterpret_cast<LPARAM>(record))) {
        delete record;
        return false;
    }
    return true;
}

void Control::Subscribe(UINT message, ControlHandler4 handler) {
    for (Subscription& entry : subscriptions_) {
        if (entry.message == message) {
            entry.four = std::move(handler);
            entry.five = nullptr;
            return;
        }
    }
    subscriptions_.push_back({message, std::move(handler), nullptr});
}

void Control::Subscribe(UINT message, ControlHandler5 handler) {
    for (Subscription& entry : subscriptions_) {
        if (entry.message == message) {
            entry.four = nullptr;
            entry.five = std::move(handler);
            return;
        }
    }
    subscriptions_.push_back({message, nullptr, std::move(handler)});
}

LRESULT Control::OnMessage(UINT, WPARAM, LPARAM) {
    return kNotHandled;
}

void Control::Paint(Gdiplus::GpGraphics*, int, int) {}

LRESULT Control::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == TimerId() && timerRunning_) {
        FadeLevel(fadeLevel_ + kFadeStep);
    } else if (message == EXM_INVALIDATE) {
        Invalidate();
        return 0;
    } else if (message == WM_PAINT && wParam == 0) {
        wParam = reinterpret_cast<WPARAM>(Bitmap());
        lParam = reinterpret_cast<LPARAM>(Graphics());
    }
    LRESULT result = OnMessage(message, wParam, lParam);
    if (message == WM_PAINT && result == kNotHandled && surface_) {
        surface_.Clear();
        Paint(surface_.graphics(), surface_.width(), surface_.height());
        Invalidate();
        result = 0;
    }
    for (const Subscription& entry : subscriptions_) {
        if (entry.message != message) {
            continue;
        }
        // Copies: the handler may subscribe again or destroy the control.
        Control* parent = Parent();
        if (entry.five) {
            ControlHandler5 handler = entry.five;
            handler(parent, this, message, wParam, lParam);
        } else if (entry.four) {
            ControlHandler4 handler = entry.four;
            handler(this, message, wParam, lParam);
        }
        break;
    }
    return result;
}

LRESULT DispatchControlMessage(Control* control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (control == nullptr) {
        return 0;
    }
    return control->Dispatch(message, wParam, lParam);
}

} // namespace kodaro::ui
