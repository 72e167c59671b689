// Paths typed by hand arrive one keystroke at a time; only a plain file that
// exists is worth reading.
#pragma once

#include <string>

namespace kodaro {

// Whether path names an existing file that is neither a folder nor a device.
// Asks nothing of the user: a drive without a medium simply gives false.
bool IsPlainFile(const std::wstring& path);

} // namespace kodaro
