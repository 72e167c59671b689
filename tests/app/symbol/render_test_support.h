#pragma once
// Helpers for the renderer and export tests: files and a private temporary
// folder; pictures come from the shared picture helpers.

#include "tests/support/bitmap_pixels.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kodaro::test {

void WriteBytes(const std::wstring& path, std::span<const std::uint8_t> bytes);

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

} // namespace kodaro::test
