#include "test_window.h"

#include "runtime/file_io.h"
#include "runtime/text.h"
#include "ui/draw/image.h"

namespace kodaro::ui::test {

namespace {
LPARAM Position(int x, int y) {
    return MAKELPARAM(x, y);
}
} // namespace

AttachOptions TestWindow::PlainFrame() {
    AttachOptions options;
    options.frameStyle = 0;
    options.backgroundColour = 0xFFFFFF;
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
    host_.Attach(window_, options);
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

int Pixels::CountVisible(int x, int y, int w, int h) const {
    int count = 0;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            if (AlphaOf(at(column, row)) > 0) {
                ++count;
            }
        }
    }
    return count;
}

Pixels ReadBitmap(Gdiplus::GpBitmap* bitmap) {
    Pixels pixels;
    UINT width = 0;
    UINT height = 0;
    if (bitmap == nullptr || gdip::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok ||
        gdip::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) {
        return pixels;
    }
    Gdiplus::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gdip::GdipBitmapLockBits(bitmap, &rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
        return pixels;
    }
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    pixels.argb.resize(static_cast<size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
        std::copy(row, row + width, pixels.argb.begin() + static_cast<ptrdiff_t>(y) * width);
    }
    gdip::GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

std::vector<std::uint8_t> TestData(const char* name) {
    return ReadWholeFile(Utf8ToWide(std::string(KODARO_CONTROLS_TEST_DATA) + "/" + name));
}

std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) !=
        Gdiplus::Ok) {
        return {};
    }
    UniqueBitmap owner(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gdip::GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok) {
        gdip::GdipGraphicsClear(graphics, argb);
        gdip::GdipDeleteGraphics(graphics);
    }
    return EncodeImage(bitmap, kPngEncoder);
}

} // namespace kodaro::ui::test
