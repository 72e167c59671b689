#include "runtime/dll_binding.h"

#include "runtime/text.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>

namespace kodaro {
namespace {

std::atomic<BindingFailureHandler> failureHandler{nullptr};

HMODULE FindLibrary(const char* library) {
    std::wstring name = AnsiToWide(library);
    HMODULE module = GetModuleHandleW(name.c_str());
    if (module == nullptr) {
        module = LoadLibraryW(name.c_str());
    }
    return module;
}

void* FindInModule(HMODULE module, const char* function) {
    if (function[0] == '#') {
        char* end = nullptr;
        unsigned long ordinal = std::strtoul(function + 1, &end, 10);
        if (end == function + 1 || *end != '\0' || ordinal == 0 || ordinal > 0xFFFF) {
            return nullptr;
        }
        return reinterpret_cast<void*>(
            GetProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal))));
    }
    std::string name(function);
    if (size_t at = name.find('@'); at != std::string::npos) {
        name.resize(at);
    }
    return reinterpret_cast<void*>(GetProcAddress(module, name.c_str()));
}

void ReportMissing(const char* library, const char* function) {
    std::wstring text = BindingErrorText(library, function);
    if (BindingFailureHandler handler = failureHandler.load()) {
        handler(text);
        return;
    }
    MessageBoxW(nullptr, text.c_str(), L"DLL ERROR", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

} // namespace

std::wstring BindingErrorText(const char* library, const char* function) {
    std::wstring lib = AnsiToWide(library);
    if (function == nullptr) {
        return L"同目录下无法找到DLL文件:\"" + lib + L"\".请与作者联系.";
    }
    return L"无法定位DLL文件:\"" + lib + L"\"当中的\"" + AnsiToWide(function) + L"\"函数.";
}

void SetBindingFailureHandler(BindingFailureHandler handler) {
    failureHandler.store(handler);
}

void* FindFunction(const char* library, const char* function) {
    if (library == nullptr || function == nullptr) {
        return nullptr;
    }
    HMODULE module = FindLibrary(library);
    return module == nullptr ? nullptr : FindInModule(module, function);
}

void* BindFunction(const char* library, const char* function) {
    HMODULE module = library == nullptr ? nullptr : FindLibrary(library);
    if (module == nullptr) {
        ReportMissing(library == nullptr ? "" : library, nullptr);
        return nullptr;
    }
    void* address = function == nullptr ? nullptr : FindInModule(module, function);
    if (address == nullptr) {
        ReportMissing(library, function == nullptr ? "" : function);
    }
    return address;
}

} // namespace kodaro
