// The picture chooser (the real common dialog, answered by a helper thread
// the way a user would) and the full-size popup.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "app/decode/full_size_view.h"
#include "app/decode/open_dialog.h"
#include "runtime/file_io.h"
#include "tests/app/symbol/render_test_support.h"
#include "ui/host/framework.h"

namespace kodaro {
namespace {

// The first visible top-level window for which match holds, or null.
HWND FindTopLevel(const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{&match, nullptr};
    EnumWindows(
        [](HWND w, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(w) && (*s->match)(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs answer(window) on a helper thread once a window for which match
// holds shows up; gives up after ten seconds.
class Answerer {
public:
    Answerer(std::function<bool(HWND)> match, std::function<void(HWND)> answer)
        : thread_([this, match = std::move(match), answer = std::move(answer)] {
              for (int i = 0; i < 200 && !stop_; ++i) {
                  Sleep(50);
                  if (HWND found = FindTopLevel(match)) {
                      Sleep(200);
                      answer(found);
                      return;
                  }
              }
          }) {}
    ~Answerer() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

bool IsDialogTitled(HWND window, const wchar_t* title) {
    wchar_t text[64] = {};
    wchar_t className[16] = {};
    GetWindowTextW(window, text, 64);
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770" && std::wstring(text) == title;
}

TEST(OpenDialog, ReturnsTheChosenFileWhateverItsNameAndNothingWhenCancelled) {
    test::TempFolder folder;
    const std::wstring chosen = folder.File(L"चित्र \U0001F600.png");
    test::WriteBytes(chosen, std::vector<std::uint8_t>{1});
    std::wstring filterShown;
    std::optional<std::wstring> result;
    {
        Answerer user([](HWND w) { return IsDialogTitled(w, kOpenDialogTitle); },
                      [&](HWND dialog) {
                          wchar_t text[128] = {};
                          SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, 0,
                                              reinterpret_cast<LPARAM>(text));
                          filterShown = text;
                          SetDlgItemTextW(dialog, cmb13, chosen.c_str());
                          SetDlgItemTextW(dialog, edt1, chosen.c_str());
                          PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                      });
        result = ShowOpenDialog(nullptr);
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, chosen);
    EXPECT_EQ(filterShown, L"图片文件*.jpg;*.jpeg;*.bmp;*.gif;*.icon;*.ico;*.png");
    {
        Answerer user([](HWND w) { return IsDialogTitled(w, kOpenDialogTitle); },
                      [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
        result = ShowOpenDialog(nullptr);
    }
    EXPECT_FALSE(result.has_value());
}

// The owner: a plain window that counts the clicks it gets.
std::atomic<int> gOwnerClicks{0};

HWND MakeOwner() {
    WNDCLASSW windowClass{};
    windowClass.lpszClassName = L"FullSizeOwner";
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_LBUTTONDOWN) {
            ++gOwnerClicks;
        }
        return DefWindowProcW(w, m, wp, lp);
    };
    RegisterClassW(&windowClass);
    return CreateWindowW(L"FullSizeOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                         nullptr, nullptr, nullptr);
}

std::wstring DataPath(const wchar_t* name) {
    const std::string root = KODARO_SOURCE_DIR;
    return std::wstring(root.begin(), root.end()) + L"\\tests\\data\\decoder\\" + name;
}

bool IsPopupOf(HWND window, HWND owner) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return GetWindow(window, GW_OWNER) == owner && std::wstring(className) == ui::kWindowClassName;
}

TEST(FullSizeView, ShowsThePictureWithItsMarginsOnTopAndIgnoresTheOwnerUntilEscape) {
    ASSERT_TRUE(ui::FrameworkStartup());
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    const std::vector<std::uint8_t> picture = ReadWholeFile(DataPath(L"v3m_abc.png"));
    ASSERT_FALSE(picture.empty());
    RECT box{};
    LONG_PTR exStyle = 0;
    bool ownerEnabled = true;
    gOwnerClicks = 0;
    {
        Answerer user([owner](HWND w) { return IsPopupOf(w, owner); },
                      [&, owner](HWND popup) {
                          GetWindowRect(popup, &box);
                          exStyle = GetWindowLongPtrW(popup, GWL_EXSTYLE);
                          ownerEnabled = IsWindowEnabled(owner);
                          PostMessageW(owner, WM_LBUTTONDOWN, 0, 0);
                          Sleep(200);
                          PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                      });
        ShowFullSize(owner, picture);
    }
    EXPECT_EQ(box.right - box.left, 148 + 12);
    EXPECT_EQ(box.bottom - box.top, 148 + 12);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST) << std::hex << exStyle;
    EXPECT_EQ(gOwnerClicks, 0) << "the owner took a click while the popup was open";
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(FullSizeView, EndsWithItsOwnerOrOnQuitAndDoesNothingWithoutAPicture) {
    ASSERT_TRUE(ui::FrameworkStartup());
    HWND owner = MakeOwner();
    const std::vector<std::uint8_t> picture = ReadWholeFile(DataPath(L"v3m_abc.png"));
    ShowFullSize(owner, {});
    ShowFullSize(owner, std::vector<std::uint8_t>{'n', 'o'});
    {
        Answerer user([owner](HWND w) { return IsPopupOf(w, owner); },
                      [owner](HWND) { PostMessageW(owner, WM_CLOSE, 0, 0); });
        ShowFullSize(owner, picture);
    }
    EXPECT_FALSE(IsWindow(owner));

    owner = MakeOwner();
    HWND popup = nullptr;
    {
        Answerer user([owner](HWND w) { return IsPopupOf(w, owner); },
                      [&, owner](HWND found) {
                          popup = found;
                          PostThreadMessageW(GetWindowThreadProcessId(owner, nullptr), WM_QUIT, 7,
                                             0);
                      });
        ShowFullSize(owner, picture);
    }
    EXPECT_FALSE(IsWindow(popup));
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
    DestroyWindow(owner);
}

} // namespace
} // namespace kodaro
