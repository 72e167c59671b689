#include "ui/controls/web_browser_host.h"

#include "runtime/dll_binding.h"

#include <ole2.h>

#include <algorithm>
#include <array>

namespace kodaro::ui {
namespace {

// atl.dll is bound at run time by ordinal, like every outside library.
using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

BoundFunction<AtlAxWinInitFn> atlAxWinInit("atl.dll", "#42");
BoundFunction<AtlAxGetControlFn> atlAxGetControl("atl.dll", "#47");

// An automation argument that frees what it holds.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT& get() { return value_; }

    void SetString(std::wstring_view text) {
        VariantClear(&value_);
        BSTR string = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (string != nullptr) {
            value_.vt = VT_BSTR;
            value_.bstrVal = string;
        }
    }
    void SetInt(int number) {
        VariantClear(&value_);
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    void SetBytes(std::span<const std::uint8_t> bytes) {
        VariantClear(&value_);
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
        if (array == nullptr) {
            return;
        }
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(array, &data))) {
            SafeArrayDestroy(array);
            return;
        }
        if (!bytes.empty()) {
            std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(data));
        }
        SafeArrayUnaccessData(array);
        value_.vt = VT_ARRAY | VT_UI1;
        value_.parray = array;
    }

private:
    VARIANT value_;
};

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
    OLECHAR name[] = L"Navigate";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (FAILED(browser_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        return;
    }
    // Automation takes the arguments last to first.
    std::array<Variant, 5> arguments;
    if (!headers.empty()) {
        arguments[0].SetString(headers);
    }
    if (postData) {
        arguments[1].SetBytes(*postData);
    }
    if (!targetFrame.empty()) {
        arguments[2].SetString(targetFrame);
    }
    arguments[3].SetInt(flags);
    arguments[4].SetString(address);
    std::array<VARIANT, 5> values;
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = arguments[i].get();
    }
    DISPPARAMS parameters{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
    // The outcome of the page load is not ours to judge; errors are ignored.
    browser_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr,
                     nullptr, nullptr);
}

} // namespace kodaro::ui
