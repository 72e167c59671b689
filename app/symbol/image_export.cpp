#include "app/symbol/image_export.h"

namespace kodaro {

namespace {

namespace gdip = Gdiplus::DllExports;

// Class identifier of GDI+'s built-in BMP encoder.
constexpr wchar_t kBmpEncoder[] = L"{557CF400-1A04-11D3-9A73-0000F81EF32E}";

} // namespace

std::vector<std::uint8_t> ImageToBmpBytes(Gdiplus::GpImage* image) {
    if (image == nullptr) {
        return {};
    }
    CLSID encoder{};
    if (FAILED(CLSIDFromString(kBmpEncoder, &encoder))) {
        return {};
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0);
    if (block == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    IStream* stream = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(block, FALSE, &stream))) {
        STATSTG stat{};
        // The block may be larger than what was written; the stream knows the real length.
        if (gdip::GdipSaveImageToStream(image, stream, &encoder, nullptr) == Gdiplus::Ok &&
            SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart > 0 &&
            stat.cbSize.QuadPart <= GlobalSize(block)) {
            if (const void* data = GlobalLock(block)) {
                const auto* first = static_cast<const std::uint8_t*>(data);
                bytes.assign(first, first + static_cast<std::size_t>(stat.cbSize.QuadPart));
                GlobalUnlock(block);
            }
        }
        stream->Release();
    }
    GlobalFree(block);
    return bytes;
}

} // namespace kodaro
