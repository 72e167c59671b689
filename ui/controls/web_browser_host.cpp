#include "ui/controls/web_browser_host.h"

#include "runtime/automation.h"
#include "runtime/dll_binding.h"

#include <ole2.h>

#include <array>

namespace kodaro::ui {
namespace {

// atl.dll is bound at run time by ordinal, like every outside library.
using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

BoundFunction<AtlAxWinInitFn> atlAxWinInit("atl.dll", "#42");
BoundFunction<AtlAxGetControlFn> atlAxGetControl("atl.dll", "#47");

} // namespace

WebBrowserHost::~WebBrowserHost() {
    Destroy();
    if (oleInitialized_) {
        OleUninitialize();
    }
}

bool WebBrowserHost::Create(HWND parent, int left, int top, int width, int height, DWORD exStyle,
                            bool fromProgId, bool visible) {
    if (window_) {
        return false;
    }
    // The browser control is an apartment-threaded OLE object; make sure the
    // calling thread can host it (balanced in the destructor).
    if (!oleInitialized_) {
        oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));
    }
    atlAxWinInit();
    DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0);
    window_.reset(CreateWindowExW(
        exStyle, L"AtlAxWin", fromProgId ? L"Shell.Explorer.2" : L"About:Blank", style, left, top,
        width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_) {
        return false;
    }
    ComPtr<IUnknown> control;
    if (SUCCEEDED(atlAxGetControl(window_.get(), control.put())) && control) {
        control->QueryInterface(IID_IDispatch, browser_.put_void());
    }
    return true;
}

bool WebBrowserHost::Destroy() {
    browser_.reset();
    if (!window_) {
        return false;
    }
    return DestroyWindow(window_.release()) != FALSE;
}

void WebBrowserHost::Navigate(std::wstring_view address, int flags, std::wstring_view targetFrame,
                              std::optional<std::span<const std::uint8_t>> postData,
                              std::wstring_view headers) {
    if (!browser_) {
        return;
    }
    // Arguments left out stay empty, as the browser expects of optional ones.
    std::array<Variant, 5> arguments;
    arguments[0] = Variant::Text(address);
    arguments[1] = Variant::Int(flags);
    if (!targetFrame.empty()) {
        arguments[2] = Variant::Text(targetFrame);
    }
    if (postData) {
        arguments[3] = Variant::Bytes(*postData);
    }
    if (!headers.empty()) {
        arguments[4] = Variant::Text(headers);
    }
    // The outcome of the page load is not ours to judge; errors are ignored.
    InvokeByName(browser_.get(), L"Navigate", DISPATCH_METHOD, arguments);
}

} // namespace kodaro::ui
