#pragma once
// A real framework window for control tests, input sent as window messages
// through the host's own window procedure, and pixels read back.

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

// Unpremultiplied 0xAARRGGBB pixels of a GDI+ bitmap, row-major from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
    std::uint32_t at(int x, int y) const {
        return argb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    // Pixels inside (x, y, w, h) whose alpha is above zero.
    int CountVisible(int x, int y, int w, int h) const;
    bool operator==(const Pixels& other) const = default;
};

Pixels ReadBitmap(Gdiplus::GpBitmap* bitmap);

inline int AlphaOf(std::uint32_t c) {
    return static_cast<int>(c >> 24);
}
inline int RedOf(std::uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int GreenOf(std::uint32_t c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int BlueOf(std::uint32_t c) {
    return static_cast<int>(c & 0xFF);
}

// A file of the tests' data folder.
std::vector<std::uint8_t> TestData(const char* name);
// PNG bytes of a width x height picture filled with one colour.
std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb);

} // namespace kodaro::ui::test
