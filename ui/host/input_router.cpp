#include "ui/host/input_router.h"

#include "ui/host/host_window.h"

namespace kodaro::ui {

namespace {

LPARAM CursorScreenPosition() {
    POINT point{};
    GetCursorPos(&point);
    return MAKELPARAM(point.x, point.y);
}

} // namespace

void InputRouter::SetMouseFocus(Control* control) {
    if (control->Kind() == kKindCaptionButton) {
        return;
    }
    const HeldControl target = tree_.Hold(control);
    const HeldControl old = tree_.Hold(tree_.ExchangeFocus(control));
    if (old.control != nullptr) {
        DispatchControlMessage(old.control, EXM_KILLFOCUS, 0, reinterpret_cast<LPARAM>(control));
        if (tree_.Alive(old)) {
            Raise(host_.EventFocusLost, old, 0, 0);
        }
    }
    if (!tree_.Alive(target)) {
        return;
    }
    DispatchControlMessage(control, EXM_SETFOCUS, 0,
                           reinterpret_cast<LPARAM>(tree_.Alive(old) ? old.control : nullptr));
    if (tree_.Alive(target)) {
        Raise(host_.EventFocusGained, target, 0, 0);
    }
}

// Every handler an event or a control message reaches may destroy the control
// it was about (a message box's button closes the box), so the control is held
// with its id and checked again before the host touches it once more.
bool InputRouter::Raise(const ControlEvent& event, const HeldControl& control, WPARAM wParam,
                        LPARAM lParam) const {
    if (!tree_.Alive(control)) {
        return false;
    }
    if (event) {
        event(host_.Window(), control.control, wParam, lParam, control.control->Kind());
    }
    return tree_.Alive(control);
}

void InputRouter::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) {
        TrackLeave();
    }
    if (host_.CompositionSuspended() || HitResizeBorder(message, lParam)) {
        return;
    }
    const auto x = static_cast<float>(MouseX(lParam));
    const auto y = static_cast<float>(MouseY(lParam));
    if (capturing_ && pressed_ != nullptr) {
        const HeldControl pressed = tree_.Hold(pressed_);
        DispatchControlMessage(pressed.control, message, wParam, lParam);
        if (message != WM_LBUTTONUP) {
            return;
        }
        if (host_.EventLeftUp) {
            host_.EventLeftUp(host_.Window(), nullptr, wParam, lParam, 0);
        }
        if (capturing_) {
            capturing_ = false;
            ReleaseCapture();
        }
        pressed_ = nullptr;
        const HeldControl under = tree_.Hold(tree_.HitTest(x, y));
        if (tree_.Alive(pressed) && under.control == pressed.control) {
            DispatchControlMessage(pressed.control, EXM_CLICK,
                                   reinterpret_cast<WPARAM>(pressed.control), lParam);
            Raise(host_.EventClick, pressed, wParam, lParam);
            return;
        }
        if (tree_.Alive(pressed) && pressed.control->Visible()) {
            DispatchControlMessage(pressed.control, EXM_MOUSELEAVE, wParam,
                                   reinterpret_cast<LPARAM>(under.control));
            Raise(host_.EventMouseLeave, pressed, 0, 0);
        }
        hot_ = tree_.Alive(under) ? under.control : nullptr;
        if (hot_ != nullptr) {
            DispatchControlMessage(
                under.control, EXM_MOUSEENTER, wParam,
                reinterpret_cast<LPARAM>(tree_.Alive(pressed) ? pressed.control : nullptr));
            Raise(host_.EventMouseEnter, under, 0, 0);
        }
        return;
    }
    capturing_ = false;
    pressed_ = nullptr;

    HeldControl under = tree_.Hold(tree_.HitTest(x, y));
    const HeldControl previousHot = tree_.Hold(hot_);
    if (under.control != previousHot.control && previousHot.control != nullptr &&
        previousHot.control->Visible()) {
        DispatchControlMessage(previousHot.control, EXM_MOUSELEAVE, wParam,
                               reinterpret_cast<LPARAM>(under.control));
        Raise(host_.EventMouseLeave, previousHot, 0, 0);
    }
    if (!tree_.Alive(under)) {
        under = {};
    }
    hot_ = under.control;
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLeftDown(under, wParam, lParam);
        break;
    case WM_RBUTTONDOWN:
        Raise(host_.EventRightDown, under, wParam, lParam);
        break;
    case WM_RBUTTONUP:
        Raise(host_.EventRightUp, under, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        if (under.control != nullptr && under.control != previousHot.control) {
            DispatchControlMessage(
                under.control, EXM_MOUSEENTER, wParam,
                reinterpret_cast<LPARAM>(tree_.Alive(previousHot) ? previousHot.control : nullptr));
            Raise(host_.EventMouseEnter, under, 0, 0);
        }
        break;
    default:
        break;
    }
    if (tree_.Alive(under)) {
        DispatchControlMessage(under.control, message, wParam, lParam);
    }
}

