// The decode report through the real PsyQrDcd.dll, bound by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/decode/decode_report.h"

namespace kodaro {
namespace {

std::wstring DataPath(const wchar_t* name) {
    const std::string root = KODARO_SOURCE_DIR;
    return std::wstring(root.begin(), root.end()) + L"/tests/data/decoder/" + name;
}

TEST(DecodeReport, GivesFiveLinesForOneSymbol) {
    EXPECT_EQ(DecodeToReport(DataPath(L"v3m_abc.png")),
              L"解码序号: 1\r\n模型版本: 3\r\n容错等级: 低 - 15%\r\n解码数据: \r\nABC");
}

TEST(DecodeReport, AddsTheStructuredAppendPartToTheLevelLine) {
    EXPECT_EQ(DecodeToReport(DataPath(L"sa_2_of_3.png")),
              L"解码序号: 1\r\n模型版本: 1\r\n容错等级: 低 - 15%, 综合:2/3(CD0AH)\r\n"
              L"解码数据: \r\n ACROSS THREE SYM");
}

TEST(DecodeReport, GivesOneBlockPerSymbol) {
    EXPECT_EQ(DecodeToReport(DataPath(L"two_symbols.png")),
              L"解码序号: 1\r\n模型版本: 1\r\n容错等级: 中等 - 25%\r\n解码数据: \r\nLEFT SYMBOL\r\n"
              L"解码序号: 2\r\n模型版本: 2\r\n容错等级: 高 - 30%\r\n解码数据: \r\nright symbol");
}

TEST(DecodeReport, ShowsDataOutsideTheCodePageAndOldChineseSymbols) {
    EXPECT_EQ(
        DecodeToReport(DataPath(L"emoji.png")),
        L"解码序号: 1\r\n模型版本: 1\r\n容错等级: 最低 - 7%\r\n解码数据: \r\nSmile \U0001F600 ok");
    const std::wstring gbk = DecodeToReport(DataPath(L"gbk.png"));
    EXPECT_EQ(gbk.substr(gbk.size() - 10), L"中文测试：你好，世界");
}

TEST(DecodeReport, GivesTheMessageForEachFailure) {
    EXPECT_EQ(DecodeToReport(DataPath(L"blank.png")), L"未找到 QR 代码符号。");
    EXPECT_EQ(DecodeToReport(DataPath(L"missing.png")), L"文件未找到！");
    EXPECT_EQ(DecodeToReport(DataPath(L"not_a_picture.png")), L"无法读取此格式文件。");
    EXPECT_EQ(DecodeToReport(DataPath(L"too_large.png")), L"内存不足。");
    for (int code = 0; code >= -6; --code) {
        EXPECT_TRUE(IsDecodeFailure(DecodeErrorMessage(code))) << code;
    }
    EXPECT_FALSE(IsDecodeFailure(DecodeToReport(DataPath(L"v3m_abc.png"))));

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring locked = std::wstring(folder) + L"kodaro_locked_picture.png";
    HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(DecodeToReport(locked), L"共享冲突，无法读取文件。");
    CloseHandle(h);
    DeleteFileW(locked.c_str());
}

TEST(DecodeReport, ReadsPicturesWhosePathTheCodePageCannotCarry) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kodaro \U0001F600 图片";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"\\v3m_abc.png", L"\\smile \U0001F600.png"}) {
        const std::wstring copy = folder + name;
        ASSERT_TRUE(CopyFileW(DataPath(L"v3m_abc.png").c_str(), copy.c_str(), FALSE));
        EXPECT_EQ(DecodeToReport(copy),
                  L"解码序号: 1\r\n模型版本: 3\r\n容错等级: 低 - 15%\r\n解码数据: \r\nABC");
        DeleteFileW(copy.c_str());
    }
    RemoveDirectoryW(folder.c_str());
    // A missing file there is still reported as missing.
    EXPECT_EQ(DecodeToReport(folder + L"\\gone \U0001F600.png"), L"文件未找到！");
}

TEST(DecodeReport, NamesLevelsAndErrorsOnlyForKnownCodes) {
    EXPECT_EQ(DecodeLevelLabel(0), L"最低 - 7%");
    EXPECT_EQ(DecodeLevelLabel(3), L"高 - 30%");
    EXPECT_TRUE(DecodeLevelLabel(4).empty());
    EXPECT_TRUE(DecodeLevelLabel(-1).empty());
    EXPECT_EQ(DecodeErrorMessage(-2), L"读取文件时发生错误。");
    EXPECT_TRUE(DecodeErrorMessage(-6).empty());
    EXPECT_TRUE(DecodeErrorMessage(1).empty());
}

} // namespace
} // namespace kodaro
