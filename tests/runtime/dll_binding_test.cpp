#include "runtime/dll_binding.h"

#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring lastFailure;
int failures = 0;
void RecordFailure(const std::wstring& text) {
    lastFailure = text;
    ++failures;
}

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        lastFailure.clear();
        failures = 0;
        kodaro::SetBindingFailureHandler(RecordFailure);
    }
    void TearDown() override { kodaro::SetBindingFailureHandler(nullptr); }
};

using AnswerFn = int(__stdcall*)(int);
using SevenFn = int (*)();

TEST_F(BindingTest, FindsByNameOrdinalAndDecoratedName) {
    auto byName =
        reinterpret_cast<AnswerFn>(kodaro::BindFunction("binding_probe.dll", "ProbeAnswer"));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName(1), 43);
    EXPECT_EQ(kodaro::BindFunction("binding_probe.dll", "ProbeAnswer@4"),
              reinterpret_cast<void*>(byName));
    auto byOrdinal = reinterpret_cast<SevenFn>(kodaro::BindFunction("binding_probe.dll", "#9"));
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal(), 7);
    EXPECT_EQ(kodaro::BindFunction("binding_probe.dll", "#3"), reinterpret_cast<void*>(byName));
    EXPECT_EQ(failures, 0);
}

TEST_F(BindingTest, UsesAnAlreadyLoadedModule) {
    void* viaBinding = kodaro::BindFunction("kernel32.dll", "GetTickCount");
    EXPECT_EQ(viaBinding, reinterpret_cast<void*>(
                              GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount")));
}

TEST_F(BindingTest, ReportsMissingLibraryAndFunctionWithTheirTexts) {
    EXPECT_EQ(kodaro::BindFunction("KodaroNoSuchLibrary.dll", "X"), nullptr);
    EXPECT_EQ(lastFailure, L"同目录下无法找到DLL文件:\"KodaroNoSuchLibrary.dll\".请与作者联系.");
    EXPECT_EQ(kodaro::BindFunction("binding_probe.dll", "NoSuchExport"), nullptr);
    EXPECT_EQ(lastFailure, L"无法定位DLL文件:\"binding_probe.dll\"当中的\"NoSuchExport\"函数.");
    EXPECT_EQ(kodaro::BindFunction("binding_probe.dll", "#"), nullptr);
    EXPECT_EQ(kodaro::BindFunction("binding_probe.dll", "#70000"), nullptr);
    EXPECT_EQ(failures, 4);
    EXPECT_EQ(kodaro::FindFunction("KodaroNoSuchLibrary.dll", "X"), nullptr);
    EXPECT_EQ(failures, 4) << "FindFunction never reports";
}

TEST_F(BindingTest, BoundFunctionCachesTheAddress) {
    kodaro::BoundFunction<AnswerFn> answer("binding_probe.dll", "ProbeAnswer");
    EXPECT_EQ(answer(10), 52);
    EXPECT_EQ(answer(-42), 0);
    EXPECT_EQ(failures, 0);
}

// The real thing: a program that misses a library shows the box and ends.
TEST(BindingFailure, ShowsTheErrorBoxAndEndsTheProgram) {
    auto outcome =
        kodaro::test::RunChildAnsweringBox(L"binding_missing_child.exe", L"", L"DLL ERROR");
    ASSERT_TRUE(outcome.started);
    ASSERT_TRUE(outcome.boxSeen) << "no DLL ERROR box appeared";
    EXPECT_EQ(outcome.boxText,
              L"同目录下无法找到DLL文件:\"KodaroNoSuchLibrary.dll\".请与作者联系.");
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 1u);
}

} // namespace
