// A captioned frame: a rounded body with a title at its top edge. Used as a
// group box and, without a caption, as a bar that carries other controls.
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"
#include "ui/controls/font_slot.h"
#include "ui/draw/color.h"
#include "ui/draw/text.h"

#include <optional>
#include <string>

namespace kodaro::ui {

// Caption alignments.
inline constexpr int kCaptionLeft = 0;
inline constexpr int kCaptionCentre = 1;
inline constexpr int kCaptionRight = 2;

// Black at alpha 210 (caption) and at alpha 80 (outline).
inline constexpr Argb kPanelTextColor = 0xD2000000;
inline constexpr Argb kPanelBorderColor = 0x50000000;

struct PanelOptions {
    int alignment = kCaptionLeft;
    Argb textColor = kPanelTextColor;
    // With no font name, size or style the shared default font is used.
    std::wstring fontName;
    std::optional<float> fontSize;
    std::optional<int> fontStyle;
    int textEffect = kTextEffectNone;
    Argb effectColor = 0;
    // 0: no fill.
    Argb fillColor = 0;
    Argb borderColor = kPanelBorderColor;
    bool rounded = true;
    bool visible = true;
};

class Panel : public Control {
public:
    // Creates the panel (kind 16, not focusable).
    bool Create(ControlParent parent, float x, float y, float width, float height,
                std::wstring caption, const PanelOptions& options = {});

    const std::wstring& Caption() const { return caption_; }
    void Caption(std::wstring value);
    int Alignment() const { return alignment_; }
    void Alignment(int value);
    Argb TextColor() const { return textColor_; }
    void TextColor(Argb value);
    Argb FillColor() const { return fillColor_; }
    void FillColor(Argb value);
    Argb BorderColor() const { return borderColor_; }
    void BorderColor(Argb value);
    bool Rounded() const { return rounded_; }
    void Rounded(bool value);
    Gdiplus::GpFont* Font() const { return font_.get(); }

    // Measures the caption from x = 8 in the control's width less 16, one
    // line high.
    void Measure();
    int MeasuredWidth() const { return measuredWidth_; }
    int MeasuredHeight() const { return measuredHeight_; }
    // Where the caption is drawn (control coordinates).
    RectF CaptionRect() const;
    // The framed body below the caption's middle (control coordinates).
    RectF BodyRect() const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    std::wstring caption_;
    int alignment_ = kCaptionLeft;
    FontSlot font_;
    Argb textColor_ = kPanelTextColor;
    TextFormat format_{nullptr, true};
    int textEffect_ = kTextEffectNone;
    Argb effectColor_ = 0;
    Argb fillColor_ = 0;
    Argb borderColor_ = kPanelBorderColor;
    bool rounded_ = true;
    int measuredWidth_ = 0;
    int measuredHeight_ = 0;
};

} // namespace kodaro::ui
