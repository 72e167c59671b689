#include "app/symbol/clipboard_export.h"

#include "app/symbol/style_images.h"
#include "app/symbol/symbol_renderer.h"
#include "bench/render/matrix_bitmap.h"
#include "runtime/dll_binding.h"
#include "tests/app/symbol/render_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kodaro {
namespace {

// The bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> RgbOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        pixels.clear();
    }
    for (std::uint32_t& p : pixels) {
        p &= 0x00FFFFFF;
    }
    return pixels;
}

std::vector<std::uint32_t> RgbOf(const test::Pixels& pixels) {
    std::vector<std::uint32_t> rgb(pixels.argb);
    for (std::uint32_t& p : rgb) {
        p &= 0x00FFFFFF;
    }
    return rgb;
}

void PutTextOnClipboard(const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t size = (std::wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

std::wstring TextOnClipboard() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
    }
    return text;
}

std::vector<std::uint8_t> StyledPreview(int side) {
    test::TempFolder folder;
    const std::wstring logo = folder.File(L"logo.png");
    test::WriteBytes(logo, test::SolidPng(60, 60, 0xFFC02020));
    StyleImages images;
    ReloadStyleImage(StyleSlot::Logo, logo, side, images);
    SymbolStyle style;
    style.side = side;
    style.logoPath = logo;
    style.foregroundColor = 0xFE203080;
    return RenderSymbol(bench::MatrixBitmap(bench::SymbolLikePattern(25, 4), 3, 4), side, side,
                        style, images);
}

TEST(Clipboard, PictureLoaderIsFoundInOlepro32) {
    EXPECT_NE(FindFunction("olepro32.dll", "OleLoadPicture"), nullptr);
}

TEST(Clipboard, CopyPutsTheFullSizeBitmapOnTheClipboard) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    for (const int side : {128, 512}) {
        const std::vector<std::uint8_t> preview = StyledPreview(side);
        ASSERT_FALSE(preview.empty());
        ASSERT_TRUE(CopyImageToClipboard(owner, preview)) << side;
        // Windows refuses the data of a clipboard emptied without an owner.
        EXPECT_EQ(GetClipboardOwner(), owner);

        ASSERT_TRUE(OpenClipboard(nullptr));
        const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        BITMAP shape{};
        const bool described = bitmap != nullptr && GetObjectW(bitmap, sizeof(shape), &shape) != 0;
        std::vector<std::uint32_t> copied;
        if (described) {
            copied = RgbOf(bitmap, shape.bmWidth, shape.bmHeight);
        }
        CloseClipboard();
        ASSERT_TRUE(described) << side;
        EXPECT_EQ(shape.bmWidth, side);
        EXPECT_EQ(shape.bmHeight, side);
        EXPECT_EQ(copied, RgbOf(test::DecodePixels(preview))) << side;
    }
    DestroyWindow(owner);
}

TEST(Clipboard, NothingUsableLeavesTheClipboardAsItWas) {
    PutTextOnClipboard(L"kept");
    EXPECT_FALSE(CopyImageToClipboard(nullptr, {}));
    EXPECT_EQ(TextOnClipboard(), L"kept");
    EXPECT_FALSE(
        CopyImageToClipboard(nullptr, std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'a', 'n'}));
    EXPECT_EQ(TextOnClipboard(), L"kept");
}

TEST(Clipboard, BitmapHandleCanBeCopiedToAnotherSize) {
    const std::vector<std::uint8_t> preview = StyledPreview(256);
    HBITMAP own = BytesToBitmapHandle(preview);
    HBITMAP smaller = BytesToBitmapHandle(preview, 64, 32);
    ASSERT_NE(own, nullptr);
    ASSERT_NE(smaller, nullptr);
    BITMAP shape{};
    GetObjectW(own, sizeof(shape), &shape);
    EXPECT_EQ(shape.bmWidth, 256);
    GetObjectW(smaller, sizeof(shape), &shape);
    EXPECT_EQ(shape.bmWidth, 64);
    EXPECT_EQ(shape.bmHeight, 32);
    DeleteObject(own);
    DeleteObject(smaller);
    EXPECT_EQ(BytesToBitmapHandle({}), nullptr);
}

} // namespace
} // namespace kodaro
