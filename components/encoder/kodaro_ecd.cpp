// KodaroEcd.dll: the QR encoder component. KodaroEcd encodes a UTF-8 text
// into a movable global memory block holding an 8-bit packed bitmap of the
// symbol; KodaroFreeBin releases that block. Invalid arguments and texts too
// long for any symbol give NULL.
#include "codec/encoder/qr_encoder.h"
#include "components/encoder/packed_dib.h"

#include <windows.h>

#include <cstring>

namespace {

// Beyond these the caller surely made a mistake; refusing keeps the block sane.
constexpr int kMaxPixelsPerModule = 100;
constexpr size_t kMaxBlockBytes = size_t{64} << 20;

HGLOBAL Encode(int level, int minVersion, int pixelsPerModule, int mask, const char* text,
               int length) {
    using namespace kodaro;
    if (!text || !codec::IsValidLevel(level) || minVersion < 0 || minVersion > codec::kMaxVersion ||
        pixelsPerModule < 1 || pixelsPerModule > kMaxPixelsPerModule || mask < -1 || mask > 7 ||
        length < -1)
        return nullptr;
    const size_t bytes = length == -1 ? std::strlen(text) : static_cast<size_t>(length);
    const codec::QrEncodeOptions options{static_cast<codec::EcLevel>(level),
                                         minVersion == 0 ? codec::kMinVersion : minVersion, mask};
    const auto symbol =
        codec::EncodeQr(std::span(reinterpret_cast<const uint8_t*>(text), bytes), options);
    if (!symbol)
        return nullptr;
    const components::DibGeometry geometry =
        components::MeasurePackedDib(symbol->size, pixelsPerModule, kMaxBlockBytes);
    if (geometry.totalBytes == 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, geometry.totalBytes);
    if (!block)
        return nullptr;
    auto* out = static_cast<uint8_t*>(GlobalLock(block));
    if (!out) {
        GlobalFree(block);
        return nullptr;
    }
    components::WritePackedDib(*symbol, pixelsPerModule, geometry, out);
    GlobalUnlock(block);
    return block;
}

} // namespace

// level: 0..3 (L, M, Q, H). minVersion: 0 = smallest that fits, else 1..40.
// pixelsPerModule: 1..100. mask: -1 = lowest penalty, else 0..7. text: UTF-8,
// taken as bytes. length: bytes of text, -1 = up to the terminating NUL.
extern "C" HGLOBAL __stdcall KodaroEcd(int level, int minVersion, int pixelsPerModule, int mask,
                                       const char* text, int length) {
    try {
        return Encode(level, minVersion, pixelsPerModule, mask, text, length);
    } catch (...) {
        // Nothing may unwind into a caller that knows no C++ (out of memory, mostly).
        return nullptr;
    }
}

extern "C" void __stdcall KodaroFreeBin(HGLOBAL block) {
    if (block)
        GlobalFree(block);
}
