#include "ui/host/compositor.h"

#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/host/control_tree.h"

namespace kodaro::ui {

bool Compositor::Open(HWND window, bool layered) {
    Close();
    window_ = window;
    layered_ = layered;
    windowDc_ = kodaro::WindowDc(window);
    queue_.Init(this);
    return Resize();
}

void Compositor::Close() {
    backBuffer_.Release();
    background_.Release();
    clip_.reset();
    windowDc_.reset();
    pending_.clear();
    queue_.Clear();
    window_ = nullptr;
}

bool Compositor::Resize() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    width_ = outer.right - outer.left;
    height_ = outer.bottom - outer.top;
    const bool back = backBuffer_.Create(windowDc_.get(), width_, height_);
    const bool background = background_.Create(windowDc_.get(), width_, height_);
    return back && background;
}

void Compositor::QueueRect(const RectF& rect, QueueMode mode) {
    queue_.Add(rect, mode);
}

void Compositor::InvalidateLater(const RectF& rect) {
    if (window_ == nullptr || rect.Width <= 0 || rect.Height <= 0) {
        return;
    }
    for (const RectF& pending : pending_) {
        if (pending.Equals(rect)) {
            return;
        }
    }
    if (pending_.empty()) {
        PostMessageW(window_, EXM_INVALIDATE, 0, 0);
    }
    pending_.push_back(rect);
}

void Compositor::FlushPending() {
    std::vector<RectF> rects;
    rects.swap(pending_);
    for (const RectF& rect : rects) {
        queue_.Add(rect, QueueMode::Back, false);
    }
    queue_.Flush();
}

void Compositor::ComposeMoved(const RectF& previous, const RectF& current) {
    if (suspended_) {
        return;
    }
    queue_.Add(previous, QueueMode::Back, false);
    queue_.Add(current, QueueMode::Back);
}

void Compositor::Refresh(bool present) {
    ComposeRect(MakeRectF(0, 0, static_cast<float>(width_), static_cast<float>(height_)), present);
}

void Compositor::ComposeRect(const RectF& rect, bool present) {
    if (suspended_ || !backBuffer_ || !background_) {
        return;
    }
    Gdiplus::GpGraphics* graphics = backBuffer_.graphics();
    const RECT area = EnclosingRect(rect);
    const RectF whole = RectFromRect(area);
    if (clip_) {
        SetClipRegion(graphics, clip_.get(), Gdiplus::CombineModeReplace);
        SetClipRect(graphics, whole, Gdiplus::CombineModeIntersect);
    } else {
        SetClipRect(graphics, whole, Gdiplus::CombineModeReplace);
    }
    gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    BitBlt(backBuffer_.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           background_.dc(), area.left, area.top, SRCCOPY);
    PaintControls(tree_.First(), whole);
    ResetClip(graphics);
    gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    if (present) {
        PresentRect(whole);
    }
}

void Compositor::PaintControls(Control* first, const RectF& dirty) {
    for (Control* control = first; control != nullptr; control = control->NextSibling()) {
        if (control->Visible() && RectsIntersect(control->Rect(), dirty)) {
            const HeldControl held = tree_.Hold(control);
            PaintControl(control, dirty);
            // A control that went away while drawing leaves the rest of this
            // pass to the repaint its removal queued.
            if (!tree_.Alive(held)) {
                return;
            }
        }
    }
}

void Compositor::PaintControl(Control* control, const RectF& dirty) {
    Gdiplus::GpGraphics* graphics = backBuffer_.graphics();
    const RectF rect = control->Rect();
    if (control->Disabled()) {
        DrawImageAlpha(graphics, control->Bitmap(), rect, control->Opacity());
    } else {
        DrawRecord record{graphics, control->Bitmap(), control->PreviousBitmap(), rect};
        if (DispatchControlMessage(control, EXM_DRAW, 0, reinterpret_cast<LPARAM>(&record)) <= 0) {
            if (control->PreviousBitmap() != nullptr) {
                DrawImageAlpha(graphics, control->PreviousBitmap(), rect,
                               control->Opacity() - control->FadeLevel());
            }
            DrawImageAlpha(graphics, control->Bitmap(), rect, control->FadeLevel());
        }
    }
    if (control->FirstChild() != nullptr) {
        Gdiplus::GpRegion* saved = nullptr;
        gdip::GdipCreateRegion(&saved);
        UniqueRegion clip(saved);
        gdip::GdipGetClip(graphics, clip.get());
        SetClipRect(graphics, rect, Gdiplus::CombineModeIntersect);
        PaintControls(control->FirstChild(), dirty);
        SetClipRegion(graphics, clip.get(), Gdiplus::CombineModeReplace);
    }
}

void Compositor::Present(const std::optional<RectF>& rect) {
    if (!backBuffer_) {
        return;
    }
    gdip::GdipFlush(backBuffer_.graphics(), Gdiplus::FlushIntentionSync);
    PresentRect(
        rect.value_or(MakeRectF(0, 0, static_cast<float>(width_), static_cast<float>(height_))));
}

void Compositor::PresentRect(const RectF& rect) {
    if (layered_) {
        PresentLayered(backBuffer_.dc(), 255);
        return;
    }
    const RECT area = EnclosingRect(rect);
    BitBlt(windowDc_.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           backBuffer_.dc(), area.left, area.top, SRCCOPY);
}

void Compositor::PresentLayered(HDC source, BYTE alpha) const {
    SIZE size{width_, height_};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    UpdateLayeredWindow(window_, nullptr, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
}

} // namespace kodaro::ui
