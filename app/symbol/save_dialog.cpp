#include "app/symbol/save_dialog.h"

#include <commdlg.h>

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

std::optional<std::wstring> ShowFileDialog(FileDialogFunction function, HWND owner,
                                           std::wstring_view filter, std::wstring_view title,
                                           DWORD flags) {
    const std::wstring filterList = FilterToDoubleNul(filter);
    const std::wstring titleText(title);
    std::array<wchar_t, 255> file{};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterList.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = titleText.c_str();
    dialog.Flags = flags;
    if (!function(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(file.data());
}

std::optional<std::wstring> ShowSaveDialog(HWND owner, std::wstring_view filter,
                                           std::wstring_view title) {
    return ShowFileDialog(GetSaveFileNameW, owner, filter, title,
                          OFN_OVERWRITEPROMPT | OFN_EXPLORER);
}

} // namespace kodaro
