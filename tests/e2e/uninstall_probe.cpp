// uninstall.exe with a probe for the whole-program test: the window's
// progress, done and refused-close messages are appended to the file named by
// KODARO_UNINSTALL_LOG, and the worker pauses KODARO_UNINSTALL_ITEM_DELAY ms
// after each item so the removing state can be looked at and poked.
#include "ui/host/framework.h"
#include "uninstall/stages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace kodaro::uninstall;
    const std::wstring log = Environment(L"KODARO_UNINSTALL_LOG");
    const DWORD delay =
        static_cast<DWORD>(_wtoi(Environment(L"KODARO_UNINSTALL_ITEM_DELAY").c_str()));
    UninstallProbe probe;
    if (!log.empty()) {
        probe.windowMessage = [log](UINT message, LPARAM lParam) {
            const char* name = message == UM_PROGRESS ? "progress"
                               : message == UM_DONE   ? "done"
                                                      : "close-refused";
            if (FILE* file = _wfopen(log.c_str(), L"ab")) {
                std::fprintf(file, "%s %ld\n", name, static_cast<long>(lParam));
                std::fclose(file);
            }
        };
    }
    probe.afterItem = [delay] { Sleep(delay); };
    if (!kodaro::ui::FrameworkStartup()) {
        return 1;
    }
    const int code = RunUninstaller(probe);
    kodaro::ui::FrameworkShutdown();
    return code;
}
