#pragma once
// The common save dialog, in the program's own form of filter text.

#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>
#include <string_view>

namespace kodaro {

inline constexpr wchar_t kSaveDialogTitle[] = L"保存到:";

// The program writes filters as display text and pattern pieces separated by
// "|"; the dialog wants each piece followed by a NUL and one more NUL at the
// end. The result holds those NULs.
std::wstring FilterToDoubleNul(std::wstring_view filter);

// Runs a common file dialog (GetOpenFileNameW or GetSaveFileNameW) owned by
// owner, with the filter in the program's form, the title, the flags and a
// 255-character name buffer; the chosen path, or nothing when the user
// cancels or the path does not fit.
using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
std::optional<std::wstring> ShowFileDialog(FileDialogFunction dialog, HWND owner,
                                           std::wstring_view filter, std::wstring_view title,
                                           DWORD flags);

// Shows the save dialog (asks before overwriting); the chosen path, or nothing
// when the user cancels or the path does not fit the dialog's 255-character
// buffer.
std::optional<std::wstring> ShowSaveDialog(HWND owner, std::wstring_view filter,
                                           std::wstring_view title = kSaveDialogTitle);

} // namespace kodaro
