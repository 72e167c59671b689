#pragma once
// A real framework window for the UI tests, created and attached for one test
// and destroyed after it. Input goes in as window messages through the host's
// own window procedure.

#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <vector>

namespace kodaro::ui::test {

// Runs the messages waiting for this thread.
void Pump();

inline LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

class TestWindow {
public:
    // width × height with a plain frame: the control tree holds only the
    // test's controls.
    explicit TestWindow(int width = 320, int height = 240,
                        const AttachOptions& options = PlainFrame());
    // Made from window and attached with options (by default the standard
    // frame with its caption elements).
    explicit TestWindow(const AttachOptions& options, const HostWindowOptions& window = {});
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // No caption elements, a white background and no control fades.
    static AttachOptions PlainFrame();

    HWND hwnd() const { return window_; }
    HostWindow& host() { return host_; }
    const HostWindow& host() const { return host_; }
    bool attached() const { return attached_; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Pump() { test::Pump(); }
    void MouseMove(int x, int y);
    void LeftDown(int x, int y);
    void LeftUp(int x, int y);
    // Move, press and release at (x, y).
    void Click(int x, int y);
    // Alt + key as the system delivers it.
    void AltKey(wchar_t key);
    // WM_KEYDOWN to the window while the keyboard state holds Control and/or
    // Shift down (as GetKeyState then reports them).
    void KeyDown(WPARAM key, bool control = false, bool shift = false);

    // Control events raised by the host (unless a test sets its own handler).
    struct Event {
        Control* control;
        WPARAM wParam;
        int kind;
    };
    std::vector<Event> clicks;

private:
    HWND window_ = nullptr;
    HostWindow host_;
    bool attached_ = false;
};

} // namespace kodaro::ui::test
