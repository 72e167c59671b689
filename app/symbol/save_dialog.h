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

// What a file dialog is asked for beyond its owner.
struct FileDialogRequest {
    std::wstring_view filter;
    std::wstring_view title;
    DWORD flags = 0;
    // Without a dot. When set, a name typed without an extension gets the
    // chosen type's extension (or this one) before the dialog checks it.
    std::wstring_view defaultExtension;
    // The name the dialog opens with, and the 1-based type shown (0: the first).
    std::wstring_view initialName;
    DWORD filterIndex = 0;
};

// The chosen path and the 1-based number of the type chosen with it.
struct FileDialogAnswer {
    std::wstring path;
    DWORD filterIndex = 0;
};

// Runs a common file dialog (GetOpenFileNameW or GetSaveFileNameW) owned by
// owner with a 255-character name buffer; nothing when the user cancels or
// the path does not fit.
using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
std::optional<FileDialogAnswer> ShowFileDialog(FileDialogFunction dialog, HWND owner,
                                               const FileDialogRequest& request);
// The same with only a filter, a title and flags; the chosen path.
std::optional<std::wstring> ShowFileDialog(FileDialogFunction dialog, HWND owner,
                                           std::wstring_view filter, std::wstring_view title,
                                           DWORD flags);

// Shows the save dialog titled "保存到:". It asks before replacing a file,
// and a name typed without an extension gets the chosen type's extension
// first, so the question is about the file that will be written.
std::optional<FileDialogAnswer> ShowSaveDialog(HWND owner, std::wstring_view filter,
                                               std::wstring_view initialName = {},
                                               DWORD filterIndex = 0);

} // namespace kodaro
