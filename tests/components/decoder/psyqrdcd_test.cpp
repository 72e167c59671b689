// PsyQrDcd.dll as its callers see it: loaded by name, functions found by
// their undecorated names, pictures read from files through GDI+.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using DecodePictureFileFn = int(__stdcall*)(const char*);
using IndexFn = int(__stdcall*)(int);
using ConcatenationFn = int(__stdcall*)(int, int*, int*);
using DataFn = const char*(__stdcall*)(int);
using FreeFn = void(__stdcall*)();

class PsyQrDcd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library_ = LoadLibraryW(L"PsyQrDcd.dll");
        ASSERT_NE(library_, nullptr);
        decode_ = Find<DecodePictureFileFn>("DecodePictureFile");
        version_ = Find<IndexFn>("GetDecodeVersion");
        level_ = Find<IndexFn>("GetDecodeLevel");
        concatenation_ = Find<ConcatenationFn>("GetConcatenationInfo");
        data_ = Find<DataFn>("GetDecodeDataString");
        free_ = Find<FreeFn>("FreeAllocateMemory");
    }
    template <typename Fn> static Fn Find(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
    }
    static std::string DataPath(const char* name) {
        return std::string(KODARO_SOURCE_DIR) + "/tests/data/decoder/" + name;
    }
    static std::wstring TempPath(const wchar_t* name) {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + name;
    }
    static std::string Ansi(const std::wstring& wide) {
        const int n =
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), n, nullptr, nullptr);
        out.resize(static_cast<size_t>(n - 1));
        return out;
    }

    static inline HMODULE library_ = nullptr;
    static inline DecodePictureFileFn decode_ = nullptr;
    static inline IndexFn version_ = nullptr;
    static inline IndexFn level_ = nullptr;
    static inline ConcatenationFn concatenation_ = nullptr;
    static inline DataFn data_ = nullptr;
    static inline FreeFn free_ = nullptr;
};

TEST_F(PsyQrDcd, ExportsEveryFunctionByItsPlainName) {
    EXPECT_NE(decode_, nullptr);
    EXPECT_NE(version_, nullptr);
    EXPECT_NE(level_, nullptr);
    EXPECT_NE(concatenation_, nullptr);
    EXPECT_NE(data_, nullptr);
    EXPECT_NE(free_, nullptr);
}

TEST_F(PsyQrDcd, ReadsTheSameSymbolFromEveryPictureFormat) {
    for (const char* name : {"v3m_abc.png", "v3m_abc.bmp", "v3m_abc.jpg", "v3m_abc.gif",
                             "v3m_abc.tif", "v3m_abc.ico"}) {
        ASSERT_EQ(decode_(DataPath(name).c_str()), 1) << name;
        EXPECT_EQ(version_(0), 3) << name;
        EXPECT_EQ(level_(0), 1) << name;
        int position = -7;
        int parity = -7;
        EXPECT_EQ(concatenation_(0, &position, &parity), 0) << name;
        ASSERT_NE(data_(0), nullptr);
        EXPECT_STREQ(data_(0), "ABC") << name;
        free_();
    }
}

TEST_F(PsyQrDcd, ReportsStructuredAppendAndSeveralSymbols) {
    ASSERT_EQ(decode_(DataPath("sa_2_of_3.png").c_str()), 1);
    int position = -1;
    int parity = -1;
    EXPECT_EQ(concatenation_(0, &position, &parity), 3);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(parity & 0xFF, 0x0A);
    free_();

    ASSERT_EQ(decode_(DataPath("two_symbols.png").c_str()), 2);
    EXPECT_STREQ(data_(0), "LEFT SYMBOL");
    EXPECT_STREQ(data_(1), "right symbol");
    EXPECT_EQ(level_(0), 2);
    EXPECT_EQ(level_(1), 3);
    free_();
}

TEST_F(PsyQrDcd, HandsOnDataAsUtf8WhateverItsCharset) {
    ASSERT_EQ(decode_(DataPath("gbk.png").c_str()), 1);
    EXPECT_STREQ(data_(0), "中文测试：你好，世界");
    free_();
    ASSERT_EQ(decode_(DataPath("emoji.png").c_str()), 1);
    EXPECT_STREQ(data_(0), "Smile \xF0\x9F\x98\x80 ok");
    free_();
}

TEST_F(PsyQrDcd, ReturnsTheErrorCodes) {
    EXPECT_EQ(decode_(DataPath("blank.png").c_str()), 0);
    EXPECT_EQ(decode_(DataPath("no_such_file.png").c_str()), -1);
    EXPECT_EQ(decode_(DataPath("no_such_folder/x.png").c_str()), -1);
    EXPECT_EQ(decode_(""), -1);
    EXPECT_EQ(decode_(nullptr), -1);
    EXPECT_EQ(decode_(DataPath("not_a_picture.png").c_str()), -3);
    EXPECT_EQ(decode_(DataPath("too_large.png").c_str()), -5);
    // A folder opens as no file can be read from.
    EXPECT_EQ(decode_((std::string(KODARO_SOURCE_DIR) + "/tests/data/decoder").c_str()), -2);

    const std::wstring empty = TempPath(L"kodaro_empty_picture.png");
    HANDLE h = CreateFileW(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(decode_(Ansi(empty).c_str()), -3);

    // Held open by someone who shares nothing.
    h = CreateFileW(empty.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                    nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(decode_(Ansi(empty).c_str()), -4);
    CloseHandle(h);
    DeleteFileW(empty.c_str());
}

TEST_F(PsyQrDcd, SurvivesMisuse) {
    free_();
    EXPECT_EQ(version_(0), 0);
    EXPECT_EQ(level_(0), 0);
    EXPECT_EQ(data_(0), nullptr);
    int position = 5;
    int parity = 5;
    EXPECT_EQ(concatenation_(0, &position, &parity), 0);
    EXPECT_EQ(concatenation_(0, nullptr, nullptr), 0);

    ASSERT_EQ(decode_(DataPath("v3m_abc.png").c_str()), 1);
    EXPECT_EQ(version_(1), 0);
    EXPECT_EQ(version_(-1), 0);
    EXPECT_EQ(data_(1), nullptr);
    EXPECT_EQ(data_(-5), nullptr);
    EXPECT_EQ(concatenation_(0, nullptr, nullptr), 0);
    free_();
    free_();
    EXPECT_EQ(data_(0), nullptr);
    // A failed decode leaves nothing of the previous one behind.
    ASSERT_EQ(decode_(DataPath("v3m_abc.png").c_str()), 1);
    EXPECT_EQ(decode_(DataPath("no_such_file.png").c_str()), -1);
    EXPECT_EQ(data_(0), nullptr);
}

} // namespace
