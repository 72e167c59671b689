// Controls that go away while work for them is still queued, or while the host
// is still handling an event about them. A replacement control is built at the
// very address of the old one, so a stale pointer would reach it.
#include "tests/ui/host/framework_fixture.h"

#include <commctrl.h>

#include <new>

namespace kodaro::ui::testing {
namespace {

// A class that never calls Destroy() itself and runs a timer of its own.
class Ticker : public Control {
public:
    bool Create(HostWindow& host, const RectF& rect) {
        return CreateBase(host, rect, kKindPanel) &&
               SetTimer(Window(), TimerId(), 10, nullptr) != 0;
    }
    std::vector<UINT> messages;

protected:
    LRESULT OnMessage(UINT message, WPARAM, LPARAM) override {
        messages.push_back(message);
        return kNotHandled;
    }
};

// Storage for a control that is destroyed and built again in the same place.
template <class T> class SameAddress {
public:
    SameAddress() { current_ = new (storage_) T; }
    ~SameAddress() { current_->~T(); }
    SameAddress(const SameAddress&) = delete;
    SameAddress& operator=(const SameAddress&) = delete;
    T& Renew() {
        current_->~T();
        current_ = new (storage_) T;
        return *current_;
    }
    T& operator*() { return *current_; }
    T* operator->() { return current_; }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
    T* current_;
};

TEST(ControlLifetime, QueuedWorkAndTimersNeverReachALaterControlAtTheSameAddress) {
    TestWindow window{AttachOptions{}};
    SameAddress<Ticker> ticker;
    ASSERT_TRUE(ticker->Create(window.host(), MakeRectF(40, 40, 20, 20)));
    ticker->Tooltip(L"tip");
    window.Click(45, 45);
    ASSERT_EQ(window.host().FocusControl(), &*ticker);
    ASSERT_TRUE(ticker->Post(WM_USER + 9));
    const UINT_PTR oldTimer = ticker->TimerId();
    int destroyNotices = 0;
    ticker->Subscribe(WM_DESTROY,
                      ControlHandler4([&](Control*, UINT, WPARAM, LPARAM) { ++destroyNotices; }));

    Ticker& later = ticker.Renew();
    // The old object's class part was gone when its base took it out: nothing
    // may have run against the half-destroyed object.
    EXPECT_EQ(destroyNotices, 0);
    EXPECT_EQ(window.host().FocusControl(), nullptr);
    EXPECT_EQ(window.host().HotControl(), nullptr);
    EXPECT_EQ(SendMessageW(window.host().TooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 0);

    ASSERT_TRUE(later.CreateBase(window.host(), MakeRectF(40, 40, 20, 20), kKindPanel));
    EXPECT_NE(later.TimerId(), oldTimer);
    for (int i = 0; i < 5; ++i) {
        Sleep(15);
        Pump();
    }
    EXPECT_EQ(std::count(later.messages.begin(), later.messages.end(), WM_USER + 9), 0);
    EXPECT_EQ(std::count(later.messages.begin(), later.messages.end(), WM_TIMER), 0);
    // The old timer is dead, not merely ignored.
    MSG message;
    Sleep(30);
    EXPECT_FALSE(PeekMessageW(&message, window.hwnd(), WM_TIMER, WM_TIMER, PM_NOREMOVE) &&
                 message.wParam == oldTimer);
}

// Each event handler destroys the control it was raised for and builds another
// one in its place; the host must not carry on with the new one.
TEST(ControlLifetime, HandlersMayDestroyTheControlTheyWereRaisedFor) {
    struct Case {
        const char* name;
        HostWindow::ControlEvent HostWindow::*event;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"left down", &HostWindow::EventLeftDown, WM_LBUTTONDOWN, MK_LBUTTON},
        {"focus gained", &HostWindow::EventFocusGained, WM_LBUTTONDOWN, MK_LBUTTON},
        {"double click", &HostWindow::EventDoubleClick, WM_LBUTTONDOWN, kDoubleClickMarker},
        {"mouse enter", &HostWindow::EventMouseEnter, WM_MOUSEMOVE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow window{AttachOptions{}};
        SameAddress<Probe> probe;
        const RectF rect = MakeRectF(50, 50, 40, 30);
        ASSERT_TRUE(probe->Create(window.host(), rect));
        bool replaced = false;
        window.host().*c.event = [&](HWND, Control*, WPARAM, LPARAM, int) {
            if (!replaced) {
                replaced = true;
                probe.Renew().Create(window.host(), rect);
            }
        };
        window.Send(c.message, c.wParam, At(60, 60));
        ASSERT_TRUE(replaced);
        for (UINT message : {static_cast<UINT>(WM_LBUTTONDOWN), static_cast<UINT>(WM_MOUSEMOVE),
                             EXM_SETFOCUS, EXM_CLICK}) {
            EXPECT_EQ(probe->Count(message), 0) << std::hex << message;
        }
        EXPECT_EQ(window.host().PressedControl(), nullptr);
        EXPECT_NE(window.host().FocusControl(), &*probe);
        window.Send(WM_LBUTTONUP, 0, At(60, 60));
        EXPECT_EQ(probe->Count(EXM_CLICK), 0);
    }
}

} // namespace
} // namespace kodaro::ui::testing
