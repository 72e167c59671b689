#include "app/symbol/save_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>

namespace kodaro {

std::wstring FilterToDoubleNul(std::wstring_view filter) {
    std::wstring list;
    list.reserve(filter.size() + 2);
    for (const wchar_t c : filter) {
        list.push_back(c == L'|' ? L'\0' : c);
    }
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

std::optional<FileDialogAnswer> ShowFileDialog(FileDialogFunction function, HWND owner,
                                               const FileDialogRequest& request) {
    const std::wstring filterList = FilterToDoubleNul(request.filter);
    const std::wstring titleText(request.title);
    const std::wstring extension(request.defaultExtension);
    std::array<wchar_t, 255> file{};
    std::copy_n(request.initialName.begin(), std::min(request.initialName.size(), file.size() - 1),
                file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterList.c_str();
    dialog.nFilterIndex = request.filterIndex;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = titleText.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = request.flags;
    if (!function(&dialog)) {
        return std::nullopt;
    }
    return FileDialogAnswer{std::wstring(file.data()), dialog.nFilterIndex};
}

std::optional<std::wstring> ShowFileDialog(FileDialogFunction function, HWND owner,
                                           std::wstring_view filter, std::wstring_view title,
                                           DWORD flags) {
    FileDialogRequest request;
    request.filter = filter;
    request.title = title;
    request.flags = flags;
    std::optional<FileDialogAnswer> answer = ShowFileDialog(function, owner, request);
    if (!answer) {
        return std::nullopt;
    }
    return std::move(answer->path);
}

std::optional<FileDialogAnswer> ShowSaveDialog(HWND owner, std::wstring_view filter,
                                               std::wstring_view initialName, DWORD filterIndex) {
    FileDialogRequest request;
    request.filter = filter;
    request.title = kSaveDialogTitle;
    request.flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    // Without a default extension the dialog checked the name as typed ("a")
    // while the program wrote "a.bmp", so an existing a.bmp was replaced
    // without the question.
    request.defaultExtension = L"bmp";
    request.initialName = initialName;
    request.filterIndex = filterIndex;
    return ShowFileDialog(GetSaveFileNameW, owner, request);
}

} // namespace kodaro
