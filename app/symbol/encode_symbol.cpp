#include "app/symbol/encode_symbol.h"

#include "runtime/dll_binding.h"
#include "runtime/handles.h"
#include "runtime/text.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace kodaro {
namespace {

// The component's call: level, minimum version (0 automatic), pixels per
// module, mask (-1 automatic), NUL-terminated UTF-8 text, byte length (-1 up to
// the NUL).
using EncodeFn = HGLOBAL(__stdcall*)(int, int, int, int, const char*, int);
using FreeFn = void(__stdcall*)(HGLOBAL);

BoundFunction<EncodeFn> encode("KodaroEcd.dll", "KodaroEcd");
BoundFunction<FreeFn> freeBlock("KodaroEcd.dll", "KodaroFreeBin");

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

} // namespace

std::string EncodedText(std::wstring_view payload) {
    return WideToUtf8(payload.empty() ? std::wstring_view(L"Kodaro") : payload);
}

ModuleMatrix EncodeSymbol(std::wstring_view payload, EcLevel level, int minimumVersion) {
    const std::string utf8 = EncodedText(payload);
    HGLOBAL handle = encode(level, minimumVersion, 1, -1, utf8.c_str(), -1);
    if (handle == nullptr) {
        return {};
    }
    // The block goes back to the component, unlocked, however this ends (the
    // copy below may throw).
    struct ComponentBlock {
        HGLOBAL handle;
        ~ComponentBlock() { freeBlock(handle); }
    } owned{handle};
    ModuleMatrix matrix;
    const GlobalLockGuard lock(handle);
    if (const void* block = lock.data()) {
        const size_t size = lock.size();
        if (size >= kPackedBitmapMinimum && size <= UINT32_MAX - kBitmapFileHeaderSize) {
            matrix.resize(kBitmapFileHeaderSize + size);
            uint8_t* header = matrix.data();
            header[0] = 'B';
            header[1] = 'M';
            PutLittleEndian(header + 2, static_cast<uint32_t>(kBitmapFileHeaderSize + size), 4);
            PutLittleEndian(header + 6, 0, 4);
            PutLittleEndian(header + 10, kModuleMatrixDataOffset, 4);
            std::memcpy(header + kBitmapFileHeaderSize, block, size);
        }
    }
    return matrix;
}

} // namespace kodaro
