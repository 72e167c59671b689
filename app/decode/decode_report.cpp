#include "app/decode/decode_report.h"

#include <windows.h>

#include "runtime/dll_binding.h"
#include "runtime/text.h"

#include <mutex>

namespace kodaro {

namespace {

constexpr const char* kDecoderLibrary = "PsyQrDcd";

using DecodePictureFileFn = int(__stdcall*)(const char*);
using GetDecodeVersionFn = int(__stdcall*)(int);
using GetDecodeLevelFn = int(__stdcall*)(int);
using GetConcatenationInfoFn = int(__stdcall*)(int, int*, int*);
using GetDecodeDataStringFn = const char*(__stdcall*)(int);
using FreeAllocateMemoryFn = void(__stdcall*)();

BoundFunction<DecodePictureFileFn> gDecodePictureFile(kDecoderLibrary, "DecodePictureFile");
BoundFunction<GetDecodeVersionFn> gGetDecodeVersion(kDecoderLibrary, "GetDecodeVersion");
BoundFunction<GetDecodeLevelFn> gGetDecodeLevel(kDecoderLibrary, "GetDecodeLevel");
BoundFunction<GetConcatenationInfoFn> gGetConcatenationInfo(kDecoderLibrary,
                                                            "GetConcatenationInfo");
BoundFunction<GetDecodeDataStringFn> gGetDecodeDataString(kDecoderLibrary, "GetDecodeDataString");
BoundFunction<FreeAllocateMemoryFn> gFreeAllocateMemory(kDecoderLibrary, "FreeAllocateMemory");

// The component answers questions about the picture it decoded last, so one
// caller's decode and questions must not interleave with another's (the
// decode page on the user-interface thread, the preview's scan check on the
// worker).
std::mutex& DecoderCalls() {
    static std::mutex* const calls = new std::mutex;
    return *calls;
}

void AppendHexByte(std::wstring& out, int value) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    out += kDigits[(value >> 4) & 0xF];
    out += kDigits[value & 0xF];
}

// The component takes an ANSI path. One the code page cannot carry (an emoji
// in a folder name) is handed on by its short (8.3) name, which is plain
// ASCII, where the file system keeps one.
std::string PathForDecoder(const std::wstring& path) {
    const std::string ansi = WideToAnsi(path);
    if (AnsiToWide(ansi) == path)
        return ansi;
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return ansi;
    std::wstring shortPath(needed, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (written == 0 || written >= needed)
        return ansi;
    shortPath.resize(written);
    const std::string shortAnsi = WideToAnsi(shortPath);
    return AnsiToWide(shortAnsi) == shortPath ? shortAnsi : ansi;
}

} // namespace

std::wstring_view DecodeLevelLabel(int level) {
    switch (level) {
    case 0:
        return L"最低 - 7%";
    case 1:
        return L"低 - 15%";
    case 2:
        return L"中等 - 25%";
    case 3:
        return L"高 - 30%";
    default:
        return {};
    }
}

std::wstring_view DecodeErrorMessage(int code) {
    switch (code) {
    case 0:
        return L"未找到 QR 代码符号。";
    case -1:
        return L"文件未找到！";
    case -2:
        return L"读取文件时发生错误。";
    case -3:
        return L"无法读取此格式文件。";
    case -4:
        return L"共享冲突，无法读取文件。";
    case -5:
        return L"内存不足。";
    default:
        return {};
    }
}

bool IsDecodeFailure(std::wstring_view report) {
    constexpr int kLowestCode = -5;
    for (int code = 0; code >= kLowestCode; --code) {
        if (report == DecodeErrorMessage(code)) {
            return true;
        }
    }
    return report.empty();
}

std::wstring DecodeToReport(const std::wstring& path) {
    const std::lock_guard lock(DecoderCalls());
    const int count = gDecodePictureFile(PathForDecoder(path).c_str());
    if (count < 1)
        return std::wstring(DecodeErrorMessage(count));

    std::wstring report;
    for (int i = 0; i < count; ++i) {
        report += L"解码序号: " + std::to_wstring(i + 1) + L"\r\n";
        report += L"模型版本: " + std::to_wstring(gGetDecodeVersion(i)) + L"\r\n";
        report += L"容错等级: ";
        report += DecodeLevelLabel(gGetDecodeLevel(i));
        int position = 0;
        int parity = 0;
        const int length = gGetConcatenationInfo(i, &position, &parity);
        if (length > 0) {
            report += L", 综合:" + std::to_wstring(position + 1) + L"/" + std::to_wstring(length) +
                      L"(CD";
            AppendHexByte(report, parity & 0xFF);
            report += L"H)";
        }
        report += L"\r\n";
        // The data stays UTF-16: characters outside the ANSI code page are
        // shown, not cut off.
        const char* data = gGetDecodeDataString(i);
        report += L"解码数据: \r\n";
        if (data != nullptr)
            report += Utf8ToWide(data);
        report += L"\r\n";
    }
    gFreeAllocateMemory();
    report.resize(report.size() - 2);
    return report;
}

DecodedTexts DecodePictureTexts(const std::wstring& path) {
    const std::lock_guard lock(DecoderCalls());
    DecodedTexts result;
    result.code = gDecodePictureFile(PathForDecoder(path).c_str());
    for (int i = 0; i < result.code; ++i) {
        const char* data = gGetDecodeDataString(i);
        result.texts.emplace_back(data != nullptr ? data : "");
    }
    if (result.code > 0)
        gFreeAllocateMemory();
    return result;
}

} // namespace kodaro
