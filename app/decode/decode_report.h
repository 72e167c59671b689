#pragma once
// The decode report: every QR symbol of a picture file, read through the
// decoder component PsyQrDcd, as the text the decode page shows.
#include <string>
#include <string_view>
#include <vector>

namespace kodaro {

// One block per symbol ("解码序号: ", "模型版本: ", "容错等级: " with the
// structured-append part when there is one, "解码数据: ", then the data),
// without the final line break; or the message for the decoder's error code.
// The path is handed to the component in the ANSI code page, by its short
// name when the code page cannot carry it.
std::wstring DecodeToReport(const std::wstring& path);

// What the decoder read from a picture file: its result (the number of
// symbols, or an error code below 1) and each symbol's data as UTF-8.
struct DecodedTexts {
    int code = 0;
    std::vector<std::string> texts;
};

// The symbols' data of the picture file at path, as DecodeToReport reads
// them. Safe on any thread: calls into the component are taken one at a
// time, as it keeps the last picture's symbols for the caller to ask about.
DecodedTexts DecodePictureTexts(const std::wstring& path);

// Label of an error-correction level index 0..3 (L, M, Q, H); empty otherwise.
std::wstring_view DecodeLevelLabel(int level);

// The message for a result of DecodePictureFile below 1; empty for codes
// without one.
std::wstring_view DecodeErrorMessage(int code);

// Whether a report tells of no symbol at all: one of the error messages (or
// the empty text of an unknown code) rather than symbol blocks.
bool IsDecodeFailure(std::wstring_view report);

} // namespace kodaro
