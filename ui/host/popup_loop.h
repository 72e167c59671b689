// What the framework's popups share: the popup menu, the combo box's drop-down
// and the message box each open a second top-level host window, mark it with
// its kind, install PopupMessageHook and run a nested message loop until the
// window is gone.
//
// Use:
//   HostWindow host;                       // lives for the call
//   HWND popup = CreateHostWindow({...});
//   host.Attach(popup, {...});
//   MakePopup(host, PopupKind::DropDown, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
//       return -1;                         // what the hook leaves to the popup
//   });
//   ShowWindow(popup, SW_SHOWNORMAL);
//   SetForegroundWindow(popup);
//   RunPopupLoop(popup, {.owner = ownerWindow});
#pragma once

#include "ui/host/host_window.h"

#include <windows.h>

#include <functional>

namespace kodaro::ui {

// Window properties of popup windows.
// The popup's kind (PopupKind); on every popup.
inline constexpr wchar_t kPopupFlagsProperty[] = L"Ex_Wnd_Flags";
// A message box's icon type.
inline constexpr wchar_t kMessageBoxProperty[] = L"Ex_DirectUI_MsgBox";
// A menu's chain: the first menu window of the chain (itself for the first).
inline constexpr wchar_t kMenuChainProperty[] = L"Ex_DirectUI_Host";
// The HostWindow* that opened the menu.
inline constexpr wchar_t kMenuEventProperty[] = L"Ex_DirectUI_Event";
// The submenu window a menu has open.
inline constexpr wchar_t kMenuSubProperty[] = L"Ex_DirectUI_Sub";
inline constexpr wchar_t kMenuActiveProperty[] = L"Ex_DirectUI_Act";

enum class PopupKind : int { Menu = 1, DropDown = 2, MessageBox = 3 };

using PopupHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// Sets "Ex_Wnd_Flags" on the host's window and makes PopupMessageHook its
// EventMessage; next gets every message the hook leaves (-1), and its result
// counts as the hook's would.
void MakePopup(HostWindow& host, PopupKind kind, PopupHandler next = {});

// The kind a window is marked with; 0 for none.
int PopupKindOf(HWND window);

// The shared hook of all popups:
// - WM_ACTIVATE going inactive: a menu closes its whole chain unless the
//   window being activated belongs to the chain (a submenu, the menu it came
//   from); a drop-down closes itself;
// - WM_KEYDOWN: Escape closes the popup; a menu also gets every other key as
//   WM_SYSKEYDOWN, so an item's access key works without Alt;
// - WM_DESTROY: removes the popup's window properties.
// Returns -1 where the host should go on with the message.
LRESULT PopupMessageHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct PopupLoopOptions {
    // The window the popup belongs to; when it is destroyed while the popup
    // is open, the popup is destroyed and the loop ends.
    HWND owner = nullptr;
    // Drops keyboard and mouse input addressed to any other window (a modal
    // box: its owner cannot be used while it is open).
    bool dropForeignInput = false;
};

enum class PopupLoopEnd {
    Closed,     // the popup window was destroyed
    OwnerGone,  // the owner went away; the popup was destroyed with it
    QuitPosted, // WM_QUIT arrived: posted again for the outer loop, popup destroyed
};

// Gets, translates and dispatches this thread's messages until the popup
// window is gone. The popup never outlives the call.
PopupLoopEnd RunPopupLoop(HWND popup, const PopupLoopOptions& options = {});

} // namespace kodaro::ui
