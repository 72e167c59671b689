#include "uninstall/install_paths.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace kodaro::uninstall {

namespace {

std::optional<std::wstring> FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::nullopt;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return std::nullopt;
    }
    full.resize(length);
    return full;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether folder (ending in "\") is path itself or lies above it.
bool IsAtOrAbove(std::wstring_view folder, std::wstring_view path) {
    return path.size() >= folder.size() && SameText(path.substr(0, folder.size()), folder);
}

// "X:\..." or "\\server\share\..." but not "\\?\" or "\\.\" device paths.
bool IsPlainAbsolute(std::wstring_view path) {
    if (path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' &&
        (path[2] == L'\\' || path[2] == L'/')) {
        return true;
    }
    return path.size() > 2 && (path.starts_with(L"\\\\") || path.starts_with(L"//")) &&
           path[2] != L'?' && path[2] != L'.';
}

// "X:\" or "\\server\share\".
bool IsRoot(std::wstring_view folder) {
    if (folder.size() == 3 && folder[1] == L':') {
        return true;
    }
    if (!folder.starts_with(L"\\\\")) {
        return false;
    }
    return std::count(folder.begin() + 2, folder.end(), L'\\') <= 2;
}

std::vector<std::wstring> SystemFolders() {
    static const int kFolders[] = {
        CSIDL_WINDOWS,          CSIDL_SYSTEM,
        CSIDL_SYSTEMX86,        CSIDL_PROGRAM_FILES,
        CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON,
        CSIDL_PROFILE,          CSIDL_APPDATA,
        CSIDL_LOCAL_APPDATA,    CSIDL_COMMON_APPDATA,
        CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
        CSIDL_PERSONAL,         CSIDL_COMMON_DOCUMENTS,
        CSIDL_PROGRAMS,         CSIDL_COMMON_PROGRAMS,
        CSIDL_STARTMENU,        CSIDL_COMMON_STARTMENU,
        CSIDL_STARTUP,          CSIDL_FONTS,
    };
    std::vector<std::wstring> folders;
    wchar_t buffer[MAX_PATH];
    for (int id : kFolders) {
        if (SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, buffer) == S_OK) {
            folders.push_back(WithTrailingSlash(buffer));
        }
    }
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    if (length > 0 && length < MAX_PATH) {
        if (std::optional<std::wstring> temp = FullPath(buffer)) {
            folders.push_back(WithTrailingSlash(*temp));
        }
    }
    return folders;
}

// A part made of dots and spaces only (Windows drops trailing dots and
// spaces, so ".. " and "..." can act as "..").
bool IsDotPart(std::wstring_view part) {
    return !part.empty() && part.find_first_not_of(L". ") == std::wstring_view::npos &&
           part != L".";
}

bool IsLink(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

} // namespace

std::wstring WithTrailingSlash(std::wstring text) {
    if (text.empty() || text.back() != L'\\') {
        text += L'\\';
    }
    return text;
}

std::optional<std::wstring> CheckedInstallFolder(std::wstring_view location) {
    if (!IsPlainAbsolute(location)) {
        return std::nullopt;
    }
    std::optional<std::wstring> full = FullPath(std::wstring(location));
    if (!full || !IsPlainAbsolute(*full)) {
        return std::nullopt;
    }
    const std::wstring folder = WithTrailingSlash(*full);
    if (IsRoot(folder)) {
        return std::nullopt;
    }
    for (const std::wstring& system : SystemFolders()) {
        if (IsAtOrAbove(folder, system)) {
            return std::nullopt;
        }
    }
    return folder;
}

std::optional<std::wstring> ConfinedPath(std::wstring_view installFolder, std::wstring_view entry) {
    std::wstring relative(entry);
    std::replace(relative.begin(), relative.end(), L'/', L'\\');
    if (relative.empty() || relative.front() == L'\\' ||
        relative.find(L':') != std::wstring::npos || installFolder.empty()) {
        return std::nullopt;
    }
    for (std::size_t start = 0; start <= relative.size();) {
        const std::size_t end = std::min(relative.find(L'\\', start), relative.size());
        if (IsDotPart(std::wstring_view(relative).substr(start, end - start))) {
            return std::nullopt;
        }
        start = end + 1;
    }
    const std::wstring folder(installFolder);
    std::optional<std::wstring> full = FullPath(folder + relative);
    if (!full) {
        return std::nullopt;
    }
    while (!full->empty() && full->back() == L'\\') {
        full->pop_back();
    }
    if (full->size() <= folder.size() || !IsAtOrAbove(folder, *full)) {
        return std::nullopt;
    }
    // Every folder between the installation and the entry must be a real
    // folder: through a link the entry would lie somewhere else.
    for (std::size_t slash = full->find(L'\\', folder.size()); slash != std::wstring::npos;
         slash = full->find(L'\\', slash + 1)) {
        if (IsLink(full->substr(0, slash))) {
            return std::nullopt;
        }
    }
    return full;
}

} // namespace kodaro::uninstall
