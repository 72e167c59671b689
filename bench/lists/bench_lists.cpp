// Times painting and wheel-scrolling a list of 100,000 rows against a list of
// 100 rows of the same size, in the same run, and prints the ratio (target:
// at most 1.5, since only the rows in view are measured and painted).
#include "bench/support/bench_timing.h"
#include "ui/controls/list_view.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <cstdio>
#include <string>

using namespace kodaro::ui;
using kodaro::bench::Now;
using kodaro::bench::Pump;

namespace {

void Fill(ListView& list, int rows) {
    list.InsertColumn(0, L"名称", 120);
    list.InsertColumn(0, L"值", 100);
    for (int i = 1; i <= rows; ++i) {
        list.InsertItem(0, L"第 " + std::to_wstring(i) + L" 行", -1, {std::to_wstring(i * 7)});
    }
    Pump();
}

// Seconds per repaint of the whole list, surface and window composition.
double TimePaint(HostWindow& host, ListView& list, int rounds) {
    const double start = Now();
    for (int i = 0; i < rounds; ++i) {
        list.Redraw();
        host.ComposeRect(list.Rect(), false);
    }
    return (Now() - start) / rounds;
}

// Seconds per wheel notch: down through the first `span` pixels and back,
// starting from offset `from`.
double TimeScroll(HostWindow& host, ListView& list, int from, int span, int rounds) {
    list.VerticalBar().Position(from);
    const int notches = span / (3 * list.RowHeight());
    const double start = Now();
    int done = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int delta : {-WHEEL_DELTA, WHEEL_DELTA}) {
            for (int n = 0; n < notches; ++n) {
                DispatchControlMessage(&list, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
                host.ComposeRect(list.Rect(), false);
                ++done;
            }
        }
    }
    return (Now() - start) / done;
}

} // namespace

int main() {
    if (!FrameworkStartup()) {
        std::fprintf(stderr, "framework start failed\n");
        return 1;
    }
    HWND window = CreateHostWindow({.title = L"lists", .width = 460, .height = 340});
    HostWindow host;
    if (!host.Attach(window, {.backgroundColor = 0xF0E6DC, .opacity = 255})) {
        std::fprintf(stderr, "attach failed\n");
        return 1;
    }
    ListView small;
    ListView large;
    small.Create(host, 10, 20, 210, 300);
    large.Create(host, 240, 20, 210, 300);
    const double fillStart = Now();
    Fill(small, 100);
    const double fillSmall = Now() - fillStart;
    Fill(large, 100000);
    const double fillLarge = Now() - fillStart - fillSmall;

    TimePaint(host, small, 20); // warm up
    TimePaint(host, large, 20);
    const double paintSmall = TimePaint(host, small, 300);
    const double paintLarge = TimePaint(host, large, 300);
    // Both scroll over the small list's whole range; the large one also far
    // down, where its offset runs into the millions of pixels.
    const int span = small.VerticalBar().Maximum();
    const double scrollSmall = TimeScroll(host, small, 0, span, 3);
    const double scrollLarge = TimeScroll(host, large, 0, span, 3);
    const double scrollDeep =
        TimeScroll(host, large, large.VerticalBar().Maximum() - span, span, 3);

    std::printf("bench_lists: %d and %d rows, two columns, %d x %d, rows of %d px\n",
                small.ItemCount(), large.ItemCount(), 210, 300, small.RowHeight());
    std::printf("  fill (not compared)   : %9.1f ms / %9.1f ms\n", fillSmall * 1e3,
                fillLarge * 1e3);
    std::printf("  paint                 : %9.1f us / %9.1f us  ratio %.2f (target <= 1.5)\n",
                paintSmall * 1e6, paintLarge * 1e6, paintLarge / paintSmall);
    std::printf("  scroll a wheel notch  : %9.1f us / %9.1f us  ratio %.2f (target <= 1.5)\n",
                scrollSmall * 1e6, scrollLarge * 1e6, scrollLarge / scrollSmall);
    std::printf("  scroll near the end   :              %9.1f us  ratio %.2f (target <= 1.5)\n",
                scrollDeep * 1e6, scrollDeep / scrollSmall);
    std::printf("  rows painted per paint: %d / %d\n", small.RowsPaintedLastTime(),
                large.RowsPaintedLastTime());
    DestroyWindow(window);
    return 0;
}
