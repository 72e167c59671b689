// The exports of PsyQrDcd.dll: decode a picture file, then ask for each
// symbol's version, level, structured-append information and data.
//
// The data string is UTF-8 (converted from the symbol's own charset when it
// is not UTF-8 already), NUL-terminated, and stays valid until
// FreeAllocateMemory or the next DecodePictureFile. Every function is safe to
// call in any order: an index out of range gives 0 or a null pointer.
#include <windows.h>

#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "codec/decoder/qr_decoder.h"
#include "components/decoder/picture_loader.h"

namespace {

struct SymbolRecord {
    int version = 0;
    int level = 0;
    int sequenceCount = 0;
    int sequenceIndex = 0;
    int sequenceParity = 0;
    std::string data;
};

std::mutex gLock;
std::vector<SymbolRecord> gSymbols;

const SymbolRecord* Find(int index) {
    if (index < 0 || static_cast<size_t>(index) >= gSymbols.size())
        return nullptr;
    return &gSymbols[static_cast<size_t>(index)];
}

std::wstring AnsiPathToWide(const char* path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

} // namespace

extern "C" {

int __stdcall DecodePictureFile(const char* path) {
    using kodaro::components::LoadStatus;
    std::lock_guard<std::mutex> lock(gLock);
    gSymbols.clear();
    if (path == nullptr || *path == '\0')
        return static_cast<int>(LoadStatus::FileNotFound);
    try {
        kodaro::components::GreyPicture picture;
        const LoadStatus status =
            kodaro::components::LoadGreyPicture(AnsiPathToWide(path), &picture);
        if (status != LoadStatus::Ok)
            return static_cast<int>(status);
        const kodaro::codec::GreyImage image{picture.pixels.data(), picture.width, picture.height,
                                             picture.width};
        for (const auto& symbol : kodaro::codec::DecodeQrSymbols(image)) {
            SymbolRecord r;
            r.version = symbol.version;
            r.level = static_cast<int>(symbol.level);
            r.sequenceCount = symbol.sequenceIndex >= 0 ? symbol.sequenceCount : 0;
            r.sequenceIndex = symbol.sequenceIndex >= 0 ? symbol.sequenceIndex : 0;
            r.sequenceParity = symbol.sequenceParity;
            r.data = symbol.text;
            gSymbols.push_back(std::move(r));
        }
        return static_cast<int>(gSymbols.size());
    } catch (const std::bad_alloc&) {
        gSymbols.clear();
        return static_cast<int>(LoadStatus::OutOfMemory);
    } catch (...) {
        // Nothing may leave the C interface; any other failure is reported as
        // the picture not being readable.
        gSymbols.clear();
        return static_cast<int>(LoadStatus::ReadError);
    }
}

int __stdcall GetDecodeVersion(int index) {
    std::lock_guard<std::mutex> lock(gLock);
    const SymbolRecord* r = Find(index);
    return r ? r->version : 0;
}

int __stdcall GetDecodeLevel(int index) {
    std::lock_guard<std::mutex> lock(gLock);
    const SymbolRecord* r = Find(index);
    return r ? r->level : 0;
}

int __stdcall GetConcatenationInfo(int index, int* position, int* parity) {
    std::lock_guard<std::mutex> lock(gLock);
    const SymbolRecord* r = Find(index);
    if (position != nullptr)
        *position = r ? r->sequenceIndex : 0;
    if (parity != nullptr)
        *parity = r ? r->sequenceParity : 0;
    return r ? r->sequenceCount : 0;
}

const char* __stdcall GetDecodeDataString(int index) {
    std::lock_guard<std::mutex> lock(gLock);
    const SymbolRecord* r = Find(index);
    return r ? r->data.c_str() : nullptr;
}

void __stdcall FreeAllocateMemory() {
    std::lock_guard<std::mutex> lock(gLock);
    gSymbols.clear();
    gSymbols.shrink_to_fit();
}

} // extern "C"
