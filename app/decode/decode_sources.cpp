#include "app/decode/decode_sources.h"

#include "app/decode/decode_report.h"
#include "app/decode/scratch_file.h"

#include <windows.h>

namespace kodaro {

namespace {

// The decoder's own codes for what made a copy fail.
constexpr int kFileNotFound = -1;
constexpr int kReadError = -2;
constexpr int kSharingViolation = -4;

int CopyFailureCode(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return kFileNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return kSharingViolation;
    default:
        return kReadError;
    }
}

} // namespace

std::wstring DecodeLocalFile(const std::wstring& path) {
    if (path.empty()) {
        return std::wstring(DecodeErrorMessage(kFileNotFound));
    }
    ScratchFile scratch;
    if (!scratch.Created()) {
        return std::wstring(DecodeErrorMessage(kReadError));
    }
    if (!scratch.CopyFrom(path)) {
        return std::wstring(DecodeErrorMessage(CopyFailureCode(GetLastError())));
    }
    return DecodeToReport(scratch.Path());
}

std::wstring DecodePictureBytes(std::span<const std::uint8_t> bytes) {
    ScratchFile scratch;
    if (!scratch.Write(bytes)) {
        return std::wstring(DecodeErrorMessage(kReadError));
    }
    return DecodeToReport(scratch.Path());
}

} // namespace kodaro
