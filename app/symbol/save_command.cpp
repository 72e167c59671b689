#include "app/symbol/save_command.h"

#include "app/symbol/save_dialog.h"
#include "runtime/handles.h"

#include <algorithm>

namespace kodaro {

namespace {

constexpr wchar_t kErrorCaption[] = L"保存二维码";

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

std::wstring SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message;
    if (length > 0 && text != nullptr) {
        message.assign(text, length);
    }
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    if (message.empty()) {
        message = L"错误代码 " + std::to_wstring(error);
    }
    return message;
}

} // namespace

std::wstring WithBmpExtension(std::wstring_view path) {
    static constexpr std::wstring_view extension = L".bmp";
    std::wstring result(path);
    bool hasExtension = path.size() >= extension.size();
    for (std::size_t i = 0; hasExtension && i < extension.size(); ++i) {
        hasExtension = AsciiLower(path[path.size() - extension.size() + i]) == extension[i];
    }
    if (!hasExtension) {
        result += extension;
    }
    return result;
}

std::optional<DWORD> WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return GetLastError();
    }
    DWORD error = ERROR_SUCCESS;
    std::size_t done = 0;
    while (done < bytes.size() && error == ERROR_SUCCESS) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr)) {
            error = GetLastError();
        } else if (written == 0) {
            error = ERROR_WRITE_FAULT;
        }
        done += written;
    }
    // Closed before a failed file is deleted.
    file.reset();
    if (error != ERROR_SUCCESS) {
        DeleteFileW(path.c_str());
        return error;
    }
    return std::nullopt;
}

std::wstring SaveErrorText(const std::wstring& path, DWORD error) {
    return L"无法保存文件 \"" + path + L"\":\r\n" + SystemMessage(error);
}

SaveCommandHooks DesktopSaveHooks() {
    SaveCommandHooks hooks;
    hooks.chooseFile = [](HWND owner, std::wstring_view filter) {
        return ShowSaveDialog(owner, filter);
    };
    hooks.showError = [](HWND owner, const std::wstring& text) {
        MessageBoxW(owner, text.c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
    };
    return hooks;
}

SaveOutcome SaveSymbolCommand(HWND owner, std::span<const std::uint8_t> previewBytes,
                              const SaveCommandHooks& hooks) {
    const std::optional<std::wstring> chosen = hooks.chooseFile(owner, kBmpSaveFilter);
    if (!chosen) {
        return SaveOutcome::Cancelled;
    }
    const std::wstring path = WithBmpExtension(*chosen);
    if (const std::optional<DWORD> error = WriteWholeFile(path, previewBytes)) {
        hooks.showError(owner, SaveErrorText(path, *error));
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

} // namespace kodaro
