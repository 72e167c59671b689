// Drop blocks (what WM_DROPFILES and CF_HDROP carry) as the system makes
// them, for tests that hand files to the program.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace kodaro::test {

// A movable block: the DROPFILES header, then the paths as wide text, each
// ended by a NUL, the list by one more.
inline HGLOBAL MakeDropBlock(const std::vector<std::wstring>& paths, POINT at = {}) {
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    const SIZE_T size = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (block == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fNC = FALSE;
    header->fWide = TRUE;
    std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

} // namespace kodaro::test
