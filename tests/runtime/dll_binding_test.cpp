#include "runtime/dll_binding.h"

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

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == search->processId && std::wstring(title) == L"DLL ERROR") {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

// The real thing: a program that misses a library shows the box and ends.
TEST(BindingFailure, ShowsTheErrorBoxAndEndsTheProgram) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    wchar_t command[] = L"binding_missing_child.exe";
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    BoxSearch search{process.dwProcessId, nullptr};
    for (int i = 0; i < 300 && search.box == nullptr; ++i) {
        Sleep(50);
        EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.box, nullptr) << "no DLL ERROR box appeared";
    wchar_t text[256] = {};
    GetDlgItemTextW(search.box, 0xFFFF, text, 256);
    EXPECT_EQ(std::wstring(text),
              L"同目录下无法找到DLL文件:\"KodaroNoSuchLibrary.dll\".请与作者联系.");
    PostMessageW(search.box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 1u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace
