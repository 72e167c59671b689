#include "app/decode/modal_loop.h"

#include <algorithm>

namespace kodaro {

bool IsInputMessage(UINT message) {
    return (message >= WM_INPUT && message <= WM_UNICHAR) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSEHWHEEL) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

namespace {

bool ForInputWindow(HWND target, HWND inputWindow) {
    return inputWindow != nullptr && (target == inputWindow || IsChild(inputWindow, target));
}

} // namespace

ModalLoopEnd RunModalLoop(const std::function<bool()>& done, const ModalLoopOptions& options) {
    const ULONGLONG start = GetTickCount64();
    while (!done()) {
        DWORD wait = options.pollMs;
        if (options.timeoutMs != INFINITE) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            if (elapsed >= options.timeoutMs) {
                return ModalLoopEnd::TimedOut;
            }
            wait = std::min<DWORD>(wait, static_cast<DWORD>(options.timeoutMs - elapsed));
        }
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return ModalLoopEnd::Quit;
        }
        if (IsInputMessage(message.message) && !ForInputWindow(message.hwnd, options.inputWindow)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return ModalLoopEnd::Done;
}

} // namespace kodaro
