#include "app/shell/plain_file.h"

#include <windows.h>

namespace kodaro {

bool IsPlainFile(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetThreadErrorMode(oldMode, nullptr);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

} // namespace kodaro
