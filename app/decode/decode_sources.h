#pragma once
// Getting a picture to the decoder: a local file or picture bytes are
// brought to a scratch file of their own, reported on, and the scratch file
// is deleted again.

#include <cstdint>
#include <span>
#include <string>

namespace kodaro {

// The decode report for the picture file at path (any path the wide file
// API takes). A file that cannot be copied gives the message the decoder
// would give for it: "文件未找到！" for a missing one.
std::wstring DecodeLocalFile(const std::wstring& path);

// The decode report for a picture held in memory (fetched or previewed).
std::wstring DecodePictureBytes(std::span<const std::uint8_t> bytes);

} // namespace kodaro
