// Mouse and keyboard input of one host window: hit testing into the control
// tree, hover, the pressed control and its capture, the resize border, keys,
// Tab and access keys, and the application events they raise.
#pragma once

#include "ui/host/control_tree.h"

#include <windows.h>

#include <functional>

namespace kodaro::ui {

class HostWindow;

class InputRouter {
public:
    InputRouter(HostWindow& host, ControlTree& tree) : host_(host), tree_(tree) {}
    InputRouter(const InputRouter&) = delete;
    InputRouter& operator=(const InputRouter&) = delete;

    void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    void OnKeyDown(WPARAM key, LPARAM lParam);
    void OnSysKeyDown(WPARAM key, LPARAM lParam);
    // The window lost activation: a pressed control loses the capture.
    void OnDeactivate();
    // WM_SETCURSOR over the window itself.
    void SetCursorForWindow(HCURSOR windowCursor) const;

    Control* Hot() const { return hot_; }
    Control* Pressed() const { return pressed_; }
    bool Capturing() const { return capturing_; }
    // A control about to go away stops being hot or pressed; true when it
    // was hot.
    bool ForgetHover(const Control& control);
    void Forget(const Control& control);
    // Everything back to no hover, no press, no capture.
    void Reset();

private:
    void OnLeftDown(const HeldControl& under, WPARAM wParam, LPARAM lParam);
    bool HitResizeBorder(UINT message, LPARAM lParam);
    void SetMouseFocus(Control* control);
    void ToggleMaximise() const;
    void TrackLeave();
    // Raises a control event; true when the control survived the handler.
    using ControlEvent = std::function<void(HWND, Control*, WPARAM, LPARAM, int)>;
    bool Raise(const ControlEvent& event, const HeldControl& control, WPARAM wParam,
               LPARAM lParam) const;

    HostWindow& host_;
    ControlTree& tree_;
    Control* hot_ = nullptr;
    Control* pressed_ = nullptr;
    bool capturing_ = false;
    bool tracking_ = false;
    HCURSOR resizeCursor_ = nullptr;
};

} // namespace kodaro::ui
