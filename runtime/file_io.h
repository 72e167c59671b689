#pragma once
// Reading a whole file into memory: pictures, resources, style images.

#include <cstdint>
#include <string_view>
#include <vector>

namespace kodaro {

// Files larger than this are not pictures the program works with.
constexpr std::uint64_t kLargestReadableFile = 256ull * 1024 * 1024;

// The file's bytes; empty when it is missing, empty, too large or cannot be
// read completely.
std::vector<std::uint8_t> ReadWholeFile(std::wstring_view path);

} // namespace kodaro
