#include "app/symbol/clipboard_export.h"

namespace kodaro {

bool CopyImageToClipboard(HWND owner, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return false;
    }
    HBITMAP bitmap = BytesToBitmapHandle(bytes);
    if (bitmap == nullptr) {
        return false;
    }
    bool handedOver = false;
    // Emptied without an owner, the clipboard refuses SetClipboardData on Windows.
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        handedOver = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
        CloseClipboard();
    }
    if (!handedOver) {
        DeleteObject(bitmap);
    }
    return handedOver;
}

} // namespace kodaro
