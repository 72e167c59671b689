// A horizontal or vertical progress bar: a track, a filled part in a
// two-colour gradient with a soft shade across it, and an outline, with
// rounded corners on rounded windows.
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"
#include "ui/draw/color.h"

#include <optional>

namespace kodaro::ui {

// Defaults: orange to green at alpha 230, a black outline at alpha 80 and a
// white track at alpha 210.
inline constexpr Argb kProgressStartColor = 0xE6FF8800;
inline constexpr Argb kProgressEndColor = 0xE680E000;
inline constexpr Argb kProgressBorderColor = 0x50000000;
inline constexpr Argb kProgressBackgroundColor = 0xD2FFFFFF;
// Corner size of a rounded bar.
inline constexpr float kProgressCornerDiameter = 12;

struct ProgressBarOptions {
    int position = 0;
    int minimum = 0;
    int maximum = 100;
    // Fills from the bottom instead of from the left.
    bool vertical = false;
    Argb startColor = kProgressStartColor;
    Argb endColor = kProgressEndColor;
    Argb borderColor = kProgressBorderColor;
    // Default: rounded unless the host's frame look is square.
    std::optional<bool> rounded;
    // 0 draws no track.
    Argb backgroundColor = kProgressBackgroundColor;
    bool visible = true;
};

class ProgressBar : public Control {
public:
    // Creates the bar (kind 12, not focusable).
    bool Create(ControlParent parent, float x, float y, float width, float height,
                const ProgressBarOptions& options = {});

    int Position() const { return position_; }
    void Position(int value);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    bool Vertical() const { return vertical_; }
    Argb StartColor() const { return startColor_; }
    Argb EndColor() const { return endColor_; }
    // Either colour, or both; a colour not given stays.
    void Colors(std::optional<Argb> start, std::optional<Argb> end);
    Argb BorderColor() const { return borderColor_; }
    bool Rounded() const { return rounded_; }
    Argb BackgroundColor() const { return backgroundColor_; }
    void BackgroundColor(Argb value);

    // Pixels of the filled part at the last paint: the position's share of
    // the bar's length, rounded, never beyond the bar (0 when the range is empty).
    int FillLength() const { return fillLength_; }
    // The fill length for a bar of the given length at the current values.
    int FillLengthFor(float barLength) const;

protected:
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    void ClipToBar(Gdiplus::GpGraphics* graphics, const RectF& bar) const;

    int position_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    bool vertical_ = false;
    Argb startColor_ = kProgressStartColor;
    Argb endColor_ = kProgressEndColor;
    Argb borderColor_ = kProgressBorderColor;
    bool rounded_ = true;
    Argb backgroundColor_ = kProgressBackgroundColor;
    int fillLength_ = 0;
};

} // namespace kodaro::ui
