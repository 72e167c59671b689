#include "ui/controls/button_base.h"

#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/host/host_window.h"

#include <array>
#include <cmath>

namespace kodaro::ui {
namespace {

// The glass look of one state: colours (ColorRef) and alphas of six entries;
// entries 1 and 2 take their colour from the window's background colour.
struct GlassLook {
    std::array<ColorRef, 6> colors;
    std::array<int, 6> alphas;
};

constexpr GlassLook kGlassNormal{{0xECECEC, 0, 0, 0, 0xFFFFFF, 0}, {204, 0, 102, 80, 51, 25}};
constexpr GlassLook kGlassHot{{0xECECEC, 0, 0, 0, 0xFFFFFF, 0}, {204, 21, 153, 70, 51, 30}};
constexpr GlassLook kGlassPressed{{0xECECEC, 0, 0xECECEC, 0, 0xFFFFFF, 0},
                                  {204, 153, 21, 70, 51, 10}};
constexpr GlassLook kGlassFocused{{0xECECEC, 0, 0, 0, 0xFFFFFF, 0}, {204, 51, 153, 80, 61, 25}};
constexpr GlassLook kGlassDisabled{{0xFFFFFF, 0, 0, 0, 0xFFFFFF, 0}, {51, 51, 51, 35, 30, 0}};

const GlassLook& GlassFor(int state) {
    switch (state) {
    case kButtonHot:
        return kGlassHot;
    case kButtonPressed:
        return kGlassPressed;
    case kButtonFocused:
        return kGlassFocused;
    case kButtonDisabled:
        return kGlassDisabled;
    default:
        return kGlassNormal;
    }
}

void DrawPlainRect(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color) {
    UniquePen pen = MakePen(color);
    if (pen) {
        gdip::GdipDrawRectangle(graphics, pen.get(), rect.X, rect.Y, rect.Width, rect.Height);
    }
}

} // namespace

bool WindowIsDarkBehind(const HostWindow* host, const RectF& rect) {
    if (host == nullptr || !host->Buffer()) {
        return false;
    }
    constexpr std::array<float, 3> kPoints{0.2f, 0.5f, 0.8f};
    int dark = 0;
    for (float fy : kPoints) {
        for (float fx : kPoints) {
            int x = static_cast<int>(rect.X + rect.Width * fx);
            int y = static_cast<int>(rect.Y + rect.Height * fy);
            if (IsDarkColour(host->Buffer().PixelAt(x, y))) {
                ++dark;
            }
        }
    }
    return dark > 4;
}

wchar_t ButtonBase::AccessKeyOf(std::wstring_view text) {
    return ui::AccessKeyOf(text);
}

bool ButtonBase::Create(ControlParent parent, float x, float y, float width, float height,
                        std::wstring text, const ButtonOptions& options) {
    HostWindow* host = parent.Host();
    if (host == nullptr) {
        return false;
    }
    // A control created before is destroyed first, so that its old state is
    // cleared before the new one is stored.
    Destroy();
    state_ = kButtonNormal;
    disabledLook_ = false;
    text_ = std::move(text);
    textColor_ = options.textColor;
    textEffect_ = options.textEffect;
    effectColor_ = options.effectColor;
    rounded_ = options.rounded.value_or(host->FrameLook() != WindowLook::Square);
    font_.Make(options.fontName, options.fontSize, options.fontStyle);
    MakeFormat();
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindPushButton, options.visible,
                           true, nullptr, kButtonFadeInterval);
}

void ButtonBase::MakeFormat() {
    format_.Create(Gdiplus::StringFormatFlagsNoWrap);
    format_.Align(Gdiplus::StringAlignmentNear);
    format_.Trimming(Gdiplus::StringTrimmingNone);
    format_.HotkeyPrefix(Gdiplus::HotkeyPrefixShow);
}

void ButtonBase::Text(std::wstring value) {
    text_ = std::move(value);
    Measure();
    Redraw();
}

