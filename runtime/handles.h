// Owning wrappers for the Win32 handles both programs hold: kernel handles,
// global memory blocks and their lock, COM interfaces, a window's DC and
// windows. Each frees what it holds once, on every path out of its scope.
#pragma once

#include <unknwn.h>
#include <windows.h>

#include <utility>

namespace kodaro {

// A handle closed by Close when the wrapper goes. Null means none, and so
// does INVALID_HANDLE_VALUE (what CreateFile returns on failure).
template <class Handle, auto Close> class UniqueHandleOf {
public:
    UniqueHandleOf() = default;
    explicit UniqueHandleOf(Handle handle) : handle_(handle) {}
    ~UniqueHandleOf() { reset(); }
    UniqueHandleOf(UniqueHandleOf&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return IsSet(handle_); }
    // Gives the handle up without closing it.
    [[nodiscard]] Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (IsSet(old)) {
            Close(old);
        }
    }

private:
    static bool IsSet(Handle handle) {
        return handle != nullptr && reinterpret_cast<HANDLE>(handle) != INVALID_HANDLE_VALUE;
    }

    Handle handle_ = nullptr;
};

namespace handles_detail {
inline void CloseKernel(HANDLE handle) {
    CloseHandle(handle);
}
inline void FreeGlobal(HGLOBAL block) {
    GlobalFree(block);
}
inline void DestroyOwnedWindow(HWND window) {
    DestroyWindow(window);
}
} // namespace handles_detail

// Threads, processes, events, files.
using UniqueHandle = UniqueHandleOf<HANDLE, &handles_detail::CloseKernel>;
// A global memory block.
using UniqueGlobal = UniqueHandleOf<HGLOBAL, &handles_detail::FreeGlobal>;
// A window this code created and must destroy.
using UniqueWindow = UniqueHandleOf<HWND, &handles_detail::DestroyOwnedWindow>;

// A global block locked for the life of the guard.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block)
        : block_(block), data_(block != nullptr ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard() {
        if (data_ != nullptr) {
            GlobalUnlock(block_);
        }
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    // Null when the block could not be locked.
    void* data() const { return data_; }
    SIZE_T size() const { return data_ != nullptr ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    void* data_;
};

// One reference to a COM interface, released when the wrapper goes.
template <class Interface> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.pointer_, nullptr));
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For functions that hand out a new reference: releases the old one.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    // Gives the reference up without releasing it.
    [[nodiscard]] Interface* release() { return std::exchange(pointer_, nullptr); }
    void reset(Interface* pointer = nullptr) {
        if (Interface* old = std::exchange(pointer_, pointer)) {
            old->Release();
        }
    }

private:
    Interface* pointer_ = nullptr;
};

// GetDC of a window, released with ReleaseDC.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { reset(); }
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

} // namespace kodaro
