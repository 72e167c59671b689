#include "app/symbol/save_command.h"

#include "app/symbol/image_export.h"
#include "app/symbol/save_dialog.h"
#include "runtime/handles.h"

#include <algorithm>

namespace kodaro {

namespace {

constexpr wchar_t kErrorCaption[] = L"保存二维码";

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view lowerEnd) {
    if (text.size() < lowerEnd.size()) {
        return false;
    }
    const std::wstring_view end = text.substr(text.size() - lowerEnd.size());
    return std::equal(end.begin(), end.end(), lowerEnd.begin(),
                      [](wchar_t a, wchar_t b) { return AsciiLower(a) == b; });
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

std::optional<std::vector<std::uint8_t>> ExportBytes(SaveFormat format,
                                                     std::span<const std::uint8_t> previewBytes,
                                                     const SvgMaker& makeSvg) {
    switch (format) {
    case SaveFormat::Png: {
        std::vector<std::uint8_t> png = PictureBytesToPng(previewBytes);
        return png.empty() ? std::nullopt : std::optional(std::move(png));
    }
    case SaveFormat::Svg: {
        const std::optional<std::string> svg = makeSvg ? makeSvg() : std::nullopt;
        if (!svg) {
            return std::nullopt;
        }
        return std::vector<std::uint8_t>(svg->begin(), svg->end());
    }
    case SaveFormat::Bmp:
        break;
    }
    return std::vector<std::uint8_t>(previewBytes.begin(), previewBytes.end());
}

SaveFormat SaveFormatOfFilter(DWORD filterIndex) {
    return filterIndex >= 1 && filterIndex <= kSaveTypes.size() ? kSaveTypes[filterIndex - 1].format
                                                                : kSaveTypes[0].format;
}

SaveTarget ResolveSaveTarget(std::wstring_view chosenPath, SaveFormat chosenType) {
    for (const SaveType& type : kSaveTypes) {
        if (EndsWithIgnoringCase(chosenPath, type.extension)) {
            return {std::wstring(chosenPath), type.format};
        }
    }
    SaveTarget target{std::wstring(chosenPath), chosenType};
    for (const SaveType& type : kSaveTypes) {
        if (type.format == chosenType) {
            target.path += type.extension;
        }
    }
    return target;
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

std::wstring SaveErrorText(const std::wstring& path, std::wstring_view reason) {
    return L"无法保存文件 \"" + path + L"\":\r\n" + std::wstring(reason);
}

std::wstring SaveErrorText(const std::wstring& path, DWORD error) {
    return SaveErrorText(path, SystemMessage(error));
}

SaveCommandHooks DesktopSaveHooks() {
    SaveCommandHooks hooks;
    hooks.chooseFile = [](HWND owner, const SaveChoice& initial) -> std::optional<SaveChoice> {
        DWORD filterIndex = 1;
        while (filterIndex < kSaveTypes.size() &&
               kSaveTypes[filterIndex - 1].format != initial.format) {
            ++filterIndex;
        }
        const std::optional<FileDialogAnswer> answer =
            ShowSaveDialog(owner, kSaveFilter, initial.path, filterIndex);
        if (!answer) {
            return std::nullopt;
        }
        return SaveChoice{answer->path, SaveFormatOfFilter(answer->filterIndex)};
    };
    hooks.confirmReplace = [](HWND owner, const std::wstring& path) {
        const std::wstring text = L"\"" + path + L"\" 已经存在。\r\n要替换它吗?";
        return MessageBoxW(owner, text.c_str(), kSaveDialogTitle,
                           MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    };
    hooks.showError = [](HWND owner, const std::wstring& text) {
        MessageBoxW(owner, text.c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
    };
    return hooks;
}

SaveOutcome SaveSymbolCommand(HWND owner, std::span<const std::uint8_t> previewBytes,
                              const SvgMaker& makeSvg, const SaveCommandHooks& hooks) {
    SaveChoice shown;
    SaveTarget target;
    for (;;) {
        const std::optional<SaveChoice> chosen = hooks.chooseFile(owner, shown);
        if (!chosen) {
            return SaveOutcome::Cancelled;
        }
        target = ResolveSaveTarget(chosen->path, chosen->format);
        // The dialog asked about the name it handed back; a name the program
        // extended is asked about here.
        if (target.path == chosen->path || !FileExists(target.path) ||
            hooks.confirmReplace(owner, target.path)) {
            break;
        }
        shown = *chosen;
    }
    const std::optional<std::vector<std::uint8_t>> bytes =
        ExportBytes(target.format, previewBytes, makeSvg);
    if (!bytes) {
        hooks.showError(owner, SaveErrorText(target.path, L"无法生成所选格式的图片。"));
        return SaveOutcome::Failed;
    }
    if (const std::optional<DWORD> error = WriteWholeFile(target.path, *bytes)) {
        hooks.showError(owner, SaveErrorText(target.path, *error));
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

} // namespace kodaro
