#include "ui/host/framework.h"

#include "ui/draw/defaults.h"
#include "ui/draw/gdiplus.h"
#include "ui/host/popup_menu.h"
#include "ui/host/resources.h"

#include <commctrl.h>

#include <memory>

namespace kodaro::ui {

namespace {

struct FrameworkState {
    std::unique_ptr<GdiplusSession> gdiplus;
    bool started = false;
    bool ok = false;
    DWORD osMajor = 0;
    HICON classIcon = nullptr;
    std::vector<EditMenuItem> editMenu;
};

FrameworkState& State() {
    static FrameworkState state;
    return state;
}

// The version the process runs under: the major version the PEB carries, as
// RtlGetVersion reports it (GetVersionEx lies to programs without a manifest).
DWORD ReadOsMajorVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                     GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (rtlGetVersion != nullptr && rtlGetVersion(&info) == 0) {
        return info.dwMajorVersion;
    }
    return 0;
}

} // namespace

std::span<const std::uint8_t> ModuleResourceBytes(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

bool FrameworkStartup() {
    FrameworkState& state = State();
    if (state.started) {
        return state.ok;
    }
    state.started = true;
    state.gdiplus = std::make_unique<GdiplusSession>();
    if (!state.gdiplus->ok()) {
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    state.osMajor = ReadOsMajorVersion();
    InitDefaultFont();
    InitSkinStrip(ModuleResourceBytes(kSkinStripResource));
    state.editMenu = {{L"剪切(&T)", 'X'},
                      {L"复制(&C)", 'C'},
                      {L"粘贴(&P)", 'V'},
                      {L"", 0},
                      {L"全部选择(&A)", 'A'}};
    PopupMenu& editMenu = EditContextMenu();
    editMenu.Clear();
    for (const EditMenuItem& item : state.editMenu) {
        editMenu.AddItem(item.text, {}, item.key);
    }
    state.ok = RegisterWindowClass() != 0;
    return state.ok;
}

void FrameworkShutdown() {
    FrameworkState& state = State();
    state.gdiplus.reset();
    state.started = false;
    state.ok = false;
}

DWORD OsMajorVersion() {
    return State().osMajor;
}

const std::vector<EditMenuItem>& EditMenuItems() {
    return State().editMenu;
}

HICON ClassIcon() {
    return State().classIcon;
}

ATOM RegisterWindowClass(const wchar_t* className, UINT classStyle, HICON icon, HCURSOR cursor,
                         WNDPROC procedure) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (icon == nullptr) {
        icon = LoadIconW(instance, MAKEINTRESOURCEW(129));
    }
    State().classIcon = icon;
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    info.style = classStyle;
    info.lpfnWndProc = procedure ? procedure : DefWindowProcW;
    info.hInstance = instance;
    info.hIcon = icon;
    info.hIconSm = icon;
    info.hCursor = cursor ? cursor : DefaultCursor();
    info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    info.lpszClassName = className;
    ATOM atom = RegisterClassExW(&info);
    if (atom == 0 && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        atom = static_cast<ATOM>(GetClassInfoExW(instance, className, &existing));
    }
    return atom;
}

RECT WorkArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

HWND CreateHostWindow(const HostWindowOptions& options) {
    const RECT area = WorkArea();
    const int width = options.width > 0 ? options.width : 380;
    const int height = options.height > 0 ? options.height : 250;
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    const int x = options.x != CW_USEDEFAULT ? options.x : area.left + (areaWidth - width) / 2;
    const int y = options.y != CW_USEDEFAULT ? options.y : area.top + (areaHeight - height) / 2;
    HWND window = CreateWindowExW(options.exStyle, options.className, options.title.c_str(),
                                  options.style, x, y, width, height, options.parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(WindowIcon(window, true)));
    SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(WindowIcon(window, false)));
    if (options.show) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    return window;
}

HICON WindowIcon(HWND window, bool big) {
    auto icon =
        reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, big ? ICON_BIG : ICON_SMALL, 0));
    if (icon == nullptr) {
        icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, big ? GCLP_HICON : GCLP_HICONSM));
    }
    return icon;
}

bool MakeTopmost(HWND window) {
    return SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

bool StartThread(LPTHREAD_START_ROUTINE procedure, void* parameter, bool keepHandle, HANDLE* handle,
                 DWORD* threadId) {
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, procedure, parameter, 0, &id);
    if (thread == nullptr) {
        return false;
    }
    if (threadId != nullptr) {
        *threadId = id;
    }
    if (keepHandle && handle != nullptr) {
        *handle = thread;
    } else {
        CloseHandle(thread);
    }
    return true;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void AddStyle(HWND window, DWORD bits, bool extended) {
    const int index = extended ? GWL_EXSTYLE : GWL_STYLE;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, index));
    if ((style | bits) != style) {
        SetWindowLongPtrW(window, index, static_cast<LONG_PTR>(style | bits));
    }
}

void RemoveStyle(HWND window, DWORD bits, bool extended) {
    const int index = extended ? GWL_EXSTYLE : GWL_STYLE;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, index));
    if ((style & ~bits) != style) {
        SetWindowLongPtrW(window, index, static_cast<LONG_PTR>(style & ~bits));
    }
}

bool HasStyle(HWND window, DWORD bits, bool extended) {
    const auto style =
        static_cast<DWORD>(GetWindowLongPtrW(window, extended ? GWL_EXSTYLE : GWL_STYLE));
    return (style & bits) == bits;
}

} // namespace kodaro::ui
