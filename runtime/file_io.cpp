#include "runtime/file_io.h"

#include "runtime/handles.h"

#include <windows.h>

#include <string>

namespace kodaro {

std::vector<std::uint8_t> ReadWholeFile(std::wstring_view path) {
    const std::wstring name(path);
    // Closed on every way out, including a failed allocation of the buffer.
    const UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 &&
        static_cast<std::uint64_t>(size.QuadPart) <= kLargestReadableFile) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size()) {
            bytes.clear();
        }
    }
    return bytes;
}

} // namespace kodaro
