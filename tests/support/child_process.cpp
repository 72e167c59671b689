#include "tests/support/child_process.h"

#include <vector>

namespace kodaro::test {
namespace {

struct BoxSearch {
    DWORD processId;
    const std::wstring* title;
    HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    if (owner == search->processId && *search->title == title) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ChildOutcome RunChildAnsweringBox(const std::wstring& commandLine, const std::wstring& folder,
                                  const std::wstring& boxTitle) {
    ChildOutcome outcome;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> command(commandLine.begin(), commandLine.end());
    command.push_back(L'\0');
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return outcome;
    }
    outcome.started = true;
    BoxSearch search{process.dwProcessId, &boxTitle, nullptr};
    for (int i = 0; i < 300 && search.box == nullptr; ++i) {
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
            break;
        }
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    }
    if (search.box != nullptr) {
        outcome.boxSeen = true;
        wchar_t text[512] = {};
        GetDlgItemTextW(search.box, 0xFFFF, text, 512);
        outcome.boxText = text;
        PostMessageW(search.box, WM_COMMAND, IDOK, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
        outcome.exited = true;
        GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

} // namespace kodaro::test
