#include "ui/host/popup_loop.h"

namespace kodaro::ui {

namespace {

HWND PropertyWindow(HWND window, const wchar_t* name) {
    return static_cast<HWND>(GetPropW(window, name));
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Whether a menu being deactivated hands over to another menu of its chain.
bool SameMenuChain(HWND menu, HWND activated) {
    if (activated == nullptr) {
        return false;
    }
    HWND first = PropertyWindow(activated, kMenuChainProperty);
    return first != nullptr && first == PropertyWindow(menu, kMenuChainProperty);
}

void RemovePopupProperties(HWND window) {
    const int kind = PopupKindOf(window);
    if (kind == static_cast<int>(PopupKind::Menu)) {
        for (const wchar_t* name :
             {kMenuChainProperty, kMenuSubProperty, kMenuActiveProperty, kMenuEventProperty}) {
            RemovePropW(window, name);
        }
    } else if (kind == static_cast<int>(PopupKind::MessageBox)) {
        RemovePropW(window, kMessageBoxProperty);
    }
    RemovePropW(window, kPopupFlagsProperty);
}

} // namespace

void MakePopup(HostWindow& host, PopupKind kind, PopupHandler next) {
    HWND window = host.Window();
    SetPropW(window, kPopupFlagsProperty,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(static_cast<int>(kind))));
    host.EventMessage = [next = std::move(next)](HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam) -> LRESULT {
        const LRESULT result = PopupMessageHook(hwnd, message, wParam, lParam);
        if (result != -1 || !next) {
            return result;
        }
        return next(hwnd, message, wParam, lParam);
    };
}

int PopupKindOf(HWND window) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, kPopupFlagsProperty)));
}

LRESULT PopupMessageHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int kind = PopupKindOf(window);
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            return -1;
        }
        if (kind == static_cast<int>(PopupKind::Menu)) {
            if (!SameMenuChain(window, reinterpret_cast<HWND>(lParam))) {
                // Posted: the chain goes away once this window has finished
                // handling its own deactivation.
                HWND first = PropertyWindow(window, kMenuChainProperty);
                PostMessageW(first != nullptr ? first : window, WM_CLOSE, 0, 0);
            }
        } else if (kind == static_cast<int>(PopupKind::DropDown)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return -1;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        }
        if (kind == static_cast<int>(PopupKind::Menu)) {
            SendMessageW(window, WM_SYSKEYDOWN, wParam, lParam);
        }
        return -1;
    case WM_DESTROY:
        RemovePopupProperties(window);
        // Wakes a popup loop waiting in GetMessage: the window may have gone
        // inside a message sent from elsewhere, which GetMessage does not return.
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        return -1;
    default:
        return -1;
    }
}

PopupLoopEnd RunPopupLoop(HWND popup, const PopupLoopOptions& options) {
    const bool owned = options.owner != nullptr;
    MSG message{};
    while (IsWindow(popup)) {
        if (owned && !IsWindow(options.owner)) {
            DestroyWindow(popup);
            return PopupLoopEnd::OwnerGone;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            DestroyWindow(popup);
            return PopupLoopEnd::Closed;
        }
        if (got == 0) {
            // The outer loop must see the quit too, or the program runs on
            // with no window after its main window asked to end.
            PostQuitMessage(static_cast<int>(message.wParam));
            DestroyWindow(popup);
            return PopupLoopEnd::QuitPosted;
        }
        if (options.dropForeignInput && IsInput(message.message) && message.hwnd != popup &&
            !IsChild(popup, message.hwnd)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (owned && !IsWindow(options.owner)) {
        return PopupLoopEnd::OwnerGone;
    }
    return PopupLoopEnd::Closed;
}

} // namespace kodaro::ui
