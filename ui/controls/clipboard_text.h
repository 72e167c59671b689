// Unicode text on the system clipboard (CF_UNICODETEXT).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kodaro::ui {

// Empties the clipboard and places text on it; false when the clipboard could
// not be opened or the memory not allocated.
bool PutClipboardText(HWND owner, std::wstring_view text);
// The clipboard's text, or nothing when it holds none (or cannot be opened).
std::optional<std::wstring> ClipboardText(HWND owner);
// Whether the clipboard holds text, without opening it.
bool ClipboardHasText();

} // namespace kodaro::ui
