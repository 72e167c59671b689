// Text from a window program to whoever started it. Kodaro is built as a
// window program, so it has no console of its own: output that is redirected
// to a file or pipe goes there as UTF-8; output to a console goes to the
// console of the program that started it.
#pragma once

#include <windows.h>

#include <string_view>

namespace kodaro {

enum class Stream : DWORD {
    Output = STD_OUTPUT_HANDLE,
    Error = STD_ERROR_HANDLE,
};

// Writes text to the stream. False when the process has nowhere to write it
// (started without redirection and not from a console) or the write fails.
bool WriteText(Stream stream, std::wstring_view text);

} // namespace kodaro
