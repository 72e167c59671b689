#include "app/cli/console_output.h"

#include "runtime/handles.h"
#include "runtime/text.h"

#include <algorithm>

namespace kodaro {

namespace {

bool WriteToConsole(HANDLE console, std::wstring_view text) {
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 16384));
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

bool WriteBytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

// The console of the program that started this one (a command prompt), if
// there is one. Its output buffer is opened once and kept for the process.
HANDLE ParentConsole() {
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) {
            return INVALID_HANDLE_VALUE;
        }
        // ERROR_ACCESS_DENIED: already attached to a console.
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

} // namespace

WriteOutcome WriteText(Stream stream, std::wstring_view text) {
    const HANDLE handle = GetStdHandle(static_cast<DWORD>(stream));
    const bool usable = handle != nullptr && handle != INVALID_HANDLE_VALUE &&
                        GetFileType(handle) != FILE_TYPE_UNKNOWN;
    const auto outcome = [](bool written) {
        return written ? WriteOutcome::Written : WriteOutcome::Failed;
    };
    if (usable && IsConsole(handle)) {
        return outcome(WriteToConsole(handle, text));
    }
    // A file or pipe the caller redirected into takes UTF-8, whatever the
    // code page.
    if (usable && GetFileType(handle) != FILE_TYPE_CHAR) {
        return outcome(WriteBytes(handle, WideToUtf8(text)));
    }
    const HANDLE console = ParentConsole();
    if (console != INVALID_HANDLE_VALUE && IsConsole(console)) {
        return outcome(WriteToConsole(console, text));
    }
    // A character device that is no console (a terminal under Wine).
    if (usable) {
        return outcome(WriteBytes(handle, WideToUtf8(text)));
    }
    return WriteOutcome::NowhereToWrite;
}

} // namespace kodaro
