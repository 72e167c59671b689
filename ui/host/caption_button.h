// The close, maximise/restore and minimise buttons of a framework window,
// drawn from the SkinStrip artwork and cross-faded between their states.
#pragma once

#include "ui/control/control.h"

namespace kodaro::ui {

// SkinStrip layout: cells of 27 × 20 pixels left to right, cell = glyph × 4 +
// state (glyphs close, maximise, restore, minimise; states normal, hot,
// pressed, disabled).
inline constexpr int kCaptionButtonWidth = 27;
inline constexpr int kCaptionButtonHeight = 20;

class CaptionButton : public Control {
public:
    // type: kFrameClose (4), kFrameMaximise (8) or kFrameMinimise (16).
    explicit CaptionButton(int type) : type_(type) {}
    ~CaptionButton() override;

    bool Create(HostWindow& host, float x, float y);
    int Type() const { return type_; }
    // 0 normal, 1 hot, 2 pressed.
    int State() const { return state_; }
    // The SkinStrip cell drawn now.
    int Cell() const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    void ChangeState(int state);
    void Act();

    int type_;
    int state_ = 0;
};

} // namespace kodaro::ui
