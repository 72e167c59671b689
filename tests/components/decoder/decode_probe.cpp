// Decodes one picture file through PsyQrDcd.dll, as often as asked, in a
// process of its own, and prints what an outside watcher cannot see:
//   code=<first result> ms=<first call> peak_mb=<peak working set>
//   warm_mb=<working set after the warm-up calls> end_mb=<after the last>
// A crash ends the process before the line is printed.
//
// Usage: decode_probe.exe <picture path> [calls]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "runtime/text.h"

namespace {

using DecodePictureFileFn = int(__stdcall*)(const char*);
using FreeAllocateMemoryFn = void(__stdcall*)();

// Calls before the working set is first sampled: the first ones load GDI+
// and fill the heaps, which is not growth.
constexpr int kWarmUpCalls = 10;

double Megabytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

PROCESS_MEMORY_COUNTERS Counters() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
    return c;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: decode_probe <picture> [calls]\n", stderr);
        return 2;
    }
    const int calls = argc > 2 ? std::max(1, _wtoi(argv[2])) : 1;
    HMODULE library = LoadLibraryW(L"PsyQrDcd.dll");
    if (library == nullptr) {
        std::fputs("PsyQrDcd.dll not found\n", stderr);
        return 3;
    }
    const auto decode = reinterpret_cast<DecodePictureFileFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "DecodePictureFile")));
    const auto release = reinterpret_cast<FreeAllocateMemoryFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "FreeAllocateMemory")));
    if (decode == nullptr || release == nullptr)
        return 3;
    const std::string path = kodaro::WideToAnsi(argv[1]);

    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const int code = decode(path.c_str());
    QueryPerformanceCounter(&end);
    release();
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);

    SIZE_T warm = Counters().WorkingSetSize;
    for (int i = 1; i < calls; ++i) {
        const int again = decode(path.c_str());
        release();
        if (again != code) {
            std::printf("unstable: call %d gave %d, the first %d\n", i + 1, again, code);
            return 4;
        }
        if (i + 1 == kWarmUpCalls)
            warm = Counters().WorkingSetSize;
    }
    const PROCESS_MEMORY_COUNTERS last = Counters();
    std::printf("code=%d ms=%.1f peak_mb=%.1f warm_mb=%.1f end_mb=%.1f\n", code, ms,
                Megabytes(last.PeakWorkingSetSize), Megabytes(warm),
                Megabytes(last.WorkingSetSize));
    return 0;
}
