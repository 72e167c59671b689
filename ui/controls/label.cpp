#include "ui/controls/label.h"

#include "ui/draw/color.h"
#include "ui/draw/shapes.h"
#include "ui/host/host_window.h"

#include <cmath>

namespace kodaro::ui {

namespace {

// Where the 3 x 3 background samples lie, as fractions of the label's size.
constexpr float kSamplePoints[3] = {0.2f, 0.5f, 0.8f};

} // namespace

Label::~Label() {
    Destroy();
    Release();
}

bool Label::Create(ControlParent parent, float x, float y, float width, float height,
                   std::wstring text, const LabelOptions& options) {
    // Destroying an earlier incarnation releases its font and format, so it
    // must happen before the new ones are made.
    Destroy();
    Release();
    font_.Make(options.fontName, options.fontSize, options.fontStyle);
    wordWrap_ = options.wordWrap;
    format_.Create(kLabelSingleLineFlags, 0);
    format_.Align(static_cast<Gdiplus::StringAlignment>(options.alignment));
    format_.Trimming(static_cast<Gdiplus::StringTrimming>(options.trimming));
    format_.HotkeyPrefix(Gdiplus::HotkeyPrefixNone);
    if (wordWrap_) {
        format_.Flags(kLabelWrapFlags);
    }
    verticalAlign_ = kLabelMiddle;
    gradientMode_ = options.gradientMode;
    gradientColor1_ = options.gradientColor1;
    gradientColor2_ = options.gradientColor2;
    autoContrast_ = options.autoContrast;
    textEffect_ = options.textEffect;
    effectColor_ = options.effectColor;
    borderStyle_ = options.borderStyle;
    text_ = std::move(text);
    textColor_ = options.textColor;
    if (!parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindLabel, options.visible,
                         false)) {
        Release();
        return false;
    }
    return true;
}

void Label::Release() {
    text_.clear();
    effectColor_ = 0;
    font_.Reset();
    format_ = TextFormat(nullptr, true);
    measuredWidth_ = 0;
    measuredHeight_ = 0;
}

void Label::Changed() {
    Redraw();
}

void Label::Remeasured() {
    Measure();
    Redraw();
}

void Label::Text(std::wstring value) {
    text_ = std::move(value);
    Remeasured();
}

void Label::TextColor(Argb value) {
    textColor_ = value;
    Changed();
}

void Label::EffectColor(Argb value) {
    effectColor_ = value;
    Changed();
}

void Label::GradientColor1(Argb value) {
    gradientColor1_ = value;
    Changed();
}

void Label::GradientColor2(Argb value) {
    gradientColor2_ = value;
    Changed();
}

void Label::GradientMode(int value) {
    gradientMode_ = value;
    Changed();
}

std::wstring Label::FontName() const {
    return FontFaceOf(font_.get());
}

void Label::FontName(std::wstring_view value) {
    font_.Change(value, std::nullopt, std::nullopt);
    Remeasured();
}

int Label::FontStyle() const {
    return FontStyleOf(font_.get());
}

void Label::FontStyle(int value) {
    font_.Change(std::nullopt, std::nullopt, value);
    Remeasured();
}

int Label::FontSize() const {
    return static_cast<int>(std::lround(FontSizeOf(font_.get())));
}

void Label::FontSize(int value) {
    font_.Change(std::nullopt, static_cast<float>(value), std::nullopt);
    Remeasured();
}

void Label::Font(Gdiplus::GpFont* font) {
    if (font != font_.get()) {
        font_.Take(font);
    }
    Remeasured();
}

void Label::StringFormat(Gdiplus::GpStringFormat* format) {
    if (format != format_.get()) {
        format_ = TextFormat(format, true);
    }
    Remeasured();
}

int Label::Alignment() const {
    return format_.Align();
}

void Label::Alignment(int value) {
    format_.Align(static_cast<Gdiplus::StringAlignment>(value));
    Changed();
}

int Label::Trimming() const {
    return format_.Trimming();
}

void Label::Trimming(int value) {
    format_.Trimming(static_cast<Gdiplus::StringTrimming>(value));
    Changed();
}

int Label::FormatFlags() const {
    return format_.Flags();
}

void Label::FormatFlags(int value) {
    format_.Flags(value);
    Changed();
}

void Label::WordWrap(bool value) {
    wordWrap_ = value;
    format_.Flags(value ? kLabelWrapFlags : kLabelSingleLineFlags);
    // The measured size depends on wrapping (unbounded or one line).
    Remeasured();
}

