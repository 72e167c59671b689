// Process-wide side of the UI framework: start-up, the window class, window
// creation and small window helpers both programs use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kodaro::ui {

// The framework's window class.
inline constexpr wchar_t kWindowClassName[] = L"Ex_DirectUI";

// One entry of the shared edit-box context menu. An entry with an empty text
// is the separator; `key` is the virtual-key code the item stands for.
struct EditMenuItem {
    std::wstring text;
    UINT key;
};

// Starts GDI+, picks the default font and cursor, loads the caption-button
// strip and registers "Ex_DirectUI". Call once on the UI thread before any
// window is created; returns false when GDI+ or the class cannot be set up.
// Calling it again does nothing and returns the first result.
[[nodiscard]] bool FrameworkStartup();
// Shuts GDI+ down again; call after every window is gone.
void FrameworkShutdown();

// The operating system's major version, read at start-up.
DWORD OsMajorVersion();
// Items of the edit-box context menu: "剪切(&T)", "复制(&C)", "粘贴(&P)", a
// separator and "全部选择(&A)".
const std::vector<EditMenuItem>& EditMenuItems();
// The icon remembered by RegisterWindowClass (resource 129 of the program by
// default; may be null when the program has none).
HICON ClassIcon();

// The bytes of an RT_RCDATA resource of the program; empty when it has none.
std::span<const std::uint8_t> ModuleResourceBytes(const wchar_t* name);

// Registers a window class with CS_DBLCLKS and the button-face background.
// A null cursor means DefaultCursor(), a null icon resource 129 of the module,
// a null procedure DefWindowProc. Returns the class atom (0 on failure; an
// already registered class gives its existing atom).
ATOM RegisterWindowClass(const wchar_t* className = kWindowClassName, UINT classStyle = CS_DBLCLKS,
                         HICON icon = nullptr, HCURSOR cursor = nullptr,
                         WNDPROC procedure = nullptr);

// Style of a framework window when none is given.
inline constexpr DWORD kDefaultHostStyle =
    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

struct HostWindowOptions {
    HWND parent = nullptr;
    std::wstring title{};
    // Width and height default to 380 × 250; x and y centre the window on
    // the work area when not given (CW_USEDEFAULT).
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = 0;
    int height = 0;
    const wchar_t* className = kWindowClassName;
    DWORD style = kDefaultHostStyle;
    DWORD exStyle = 0;
    bool show = false;
};

// Creates a top-level framework window (not yet attached to a HostWindow)
// with its big and small icons set. Returns null on failure.
HWND CreateHostWindow(const HostWindowOptions& options = {});

// WM_GETICON, else the class icon.
HICON WindowIcon(HWND window, bool big);
bool MakeTopmost(HWND window);
// CreateThread; the handle is closed at once unless keepHandle (then the
// caller closes *handle). False when the thread could not be started.
[[nodiscard]] bool StartThread(LPTHREAD_START_ROUTINE procedure, void* parameter,
                               bool keepHandle = false, HANDLE* handle = nullptr,
                               DWORD* threadId = nullptr);
// GetMessage/TranslateMessage/DispatchMessage until WM_QUIT; returns its wParam.
int RunMessageLoop();

// Read-modify-write of GWL_STYLE (or GWL_EXSTYLE); writes only on a change.
void AddStyle(HWND window, DWORD bits, bool extended = false);
void RemoveStyle(HWND window, DWORD bits, bool extended = false);
bool HasStyle(HWND window, DWORD bits, bool extended = false);

// The work area of the primary monitor.
RECT WorkArea();

} // namespace kodaro::ui
