// Times composing the whole 680 x 475 back buffer of a window carrying sixty
// controls against composing the 75 x 70 rectangle of one of them, in the same
// run, and prints how many times cheaper the small update is (target: >= 10).
#include "bench/support/bench_timing.h"
#include "bench/support/bench_window.h"
#include "ui/control/control.h"
#include "ui/draw/defaults.h"
#include "ui/draw/shapes.h"
#include "ui/draw/text.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace kodaro::ui;

namespace {

// A control with a gradient, an outline and a caption, like a button.
class Tile : public Control {
public:
    explicit Tile(int number) : caption_(L"控件 " + std::to_wstring(number)) {}
    ~Tile() override { Destroy(); }

protected:
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override {
        const RectF area = MakeRectF(0, 0, static_cast<float>(width), static_cast<float>(height));
        FillGradient(graphics, area, 0xFFE8F0FF, 0xFF8AB4E8);
        DrawRoundRect(graphics, area, 6, 0xC0204060);
        TextFormat format;
        format.Align(Gdiplus::StringAlignmentCenter);
        format.LineAlign(Gdiplus::StringAlignmentCenter);
        DrawTextEffect(graphics, area, caption_, DefaultFont(), 0xFE000000, format.get());
    }

private:
    std::wstring caption_;
};

// Seconds per composition of rect, over `rounds` compositions.
double TimeCompose(HostWindow& host, const RectF& rect, int rounds) {
    const double start = kodaro::bench::Now();
    for (int i = 0; i < rounds; ++i) {
        host.ComposeRect(rect, false);
    }
    return (kodaro::bench::Now() - start) / rounds;
}

} // namespace

int main() {
    HostWindow host;
    HWND window = kodaro::bench::OpenBenchWindow(host);
    if (window == nullptr) {
        return 1;
    }
    std::vector<std::unique_ptr<Tile>> tiles;
    for (int i = 0; i < 60; ++i) {
        auto tile = std::make_unique<Tile>(i);
        const float x = 10.0f + static_cast<float>(i % 10) * 66.0f;
        const float y = 40.0f + static_cast<float>(i / 10) * 72.0f;
        tile->CreateBase(host, MakeRectF(x, y, 75, 70), kKindPushButton);
        tiles.push_back(std::move(tile));
    }
    const RectF whole = MakeRectF(0, 0, 680, 475);
    const RectF one = tiles[23]->Rect();

    TimeCompose(host, whole, 5); // warm up
    TimeCompose(host, one, 50);
    const double full = TimeCompose(host, whole, 60);
    const double small = TimeCompose(host, one, 600);
    std::printf("bench_compose: %zu controls, back buffer %d x %d\n", tiles.size(), host.Width(),
                host.Height());
    std::printf("  full back buffer   : %9.1f us per composition\n", full * 1e6);
    std::printf("  one 75 x 70 control: %9.1f us per composition\n", small * 1e6);
    std::printf("  ratio full / small : %9.1f (target >= 10)\n", full / small);
    tiles.clear();
    DestroyWindow(window);
    return 0;
}
