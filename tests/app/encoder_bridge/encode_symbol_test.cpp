#include "app/symbol/encode_symbol.h"
#include "runtime/dll_binding.h"

#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

using EncodeFn = HGLOBAL(__stdcall*)(int, int, int, int, const char*, int);
using FreeFn = void(__stdcall*)(HGLOBAL);

// The component's block for `utf8`, called directly, for comparison.
std::vector<uint8_t> DirectBlock(int level, const char* utf8) {
    auto encode = reinterpret_cast<EncodeFn>(kodaro::FindFunction("KodaroEcd.dll", "KodaroEcd"));
    auto release = reinterpret_cast<FreeFn>(kodaro::FindFunction("KodaroEcd.dll", "KodaroFreeBin"));
    if (encode == nullptr || release == nullptr) {
        return {};
    }
    HGLOBAL handle = encode(level, 0, 1, -1, utf8, -1);
    if (handle == nullptr) {
        return {};
    }
    size_t size = GlobalSize(handle);
    auto* bytes = static_cast<const uint8_t*>(GlobalLock(handle));
    std::vector<uint8_t> block(bytes, bytes + size);
    GlobalUnlock(handle);
    release(handle);
    return block;
}

uint32_t ReadU32(const kodaro::ModuleMatrix& m, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, m.data() + at, 4);
    return v;
}

TEST(EncodeSymbol, WrapsTheComponentsBlockInABitmapFileHeader) {
    kodaro::ModuleMatrix matrix = kodaro::EncodeSymbol(L"HELLO 123", 1);
    std::vector<uint8_t> block = DirectBlock(1, "HELLO 123");
    ASSERT_GE(block.size(), kodaro::kPackedBitmapMinimum);
    ASSERT_EQ(matrix.size(), block.size() + 14);
    EXPECT_EQ(matrix[0], 'B');
    EXPECT_EQ(matrix[1], 'M');
    EXPECT_EQ(ReadU32(matrix, 2), matrix.size());
    EXPECT_EQ(ReadU32(matrix, 6), 0u);
    EXPECT_EQ(ReadU32(matrix, 10), 1078u);
    EXPECT_EQ(0, std::memcmp(matrix.data() + 14, block.data(), block.size()));
}

TEST(EncodeSymbol, EmptyPayloadEncodesTheProductName) {
    kodaro::ModuleMatrix empty = kodaro::EncodeSymbol(L"", kodaro::kDefaultEcLevel);
    EXPECT_EQ(empty, kodaro::EncodeSymbol(L"Kodaro", kodaro::kDefaultEcLevel));
    EXPECT_NE(empty, kodaro::EncodeSymbol(L"kodaro", kodaro::kDefaultEcLevel));
}

TEST(EncodeSymbol, ChineseTextReachesTheEncoderAsUtf8) {
    kodaro::ModuleMatrix matrix = kodaro::EncodeSymbol(L"中文", 2);
    std::vector<uint8_t> block = DirectBlock(2, "\xE4\xB8\xAD\xE6\x96\x87");
    ASSERT_EQ(matrix.size(), block.size() + 14);
    EXPECT_EQ(0, std::memcmp(matrix.data() + 14, block.data(), block.size()));
}

TEST(EncodeSymbol, PassesTheLevelThrough) {
    for (int level = 0; level <= 3; ++level) {
        std::vector<uint8_t> block = DirectBlock(level, "level test payload");
        kodaro::ModuleMatrix matrix = kodaro::EncodeSymbol(L"level test payload", level);
        ASSERT_EQ(matrix.size(), block.size() + 14) << level;
        EXPECT_EQ(0, std::memcmp(matrix.data() + 14, block.data(), block.size())) << level;
    }
    EXPECT_NE(kodaro::EncodeSymbol(L"level test payload", 0),
              kodaro::EncodeSymbol(L"level test payload", 3));
}

TEST(EncodeSymbol, NoSymbolGivesAnEmptyMatrix) {
    EXPECT_TRUE(kodaro::EncodeSymbol(L"abc", 4).empty());
    EXPECT_TRUE(kodaro::EncodeSymbol(L"abc", -1).empty());
    std::wstring tooLong(8000, L'x'); // more than version 40 holds at any level
    EXPECT_TRUE(kodaro::EncodeSymbol(tooLong, 0).empty());
}

// Without the component beside the program, the first encode ends the program
// with the box that names the library.
TEST(EncodeSymbol, MissingComponentEndsTheProgramWithTheDllErrorBox) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"kodaro_no_encoder";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring exe = folder + L"\\encode_symbol_child.exe";
    ASSERT_TRUE(CopyFileW((kodaro::test::ProgramFolder() + L"\\encode_symbol_child.exe").c_str(),
                          exe.c_str(), FALSE));
    auto outcome = kodaro::test::RunChildAnsweringBox(L"\"" + exe + L"\"", folder, L"DLL ERROR");
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(folder.c_str());
    ASSERT_TRUE(outcome.boxSeen);
    EXPECT_EQ(outcome.boxText, L"同目录下无法找到DLL文件:\"KodaroEcd.dll\".请与作者联系.");
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 1u);
}

} // namespace
