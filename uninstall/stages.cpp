#include "uninstall/stages.h"

#include "ui/controls/message_box.h"
#include "uninstall/install_paths.h"

#include <shellapi.h>

namespace kodaro::uninstall {

namespace {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring TemporaryFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = GetEnvironmentVariableW(L"TMP", buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        length = GetTempPathW(MAX_PATH, buffer);
    }
    return length > 0 && length < MAX_PATH ? WithTrailingSlash(buffer) : std::wstring();
}

bool IsTemporaryCopy(const std::wstring& programPath) {
    const std::wstring name = programPath.substr(FolderOf(programPath).size());
    return CompareStringOrdinal(name.c_str(), -1, kTemporaryCopyName, -1, TRUE) == CSTR_EQUAL;
}

std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; list != nullptr && i < count; ++i) {
        arguments.emplace_back(list[i]);
    }
    LocalFree(list);
    return arguments;
}

// Starts the copy without waiting. It runs in the temporary folder: a
// process's current folder cannot be deleted, and the first stage is often
// started from the installation folder.
bool StartSecondStage(const std::wstring& copy) {
    std::wstring commandLine = L"\"" + copy + L"\" " + kSecondStageArgument;
    const std::wstring folder = FolderOf(copy);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

std::wstring ProgramPath() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}

std::wstring TemporaryCopyPath() {
    const std::wstring folder = TemporaryFolder();
    return folder.empty() ? std::wstring() : folder + kTemporaryCopyName;
}

std::wstring RegisteredInstallFolder() {
    DWORD size = 0;
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", types, nullptr, nullptr,
                     &size) != ERROR_SUCCESS ||
        size < sizeof(wchar_t)) {
        return {};
    }
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", types, nullptr,
                     value.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value.empty() ? std::wstring() : WithTrailingSlash(value);
}

int RunFirstStage(const std::wstring& programPath) {
    if (!FileExists(FolderOf(programPath) + kManifestName)) {
        ui::MessageBoxParams box;
        box.text = L"卸载信息文件丢失!";
        box.title = L"卸载失败:";
        box.icon = 16;
        ui::ShowMessageBox(box);
        return 0;
    }
    const std::wstring copy = TemporaryCopyPath();
    if (copy.empty() || !CopyFileW(programPath.c_str(), copy.c_str(), FALSE)) {
        return 0;
    }
    StartSecondStage(copy);
    return 0;
}

int RunSecondStage(const std::wstring& argument, const std::wstring& programPath,
                   const UninstallProbe& probe) {
    if (HANDLE running = OpenEventW(EVENT_ALL_ACCESS, FALSE, kInstanceEventName)) {
        CloseHandle(running);
        return 0;
    }
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, kInstanceEventName);
    // Two second stages started together both find no event; the later
    // creation then only opens the other's.
    if (event != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(event);
        return 0;
    }
    if (argument == kSecondStageArgument) {
        const std::wstring folder = RegisteredInstallFolder();
        UninstallManifest manifest;
        if (!folder.empty() && FileExists(folder + kManifestName) &&
            manifest.Load(folder + kManifestName)) {
            UninstallWindow window(manifest, folder, probe);
            window.Show();
        }
    }
    // Only the temporary copy deletes itself: a second stage started with
    // another argument from the installation folder must not take the
    // installed uninstaller with it at the next restart.
    if (IsTemporaryCopy(programPath)) {
        MoveFileExW(programPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    if (event != nullptr) {
        CloseHandle(event);
    }
    return 0;
}

int RunUninstaller(const UninstallProbe& probe) {
    const std::wstring program = ProgramPath();
    const std::vector<std::wstring> arguments = Arguments();
    if (arguments.empty()) {
        return RunFirstStage(program);
    }
    return RunSecondStage(arguments.front(), program, probe);
}

} // namespace kodaro::uninstall
