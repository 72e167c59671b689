#pragma once
// Conversions between the system's ANSI code page (936 on our users'
// systems), UTF-8 and the UTF-16 that the program keeps its text in.

#include <string>
#include <string_view>

namespace kodaro {

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace kodaro