void ButtonBase::TextColor(Argb value) {
    textColor_ = value;
    Redraw();
}

void ButtonBase::TextEffect(int value) {
    textEffect_ = value;
    Redraw();
}

void ButtonBase::EffectColor(Argb value) {
    effectColor_ = value;
    Redraw();
}

void ButtonBase::Rounded(bool value) {
    rounded_ = value;
    Redraw();
}

void ButtonBase::AutoContrast(bool value) {
    autoContrast_ = value;
    Redraw();
}

std::wstring ButtonBase::FontName() const {
    return FontFaceOf(font_.get());
}

void ButtonBase::FontName(std::wstring_view value) {
    font_.Change(value, std::nullopt, std::nullopt);
    Measure();
    Redraw();
}

int ButtonBase::FontStyle() const {
    return FontStyleOf(font_.get());
}

void ButtonBase::FontStyle(int value) {
    font_.Change(std::nullopt, std::nullopt, value);
    Measure();
    Redraw();
}

int ButtonBase::FontSize() const {
    return static_cast<int>(std::lround(FontSizeOf(font_.get())));
}

void ButtonBase::FontSize(int value) {
    font_.Change(std::nullopt, static_cast<float>(value), std::nullopt);
    Measure();
    Redraw();
}

void ButtonBase::Font(Gdiplus::GpFont* font) {
    font_.Take(font);
    Measure();
    Redraw();
}

void ButtonBase::StringFormat(Gdiplus::GpStringFormat* format) {
    format_ = TextFormat(format, true);
    Measure();
    Redraw();
}

void ButtonBase::Measure() {
    Gdiplus::GpGraphics* graphics = Graphics();
    if (graphics == nullptr || font_.get() == nullptr) {
        measuredWidth_ = 0;
        measuredHeight_ = 0;
        return;
    }
    float lineHeight = FontHeight(graphics, font_.get());
    RectF bounds{};
    if (!MeasureText(graphics, text_, font_.get(), MakeRectF(0, 0, Width(), lineHeight + 3),
                     format_.get(), &bounds)) {
        return;
    }
    measuredWidth_ = static_cast<int>(std::lround(bounds.Width));
    measuredHeight_ = static_cast<int>(std::lround(bounds.Height));
}

void ButtonBase::PaintState(int state, int start) {
    state_ = state;
    if (!Created()) {
        return;
    }
    if (start < 255) {
        BeginCrossFade();
    }
    Redraw();
    FadeLevel(start);
}

Argb ButtonBase::EffectiveTextColor() {
    if (!autoContrast_) {
        return textColor_;
    }
    Argb rgb = WindowIsDarkBehind(Host(), Rect()) ? 0xFFFFFF : 0;
    return (textColor_ & 0xFF000000) | rgb;
}

bool ButtonBase::PaintBackground(Gdiplus::GpGraphics*, int) {
    return false;
}

bool ButtonBase::PaintContent(Gdiplus::GpGraphics*, int, RectF&) {
    return false;
}

LRESULT ButtonBase::PreHandle(UINT, WPARAM, LPARAM) {
    return kNotHandled;
}

