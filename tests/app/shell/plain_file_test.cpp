#include "app/shell/plain_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

namespace kodaro {
namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer, length);
}

TEST(PlainFile, OnlyAnExistingFileCounts) {
    const std::wstring folder = TempFolder();
    const std::wstring file = folder + L"kodaro_plain_file_test.png";
    { std::ofstream(file.c_str()) << "x"; }
    EXPECT_TRUE(IsPlainFile(file));
    // What a path typed a keystroke at a time passes through.
    EXPECT_FALSE(IsPlainFile(file.substr(0, file.size() - 1)));
    EXPECT_FALSE(IsPlainFile(folder));
    EXPECT_FALSE(IsPlainFile(folder.substr(0, 2)));
    EXPECT_FALSE(IsPlainFile(L""));
    EXPECT_FALSE(IsPlainFile(L"C"));
    DeleteFileW(file.c_str());
    EXPECT_FALSE(IsPlainFile(file));
}

} // namespace
} // namespace kodaro
