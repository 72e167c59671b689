#pragma once
// A real framework window for control tests, input sent as window messages
// through the host's own window procedure, and pixels read back.

#include "tests/support/bitmap_pixels.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kodaro::ui::test {

class TestWindow {
public:
    explicit TestWindow(int width = 320, int height = 240, AttachOptions options = PlainFrame());
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // No caption elements, so the control tree holds only the test's controls.
    static AttachOptions PlainFrame();

    HWND hwnd() const { return window_; }
    HostWindow& host() { return host_; }

    // Runs the messages waiting for this thread.
    void Pump();
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

    // Control events raised by the host.
    struct Event {
        Control* control;
        WPARAM wParam;
        int kind;
    };
    std::vector<Event> clicks;

private:
    HWND window_ = nullptr;
    HostWindow host_;
};

// The shared picture helpers (Pixels, ReadBitmap, SolidPng, ...) under test::.
using namespace kodaro::test;

// A file of the tests' data folder.
std::vector<std::uint8_t> TestData(const char* name);

} // namespace kodaro::ui::test
