// Reading a whole file into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kodaro {

// The file's bytes; empty when it is missing or cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path);

} // namespace kodaro
