#include "test_window.h"

#include "runtime/file_io.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

namespace kodaro::ui::test {

namespace {
LPARAM Position(int x, int y) {
    return MAKELPARAM(x, y);
}
} // namespace

AttachOptions TestWindow::PlainFrame() {
    AttachOptions options;
    options.frameStyle = 0;
    options.backgroundColor = 0xFFFFFF;
    options.controlFades = false;
    return options;
}

TestWindow::TestWindow(int width, int height, AttachOptions options) {
    HostWindowOptions create;
    create.title = L"controls test";
    create.width = width;
    create.height = height;
    window_ = CreateHostWindow(create);
    host_.EventClick = [this](HWND, Control* control, WPARAM wParam, LPARAM, int kind) {
        clicks.push_back({control, wParam, kind});
    };
    if (!host_.Attach(window_, options)) {
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

void TestWindow::Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TestWindow::MouseMove(int x, int y) {
    SendMessageW(window_, WM_MOUSEMOVE, 0, Position(x, y));
}

void TestWindow::LeftDown(int x, int y) {
    SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, Position(x, y));
}

void TestWindow::LeftUp(int x, int y) {
    SendMessageW(window_, WM_LBUTTONUP, 0, Position(x, y));
}

void TestWindow::Click(int x, int y) {
    MouseMove(x, y);
    LeftDown(x, y);
    LeftUp(x, y);
    Pump();
}

void TestWindow::AltKey(wchar_t key) {
    // Bit 29: the Alt key is down.
    SendMessageW(window_, WM_SYSKEYDOWN, key, 1 | (1 << 29));
    Pump();
}

void TestWindow::KeyDown(WPARAM key, bool control, bool shift) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(window_, WM_KEYDOWN, key, 1);
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

std::vector<std::uint8_t> TestData(const char* name) {
    return ReadWholeFile(Utf8ToWide(std::string(KODARO_CONTROLS_TEST_DATA) + "/" + name));
}

} // namespace kodaro::ui::test
