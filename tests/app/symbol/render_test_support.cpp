#include "tests/app/symbol/render_test_support.h"

#include "ui/draw/image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kodaro::test {

namespace {
namespace gdip = Gdiplus::DllExports;
constexpr wchar_t kPngEncoder[] = L"{557CF406-1A04-11D3-9A73-0000F81EF32E}";
} // namespace

Pixels ReadPixels(Gdiplus::GpBitmap* bitmap) {
    Pixels pixels;
    UINT width = 0;
    UINT height = 0;
    if (bitmap == nullptr || gdip::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok ||
        gdip::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) {
        return pixels;
    }
    Gdiplus::BitmapData data{};
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (gdip::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
        return pixels;
    }
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    pixels.argb.resize(static_cast<std::size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(pixels.argb.data() + static_cast<std::size_t>(y) * width,
                    static_cast<const std::uint8_t*>(data.Scan0) +
                        static_cast<INT>(y) * data.Stride,
                    width * 4);
    }
    gdip::GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

Pixels DecodePixels(std::span<const std::uint8_t> bytes) {
    const ui::MemoryImage image = ui::LoadImageFromBytes(bytes);
    return image ? ReadPixels(static_cast<Gdiplus::GpBitmap*>(image.get())) : Pixels{};
}

std::vector<std::uint8_t> PngBytes(Gdiplus::GpBitmap* bitmap) {
    CLSID encoder{};
    CLSIDFromString(kPngEncoder, &encoder);
    IStream* stream = nullptr;
    std::vector<std::uint8_t> bytes;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        return bytes;
    }
    if (gdip::GdipSaveImageToStream(bitmap, stream, &encoder, nullptr) == Gdiplus::Ok) {
        HGLOBAL block = nullptr;
        STATSTG stat{};
        GetHGlobalFromStream(stream, &block);
        stream->Stat(&stat, STATFLAG_NONAME);
        const auto* data = static_cast<const std::uint8_t*>(GlobalLock(block));
        bytes.assign(data, data + stat.cbSize.QuadPart);
        GlobalUnlock(block);
    }
    stream->Release();
    return bytes;
}

std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb) {
    const ui::UniqueBitmap bitmap = MakeBitmap(width, height, [argb](int, int) { return argb; });
    return PngBytes(bitmap.get());
}

void WriteBytes(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
        path_ = std::wstring(base) + L"kodaro_symbol_" + std::to_wstring(n);
        if (CreateDirectoryW(path_.c_str(), nullptr)) {
            break;
        }
    }
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW(File(found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

} // namespace kodaro::test
