// Shows one picture given as encoded image bytes, stretched or centred, and
// plays the frames of an animated GIF with their own delays.
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"
#include "ui/draw/color.h"
#include "ui/draw/image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kodaro::ui {

// Draw modes: stretched to the control, or centred at natural size.
inline constexpr int kPictureStretch = 1;
inline constexpr int kPictureCentred = 2;

// Frame count and per-frame delays (hundredths of a second) of an image.
struct FrameInfo {
    int count = 0;
    std::vector<std::uint32_t> delays;
};

// Frames in the time dimension and the frame-delay property (0x5100, read
// when its type is 4 with a value, or 9). With fixZeroDelays every delay of 0
// becomes 10; frames without a delay of their own count as delay 0.
FrameInfo ReadFrameInfo(Gdiplus::GpImage* image, bool fixZeroDelays);

struct PictureOptions {
    bool animate = false;
    // 0: no background.
    Argb backColor = 0;
    bool fixZeroDelays = false;
    int borderStyle = 0;
    int drawMode = kPictureStretch;
    bool visible = true;
};

class PictureBox : public Control {
public:
    PictureBox() = default;
    ~PictureBox() override;

    // Creates the picture box (kind 4, focusable) showing image (copied; may
    // be empty or undecodable: nothing is drawn then).
    bool Create(ControlParent parent, float x, float y, float width, float height,
                std::span<const std::uint8_t> image, const PictureOptions& options = {});

    bool Animate() const { return animate_; }
    // Restarts from the first frame; off also stops the frame timer.
    void Animate(bool value);

    // A copy of the image bytes.
    std::vector<std::uint8_t> Picture() const { return bytes_; }
    // Replaces the picture: decodes the bytes, reads frames and delays, starts
    // from the first frame, and repaints unless repaint is false.
    void Picture(std::span<const std::uint8_t> bytes, bool repaint = true);
    // Picture() from any thread: runs on the window's thread through Send.
    void PictureFromAnyThread(std::span<const std::uint8_t> bytes);

    Argb BackColor() const { return backColor_; }
    void BackColor(Argb value);
    int BorderStyle() const { return borderStyle_; }
    void BorderStyle(int value);
    int DrawMode() const { return drawMode_; }
    void DrawMode(int value);

    int CurrentFrame() const { return currentFrame_; }
    int FrameCount() const { return frames_.count; }
    const std::vector<std::uint32_t>& FrameDelays() const { return frames_.delays; }
    // Whether the frame timer is running.
    bool TimerRunning() const { return timerRunning_; }
    Gdiplus::GpImage* Image() const { return image_.get(); }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintFrame();
    void StopTimer();
    void StartTimer(UINT milliseconds);

    std::vector<std::uint8_t> bytes_;
    MemoryImage image_;
    bool animate_ = false;
    int borderStyle_ = 0;
    int currentFrame_ = 0;
    FrameInfo frames_;
    Argb backColor_ = 0;
    int drawMode_ = kPictureStretch;
    bool fixZeroDelays_ = false;
    bool timerRunning_ = false;
};

} // namespace kodaro::ui
