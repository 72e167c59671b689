#include "tests/support/test_window.h"

#include <gtest/gtest.h>

namespace kodaro::ui::test {

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

AttachOptions TestWindow::PlainFrame() {
    AttachOptions options;
    options.frameStyle = 0;
    options.backgroundColor = 0xFFFFFF;
    options.controlFades = false;
    return options;
}

TestWindow::TestWindow(int width, int height, const AttachOptions& options)
    : TestWindow(options, {.title = L"test window", .width = width, .height = height}) {}

TestWindow::TestWindow(const AttachOptions& options, const HostWindowOptions& window) {
    if (!FrameworkStartup()) {
        ADD_FAILURE() << "the UI framework did not start";
        return;
    }
    window_ = CreateHostWindow(window);
    host_.EventClick = [this](HWND, Control* control, WPARAM wParam, LPARAM, int kind) {
        clicks.push_back({control, wParam, kind});
    };
    attached_ = host_.Attach(window_, options);
    if (!attached_) {
        ADD_FAILURE() << "the test window could not be attached";
    }
    Pump();
}

TestWindow::~TestWindow() {
    if (IsWindow(window_)) {
        DestroyWindow(window_);
    }
    Pump();
}

LRESULT TestWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(window_, message, wParam, lParam);
}

void TestWindow::MouseMove(int x, int y) {
    Send(WM_MOUSEMOVE, 0, At(x, y));
}

void TestWindow::LeftDown(int x, int y) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
}

void TestWindow::LeftUp(int x, int y) {
    Send(WM_LBUTTONUP, 0, At(x, y));
}

void TestWindow::Click(int x, int y) {
    MouseMove(x, y);
    LeftDown(x, y);
    LeftUp(x, y);
    Pump();
}

void TestWindow::AltKey(wchar_t key) {
    // Bit 29: the Alt key is down.
    Send(WM_SYSKEYDOWN, key, 1 | (1 << 29));
    Pump();
}

void TestWindow::KeyDown(WPARAM key, bool control, bool shift) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    Send(WM_KEYDOWN, key, 1);
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

} // namespace kodaro::ui::test