LRESULT ButtonBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT early = PreHandle(message, wParam, lParam);
    if (early != kNotHandled) {
        return early;
    }
    switch (message) {
    case WM_CREATE:
        if (wchar_t key = AccessKeyOf(text_); key != 0) {
            SendMessageW(Window(), EXM_ACCESSKEY, reinterpret_cast<WPARAM>(this), key);
        }
        Measure();
        return 0;
    case WM_DESTROY:
        font_.Reset();
        format_ = TextFormat(nullptr, true);
        text_.clear();
        return 0;
    case EXM_BACKGROUNDCHANGED:
        PaintState(state_, 255);
        return 0;
    case WM_LBUTTONDOWN:
        if (Focusable()) {
            PaintState(kButtonPressed, 153);
        }
        return 0;
    case WM_LBUTTONUP:
        if (Focusable()) {
            PaintState(kButtonHot, 153);
        }
        return 0;
    case EXM_SETFOCUS:
        PaintState(kButtonFocused, 204);
        return 0;
    case EXM_KILLFOCUS:
        PaintState(kButtonNormal, 102);
        return 0;
    case EXM_MOUSEENTER:
        PaintState(kButtonHot, 51);
        return 0;
    case EXM_MOUSELEAVE:
        PaintState(kButtonNormal, 51);
        return 0;
    case EXM_SIZE:
        Measure();
        return 0;
    case EXM_ENABLECHANGED:
        // The flag is stored only after this message; draw the new look now
        // and let the base halve or restore the opacity.
        disabledLook_ = lParam != 0;
        PaintState(state_, 255);
        return kNotHandled;
    default:
        return kNotHandled;
    }
}

void ButtonBase::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    int state = disabledLook_ ? kButtonDisabled : state_;
    if (!PaintBackground(graphics, state)) {
        DrawGlass(graphics, width, height, state);
    }
    RectF inset = MakeRectF(3, 3, static_cast<float>(width) - 6, static_cast<float>(height) - 6);
    SetClipRect(graphics, inset);
    float push = state == kButtonPressed ? 1.0f : 0.0f;
    RectF caption =
        MakeRectF(inset.X + (inset.Width - static_cast<float>(measuredWidth_)) / 2 + push + 1,
                  inset.Y + (inset.Height - static_cast<float>(measuredHeight_)) / 2 + push + 2,
                  static_cast<float>(measuredWidth_), static_cast<float>(measuredHeight_));
    bool placedCaption = PaintContent(graphics, state, caption);
    if (!placedCaption) {
        caption.Y -= 1;
    }
    std::optional<Argb> glow;
    if (effectColor_ != 0) {
        glow = effectColor_;
    }
    DrawTextEffect(graphics, caption, text_, font_.get(), EffectiveTextColor(), format_.get(),
                   textEffect_, glow);
    ResetClip(graphics);
    if (!placedCaption && HasFocus()) {
        DrawBorder(graphics,
                   MakeRectF(2, 2, static_cast<float>(width) - 5, static_cast<float>(height) - 5),
                   kBorderDashed);
    }
}

void ButtonBase::DrawGlass(Gdiplus::GpGraphics* graphics, int width, int height, int state) {
    const GlassLook& look = GlassFor(state);
    ColorRef theme = Host() != nullptr ? Host()->BackgroundColor() : 0;
    auto entry = [&](int i) {
        ColorRef color = (i == 1 || i == 2) ? theme : look.colors[i];
        return ToArgb(color, look.alphas[i]);
    };
    RectF r = MakeRectF(0, 0, static_cast<float>(width) - 1, static_cast<float>(height) - 1);
    if (rounded_) {
        UniquePath clip = RoundRectPath(r, 4);
        if (clip) {
            gdip::GdipSetClipPath(graphics, clip.get(), Gdiplus::CombineModeReplace);
        }
    }
    FillPath(graphics, RoundRectPath(r, 3).get(), entry(0));
    FillGradient(graphics, r, entry(1), entry(2), Gdiplus::LinearGradientModeVertical);
    if (rounded_) {
        ResetClip(graphics);
        DrawRoundRect(graphics, r, 3, entry(3));
        r = GrowRect(r, 1, 1, -2, -2);
        DrawRoundRect(graphics, r, 3, entry(4));
    } else {
        DrawPlainRect(graphics, r, entry(3));
        r = GrowRect(r, 1, 1, -2, -2);
        DrawPlainRect(graphics, r, entry(4));
    }
    DrawLine(graphics, entry(5), r.X, r.Height + 2, r.Width, r.Height + 2);
}

} // namespace kodaro::ui
