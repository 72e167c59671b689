#include "ui/controls/progress_bar.h"

#include "ui/draw/gdiplus.h"
#include "ui/draw/shapes.h"
#include "ui/host/host_window.h"

#include <algorithm>
#include <cmath>

namespace kodaro::ui {

namespace {

// The shade laid across the track and across the filled part.
constexpr Argb kShadeTop = 0x00000000;
constexpr Argb kTrackShadeBottom = 0x33000000;
constexpr Argb kFillShadeBottom = 0x51000000;

} // namespace

bool ProgressBar::Create(ControlParent parent, float x, float y, float width, float height,
                         const ProgressBarOptions& options) {
    HostWindow* host = parent.Host();
    if (host == nullptr) {
        return false;
    }
    Destroy();
    position_ = options.position;
    minimum_ = options.minimum;
    maximum_ = options.maximum;
    vertical_ = options.vertical;
    startColor_ = options.startColor;
    endColor_ = options.endColor;
    borderColor_ = options.borderColor;
    rounded_ = options.rounded.value_or(host->FrameLook() != WindowLook::Square);
    backgroundColor_ = options.backgroundColor;
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindProgressBar, options.visible,
                           false);
}

void ProgressBar::Position(int value) {
    position_ = value;
    Redraw();
}

void ProgressBar::Colors(std::optional<Argb> start, std::optional<Argb> end) {
    startColor_ = start.value_or(startColor_);
    endColor_ = end.value_or(endColor_);
    Redraw();
}

void ProgressBar::BackgroundColor(Argb value) {
    backgroundColor_ = value;
    Redraw();
}

int ProgressBar::FillLengthFor(float barLength) const {
    // An empty or reversed range would divide by zero; it shows nothing.
    if (maximum_ <= minimum_ || barLength <= 0) {
        return 0;
    }
    const double share = (static_cast<double>(position_) - minimum_) / (maximum_ - minimum_);
    const long length = std::lround(share * barLength);
    return static_cast<int>(std::clamp<long>(length, 0, static_cast<long>(barLength)));
}

void ProgressBar::ClipToBar(Gdiplus::GpGraphics* graphics, const RectF& bar) const {
    if (rounded_) {
        UniquePath clip = RoundRectPath(GrowRect(bar, -1, -1, 2, 2), kProgressCornerDiameter);
        if (clip) {
            gdip::GdipSetClipPath(graphics, clip.get(), Gdiplus::CombineModeReplace);
        }
    } else {
        SetClipRect(graphics, bar);
    }
}

void ProgressBar::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    const RectF bar =
        MakeRectF(2, 2, static_cast<float>(width) - 4, static_cast<float>(height) - 4);
    if (bar.Width <= 0 || bar.Height <= 0) {
        fillLength_ = 0;
        return;
    }
    // The shade runs across the direction of the fill.
    const int across =
        vertical_ ? Gdiplus::LinearGradientModeHorizontal : Gdiplus::LinearGradientModeVertical;
    const int along =
        vertical_ ? Gdiplus::LinearGradientModeVertical : Gdiplus::LinearGradientModeHorizontal;
    if (backgroundColor_ != 0) {
        if (rounded_) {
            FillPath(graphics, RoundRectPath(bar, kProgressCornerDiameter).get(), backgroundColor_);
        } else {
            FillRectangle(graphics, bar, backgroundColor_);
        }
        ClipToBar(graphics, bar);
        FillGradient(graphics, bar, kShadeTop, kTrackShadeBottom, across);
        ResetClip(graphics);
    }

    fillLength_ = FillLengthFor(vertical_ ? bar.Height : bar.Width);
    if (fillLength_ > 0) {
        const float fill = static_cast<float>(fillLength_);
        const RectF filled = vertical_
                                 ? MakeRectF(bar.X, bar.Y + bar.Height - fill, bar.Width, fill)
                                 : MakeRectF(bar.X, bar.Y, fill, bar.Height);
        ClipToBar(graphics, bar);
        // A vertical bar starts at its bottom, where the start colour lies.
        FillGradient(graphics, filled, vertical_ ? endColor_ : startColor_,
                     vertical_ ? startColor_ : endColor_, along);
        FillGradient(graphics, filled, kShadeTop, kFillShadeBottom, across);
        ResetClip(graphics);
    }

    if (rounded_) {
        DrawRoundRect(graphics, bar, kProgressCornerDiameter, borderColor_);
    } else {
        UniquePen pen = MakePen(borderColor_);
        if (pen) {
            gdip::GdipDrawRectangle(graphics, pen.get(), bar.X, bar.Y, bar.Width - 1,
                                    bar.Height - 1);
        }
    }
}

} // namespace kodaro::ui
