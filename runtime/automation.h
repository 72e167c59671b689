// Calling COM automation objects by member name, with arguments that free
// what they hold. Used for the download request and the hidden browser.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <span>
#include <string_view>

namespace kodaro {

// An automation argument or result, cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(Variant&& other) noexcept : value_(other.value_) { other.value_.vt = VT_EMPTY; }
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant Text(std::wstring_view text);
    static Variant Bool(bool value);
    static Variant Int(int value);
    // A byte array (VT_ARRAY | VT_UI1), the form binary bodies travel in; no
    // bytes give an empty array, not an empty variant.
    static Variant Bytes(std::span<const std::uint8_t> bytes);

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

private:
    VARIANT value_;
};

// Calls a method or reads a property of object by name; the arguments are
// given in their natural order.
HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags,
                     std::span<Variant> arguments, VARIANT* result = nullptr);

} // namespace kodaro
