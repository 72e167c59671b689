#include "app/shell/startup.h"

#include "runtime/handles.h"

#include <windows.h>

#include <vector>

namespace kodaro {

std::wstring ProgramDirectory() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            const auto slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring{} : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool StartUpdater(const std::wstring& directory) {
    // The program is named on its own and quoted in the command line, so a
    // folder with spaces never makes Windows try a shorter path as a program.
    const std::wstring program = directory + L"\\upd.exe";
    std::wstring commandLine = L"\"" + program + L"\" -h";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    // The updater runs on its own; nothing here waits for it.
    const UniqueHandle thread(process.hThread);
    const UniqueHandle child(process.hProcess);
    return true;
}

bool UpdateWaiting(const std::wstring& directory) {
    const std::wstring list = directory + L"\\Updata\\updlist.dat";
    const DWORD attributes = GetFileAttributesW(list.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace kodaro
