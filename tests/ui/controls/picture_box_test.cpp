#include "controls_testing.h"

#include "ui/controls/picture_box.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace kodaro::ui {
namespace {

using test::TestWindow;

// The colour in the middle of the picture box's surface: 'r', 'g', 'b' or '?'.
char Shown(const PictureBox& picture) {
    test::Pixels pixels = test::ReadBitmap(picture.Bitmap());
    std::uint32_t c = pixels.at(pixels.width / 2, pixels.height / 2);
    if (test::Alpha(c) < 200) {
        return '?';
    }
    if (test::Red(c) > 200 && test::Green(c) < 60 && test::Blue(c) < 60) {
        return 'r';
    }
    if (test::Green(c) > 200 && test::Red(c) < 60 && test::Blue(c) < 60) {
        return 'g';
    }
    if (test::Blue(c) > 200 && test::Red(c) < 60 && test::Green(c) < 60) {
        return 'b';
    }
    return '?';
}

void Tick(PictureBox& picture) {
    DispatchControlMessage(&picture, WM_TIMER, picture.TimerId(), 0);
}

TEST(PictureFrames, DelaysComeFromTheImageAndZeroesBecomeATenth) {
    std::vector<std::uint8_t> zero = test::TestData("anim_zero.gif");
    std::vector<std::uint8_t> delays = test::TestData("anim_delays.gif");
    ASSERT_FALSE(zero.empty());
    ASSERT_FALSE(delays.empty());
    MemoryImage zeroImage = LoadImageFromBytes(zero);
    MemoryImage delaysImage = LoadImageFromBytes(delays);

    FrameInfo fixed = ReadFrameInfo(zeroImage.get(), true);
    EXPECT_EQ(fixed.count, 3);
    EXPECT_EQ(fixed.delays, (std::vector<std::uint32_t>{10, 10, 10}));
    FrameInfo unfixed = ReadFrameInfo(zeroImage.get(), false);
    EXPECT_EQ(unfixed.delays, (std::vector<std::uint32_t>{0, 0, 0}));
    FrameInfo own = ReadFrameInfo(delaysImage.get(), true);
    EXPECT_EQ(own.count, 3);
    EXPECT_EQ(own.delays, (std::vector<std::uint32_t>{20, 30, 40}));

    MemoryImage png = LoadImageFromBytes(test::SolidPng(4, 4, 0xFF00FF00));
    FrameInfo still = ReadFrameInfo(png.get(), true);
    EXPECT_LE(still.count, 1);
    EXPECT_EQ(ReadFrameInfo(nullptr, true).count, 0);
}

TEST(PictureFrames, ZeroDelaysPlayAtAHundredMillisecondsWhenFixed) {
    TestWindow window;
    PictureBox picture;
    PictureOptions options;
    options.animate = true;
    options.fixZeroDelays = true;
    ASSERT_TRUE(
        picture.Create(window.hwnd(), 10, 10, 40, 40, test::TestData("anim_zero.gif"), options));
    EXPECT_EQ(picture.FrameDelays(), (std::vector<std::uint32_t>{10, 10, 10}));
    EXPECT_TRUE(picture.TimerRunning());
}

TEST(PictureFrames, AnimationShowsEachFrameInTurnAndWraps) {
    TestWindow window;
    PictureBox picture;
    PictureOptions options;
    options.animate = true;
    ASSERT_TRUE(
        picture.Create(window.hwnd(), 10, 10, 40, 40, test::TestData("anim_delays.gif"), options));
    EXPECT_EQ(picture.Kind(), kKindPictureBox);
    EXPECT_TRUE(picture.Focusable());
    EXPECT_EQ(Shown(picture), 'r');
    EXPECT_EQ(picture.CurrentFrame(), 1);
    EXPECT_TRUE(picture.TimerRunning());
    Tick(picture);
    EXPECT_EQ(Shown(picture), 'g');
    Tick(picture);
    EXPECT_EQ(Shown(picture), 'b');
    EXPECT_EQ(picture.CurrentFrame(), 0);
    Tick(picture);
    EXPECT_EQ(Shown(picture), 'r');

    // Turning the animation off shows the first frame and stops the timer.
    Tick(picture);
    ASSERT_EQ(Shown(picture), 'g');
    picture.Animate(false);
    EXPECT_EQ(Shown(picture), 'r');
    EXPECT_FALSE(picture.TimerRunning());
    picture.Redraw();
    EXPECT_EQ(Shown(picture), 'r');
}

TEST(PictureFrames, StillImagesNeverStartATimer) {
    TestWindow window;
    PictureBox png;
    PictureBox gif;
    PictureOptions options;
    options.animate = true;
    ASSERT_TRUE(
        png.Create(window.hwnd(), 10, 10, 40, 40, test::SolidPng(8, 8, 0xFFFF0000), options));
    ASSERT_TRUE(gif.Create(window.hwnd(), 60, 10, 40, 40, test::TestData("still.gif"), options));
    png.Redraw();
    gif.Redraw();
    EXPECT_FALSE(png.TimerRunning());
    EXPECT_FALSE(gif.TimerRunning());
    EXPECT_EQ(Shown(png), 'r');
    EXPECT_EQ(Shown(gif), 'r');
}

TEST(PictureFrames, DisabledPictureKeepsCountingWithoutDrawing) {
    TestWindow window;
    PictureBox picture;
    PictureOptions options;
    options.animate = true;
    ASSERT_TRUE(
        picture.Create(window.hwnd(), 10, 10, 40, 40, test::TestData("anim_delays.gif"), options));
    ASSERT_EQ(picture.CurrentFrame(), 1);
    picture.Disabled(true);
    test::Pixels before = test::ReadBitmap(picture.Bitmap());
    const int frame = picture.CurrentFrame();
    Tick(picture);
    Tick(picture);
    picture.Redraw();
    EXPECT_EQ(picture.CurrentFrame(), frame + 3);
    EXPECT_EQ(test::ReadBitmap(picture.Bitmap()), before);
    // Enabled again, it wraps to the first frame.
    picture.Disabled(false);
    picture.Redraw();
    EXPECT_EQ(Shown(picture), 'r');
}

TEST(PictureLook, CentredModeBackgroundAndBytes) {
    TestWindow window;
    PictureBox picture;
    PictureOptions options;
    options.drawMode = kPictureCentred;
    options.backColor = 0xFF0000FF;
    std::vector<std::uint8_t> red = test::SolidPng(8, 8, 0xFFFF0000);
    ASSERT_TRUE(picture.Create(window.hwnd(), 10, 10, 20, 20, red, options));
    test::Pixels pixels = test::ReadBitmap(picture.Bitmap());
    EXPECT_EQ(pixels.at(6, 6), 0xFFFF0000u);
    EXPECT_EQ(pixels.at(13, 13), 0xFFFF0000u);
    EXPECT_EQ(pixels.at(5, 5), 0xFF0000FFu);
    EXPECT_EQ(pixels.at(14, 14), 0xFF0000FFu);
    EXPECT_EQ(picture.Picture(), red);

    // Bytes that are no picture draw only the background.
    const std::uint8_t junk[] = {1, 2, 3, 4, 5};
    picture.Picture(junk);
    EXPECT_EQ(picture.Image(), nullptr);
    EXPECT_EQ(picture.FrameCount(), 0);
    EXPECT_EQ(test::ReadBitmap(picture.Bitmap()).at(10, 10), 0xFF0000FFu);
    picture.Destroy();
    EXPECT_TRUE(picture.Picture().empty());
}

TEST(PictureLook, PictureSetFromAnotherThreadArrivesOnTheWindowThread) {
    TestWindow window;
    PictureBox picture;
    ASSERT_TRUE(picture.Create(window.hwnd(), 10, 10, 40, 40, {}));
    EXPECT_EQ(Shown(picture), '?');
    std::vector<std::uint8_t> green = test::SolidPng(8, 8, 0xFF00FF00);
    std::atomic<bool> done{false};
    DWORD uiThread = GetCurrentThreadId();
    DWORD paintThread = 0;
    picture.Subscribe(WM_PAINT, ControlHandler4([&](Control*, UINT, WPARAM, LPARAM) {
                          paintThread = GetCurrentThreadId();
                      }));
    std::thread worker([&] {
        picture.PictureFromAnyThread(green);
        done = true;
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        window.Pump();
    }
    worker.join();
    EXPECT_EQ(paintThread, uiThread);
    EXPECT_EQ(picture.Picture(), green);
    EXPECT_EQ(Shown(picture), 'g');
}

} // namespace
} // namespace kodaro::ui
