#include "runtime/automation.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kodaro {

Variant& Variant::operator=(Variant&& other) noexcept {
    std::swap(value_, other.value_);
    return *this;
}

Variant Variant::Text(std::wstring_view text) {
    Variant v;
    BSTR string = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (string != nullptr) {
        v.value_.vt = VT_BSTR;
        v.value_.bstrVal = string;
    }
    return v;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.value_.vt = VT_BOOL;
    v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::Int(int value) {
    Variant v;
    v.value_.vt = VT_I4;
    v.value_.lVal = value;
    return v;
}

Variant Variant::Bytes(std::span<const std::uint8_t> bytes) {
    Variant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr) {
        return v;
    }
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) {
        SafeArrayDestroy(array);
        return v;
    }
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(data));
    SafeArrayUnaccessData(array);
    v.value_.vt = VT_ARRAY | VT_UI1;
    v.value_.parray = array;
    return v;
}

HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags,
                     std::span<Variant> arguments, VARIANT* result) {
    DISPID id = 0;
    auto* member = const_cast<LPOLESTR>(name);
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    // DISPPARAMS holds the arguments last first.
    std::vector<VARIANT> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) {
        reversed.push_back(**it);
    }
    DISPPARAMS parameters{};
    parameters.rgvarg = reversed.data();
    parameters.cArgs = static_cast<UINT>(reversed.size());
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, nullptr,
                          nullptr);
}

} // namespace kodaro
