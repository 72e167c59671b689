#include "ui/controls/embedded_image.h"

namespace kodaro::ui {

std::span<const std::uint8_t> EmbeddedBytes(int resourceId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
    HGLOBAL data = info != nullptr ? LoadResource(module, info) : nullptr;
    const void* bytes = data != nullptr ? LockResource(data) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, info));
}

MemoryImage LoadEmbeddedImage(int resourceId) {
    return LoadImageFromBytes(EmbeddedBytes(resourceId));
}

} // namespace kodaro::ui
