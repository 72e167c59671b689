#include "ui/controls/tab_button.h"

#include "ui/draw/shapes.h"

#include <algorithm>

namespace kodaro::ui {
namespace {

// A tab look: outer border (colour, alpha), inner border (colour, alpha), and
// a vertical gradient in one colour from a top alpha to a bottom alpha.
struct TabLook {
    ColorRef outer;
    int outerAlpha;
    ColorRef inner;
    int innerAlpha;
    ColorRef fill;
    int fillTopAlpha;
    int fillBottomAlpha;
};

constexpr TabLook kTabLit{0, 80, 0xFFFFFF, 81, 0xFFFFFF, 102, 10};
constexpr TabLook kTabPlain{0, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0};
constexpr TabLook kTabPressed{0, 80, 0xFFFFFF, 81, 0xFFFFFF, 10, 120};

// Black at alpha 190: the focus mark of a tab.
constexpr Argb kTabFocusColor = 0xBE000000;

void Outline(Gdiplus::GpGraphics* graphics, const RectF& rect, bool rounded, float diameter,
             Argb color, Gdiplus::DashStyle dash = Gdiplus::DashStyleSolid) {
    if (rounded) {
        DrawRoundRect(graphics, rect, diameter, color, dash);
        return;
    }
    UniquePen pen = MakePen(color);
    if (pen) {
        gdip::GdipSetPenDashStyle(pen.get(), dash);
        gdip::GdipDrawRectangle(graphics, pen.get(), rect.X, rect.Y, rect.Width, rect.Height);
    }
}

} // namespace

void TabButton::SetImage(std::span<const std::uint8_t> image, std::optional<int> position,
                         std::optional<int> drawMode, std::optional<int> marginX,
                         std::optional<int> marginY) {
    imageBytes_.assign(image.begin(), image.end());
    image_ = LoadImageFromBytes(imageBytes_);
    position_ = position.value_or(position_);
    drawMode_ = drawMode.value_or(drawMode_);
    marginX_ = marginX.value_or(marginX_);
    marginY_ = marginY.value_or(marginY_);
    Redraw();
}

void TabButton::ImagePosition(int value) {
    position_ = value;
    Redraw();
}

void TabButton::ImageDrawMode(int value) {
    drawMode_ = value;
    Redraw();
}

void TabButton::ImageMarginX(int value) {
    marginX_ = value;
    Redraw();
}

void TabButton::ImageMarginY(int value) {
    marginY_ = value;
    Redraw();
}

void TabButton::Selected(bool value) {
    selected_ = value;
    Redraw();
}

LRESULT TabButton::PreHandle(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CREATE:
        Kind(kKindTabButton);
        drawMode_ = kImageCentred;
        position_ = kImageLeft;
        return kNotHandled;
    case WM_DESTROY:
        marginX_ = 0;
        marginY_ = 0;
        image_.reset();
        imageBytes_.clear();
        return kNotHandled;
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
        // No focused state of its own: the outline is drawn from HasFocus.
        Redraw();
        return 0;
    default:
        return kNotHandled;
    }
}

bool TabButton::PaintBackground(Gdiplus::GpGraphics* graphics, int state) {
    const TabLook& look = state == kButtonHot       ? kTabLit
                          : state == kButtonPressed ? kTabPressed
                          : selected_               ? kTabLit
                                                    : kTabPlain;
    RectF r = MakeRectF(0, 0, Width(), Height());
    if (Rounded()) {
        UniquePath clip = RoundRectPath(r, 11);
        if (clip) {
            gdip::GdipSetClipPath(graphics, clip.get(), Gdiplus::CombineModeReplace);
        }
    }
    r = GrowRect(r, 1, 1, -2, -2);
    FillGradient(graphics, r, ToArgb(look.fill, look.fillTopAlpha),
                 ToArgb(look.fill, look.fillBottomAlpha), Gdiplus::LinearGradientModeVertical);
    ResetClip(graphics);
    Outline(graphics, r, Rounded(), 6, ToArgb(look.outer, look.outerAlpha));
    r = GrowRect(r, 1, 1, -2, -2);
    Outline(graphics, r, Rounded(), 4, ToArgb(look.inner, look.innerAlpha));
    if (HasFocus()) {
        r = GrowRect(r, 1, 1, -2, -2);
        Outline(graphics, r, Rounded(), 4, kTabFocusColor, Gdiplus::DashStyleDash);
    }
    return true;
}

bool TabButton::PaintContent(Gdiplus::GpGraphics* graphics, int state, RectF& caption) {
    Gdiplus::GpImage* image = image_.get();
    if (image == nullptr) {
        return true;
    }
    const float width = Width();
    const float height = Height();
    const float imageWidth = static_cast<float>(ImageWidth(image));
    const float imageHeight = static_cast<float>(ImageHeight(image));
    const float mx = static_cast<float>(marginX_);
    const float my = static_cast<float>(marginY_);
    const float push = state == kButtonPressed ? 1.0f : 0.0f;
    RectF area;
    switch (position_) {
    case kImageRight:
        area = MakeRectF(width - (imageWidth + mx + 8) + push, my + 4 + push, imageWidth + 4,
                         height - my - 8);
        // The caption must not run into the image.
        if (caption.X + caption.Width > area.X - 12) {
            caption.Width = std::max(0.0f, area.X - caption.X);
        }
        break;
    case kImageTop: {
        RectF inset = MakeRectF(3, 3, width - 6, height - 6);
        float top = (inset.Height - (imageHeight + caption.Height)) / 2;
        area = MakeRectF(inset.X + push, inset.Y + top + push, inset.Width, imageHeight);
        caption.Y = area.Y + imageHeight;
        break;
    }
    default:
        area = MakeRectF(mx + 4 + push, my + 4 + push, imageWidth + 4, height - my - 8);
        caption.X = area.X + area.Width + 1;
        break;
    }
    // The image may reach beyond the caption's clip; restore that clip after.
    RectF clip = VisibleClipBounds(graphics);
    ResetClip(graphics);
    if (drawMode_ == kImageStretch) {
        DrawImageRect(graphics, image, area);
    } else {
        DrawImageCentred(graphics, image, area, true);
    }
    SetClipRect(graphics, clip);
    return true;
}

} // namespace kodaro::ui
