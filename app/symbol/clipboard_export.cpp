#include "app/symbol/clipboard_export.h"

namespace kodaro {

bool CopyImageToClipboard(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return false;
    }
    HBITMAP bitmap = BytesToBitmapHandle(bytes);
    if (bitmap == nullptr) {
        return false;
    }
    bool handedOver = false;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        handedOver = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    }
    CloseClipboard();
    if (!handedOver) {
        DeleteObject(bitmap);
    }
    return handedOver;
}

} // namespace kodaro
