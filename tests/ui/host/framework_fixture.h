// Shared by the framework tests: the test window and a small probe control
// that records what reaches it.
#pragma once

#include "tests/support/test_window.h"
#include "ui/control/control.h"
#include "ui/draw/shapes.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kodaro::ui::testing {

using test::At;
using test::Pump;
using test::TestWindow;

inline void StartFramework() {
    static const bool started = FrameworkStartup();
    ASSERT_TRUE(started);
}

// Lets the X server catch up with a window being shown, sized or hidden
// (Wine maps and configures X windows asynchronously).
inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        Sleep(20);
        Pump();
    }
}

// A control that paints itself in one colour and records its messages.
class Probe : public Control {
public:
    explicit Probe(Argb color = 0xFFFF0000) : color_(color) {}
    ~Probe() override { Destroy(); }

    bool Create(HostWindow& host, const RectF& rect, bool focusable = true, UINT fadeInterval = 0) {
        return CreateBase(host, rect, kKindPanel, true, focusable, nullptr, fadeInterval);
    }
    bool Create(Control& parent, const RectF& rect, bool focusable = true) {
        return CreateBase(parent, rect, kKindPanel, true, focusable);
    }
    void Color(Argb color) {
        color_ = color;
        Redraw();
    }
    int Count(UINT message) const {
        int count = 0;
        for (UINT seen : messages) {
            count += seen == message ? 1 : 0;
        }
        return count;
    }

    std::vector<UINT> messages;
    std::vector<DWORD> threads;

protected:
    LRESULT OnMessage(UINT message, WPARAM, LPARAM) override {
        messages.push_back(message);
        threads.push_back(GetCurrentThreadId());
        return kNotHandled;
    }
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override {
        FillRectangle(
            graphics,
            MakeRectF(0, 0, static_cast<float>(width) + 1, static_cast<float>(height) + 1), color_);
    }

private:
    Argb color_;
};

// Colour of a back-buffer pixel without alpha.
inline std::uint32_t Rgb(const HostWindow& host, int x, int y) {
    return host.Buffer().PixelAt(x, y) & 0xFFFFFF;
}

// Whether two 0xRRGGBB colours differ by at most 2 in every channel (opaque
// framework colours carry alpha 254, so premultiplied channels lose a step).
inline bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int x = static_cast<int>((a >> shift) & 0xFF);
        const int y = static_cast<int>((b >> shift) & 0xFF);
        if (x - y > 2 || y - x > 2) {
            return false;
        }
    }
    return true;
}

} // namespace kodaro::ui::testing
