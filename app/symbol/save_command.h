#pragma once
// "保存二维码": writes the preview's picture bytes to a ".bmp" file the user
// chooses.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kodaro {

// Filter of the save dialog: display text "位图文件*.bmp", pattern "*.bmp".
inline constexpr wchar_t kBmpSaveFilter[] = L"位图文件"
                                            L"*.bmp"
                                            L"|"
                                            L"*.bmp";

// The path with ".bmp" appended unless its last four characters already are
// ".bmp" in any case.
std::wstring WithBmpExtension(std::wstring_view path);

// Writes bytes to path, replacing any file there. On failure the result is
// the system's error code and no partial file is left behind.
std::optional<DWORD> WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

// The text shown when a save fails: the path and the system's reason.
std::wstring SaveErrorText(const std::wstring& path, DWORD error);

// What the save command asks of the desktop; tests replace them.
struct SaveCommandHooks {
    // Asks for the file name (the save dialog); nothing on cancel.
    std::function<std::optional<std::wstring>(HWND owner, std::wstring_view filter)> chooseFile;
    // Tells the user the file could not be written.
    std::function<void(HWND owner, const std::wstring& text)> showError;
};
// The save dialog titled "保存到:" and an error message box.
SaveCommandHooks DesktopSaveHooks();

enum class SaveOutcome { Cancelled, Saved, Failed };

// Asks for a file name and writes the preview's bytes there as they are
// (empty bytes give an empty file). A failed write is shown to the user.
SaveOutcome SaveSymbolCommand(HWND owner, std::span<const std::uint8_t> previewBytes,
                              const SaveCommandHooks& hooks = DesktopSaveHooks());

} // namespace kodaro
