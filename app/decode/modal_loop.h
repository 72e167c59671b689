#pragma once
// A nested message loop for work the user must wait for on the
// user-interface thread (a download, a popup): windows keep painting and
// timers and calls from other threads keep running, but keyboard and mouse
// input meant for the rest of the program is dropped.

#include <windows.h>

#include <functional>

namespace kodaro {

enum class ModalLoopEnd {
    Done,     // done() returned true
    TimedOut, // the time ran out first
    Quit,     // WM_QUIT arrived; it has been posted again for the outer loop
};

struct ModalLoopOptions {
    // Input for this window and its children is dispatched; null drops all
    // input.
    HWND inputWindow = nullptr;
    DWORD timeoutMs = INFINITE;
    // done() is asked after every message and at least this often.
    DWORD pollMs = INFINITE;
};

ModalLoopEnd RunModalLoop(const std::function<bool()>& done, const ModalLoopOptions& options = {});

// Keyboard (0xFF..0x109) and mouse (client 0x200..0x20E, non-client
// 0xA0..0xAD) input messages.
bool IsInputMessage(UINT message);

} // namespace kodaro
