// The full-size popup, answered by a helper thread the way a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/decode/full_size_view.h"
#include "runtime/file_io.h"
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
    ShowFullSize(owner, {});
    ShowFullSize(owner, std::vector<std::uint8_t>{'n', 'o'});
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

} // namespace
} // namespace kodaro
