#include "app/decode/url_fetch.h"

#include "runtime/automation.h"
#include "runtime/handles.h"
#include "ui/host/popup_loop.h"

#include <objbase.h>

#include <array>
#include <cwctype>
#include <functional>
#include <span>
#include <string_view>

namespace kodaro {

namespace {

// readyState of a request whose response has arrived whole.
constexpr long kReadyStateComplete = 4;
constexpr DWORD kPollMs = 50;

// The automation object, called by member name.
class Automation {
public:
    explicit Automation(IDispatch* object) : object_(object) {}

    explicit operator bool() const { return static_cast<bool>(object_); }

    HRESULT Call(const wchar_t* name, std::span<Variant> arguments) {
        return InvokeByName(object_.get(), name, DISPATCH_METHOD, arguments);
    }
    std::optional<long> LongProperty(const wchar_t* name) {
        Variant value;
        if (FAILED(InvokeByName(object_.get(), name, DISPATCH_PROPERTYGET, {}, value.get())) ||
            FAILED(VariantChangeType(value.get(), value.get(), 0, VT_I4))) {
            return std::nullopt;
        }
        return (*value).lVal;
    }
    std::vector<std::uint8_t> BytesProperty(const wchar_t* name) {
        Variant value;
        std::vector<std::uint8_t> bytes;
        if (FAILED(InvokeByName(object_.get(), name, DISPATCH_PROPERTYGET, {}, value.get())) ||
            (*value).vt != (VT_ARRAY | VT_UI1) || (*value).parray == nullptr) {
            return bytes;
        }
        SAFEARRAY* array = (*value).parray;
        LONG lower = 0;
        LONG upper = -1;
        SafeArrayGetLBound(array, 1, &lower);
        SafeArrayGetUBound(array, 1, &upper);
        void* data = nullptr;
        if (upper >= lower && SUCCEEDED(SafeArrayAccessData(array, &data))) {
            const auto* begin = static_cast<const std::uint8_t*>(data);
            bytes.assign(begin, begin + (upper - lower + 1));
            SafeArrayUnaccessData(array);
        }
        return bytes;
    }

private:
    ComPtr<IDispatch> object_;
};

// COM for the calling thread, for as long as the download runs.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT hr_;
};

IDispatch* CreateRequestObject() {
    CLSID id{};
    if (FAILED(CLSIDFromProgID(L"Microsoft.XMLHTTP", &id))) {
        return nullptr;
    }
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return object;
}

bool IsPost(const std::wstring& method) {
    constexpr std::wstring_view kPost = L"post";
    if (method.size() != kPost.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kPost.size(); ++i) {
        if (std::towlower(method[i]) != kPost[i]) {
            return false;
        }
    }
    return true;
}

bool Open(Automation& request, const std::wstring& address, const FetchRequest& options) {
    std::vector<Variant> arguments;
    arguments.push_back(Variant::Text(options.method));
    arguments.push_back(Variant::Text(address));
    // Asynchronous, so the wait can be bounded and the windows kept painting.
    arguments.push_back(Variant::Bool(true));
    if (options.user.has_value()) {
        arguments.push_back(Variant::Text(*options.user));
        arguments.push_back(Variant::Text(options.password));
    }
    return SUCCEEDED(request.Call(L"open", arguments));
}

bool SetHeader(Automation& request, const FetchRequest& options) {
    std::array<Variant, 2> header;
    if (!options.headerName.empty()) {
        header = {Variant::Text(options.headerName), Variant::Text(options.headerValue)};
    } else if (IsPost(options.method)) {
        header = {Variant::Text(L"Content-Type"),
                  Variant::Text(L"application/x-www-form-urlencoded")};
    } else {
        return true;
    }
    return SUCCEEDED(request.Call(L"setRequestHeader", header));
}

// Runs the thread's messages until done() holds (true) or the time runs out
// or WM_QUIT arrives (false; the quit is posted again). The popup loop runs
// on a hidden window that a timer closes; keyboard and mouse input to every
// other window is dropped meanwhile.
struct Wait {
    const std::function<bool()>& done;
    ULONGLONG deadline;
    bool finished;
};

void CALLBACK OnWaitTimer(HWND window, UINT, UINT_PTR, DWORD) {
    auto* wait = reinterpret_cast<Wait*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    wait->finished = wait->done();
    if (wait->finished || GetTickCount64() >= wait->deadline) {
        DestroyWindow(window);
    }
}

bool WaitWithoutInput(const std::function<bool()>& done, DWORD timeoutMs) {
    Wait wait{done, GetTickCount64() + timeoutMs, false};
    HWND waiter =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (waiter == nullptr) {
        return false;
    }
    SetWindowLongPtrW(waiter, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&wait));
    SetTimer(waiter, 1, kPollMs, OnWaitTimer);
    ui::RunPopupLoop(waiter, {.dropForeignInput = true});
    return wait.finished;
}

} // namespace

FetchResult FetchUrlBytes(const std::wstring& address, const FetchRequest& options) {
    FetchResult result;
    ComScope com;
    Automation request(CreateRequestObject());
    if (!request || !Open(request, address, options) || !SetHeader(request, options)) {
        return result;
    }
    // No bytes send no body at all.
    std::array<Variant, 1> body = {options.body.empty() ? Variant() : Variant::Bytes(options.body)};
    if (FAILED(request.Call(L"send", body))) {
        return result;
    }
    const bool arrived = WaitWithoutInput(
        [&request] { return request.LongProperty(L"readyState") == kReadyStateComplete; },
        options.timeoutMs);
    if (!arrived) {
        request.Call(L"abort", {});
        return result;
    }
    // A request that never reached a server also ends complete, with no
    // HTTP status (0) or the system's error number.
    const std::optional<long> status = request.LongProperty(L"status");
    result.completed = status.value_or(0) > 0;
    result.status = status.value_or(0);
    result.body = request.BytesProperty(L"responseBody");
    return result;
}

} // namespace kodaro
