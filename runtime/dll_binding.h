#pragma once
// By-name binding of outside libraries: the encoder and decoder components,
// olepro32, dwmapi and atl are not linked at build time. The first call looks
// the library up (already loaded, else loaded from the usual search path),
// finds the function and caches its address.

#include <atomic>
#include <string>

namespace kodaro {

// Address of `function` in `library`, or nullptr when either is missing.
// A function name "#n" is the ordinal n; a decoration from "@" on is cut off.
void* FindFunction(const char* library, const char* function);

// As FindFunction, but a missing library or function is reported in the
// "DLL ERROR" message box and the program ends.
void* BindFunction(const char* library, const char* function);

// The texts of that message box, for a missing library (`function` null) or
// a missing function.
std::wstring BindingErrorText(const char* library, const char* function);

// Replaces what happens on a missing library or function (tests only); the
// default shows the message box and ends the process. A replacement that
// returns makes BindFunction return nullptr. Pass nullptr to restore.
using BindingFailureHandler = void (*)(const std::wstring& text);
void SetBindingFailureHandler(BindingFailureHandler handler);

// A function of an outside library, bound on its first call. Safe to call
// from several threads: a race only looks the address up twice.
template <typename Fn> class BoundFunction {
public:
    BoundFunction(const char* library, const char* function)
        : library_(library), function_(function) {}

    Fn get() {
        void* address = address_.load(std::memory_order_acquire);
        if (address == nullptr) {
            address = BindFunction(library_, function_);
            address_.store(address, std::memory_order_release);
        }
        return reinterpret_cast<Fn>(address);
    }

    template <typename... Args> auto operator()(Args... args) { return get()(args...); }

private:
    const char* library_;
    const char* function_;
    std::atomic<void*> address_{nullptr};
};

} // namespace kodaro