void Label::VerticalAlign(int value) {
    verticalAlign_ = value;
    Changed();
}

void Label::TextEffect(int value) {
    textEffect_ = value;
    Changed();
}

void Label::BorderStyle(int value) {
    borderStyle_ = value;
    Changed();
}

void Label::AutoContrast(bool value) {
    autoContrast_ = value;
    Changed();
}

void Label::Measure() {
    if (Host() == nullptr) {
        return;
    }
    Gdiplus::GpGraphics* graphics = Host()->Buffer().graphics();
    RectF layout;
    if (!wordWrap_) {
        layout = Rect();
        layout.Height = FontHeight(graphics, font_.get());
    }
    RectF bounds;
    if (!MeasureText(graphics, text_, font_.get(), layout, format_.get(), &bounds)) {
        return;
    }
    if (!wordWrap_ && !text_.empty() && bounds.Height <= 0) {
        // Some GDI+ versions drop a line that overshoots the font's own line
        // height by a fraction of a pixel; measure it without the limit.
        layout.Height = 0;
        if (!MeasureText(graphics, text_, font_.get(), layout, format_.get(), &bounds)) {
            return;
        }
    }
    // Rounded up: the text is later laid out in a box of the measured height,
    // and a box a fraction too small would lose the line.
    measuredWidth_ = static_cast<int>(std::ceil(bounds.Width));
    measuredHeight_ = static_cast<int>(std::ceil(bounds.Height));
}

bool Label::BackgroundIsDark() const {
    if (Host() == nullptr || !Host()->Buffer()) {
        return false;
    }
    const BackBuffer& buffer = Host()->Buffer();
    const RectF rect = Rect();
    int dark = 0;
    for (float fy : kSamplePoints) {
        for (float fx : kSamplePoints) {
            const int x = static_cast<int>(rect.X + rect.Width * fx);
            const int y = static_cast<int>(rect.Y + rect.Height * fy);
            dark += IsDarkColour(buffer.PixelAt(x, y)) ? 1 : 0;
        }
    }
    return dark > 4;
}

LRESULT Label::OnMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CREATE:
    case EXM_SIZE:
        Measure();
        return 0;
    case WM_DESTROY:
        Release();
        return 0;
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
        if (Focusable()) {
            Redraw();
        }
        return 0;
    case EXM_BACKGROUNDCHANGED:
        if (autoContrast_) {
            Redraw();
        }
        return 0;
    default:
        return kNotHandled;
    }
}

void Label::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    const RectF whole = MakeRectF(0, 0, static_cast<float>(width), static_cast<float>(height));
    // The background goes first so that it cannot cover the border.
    if (gradientMode_ != kNoGradient) {
        FillGradient(graphics, whole, gradientColor1_, gradientColor2_, gradientMode_);
    }
    if (borderStyle_ != kBorderNone) {
        DrawBorder(graphics, whole, borderStyle_);
    }
    // A label without text (a colour swatch) shows its focus as well, light
    // on a dark fill.
    if (Host() != nullptr && Host()->FocusControl() == this) {
        std::optional<Argb> focusColor;
        if (gradientMode_ != kNoGradient && IsDarkColour(gradientColor1_)) {
            focusColor = 0xFFFFFFFF;
        }
        DrawBorder(graphics, GrowRect(whole, 1, 1, -2, -2), kBorderDashed, focusColor);
    }
    if (text_.empty()) {
        return;
    }
    const RectF clip = GrowRect(whole, 2, 2, -4, -4);
    SetClipRect(graphics, clip);

    Argb color = textColor_;
    if (autoContrast_) {
        color = (color & 0xFF000000) | (BackgroundIsDark() ? 0x00FFFFFF : 0);
    }

    RectF layout = clip;
    if (wordWrap_) {
        layout.Height = static_cast<float>(height) + FontHeight(graphics, font_.get()) + 3;
    } else {
        const float measured = static_cast<float>(measuredHeight_);
        layout.Height = measured;
        if (verticalAlign_ == kLabelTop) {
            layout.Y = clip.Y + 2;
        } else if (verticalAlign_ == kLabelBottom) {
            layout.Y = clip.Y + clip.Height - measured - 2;
        } else {
            layout.Y = clip.Y + (clip.Height - measured) / 2;
        }
    }
    DrawTextEffect(graphics, layout, text_, font_.get(), color, format_.get(), textEffect_,
                   effectColor_ != 0 ? std::optional<Argb>(effectColor_) : std::nullopt);
    ResetClip(graphics);
}

} // namespace kodaro::ui
