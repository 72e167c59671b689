// The removal itself: the manifest's files and folders below the
// installation folder, then the folder when nothing is left in it, the
// registry entries and the shortcuts. Runs on a worker thread and reports to
// the uninstaller window with two sent messages.
#pragma once

#include "uninstall/manifest.h"

#include <windows.h>

#include <functional>
#include <string>

namespace kodaro::uninstall {

// Sent after each manifest item with lParam = percent done (0..100).
inline constexpr UINT UM_PROGRESS = WM_USER + 111;
// Sent once at the end.
inline constexpr UINT UM_DONE = WM_USER + 112;

// Registry entries of an installation (under HKEY_LOCAL_MACHINE).
inline constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kodaro";
inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValue[] = L"Kodaro";
// Shortcut name on the desktop and in Quick Launch, and the start-menu folder.
inline constexpr wchar_t kShortcutName[] = L"Kodaro.lnk";
inline constexpr wchar_t kStartMenuFolder[] = L"Kodaro\\";

struct RemovalJob {
    // Receives UM_PROGRESS and UM_DONE.
    HWND window = nullptr;
    const UninstallManifest* manifest = nullptr;
    // The installation folder as read from the registry (ending in "\").
    std::wstring installFolder;
    // Called on the worker after each manifest item (tests slow it down).
    std::function<void()> afterItem;
};

// Nearest whole percent of done out of total (total > 0).
int ProgressPercent(std::size_t done, std::size_t total);

// Runs the whole removal on the calling thread. Entries that fall outside the
// installation folder, and everything below an installation folder that is
// refused (see CheckedInstallFolder), are left alone; the progress still
// counts them, so the window always reaches its end.
void RemoveInstallation(const RemovalJob& job);

} // namespace kodaro::uninstall
