#pragma once
// The window the user-interface benchmarks measure on.

#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <cstdio>

namespace kodaro::bench {

// Starts the framework and opens a layered window of the main window's size
// (680 × 475) attached to host. Null, said on stderr, when either fails.
inline HWND OpenBenchWindow(ui::HostWindow& host) {
    if (!ui::FrameworkStartup()) {
        std::fprintf(stderr, "framework start failed\n");
        return nullptr;
    }
    HWND window = ui::CreateHostWindow({.title = L"Kodaro", .width = 680, .height = 475});
    if (window == nullptr || !host.Attach(window, {.backgroundColor = 0xF0E6DC, .opacity = 255})) {
        std::fprintf(stderr, "attach failed\n");
        return nullptr;
    }
    return window;
}

} // namespace kodaro::bench
