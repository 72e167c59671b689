#pragma once
// The picture chooser behind every ".." button of the program.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kodaro {

inline constexpr wchar_t kOpenDialogTitle[] = L"请选择图片文件";
// One display text and one pattern list, separated by "|".
inline constexpr wchar_t kPictureFilter[] = L"图片文件*.jpg;*.jpeg;*.bmp;*.gif;*.icon;*.ico;*.png|"
                                            L"*.jpg;*.jpeg;*.bmp;*.gif;*.icon;*.ico;*.png";

// Shows the common open dialog owned by owner; the chosen path, or nothing
// when the user cancels or the dialog fails (a path longer than its
// 255-character buffer included). Wide throughout, so any file name works.
std::optional<std::wstring> ShowOpenDialog(HWND owner, std::wstring_view filter = kPictureFilter,
                                           std::wstring_view title = kOpenDialogTitle);

} // namespace kodaro
