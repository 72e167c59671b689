#include "app/decode/scratch_file.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace kodaro {

namespace {

// GetTempFileNameW takes the first three characters.
constexpr wchar_t kPrefix[] = L"kqr";

} // namespace

ScratchFile::ScratchFile() {
    std::array<wchar_t, MAX_PATH + 1> folder{};
    const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length >= folder.size()) {
        return;
    }
    std::array<wchar_t, MAX_PATH> name{};
    // Unique 0 lets the system pick a number no existing file uses and
    // create the file, so nothing is overwritten.
    if (GetTempFileNameW(folder.data(), kPrefix, 0, name.data()) != 0) {
        path_ = name.data();
    }
}

ScratchFile::~ScratchFile() {
    if (!path_.empty()) {
        DeleteFileW(path_.c_str());
    }
}

bool ScratchFile::Write(std::span<const std::uint8_t> bytes) const {
    if (path_.empty()) {
        return false;
    }
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool written = true;
    std::size_t offset = 0;
    while (written && offset < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - offset, 1u << 30));
        DWORD done = 0;
        written = WriteFile(file, bytes.data() + offset, chunk, &done, nullptr) && done == chunk;
        offset += chunk;
    }
    CloseHandle(file);
    return written;
}

bool ScratchFile::CopyFrom(const std::wstring& source) {
    if (path_.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (CopyFileW(source.c_str(), path_.c_str(), FALSE)) {
        return true;
    }
    // A failed copy must not leave the empty placeholder behind for the
    // decoder to read as a picture.
    const DWORD error = GetLastError();
    DeleteFileW(path_.c_str());
    path_.clear();
    SetLastError(error);
    return false;
}

} // namespace kodaro
