#include "app/shell/byte_count.h"

#include <windows.h>

#include <climits>

namespace kodaro {

int CodePageByteCount(std::wstring_view text, unsigned codePage) {
    if (text.empty() || text.size() > INT_MAX / 4) {
        return 0;
    }
    // With no output buffer the call measures the converted text; characters
    // the code page lacks are measured as the default character.
    return WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                               nullptr, nullptr);
}

std::wstring ByteCountCaption(std::wstring_view text) {
    return std::to_wstring(CodePageByteCount(text));
}

} // namespace kodaro
