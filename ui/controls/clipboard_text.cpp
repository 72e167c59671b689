#include "ui/controls/clipboard_text.h"

#include <cstring>

namespace kodaro::ui {

namespace {

// Another program may hold the clipboard for a moment.
bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

} // namespace

bool PutClipboardText(HWND owner, std::wstring_view text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (block == nullptr) {
        return false;
    }
    auto* data = static_cast<wchar_t*>(GlobalLock(block));
    if (data == nullptr) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(data, text.data(), text.size() * sizeof(wchar_t));
    data[text.size()] = L'\0';
    GlobalUnlock(block);
    if (!OpenClipboardPatiently(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!placed) {
        GlobalFree(block);
    }
    return placed;
}

std::optional<std::wstring> ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently(owner)) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* data = static_cast<const wchar_t*>(GlobalLock(block))) {
            // Never read past the block, even when it lacks its terminator.
            const std::size_t capacity = GlobalSize(block) / sizeof(wchar_t);
            text = std::wstring(data, wcsnlen(data, capacity));
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

} // namespace kodaro::ui
