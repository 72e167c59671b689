// Static text: one text in one font and colour, with an optional gradient
// background, border and glow, and an auto-contrast mode that turns the text
// black or white according to what lies behind it.
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_messages.h"
#include "ui/controls/control_parent.h"
#include "ui/controls/font_slot.h"
#include "ui/draw/color.h"
#include "ui/draw/text.h"

#include <optional>
#include <string>

namespace kodaro::ui {

// Black at alpha 210.
inline constexpr Argb kLabelTextColor = 0xD2000000;
// Gradient mode meaning "no background".
inline constexpr int kNoGradient = -1;
// String format flags of a single-line and of a wrapping label.
inline constexpr int kLabelSingleLineFlags = Gdiplus::StringFormatFlagsNoWrap;
inline constexpr int kLabelWrapFlags =
    Gdiplus::StringFormatFlagsNoFontFallback | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
    Gdiplus::StringFormatFlagsLineLimit | Gdiplus::StringFormatFlagsNoClip;

// Vertical alignments of a single-line label.
inline constexpr int kLabelTop = 0;
inline constexpr int kLabelMiddle = 1;
inline constexpr int kLabelBottom = 2;

struct LabelOptions {
    Argb textColor = kLabelTextColor;
    // kNoGradient, or a Gdiplus::LinearGradientMode (0 horizontal .. 3).
    int gradientMode = kNoGradient;
    // 0 is transparent black.
    Argb gradientColor1 = 0;
    Argb gradientColor2 = 0;
    bool wordWrap = false;
    bool autoContrast = false;
    // With no font name, size or style the shared default font is used.
    std::wstring fontName;
    std::optional<float> fontSize;
    std::optional<int> fontStyle;
    int alignment = Gdiplus::StringAlignmentNear;
    int trimming = Gdiplus::StringTrimmingNone;
    int textEffect = kTextEffectNone;
    // 0: chosen from the text colour.
    Argb effectColor = 0;
    int borderStyle = 0;
    bool visible = true;
};

class Label : public Control {
public:
    ~Label() override;

    // Creates the label (kind 3, not focusable) and measures its text.
    bool Create(ControlParent parent, float x, float y, float width, float height,
                std::wstring text, const LabelOptions& options = {});

    const std::wstring& Text() const { return text_; }
    void Text(std::wstring value);
    Argb TextColor() const { return textColor_; }
    void TextColor(Argb value);
    Argb EffectColor() const { return effectColor_; }
    void EffectColor(Argb value);
    Argb GradientColor1() const { return gradientColor1_; }
    void GradientColor1(Argb value);
    Argb GradientColor2() const { return gradientColor2_; }
    void GradientColor2(Argb value);
    int GradientMode() const { return gradientMode_; }
    void GradientMode(int value);

    // Family name of the current font.
    std::wstring FontName() const;
    // A new font of that family, keeping size and style.
    void FontName(std::wstring_view value);
    int FontStyle() const;
    void FontStyle(int value);
    // Size in pixels, rounded.
    int FontSize() const;
    void FontSize(int value);
    Gdiplus::GpFont* Font() const { return font_.get(); }
    // Takes the font over (the shared default font is only borrowed).
    void Font(Gdiplus::GpFont* font);
    bool UsesDefaultFont() const { return font_.IsShared(); }

    Gdiplus::GpStringFormat* StringFormat() const { return format_.get(); }
    // Takes the string format over.
    void StringFormat(Gdiplus::GpStringFormat* format);
    int Alignment() const;
    void Alignment(int value);
    int Trimming() const;
    void Trimming(int value);
    int FormatFlags() const;
    void FormatFlags(int value);

    bool WordWrap() const { return wordWrap_; }
    void WordWrap(bool value);
    int VerticalAlign() const { return verticalAlign_; }
    void VerticalAlign(int value);
    int TextEffect() const { return textEffect_; }
    void TextEffect(int value);
    int BorderStyle() const { return borderStyle_; }
    void BorderStyle(int value);
    bool AutoContrast() const { return autoContrast_; }
    void AutoContrast(bool value);

    // Measures the text on the host's back buffer: unbounded when wrapping,
    // else in the control's width and one line high.
    void Measure();
    int MeasuredWidth() const { return measuredWidth_; }
    int MeasuredHeight() const { return measuredHeight_; }

    // True when more than 4 of 9 samples of the host's back buffer under the
    // label (at 20, 50 and 80 % of its width and height) are dark.
    bool BackgroundIsDark() const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    void Release();
    void Changed();
    void Remeasured();

    std::wstring text_;
    FontSlot font_;
    TextFormat format_{nullptr, true};
    Argb textColor_ = kLabelTextColor;
    int gradientMode_ = kNoGradient;
    Argb gradientColor1_ = 0;
    Argb gradientColor2_ = 0;
    bool wordWrap_ = false;
    int verticalAlign_ = kLabelMiddle;
    int textEffect_ = kTextEffectNone;
    int borderStyle_ = 0;
    bool autoContrast_ = false;
    Argb effectColor_ = 0;
    int measuredWidth_ = 0;
    int measuredHeight_ = 0;
};

} // namespace kodaro::ui
