// Opens a framework window with a few sample controls so that the frame, the
// caption buttons, hover fades, disabled drawing and tooltips can be looked at.
// Arguments: [layered|plain] [seconds before it closes itself, 0 = never]
// [show animation kind, default 7] [its duration in ms, default 200].
#include "ui/control/control.h"
#include "ui/draw/color.h"
#include "ui/draw/defaults.h"
#include "ui/draw/shapes.h"
#include "ui/draw/text.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <cstdlib>
#include <cwchar>
#include <string>

using namespace kodaro::ui;

namespace {

// A rounded swatch with a caption that cross-fades to a lighter look on hover.
class Swatch : public Control {
public:
    Swatch(Argb color, std::wstring caption) : color_(color), caption_(std::move(caption)) {}
    ~Swatch() override { Destroy(); }

    bool Create(HostWindow& host, const RectF& rect) {
        return CreateBase(host, rect, kKindPushButton, true, true, nullptr, kButtonFadeInterval);
    }
    bool Create(Control& parent, const RectF& rect) {
        return CreateBase(parent, rect, kKindPushButton, true, true, nullptr, kButtonFadeInterval);
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM, LPARAM) override {
        if (message == EXM_MOUSEENTER || message == EXM_MOUSELEAVE) {
            BeginCrossFade();
            hot_ = message == EXM_MOUSEENTER;
            Redraw();
            FadeLevel(0);
            return 0;
        }
        return kNotHandled;
    }
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override {
        const RectF area = MakeRectF(0, 0, static_cast<float>(width), static_cast<float>(height));
        FillGradient(graphics, area, hot_ ? 0xFFFFFFFF : color_, color_);
        DrawRoundRect(graphics, area, 6, 0xC0000000);
        TextFormat format;
        format.Align(Gdiplus::StringAlignmentCenter);
        format.LineAlign(Gdiplus::StringAlignmentCenter);
        DrawTextEffect(graphics, area, caption_, DefaultFont(), 0xFE000000, format.get(),
                       kTextEffectGlow);
    }

private:
    Argb color_;
    std::wstring caption_;
    bool hot_ = false;
};

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(0);
}

} // namespace

int main(int argc, char** argv) {
    const bool layered = argc < 2 || std::string(argv[1]) != "plain";
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
    const auto animation = static_cast<Animation>(argc > 3 ? std::atoi(argv[3]) : 7);
    const int duration = argc > 4 ? std::atoi(argv[4]) : 200;
    if (!FrameworkStartup()) {
        return 1;
    }
    HWND window = CreateHostWindow({.title = L"框架示例 Kodaro", .width = 480, .height = 320});
    HostWindow host;
    host.EventMessage = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return -1;
    };
    host.EventPaint = [](HWND, Gdiplus::GpGraphics* graphics, int width, int) {
        FillGradient(graphics, MakeRectF(6, 6, static_cast<float>(width) - 12, 30), 0xFF3A6EA5,
                     0x003A6EA5);
    };
    if (!host.Attach(window, {.backgroundColor = 0xF0E6DC, .opacity = layered ? 255 : -1})) {
        return 1;
    }

    Swatch first(0xFF7FB3E6, L"第一 First");
    Swatch second(0xFF9BD88B, L"第二 Second");
    Swatch disabled(0xFFE6A17F, L"停用 Disabled");
    Swatch panel(0xFFDDDDDD, L"");
    Swatch inner(0xFFF2D46B, L"子控件 Child");
    first.Create(host, MakeRectF(30, 60, 120, 36));
    second.Create(host, MakeRectF(170, 60, 120, 36));
    disabled.Create(host, MakeRectF(310, 60, 130, 36));
    disabled.Disabled(true);
    panel.Create(host, MakeRectF(30, 120, 410, 150));
    inner.Create(panel, MakeRectF(60, 150, 140, 40));
    first.Tooltip(L"提示：第一个按钮");
    host.SetCloseAnimation(Animation::Fade);
    host.Show(animation, duration);
    if (seconds > 0) {
        SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, QuitLoop);
    }
    return RunMessageLoop();
}
