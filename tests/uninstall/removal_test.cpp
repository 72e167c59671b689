// Path confinement, link-safe folder removal and the removal sequence with
// its progress messages, on real files under a temporary folder.
#include "uninstall/file_removal.h"
#include "uninstall/install_paths.h"
#include "uninstall/removal.h"

#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace kodaro::uninstall {
namespace {

namespace fs = std::filesystem;

// A fresh folder below the temporary folder, removed afterwards.
class Sandbox {
public:
    Sandbox() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = fs::path(temp) / (L"kodaro-removal-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(counter_++));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~Sandbox() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }
    // The installation folder text as the registry gives it.
    std::wstring Folder(const wchar_t* name) const {
        fs::create_directories(root_ / name);
        return (root_ / name).wstring() + L"\\";
    }
    static void Write(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }

private:
    static inline int counter_ = 0;
    fs::path root_;
};

TEST(UninstallPaths, EntriesStayStrictlyInsideTheInstallationFolder) {
    Sandbox box;
    const std::wstring folder = box.Folder(L"app");
    struct Case {
        const wchar_t* entry;
        const wchar_t* expected; // relative to folder, null when refused
    };
    const Case cases[] = {
        {L"a.txt", L"a.txt"},
        {L"sub\\b.txt", L"sub\\b.txt"},
        {L"sub/b.txt", L"sub\\b.txt"},
        {L".\\a.txt", L"a.txt"},
        {L"data\\", L"data"},
        {L"", nullptr},
        {L".", nullptr},
        {L"..\\outside.txt", nullptr},
        {L"sub\\..\\a.txt", nullptr},
        {L"sub\\..\\..\\x", nullptr},
        {L"... \\x", nullptr},
        {L"C:\\windows\\win.ini", nullptr},
        {L"C:x.txt", nullptr},
        {L"\\x.txt", nullptr},
        {L"\\\\server\\share\\x", nullptr},
        {L"\\\\?\\C:\\x", nullptr},
        {L"\\\\.\\C:", nullptr},
        {L"a.txt:stream", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::wstring> path = ConfinedPath(folder, c.entry);
        if (c.expected == nullptr) {
            EXPECT_FALSE(path.has_value()) << fs::path(c.entry).string();
        } else {
            ASSERT_TRUE(path.has_value()) << fs::path(c.entry).string();
            EXPECT_EQ(*path, folder + c.expected);
        }
    }
    EXPECT_FALSE(ConfinedPath(L"", L"a.txt").has_value());
}

TEST(UninstallPaths, RootsAndSystemFoldersAreNoInstallationFolder) {
    wchar_t windows[MAX_PATH], profile[MAX_PATH], temp[MAX_PATH], programs[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, 0, windows), S_OK);
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, profile), S_OK);
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs), S_OK);
    GetTempPathW(MAX_PATH, temp);
    const std::wstring refused[] = {
        L"",
        L"Kodaro",
        L"C:",
        L"C:\\",
        L"C:\\.",
        L"\\\\server\\share\\",
        L"\\\\?\\C:\\Kodaro",
        windows,
        std::wstring(windows) + L"\\system32\\",
        profile,
        fs::path(profile).parent_path().wstring(),
        temp,
        programs,
        std::wstring(programs) + L"\\Kodaro\\..",
    };
    for (const std::wstring& location : refused) {
        EXPECT_FALSE(CheckedInstallFolder(location).has_value()) << fs::path(location).string();
    }
    EXPECT_EQ(CheckedInstallFolder(std::wstring(programs) + L"\\Kodaro"),
              std::wstring(programs) + L"\\Kodaro\\");
    EXPECT_EQ(CheckedInstallFolder(std::wstring(temp) + L"app\\"), std::wstring(temp) + L"app\\");
}

