// Pictures brought to the decoder from a local file or from memory, through
// scratch files in a temporary folder of the test's own (TMP points there).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/decode/decode_sources.h"
#include "app/decode/scratch_file.h"
#include "runtime/file_io.h"
#include "tests/app/symbol/render_test_support.h"

namespace kodaro {
namespace {

constexpr wchar_t kAbcReport[] =
    L"解码序号: 1\r\n模型版本: 3\r\n容错等级: 低 - 15%\r\n解码数据: \r\nABC";

std::wstring DataPath(const wchar_t* name) {
    const std::string root = KODARO_SOURCE_DIR;
    return std::wstring(root.begin(), root.end()) + L"\\tests\\data\\decoder\\" + name;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.push_back(found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// TMP set to a fresh folder for the length of a test, then put back.
class PrivateTemp : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t old[MAX_PATH] = {};
        hadTmp_ = GetEnvironmentVariableW(L"TMP", old, MAX_PATH) != 0;
        oldTmp_ = old;
        SetEnvironmentVariableW(L"TMP", temp_.path().c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
    }
    test::TempFolder temp_;
    test::TempFolder files_;
    bool hadTmp_ = false;
    std::wstring oldTmp_;
};

TEST_F(PrivateTemp, ScratchFilesAreUniqueLeaveOtherFilesAloneAndGoAway) {
    const std::vector<std::uint8_t> theirs = {'m', 'i', 'n', 'e'};
    test::WriteBytes(temp_.File(L"NULLQR.TMP"), theirs);
    {
        ScratchFile first;
        ScratchFile second;
        ASSERT_TRUE(first.Created());
        ASSERT_TRUE(second.Created());
        EXPECT_NE(first.Path(), second.Path());
        EXPECT_EQ(first.Path().rfind(temp_.path() + L"\\", 0), 0u) << "not in the temporary folder";
        EXPECT_TRUE(first.Write(std::vector<std::uint8_t>{1, 2, 3}));
        EXPECT_EQ(ReadWholeFile(first.Path()).size(), 3u);
    }
    EXPECT_EQ(FilesIn(temp_.path()), std::vector<std::wstring>{L"NULLQR.TMP"});
    EXPECT_EQ(ReadWholeFile(temp_.File(L"NULLQR.TMP")), theirs);
}

TEST_F(PrivateTemp, WithoutTmpTheSystemsTemporaryFolderIsUsedNotTheDriveRoot) {
    SetEnvironmentVariableW(L"TMP", nullptr);
    ScratchFile scratch;
    ASSERT_TRUE(scratch.Created());
    const std::wstring& path = scratch.Path();
    // "C:\kqr1.tmp" has its only backslash at index 2.
    EXPECT_GT(path.find_last_of(L'\\'), 2u) << "scratch file in the drive root";
}

// Names outside the code page are covered by the whole-program test.
TEST_F(PrivateTemp, LocalFilesGiveTheirReportOrTheDecodersMessageAndNoScratchFileStays) {
    EXPECT_EQ(DecodeLocalFile(DataPath(L"v3m_abc.png")), kAbcReport);
    EXPECT_EQ(DecodeLocalFile(files_.File(L"missing.png")), L"文件未找到！");
    EXPECT_EQ(DecodeLocalFile(L""), L"文件未找到！");
    EXPECT_EQ(DecodeLocalFile(L"Z:\\no\\such\\folder\\x.png"), L"文件未找到！");
    EXPECT_EQ(DecodeLocalFile(DataPath(L"blank.png")), L"未找到 QR 代码符号。");
    EXPECT_EQ(DecodeLocalFile(DataPath(L"not_a_picture.png")), L"无法读取此格式文件。");
    const std::wstring locked = files_.File(L"locked.png");
    HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(DecodeLocalFile(locked), L"共享冲突，无法读取文件。");
    CloseHandle(h);
    EXPECT_TRUE(FilesIn(temp_.path()).empty());
}

TEST_F(PrivateTemp, PicturesInMemoryDecodeAndNoScratchFileStays) {
    EXPECT_EQ(DecodePictureBytes(ReadWholeFile(DataPath(L"v3m_abc.png"))), kAbcReport);
    EXPECT_EQ(DecodePictureBytes({}), L"无法读取此格式文件。");
    const std::vector<std::uint8_t> page = {'<', 'h', 't', 'm', 'l', '>'};
    EXPECT_EQ(DecodePictureBytes(page), L"无法读取此格式文件。");
    EXPECT_TRUE(FilesIn(temp_.path()).empty());
    // No temporary folder: a read error, not a false "file not found".
    SetEnvironmentVariableW(L"TMP", files_.File(L"gone").c_str());
    EXPECT_EQ(DecodeLocalFile(DataPath(L"v3m_abc.png")), L"读取文件时发生错误。");
    EXPECT_EQ(DecodePictureBytes(page), L"读取文件时发生错误。");
}

} // namespace
} // namespace kodaro
