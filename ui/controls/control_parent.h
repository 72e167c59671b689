// Where a concrete control is created: a framework window (by its handle or
// its host) or a created parent control.
#pragma once

#include "ui/control/control.h"
#include "ui/host/host_window.h"

namespace kodaro::ui {

class ControlParent {
public:
    ControlParent(HWND window) : window_(window) {}
    ControlParent(HostWindow& host) : window_(host.Window()) {}
    ControlParent(Control& control) : control_(&control) {}

    // Control::CreateBase on the window or under the parent control.
    bool CreateIn(Control& child, const RectF& rect, int kind, bool visible, bool focusable,
                  HCURSOR cursor = nullptr, UINT fadeInterval = 0) const {
        if (control_ != nullptr) {
            return child.CreateBase(*control_, rect, kind, visible, focusable, cursor,
                                    fadeInterval);
        }
        return child.CreateBase(window_, rect, kind, visible, focusable, cursor, fadeInterval);
    }

    // The host the control will live in, or null when there is none.
    HostWindow* Host() const {
        return control_ != nullptr ? control_->Host() : HostWindow::FromWindow(window_);
    }

private:
    HWND window_ = nullptr;
    Control* control_ = nullptr;
};

} // namespace kodaro::ui
