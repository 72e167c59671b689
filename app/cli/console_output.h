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

enum class WriteOutcome {
    Written,
    // The stream is there but took the text only in part or not at all (a
    // pipe whose reader has gone).
    Failed,
    // Started without redirection and not from a console (a shortcut).
    NowhereToWrite,
};

WriteOutcome WriteText(Stream stream, std::wstring_view text);

} // namespace kodaro