// (Links are covered by the whole-program test: Wine 8 creates none itself
// but shows a Unix symbolic link as one.)
TEST(UninstallFiles, TreesGoWholeAndOnlyFileFreeFoldersCountAsEmpty) {
    Sandbox box;
    const fs::path tree = box.root() / L"tree";
    Sandbox::Write(tree / L"a.txt");
    Sandbox::Write(tree / L"sub" / L"deep" / L"b.txt");
    fs::create_directories(tree / L"empty" / L"inner");
    const DWORD attributes = GetFileAttributesW((tree / L"a.txt").c_str());
    SetFileAttributesW((tree / L"a.txt").c_str(), attributes | FILE_ATTRIBUTE_READONLY);

    EXPECT_FALSE(HoldsNoFile(tree.wstring()));
    EXPECT_TRUE(HoldsNoFile((tree / L"empty").wstring()));
    fs::remove(tree / L"sub" / L"deep" / L"b.txt");
    EXPECT_FALSE(HoldsNoFile(tree.wstring()));
    EXPECT_TRUE(HoldsNoFile((tree / L"sub").wstring()));
    EXPECT_TRUE(RemoveTree(tree.wstring() + L"\\"));
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(RemoveTree(tree.wstring()));
}

TEST(UninstallProgress, PercentagesRoundToTheNearestWhole) {
    EXPECT_EQ(ProgressPercent(1, 4), 25);
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2, 3), 67);
    EXPECT_EQ(ProgressPercent(1, 8), 13);
    EXPECT_EQ(ProgressPercent(7, 7), 100);
}

// Runs RemoveInstallation on a worker, as the window does, and records the
// messages a real window receives from it.
std::vector<std::pair<UINT, LPARAM>> RunRemoval(const UninstallManifest& manifest,
                                                const std::wstring& folder) {
    static std::vector<std::pair<UINT, LPARAM>>* sink = nullptr;
    std::vector<std::pair<UINT, LPARAM>> received;
    sink = &received;
    WNDCLASSW windowClass{};
    windowClass.lpszClassName = L"KodaroRemovalTest";
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == UM_PROGRESS || message == UM_DONE) {
            sink->emplace_back(message, lParam);
            return LRESULT{0};
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, nullptr, nullptr);
    RemovalJob job;
    job.window = window;
    job.manifest = &manifest;
    job.installFolder = folder;
    std::thread worker([&job] { RemoveInstallation(job); });
    // Sent messages are handled inside PeekMessage; GetMessage would wait on
    // for a posted one after the last of them.
    while (received.empty() || received.back().first != UM_DONE) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    worker.join();
    DestroyWindow(window);
    return received;
}

TEST(UninstallRemoval, ListedItemsGoWithProgressAndEverythingElseStays) {
    Sandbox box;
    const std::wstring folder = box.Folder(L"app");
    const fs::path app = box.root() / L"app";
    for (const wchar_t* name : {L"a.exe", L"b.dll", L"sub\\c.txt", L"data\\d.txt", L"mine.txt"}) {
        Sandbox::Write(app / name);
    }
    const fs::path outside = box.root() / L"outside.txt";
    Sandbox::Write(outside);
    UninstallManifest manifest;
    manifest.Parse("[File]\r\n1=a.exe\r\n2=b.dll\r\n3=sub\\c.txt\r\n[Directory]\r\n1=data\r\n");

    const auto received = RunRemoval(manifest, folder);
    const std::vector<std::pair<UINT, LPARAM>> expected = {
        {UM_PROGRESS, 25}, {UM_PROGRESS, 50}, {UM_PROGRESS, 75}, {UM_PROGRESS, 100}, {UM_DONE, 0}};
    EXPECT_EQ(received, expected);
    EXPECT_FALSE(fs::exists(app / L"a.exe"));
    EXPECT_FALSE(fs::exists(app / L"sub" / L"c.txt"));
    EXPECT_FALSE(fs::exists(app / L"data"));
    // The user's own file keeps the folder.
    EXPECT_TRUE(fs::exists(app / L"mine.txt"));

    // Hostile entries and a missing number delete nothing, yet count.
    UninstallManifest hostile;
    hostile.Parse("[File]\n1=..\\outside.txt\n2=" + outside.string() + "\n[Directory]\n7=x\n");
    EXPECT_EQ(RunRemoval(hostile, folder).size(), 4u);
    EXPECT_TRUE(fs::exists(outside));
    EXPECT_TRUE(fs::exists(app / L"mine.txt"));

    // Once nothing but empty folders is left, the folder itself goes.
    fs::remove(app / L"mine.txt");
    UninstallManifest empty;
    EXPECT_EQ(RunRemoval(empty, folder), (std::vector<std::pair<UINT, LPARAM>>{{UM_DONE, 0}}));
    EXPECT_FALSE(fs::exists(app));
    EXPECT_TRUE(fs::exists(outside));
}

} // namespace
} // namespace kodaro::uninstall