void InputRouter::OnLeftDown(const HeldControl& under, WPARAM wParam, LPARAM lParam) {
    if (GetFocus() != host_.Window()) {
        SetFocus(host_.Window());
    }
    const bool doubleClick = wParam == kDoubleClickMarker;
    bool accepted = false;
    if (tree_.Alive(under)) {
        accepted =
            DispatchControlMessage(under.control, EXM_QUERYPRESS, wParam, lParam) != kNotHandled;
        if (!tree_.Alive(under)) {
            return;
        }
        accepted = accepted || under.control->Focusable();
    }
    if (!accepted) {
        if (doubleClick && MouseY(lParam) < 30 && (host_.FrameStyle() & kFrameMaximise) != 0) {
            ToggleMaximise();
        } else if (host_.DragToMove()) {
            SendMessageW(host_.Window(), WM_NCLBUTTONDOWN, HTCAPTION, CursorScreenPosition());
        }
        return;
    }
    Control* control = under.control;
    if (!Raise(host_.EventLeftDown, under, wParam, lParam)) {
        return;
    }
    pressed_ = control;
    capturing_ = true;
    if (control->Focusable() && tree_.Focus() != control) {
        SetMouseFocus(control);
        if (!tree_.Alive(under)) {
            return;
        }
    }
    if (doubleClick && !Raise(host_.EventDoubleClick, under, wParam, lParam)) {
        return;
    }
    SetCapture(host_.Window());
    if (doubleClick && control == host_.TitleControl() && (host_.FrameStyle() & kFrameTitle) != 0 &&
        (host_.FrameStyle() & kFrameMaximise) != 0) {
        ToggleMaximise();
    }
}

void InputRouter::ToggleMaximise() const {
    PostMessageW(host_.Window(), WM_SYSCOMMAND, IsZoomed(host_.Window()) ? SC_RESTORE : SC_MAXIMIZE,
                 0);
    SendMessageW(host_.Window(), WM_NCLBUTTONDOWN, HTCAPTION, CursorScreenPosition());
}

bool InputRouter::HitResizeBorder(UINT message, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) {
        resizeCursor_ = nullptr;
    }
    if (!host_.Resizable() || capturing_ ||
        (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN) || IsZoomed(host_.Window())) {
        return false;
    }
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    const bool left = x <= 7;
    const bool top = y <= 7;
    const bool right = host_.Width() - x < 10;
    const bool bottom = host_.Height() - y < 10;
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
        SendMessageW(host_.Window(), WM_SYSCOMMAND, SC_SIZE + zone, CursorScreenPosition());
    }
    return true;
}

void InputRouter::OnMouseLeave() {
    tracking_ = false;
    resizeCursor_ = nullptr;
    // A control holding the capture keeps it: its release must still arrive.
    if (!capturing_) {
        ReleaseCapture();
    }
    if (hot_ != nullptr) {
        const HeldControl hot = tree_.Hold(hot_);
        hot_ = nullptr;
        DispatchControlMessage(hot.control, EXM_MOUSELEAVE, 0, 0);
        Raise(host_.EventMouseLeave, hot, 0, 0);
    }
}

void InputRouter::OnKeyDown(WPARAM key, LPARAM lParam) {
    if (tree_.Focus() != nullptr &&
        DispatchControlMessage(tree_.Focus(), WM_KEYDOWN, key, lParam) != kNotHandled) {
        return;
    }
    // The focus is cleared if the key handler destroyed the control.
    if (key == VK_TAB) {
        tree_.TabToNext();
    } else if ((key == VK_RETURN || key == VK_SPACE) && tree_.Focus() != nullptr &&
               tree_.Focus()->Visible() && !tree_.Focus()->Disabled()) {
        const HeldControl control = tree_.Hold(tree_.Focus());
        DispatchControlMessage(control.control, EXM_CLICK, 0, 0);
        Raise(host_.EventClick, control, 0, 0);
    } else if ((key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) &&
               tree_.Focus() != nullptr) {
        // Inside a group the arrows move the focus and choose, as a click would.
        Control* next = tree_.Focus()->GroupNeighbour(key == VK_RIGHT || key == VK_DOWN);
        if (next != nullptr && tree_.SetFocus(next, true)) {
            const HeldControl control = tree_.Hold(next);
            DispatchControlMessage(control.control, EXM_CLICK, 0, 0);
            Raise(host_.EventClick, control, 0, 0);
        }
    }
}

void InputRouter::OnSysKeyDown(WPARAM key, LPARAM lParam) {
    const HeldControl target = tree_.Hold(tree_.AccessKeyTarget(key));
    if (target.control != nullptr) {
        DispatchControlMessage(target.control, EXM_CLICK, 0, 0);
        Raise(host_.EventClick, target, key, lParam);
    }
}

void InputRouter::OnDeactivate() {
    if (capturing_) {
        capturing_ = false;
        pressed_ = nullptr;
        ReleaseCapture();
    }
}

void InputRouter::TrackLeave() {
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, host_.Window(), 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
}

void InputRouter::SetCursorForWindow(HCURSOR windowCursor) const {
    if (resizeCursor_ != nullptr) {
        SetCursor(resizeCursor_); // keeps the sizing arrow steady over a border
    } else {
        SetCursor(hot_ != nullptr && hot_->Cursor() != nullptr ? hot_->Cursor() : windowCursor);
    }
}

bool InputRouter::ForgetHover(const Control& control) {
    if (hot_ != &control) {
        return false;
    }
    hot_ = nullptr;
    return true;
}

void InputRouter::Forget(const Control& control) {
    ForgetHover(control);
    if (pressed_ == &control) {
        pressed_ = nullptr;
        if (capturing_) {
            capturing_ = false;
            ReleaseCapture();
        }
    }
}

void InputRouter::Reset() {
    if (capturing_) {
        ReleaseCapture();
    }
    capturing_ = false;
    tracking_ = false;
    hot_ = nullptr;
    pressed_ = nullptr;
    resizeCursor_ = nullptr;
}

} // namespace kodaro::ui
