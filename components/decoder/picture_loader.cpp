#include "components/decoder/picture_loader.h"

#include "components/decoder/picture_header.h"
#include "runtime/gdiplus_session.h"
#include "runtime/handles.h"

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <memory>
#include <new>

namespace kodaro::components {

namespace {

namespace flat = Gdiplus::DllExports;

struct BitmapDisposer {
    void operator()(Gdiplus::GpBitmap* b) const { flat::GdipDisposeImage(b); }
};

LoadStatus StatusForOpenError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return LoadStatus::FileNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return LoadStatus::SharingViolation;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return LoadStatus::OutOfMemory;
    default:
        return LoadStatus::ReadError;
    }
}

// Reads the whole file into a movable memory block.
LoadStatus ReadFileToBlock(const std::wstring& path, UniqueGlobal* out, DWORD* size) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return StatusForOpenError(GetLastError());
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length))
        return LoadStatus::ReadError;
    if (length.QuadPart == 0)
        return LoadStatus::NotAPicture;
    if (length.QuadPart > kMaxPictureFileBytes)
        return LoadStatus::OutOfMemory;
    const auto bytes = static_cast<DWORD>(length.QuadPart);
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block)
        return LoadStatus::OutOfMemory;
    DWORD read = 0;
    BOOL ok = FALSE;
    {
        const GlobalLockGuard memory(block.get());
        ok = memory.data() != nullptr && ReadFile(file.get(), memory.data(), bytes, &read, nullptr);
    }
    if (!ok || read != bytes)
        return LoadStatus::ReadError;
    *out = std::move(block);
    *size = bytes;
    return LoadStatus::Ok;
}

// Refuses what the picture decoder must not see: an unknown format, a
// header that does not fit the file, more pixels than the limit. A GIF is
// cut after its first frame, so `*keep` may be less than `size`.
LoadStatus CheckPictureHeader(HGLOBAL block, DWORD size, DWORD* keep) {
    const GlobalLockGuard memory(block);
    auto* bytes = static_cast<uint8_t*>(memory.data());
    if (bytes == nullptr)
        return LoadStatus::OutOfMemory;
    const PictureHeader header = ReadPictureHeader({bytes, size}, kMaxPicturePixels);
    *keep = size;
    if (header.verdict == HeaderVerdict::Fits && header.keepBytes < size) {
        bytes[header.keepBytes] = 0x3B; // the GIF trailer
        *keep = static_cast<DWORD>(header.keepBytes) + 1;
    }
    switch (header.verdict) {
    case HeaderVerdict::Fits:
        return LoadStatus::Ok;
    case HeaderVerdict::TooLarge:
        return LoadStatus::OutOfMemory;
    default:
        return LoadStatus::NotAPicture;
    }
}

// The picture's bytes as a stream that owns the block.
LoadStatus StreamOverBlock(UniqueGlobal block, DWORD size, ComPtr<IStream>* out) {
    if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, out->put())))
        return LoadStatus::OutOfMemory;
    // The stream frees the block from here on.
    static_cast<void>(block.release());
    ULARGE_INTEGER length{};
    length.QuadPart = size;
    return SUCCEEDED((*out)->SetSize(length)) ? LoadStatus::Ok : LoadStatus::OutOfMemory;
}

// Reads the file, checks its header and hands it on as a stream.
LoadStatus OpenPictureStream(const std::wstring& path, ComPtr<IStream>* out) {
    UniqueGlobal block;
    DWORD size = 0;
    LoadStatus status = ReadFileToBlock(path, &block, &size);
    if (status == LoadStatus::Ok)
        status = CheckPictureHeader(block.get(), size, &size);
    if (status == LoadStatus::Ok)
        status = StreamOverBlock(std::move(block), size, out);
    return status;
}

// ITU-R BT.601 luma of an ARGB pixel laid over white.
uint8_t GreyOf(uint32_t argb) {
    const uint32_t a = argb >> 24;
    const uint32_t r = (argb >> 16) & 0xFF;
    const uint32_t g = (argb >> 8) & 0xFF;
    const uint32_t b = argb & 0xFF;
    const uint32_t luma = (r * 299 + g * 587 + b * 114 + 500) / 1000;
    return static_cast<uint8_t>((luma * a + 255 * (255 - a) + 127) / 255);
}

} // namespace

LoadStatus LoadGreyPicture(const std::wstring& path, GreyPicture* out) {
    try {
        ComPtr<IStream> stream;
        const LoadStatus read = OpenPictureStream(path, &stream);
        if (read != LoadStatus::Ok)
            return read;

        GdiplusSession gdiplus;
        if (!gdiplus.ok())
            return LoadStatus::NotAPicture;
        Gdiplus::GpBitmap* raw = nullptr;
        if (flat::GdipCreateBitmapFromStream(stream.get(), &raw) != Gdiplus::Ok || raw == nullptr)
            return LoadStatus::NotAPicture;
        std::unique_ptr<Gdiplus::GpBitmap, BitmapDisposer> bitmap(raw);
        UINT width = 0;
        UINT height = 0;
        if (flat::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
            flat::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 ||
            height == 0)
            return LoadStatus::NotAPicture;
        if (static_cast<int64_t>(width) * height > kMaxPicturePixels)
            return LoadStatus::OutOfMemory;

        out->width = static_cast<int>(width);
        out->height = static_cast<int>(height);
        out->pixels.assign(static_cast<size_t>(width) * height, 255);
        // Bands of rows keep the converted 32-bit copy small.
        constexpr UINT kBand = 256;
        for (UINT top = 0; top < height; top += kBand) {
            const UINT rows = std::min(kBand, height - top);
            Gdiplus::GpRect rect(0, static_cast<INT>(top), static_cast<INT>(width),
                                 static_cast<INT>(rows));
            Gdiplus::BitmapData data{};
            if (flat::GdipBitmapLockBits(bitmap.get(), &rect, Gdiplus::ImageLockModeRead,
                                         PixelFormat32bppARGB, &data) != Gdiplus::Ok)
                return LoadStatus::NotAPicture;
            for (UINT y = 0; y < rows; ++y) {
                const auto* src =
                    reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) +
                                                      static_cast<ptrdiff_t>(y) * data.Stride);
                uint8_t* dst = out->pixels.data() + static_cast<size_t>(top + y) * width;
                for (UINT x = 0; x < width; ++x)
                    dst[x] = GreyOf(src[x]);
            }
            flat::GdipBitmapUnlockBits(bitmap.get(), &data);
        }
        return LoadStatus::Ok;
    } catch (const std::bad_alloc&) {
        out->pixels.clear();
        out->pixels.shrink_to_fit();
        return LoadStatus::OutOfMemory;
    }
}

} // namespace kodaro::components
