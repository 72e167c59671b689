#include "uninstall/removal.h"

#include "runtime/text.h"
#include "ui/host/framework.h"
#include "uninstall/file_removal.h"
#include "uninstall/install_paths.h"

#include <shlobj.h>

#include <cmath>
#include <optional>

namespace kodaro::uninstall {

namespace {

// A special folder ending in "\", never created; empty when the system has none.
std::wstring SpecialFolder(int id) {
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, id, FALSE) || buffer[0] == L'\0') {
        return {};
    }
    return WithTrailingSlash(buffer);
}

void RemoveEntries(const RemovalJob& job, const std::optional<std::wstring>& folder,
                   const char* section, std::size_t count, std::size_t before, std::size_t total,
                   bool folders) {
    for (std::size_t i = 1; i <= count; ++i) {
        SendMessageW(job.window, UM_PROGRESS, 0, ProgressPercent(before + i, total));
        const std::string value = job.manifest->Value(section, std::to_string(i));
        if (folder) {
            if (std::optional<std::wstring> path = ConfinedPath(*folder, AnsiToWide(value))) {
                folders ? RemoveTree(*path) : DeleteOneFile(*path);
            }
        }
        if (job.afterItem) {
            job.afterItem();
        }
    }
}

void RemoveRegistration() {
    HKEY run = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueW(run, kRunValue);
        RegCloseKey(run);
    }
    // Removes the key only while it has no sub-keys.
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
}

void RemoveShortcuts() {
    const std::wstring programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    if (!programs.empty()) {
        RemoveTree(programs + kStartMenuFolder);
    }
    if (ui::OsMajorVersion() <= 5) {
        wchar_t appData[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            DeleteOneFile(WithTrailingSlash(appData) +
                          L"Microsoft\\Internet Explorer\\Quick Launch\\" + kShortcutName);
        }
    }
    const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    if (!desktop.empty()) {
        DeleteOneFile(desktop + kShortcutName);
    }
}

} // namespace

int ProgressPercent(std::size_t done, std::size_t total) {
    return static_cast<int>(std::lround(static_cast<double>(done) * 100.0 / total));
}

void RemoveInstallation(const RemovalJob& job) {
    const std::optional<std::wstring> folder = CheckedInstallFolder(job.installFolder);
    const std::size_t files = job.manifest->Count("File");
    const std::size_t folders = job.manifest->Count("Directory");
    const std::size_t total = files + folders;
    RemoveEntries(job, folder, "File", files, 0, total, false);
    RemoveEntries(job, folder, "Directory", folders, files, total, true);
    Sleep(200);
    if (folder && HoldsNoFile(*folder)) {
        RemoveTree(*folder);
    }
    RemoveRegistration();
    RemoveShortcuts();
    SendMessageW(job.window, UM_DONE, 0, 0);
}

} // namespace kodaro::uninstall
