// The byte counters of the create page count what a text takes in the
// Chinese (GBK) code page that the program's users write in.
#pragma once

#include <string>
#include <string_view>

namespace kodaro {

inline constexpr unsigned kCounterCodePage = 936;

// Bytes of text in the code page: a Chinese character 2, a line break
// ("\r\n") 2, a character the code page cannot hold as many bytes as what
// stands in for it there ("?", 1).
int CodePageByteCount(std::wstring_view text, unsigned codePage = kCounterCodePage);

// The counter's caption: the count as a decimal number.
std::wstring ByteCountCaption(std::wstring_view text);

} // namespace kodaro
