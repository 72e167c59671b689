// Where the uninstaller may delete: the installation folder named in the
// registry and the manifest's entries below it. The manifest and the registry
// value come from outside, so every path is checked before anything is
// deleted, and a path that could reach outside the installation is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kodaro::uninstall {

// The installation folder as a full path ending in "\", or nothing when it
// must not be removed from: empty, relative, a device path, a drive or share
// root, or a system folder (Windows, Program Files, the profiles, the temporary
// folder and the like) or a folder holding one.
std::optional<std::wstring> CheckedInstallFolder(std::wstring_view location);

// installFolder (as CheckedInstallFolder gives it) joined with a manifest
// entry, or nothing when the entry is empty, absolute, drive-relative, UNC or
// a device path, has a ".." part, names the folder itself, or passes through a
// junction or symbolic link below the folder.
std::optional<std::wstring> ConfinedPath(std::wstring_view installFolder, std::wstring_view entry);

// Appends "\" unless the text already ends in one.
std::wstring WithTrailingSlash(std::wstring text);

} // namespace kodaro::uninstall
