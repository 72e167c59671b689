#include "controls_testing.h"

#include "ui/controls/web_browser_host.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using test::TestWindow;

// Wine here has no browser engine: the host window may or may not come up and
// the browser object may be missing. Either way nothing may fail loudly.
TEST(WebBrowserHost, HiddenZeroSizedBrowserShrugsOffAMissingEngine) {
    TestWindow window;
    WebBrowserHost browser;
    browser.Navigate(L"http://127.0.0.1:9/never");
    EXPECT_EQ(browser.Window(), nullptr);
    EXPECT_FALSE(browser.Destroy());

    bool created = browser.Create(window.hwnd(), 0, 0, 0, 0);
    RecordProperty("created", created ? "yes" : "no");
    RecordProperty("browser", browser.Browser() != nullptr ? "yes" : "no");
    if (created) {
        ASSERT_NE(browser.Window(), nullptr);
        EXPECT_EQ(GetParent(browser.Window()), window.hwnd());
        EXPECT_FALSE(IsWindowVisible(browser.Window()));
        RECT rect{};
        GetWindowRect(browser.Window(), &rect);
        EXPECT_EQ(rect.right - rect.left, 0);
        // A second Create on a live instance changes nothing.
        HWND first = browser.Window();
        EXPECT_FALSE(browser.Create(window.hwnd(), 0, 0, 10, 10));
        EXPECT_EQ(browser.Window(), first);
    } else {
        EXPECT_EQ(browser.Window(), nullptr);
        EXPECT_EQ(browser.Browser(), nullptr);
    }
    const std::uint8_t post[] = {'a', '=', '1'};
    browser.Navigate(L"http://127.0.0.1:9/count", 0, L"_self", std::span(post),
                     L"Content-Type: application/x-www-form-urlencoded\r\n");
    browser.Navigate(L"about:blank");
    window.Pump();
    EXPECT_EQ(browser.Destroy(), created);
    EXPECT_EQ(browser.Window(), nullptr);
    EXPECT_EQ(browser.Browser(), nullptr);

    // Created again from the programmatic identifier.
    bool again = browser.Create(window.hwnd(), 0, 0, 0, 0, 0, true, false);
    EXPECT_EQ(again, browser.Window() != nullptr);
    browser.Navigate(L"about:blank");
    window.Pump();
}

} // namespace
} // namespace kodaro::ui
