#include "ui/controls/panel.h"

#include "ui/draw/shapes.h"

#include <cmath>

namespace kodaro::ui {

bool Panel::Create(ControlParent parent, float x, float y, float width, float height,
                   std::wstring caption, const PanelOptions& options) {
    if (parent.Host() == nullptr) {
        return false;
    }
    // A control created before is destroyed first, so that its old state is
    // cleared before the new one is stored.
    Destroy();
    caption_ = std::move(caption);
    alignment_ = options.alignment;
    font_.Make(options.fontName, options.fontSize, options.fontStyle);
    textColor_ = options.textColor;
    format_.Create(Gdiplus::StringFormatFlagsNoWrap);
    format_.HotkeyPrefix(Gdiplus::HotkeyPrefixNone);
    textEffect_ = options.textEffect;
    effectColor_ = options.effectColor;
    fillColor_ = options.fillColor;
    borderColor_ = options.borderColor;
    rounded_ = options.rounded;
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindPanel, options.visible,
                           false);
}

void Panel::Caption(std::wstring value) {
    caption_ = std::move(value);
    Measure();
    Redraw();
}

void Panel::Alignment(int value) {
    alignment_ = value;
    Redraw();
}

void Panel::TextColor(Argb value) {
    textColor_ = value;
    Redraw();
}

void Panel::FillColor(Argb value) {
    fillColor_ = value;
    Redraw();
}

void Panel::BorderColor(Argb value) {
    borderColor_ = value;
    Redraw();
}

void Panel::Rounded(bool value) {
    rounded_ = value;
    Redraw();
}

void Panel::Measure() {
    Gdiplus::GpGraphics* graphics = Graphics();
    measuredWidth_ = 0;
    measuredHeight_ = 0;
    if (graphics == nullptr || font_.get() == nullptr || caption_.empty()) {
        return;
    }
    RectF layout = MakeRectF(8, 0, Width() - 16, FontHeight(graphics, font_.get()));
    RectF bounds{};
    if (MeasureText(graphics, caption_, font_.get(), layout, format_.get(), &bounds)) {
        measuredWidth_ = static_cast<int>(std::lround(bounds.Width));
        measuredHeight_ = static_cast<int>(std::lround(bounds.Height));
    }
}

RectF Panel::CaptionRect() const {
    const float width = static_cast<float>(measuredWidth_);
    float x = 8;
    if (alignment_ == kCaptionCentre) {
        x = (Width() - width) / 2;
    } else if (alignment_ == kCaptionRight) {
        x = Width() - 8 - width;
    }
    return MakeRectF(x, 2, width, static_cast<float>(measuredHeight_));
}

RectF Panel::BodyRect() const {
    // The outline runs through the middle of the caption line, like a group box.
    float top = caption_.empty() ? 0.0f : std::floor(2 + static_cast<float>(measuredHeight_) / 2);
    return MakeRectF(1, top, Width() - 2, Height() - top);
}

LRESULT Panel::OnMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CREATE:
    case EXM_SIZE:
        Measure();
        return 0;
    case WM_DESTROY:
        font_.Reset();
        format_ = TextFormat(nullptr, true);
        return 0;
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
        Redraw();
        return 0;
    default:
        return kNotHandled;
    }
}

void Panel::Paint(Gdiplus::GpGraphics* graphics, int, int) {
    const RectF body = BodyRect();
    const RectF caption = CaptionRect();
    if (rounded_) {
        UniquePath path = RoundRectPath(body, 6);
        if (path && fillColor_ != 0) {
            Gdiplus::GpSolidFill* brush = nullptr;
            if (gdip::GdipCreateSolidFill(fillColor_, &brush) == Gdiplus::Ok) {
                gdip::GdipFillPath(graphics, brush, path.get());
                gdip::GdipDeleteBrush(brush);
            }
        }
    } else if (fillColor_ != 0) {
        FillRectangle(graphics, body, fillColor_);
    }
    // The outline breaks around the caption so the title stays readable.
    if (!caption_.empty()) {
        SetClipRect(graphics, GrowRect(caption, -3, 0, 6, 0), Gdiplus::CombineModeExclude);
    }
    if (rounded_) {
        DrawRoundRect(graphics, body, 6, borderColor_);
    } else {
        UniquePen pen = MakePen(borderColor_);
        if (pen) {
            gdip::GdipDrawRectangle(graphics, pen.get(), body.X, body.Y, body.Width - 1,
                                    body.Height - 1);
        }
    }
    ResetClip(graphics);
    if (!caption_.empty()) {
        std::optional<Argb> glow;
        if (effectColor_ != 0) {
            glow = effectColor_;
        }
        DrawTextEffect(graphics, caption, caption_, font_.get(), textColor_, format_.get(),
                       textEffect_, glow);
    }
    if (HasFocus()) {
        DrawBorder(graphics, GrowRect(body, 2, 2, -4, -4), kBorderDashed);
    }
}

} // namespace kodaro::ui
