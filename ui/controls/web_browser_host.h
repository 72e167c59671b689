// The system web browser hosted in an "AtlAxWin" child window of ATL.
//
// The main program keeps one hidden, zero-sized instance that opens a page
// once per start. Nothing here must fail loudly: on a system without a
// working browser control the window or the browser object is simply missing
// and Navigate does nothing.
#pragma once

#include "runtime/handles.h"

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kodaro::ui {

class WebBrowserHost {
public:
    WebBrowserHost() = default;
    ~WebBrowserHost();
    WebBrowserHost(const WebBrowserHost&) = delete;
    WebBrowserHost& operator=(const WebBrowserHost&) = delete;

    // Creates the "AtlAxWin" child window of parent (text "Shell.Explorer.2"
    // when fromProgId, else "About:Blank"; visible only when asked) and takes
    // the hosted control's automation interface. False without doing anything
    // when the window exists already; false when the window cannot be made.
    bool Create(HWND parent, int left, int top, int width, int height, DWORD exStyle = 0,
                bool fromProgId = false, bool visible = false);

    // Releases the browser object and destroys the window; the result of
    // DestroyWindow (false when there was no window).
    bool Destroy();

    // Calls the browser's automation method "Navigate" with (address, flags,
    // target frame, post data, headers). Empty target frame and headers and
    // absent post data are passed as "not given". No effect without a browser.
    void Navigate(std::wstring_view address, int flags = 0, std::wstring_view targetFrame = {},
                  std::optional<std::span<const std::uint8_t>> postData = std::nullopt,
                  std::wstring_view headers = {});

    HWND Window() const { return window_.get(); }
    // The hosted control's automation interface (not add-ref'ed), or null.
    IDispatch* Browser() const { return browser_.get(); }

private:
    UniqueWindow window_;
    ComPtr<IDispatch> browser_;
    bool oleInitialized_ = false;
};

} // namespace kodaro::ui
