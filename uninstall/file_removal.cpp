#include "uninstall/file_removal.h"

#include "uninstall/install_paths.h"

#include <windows.h>

#include <functional>

namespace kodaro::uninstall {

namespace {

bool IsDotName(const wchar_t* name) {
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Calls visit for every entry of folder (without "." and ".."); stops and
// returns false as soon as visit does.
bool ForEachEntry(const std::wstring& folder,
                  const std::function<bool(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((WithTrailingSlash(folder) + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return true;
    }
    bool carryOn = true;
    do {
        if (!IsDotName(found.cFileName)) {
            carryOn = visit(found);
        }
    } while (carryOn && FindNextFileW(search, &found));
    FindClose(search);
    return carryOn;
}

// A directory link goes with RemoveDirectory, a file link with DeleteFile;
// neither touches the target.
void RemoveLink(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

void RemoveContents(const std::wstring& folder) {
    ForEachEntry(folder, [&folder](const WIN32_FIND_DATAW& found) {
        const std::wstring path = WithTrailingSlash(folder) + found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            RemoveLink(path, found.dwFileAttributes);
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            RemoveContents(path);
            RemoveLink(path, found.dwFileAttributes);
        } else {
            DeleteOneFile(path);
        }
        return true;
    });
}

} // namespace

bool DeleteOneFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return DeleteFileW(path.c_str()) != 0 || !Exists(path);
}

bool RemoveTree(const std::wstring& path) {
    std::wstring target = path;
    while (target.size() > 3 && target.back() == L'\\') {
        target.pop_back();
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveContents(target);
    }
    RemoveLink(target, attributes);
    return !Exists(target);
}

bool HoldsNoFile(const std::wstring& folder) {
    return ForEachEntry(folder, [&folder](const WIN32_FIND_DATAW& found) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return false;
        }
        return HoldsNoFile(WithTrailingSlash(folder) + found.cFileName);
    });
}

} // namespace kodaro::uninstall
