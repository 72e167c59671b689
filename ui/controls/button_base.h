// The core shared by every framework button: caption, font, string format,
// the visual state machine with its cross-fades, and the default glass look.
// PushButton, TabButton and RadioButton change the look and the input
// handling through three hooks: PaintBackground, PaintContent and PreHandle.
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

// Visual states of a button.
inline constexpr int kButtonDisabled = -1;
inline constexpr int kButtonNormal = 0;
inline constexpr int kButtonHot = 1;
inline constexpr int kButtonPressed = 2;
inline constexpr int kButtonFocused = 3;

// Black at alpha 210, the default caption colour of buttons.
inline constexpr Argb kButtonTextColor = 0xD2000000;

struct ButtonOptions {
    Argb textColor = kButtonTextColor;
    // With no font name, size or style the shared default font is used;
    // otherwise a font of the name (default: the default font's face), size
    // (default 12 pixels) and style (default regular).
    std::wstring fontName;
    std::optional<float> fontSize;
    std::optional<int> fontStyle;
    int textEffect = kTextEffectNone;
    // 0: chosen from the text colour.
    Argb effectColor = 0;
    // Default: rounded unless the host's frame look is square.
    std::optional<bool> rounded;
    bool visible = true;
};

class ButtonBase : public Control {
public:
    ButtonBase() = default;

    // Creates the button (kind 2, focusable, 60 ms cross-fades) on a window or
    // under a parent control. text may carry an "&" before its access key.
    bool Create(ControlParent parent, float x, float y, float width, float height,
                std::wstring text, const ButtonOptions& options = {});

    const std::wstring& Text() const { return text_; }
    void Text(std::wstring value);
    Argb TextColor() const { return textColor_; }
    void TextColor(Argb value);
    int TextEffect() const { return textEffect_; }
    void TextEffect(int value);
    Argb EffectColor() const { return effectColor_; }
    void EffectColor(Argb value);
    bool Rounded() const { return rounded_; }
    void Rounded(bool value);
    // Black or white caption (keeping the colour's alpha) chosen from how dark
    // the window is behind the button.
    bool AutoContrast() const { return autoContrast_; }
    void AutoContrast(bool value);

    std::wstring FontName() const;
    void FontName(std::wstring_view value);
    int FontStyle() const;
    void FontStyle(int value);
    int FontSize() const;
    void FontSize(int value);
    Gdiplus::GpFont* Font() const { return font_.get(); }
    // Takes over the font (the shared default font is only borrowed).
    void Font(Gdiplus::GpFont* font);
    Gdiplus::GpStringFormat* StringFormat() const { return format_.get(); }
    // Takes over the string format.
    void StringFormat(Gdiplus::GpStringFormat* format);

    // Measures the caption (font line height + 3 high, the control's width).
    void Measure();
    int MeasuredWidth() const { return measuredWidth_; }
    int MeasuredHeight() const { return measuredHeight_; }

    int VisualState() const { return state_; }
    // Draws the button in state, cross-fading in from the previous look at
    // fade level start (255: at once).
    virtual void PaintState(int state, int start);

    // The character after the first "&" that does not escape another "&";
    // 0 when the text has none.
    static wchar_t AccessKeyOf(std::wstring_view text);

protected:
    // True when the class drew its own background.
    virtual bool PaintBackground(Gdiplus::GpGraphics* graphics, int state);
    // True when the class placed the caption itself (it may move caption) and
    // draws its own focus mark.
    virtual bool PaintContent(Gdiplus::GpGraphics* graphics, int state, RectF& caption);
    // Offered every message first; anything but kNotHandled ends the handling
    // with that result.
    virtual LRESULT PreHandle(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

    // The caption colour after the auto-contrast rule.
    Argb EffectiveTextColor();

private:
    void DrawGlass(Gdiplus::GpGraphics* graphics, int width, int height, int state);
    void MakeFormat();

    int state_ = kButtonNormal;
    bool disabledLook_ = false;
    std::wstring text_;
    FontSlot font_;
    int textEffect_ = kTextEffectNone;
    Argb textColor_ = kButtonTextColor;
    bool rounded_ = true;
    TextFormat format_{nullptr, true};
    Argb effectColor_ = 0;
    int measuredWidth_ = 0;
    int measuredHeight_ = 0;
    bool autoContrast_ = false;
};

// True when more than 4 of 9 sample points of rect (window coordinates, at
// 20, 50 and 80 percent each way) are dark in the host's back buffer.
bool WindowIsDarkBehind(const HostWindow* host, const RectF& rect);

} // namespace kodaro::ui
