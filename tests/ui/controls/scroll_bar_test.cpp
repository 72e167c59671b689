#include "controls_testing.h"

#include "ui/controls/scroll_bar.h"

#include <gtest/gtest.h>

#include <vector>

namespace kodaro::ui {
namespace {

using test::TestWindow;

// Runs the window's messages for about ms milliseconds.
void PumpFor(TestWindow& window, DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        window.Pump();
        Sleep(5);
    }
}

struct Recorder {
    std::vector<int> positions;
    void Attach(ScrollBar& bar) {
        bar.OnScroll([this](ScrollBar&, int position) { positions.push_back(position); });
    }
};

TEST(ScrollBarThumb, LengthFollowsTheRangeWithAMinimumAndVanishesWithoutOne) {
    TestWindow window;
    ScrollBar bar;
    // 16 wide, 232 high: arrows of 16, a track of 200.
    ASSERT_TRUE(bar.Create(window.hwnd(), 300, 4, 16, 232));
    EXPECT_EQ(bar.Kind(), kKindScrollBar);
    EXPECT_FALSE(bar.Focusable());
    EXPECT_EQ(bar.TrackLength(), 200);
    EXPECT_EQ(bar.ThumbLength(), 0);
    struct Case {
        int maximum;
        int thumb;
    };
    for (const Case c : {Case{200, 100}, Case{50, 160}, Case{1000, 33}, Case{5000, 30},
                         Case{1, 199}, Case{0, 0}, Case{-5, 0}}) {
        bar.Maximum(c.maximum);
        EXPECT_EQ(bar.ThumbLength(), c.thumb) << "maximum " << c.maximum;
    }
    // No thumb: the track is not a page target either.
    EXPECT_EQ(bar.HitPart(308, 120), kScrollNone);

    // A horizontal bar measures along its width.
    ScrollBar across;
    ASSERT_TRUE(across.Create(window.hwnd(), 4, 200, 132, 12, true));
    EXPECT_EQ(across.TrackLength(), 108);
    across.Maximum(108);
    EXPECT_EQ(across.ThumbLength(), 54);
}

TEST(ScrollBarRange, PositionStaysInsideTheRange) {
    TestWindow window;
    ScrollBar bar;
    ASSERT_TRUE(bar.Create(window.hwnd(), 300, 4, 16, 232));
    bar.Maximum(100);
    bar.Position(150);
    EXPECT_EQ(bar.Position(), 100);
    bar.Position(-3);
    EXPECT_EQ(bar.Position(), 0);
    bar.Position(80);
    bar.Maximum(40);
    EXPECT_EQ(bar.Position(), 40);
    bar.Minimum(45);
    EXPECT_EQ(bar.Position(), 45);
}

TEST(ScrollBarArrows, HeldArrowRepeatsAndStopsAtTheRangesEnd) {
    TestWindow window;
    ScrollBar bar;
    Recorder recorder;
    ASSERT_TRUE(bar.Create(window.hwnd(), 300, 4, 16, 232));
    recorder.Attach(bar);
    bar.Maximum(4);
    bar.LineStep(1);
    window.MouseMove(308, 228);
    window.LeftDown(308, 228); // the down arrow
    EXPECT_EQ(bar.PressedPart(), kScrollSecondArrow);
    EXPECT_EQ(bar.Position(), 1); // the press itself steps once
    EXPECT_TRUE(bar.Repeating());
    PumpFor(window, 900);
    EXPECT_EQ(bar.Position(), 4);
    EXPECT_FALSE(bar.Repeating());
    EXPECT_EQ(recorder.positions, (std::vector<int>{1, 2, 3, 4}));
    window.LeftUp(308, 228);
    EXPECT_EQ(bar.PressedPart(), kScrollNone);

    // The up arrow at the top does not move, notify or repeat.
    bar.Position(0);
    recorder.positions.clear();
    window.LeftDown(308, 8);
    EXPECT_FALSE(bar.Repeating());
    window.LeftUp(308, 8);
    EXPECT_TRUE(recorder.positions.empty());
}

TEST(ScrollBarThumb, DragReportsLiveOrOnRelease) {
    TestWindow window;
    ScrollBar bar;
    Recorder recorder;
    ASSERT_TRUE(bar.Create(window.hwnd(), 300, 4, 16, 232));
    recorder.Attach(bar);
    bar.Maximum(200); // thumb 100 of a 200 track: two positions a pixel
    // Grab the thumb at its middle (y = 4 + 16 + 50) and pull it down 40.
    window.LeftDown(308, 70);
    ASSERT_EQ(bar.PressedPart(), kScrollThumb);
    window.MouseMove(308, 90);
    window.MouseMove(308, 110);
    EXPECT_EQ(bar.Position(), 80);
    EXPECT_TRUE(recorder.positions.empty());
    window.LeftUp(308, 110);
    EXPECT_EQ(recorder.positions, (std::vector<int>{80}));

    bar.Style(kScrollLiveTracking);
    bar.Position(0);
    recorder.positions.clear();
    window.LeftDown(308, 70);
    window.MouseMove(308, 80);
    window.MouseMove(308, 400); // far past the end: clamped
    window.LeftUp(308, 400);
    EXPECT_EQ(recorder.positions, (std::vector<int>{20, 200}));
    EXPECT_EQ(bar.ThumbOffset(), 100);
}

TEST(ScrollBarTrack, PageClickStepsByThePageAndStopsUnderThePointer) {
    TestWindow window;
    ScrollBar bar;
    ASSERT_TRUE(bar.Create(window.hwnd(), 300, 4, 16, 232));
    bar.Maximum(200);
    bar.PageSize(30);
    window.LeftDown(308, 200); // below the thumb (20..120)
    EXPECT_EQ(bar.PressedPart(), kScrollPageAfter);
    EXPECT_EQ(bar.Position(), 30);
    PumpFor(window, 900);
    // The thumb's end passed the pointer; the repeat ended there.
    EXPECT_FALSE(bar.Repeating());
    EXPECT_EQ(bar.Position(), 180);
    window.LeftUp(308, 200);
}

} // namespace
} // namespace kodaro::ui
