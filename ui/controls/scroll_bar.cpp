#include "ui/controls/scroll_bar.h"

#include "ui/draw/shapes.h"

#include <algorithm>
#include <array>

namespace kodaro::ui {

namespace {

// A held arrow or page click repeats like the system's bars: a pause, then
// steady steps.
constexpr UINT kRepeatDelay = 300;
constexpr UINT kRepeatInterval = 50;

// Looks of the parts (normal, hot, pressed).
constexpr std::array<Argb, 3> kArrowGlyph{0x82000000, 0xB4000000, 0xDC000000};
constexpr std::array<Argb, 3> kArrowBack{0x00FFFFFF, 0x66FFFFFF, 0x28000000};
constexpr std::array<Argb, 3> kThumbTop{0xC8FFFFFF, 0xF0FFFFFF, 0xC8E6E6E6};
constexpr std::array<Argb, 3> kThumbBottom{0xC8DCDCDC, 0xF0E8E8E8, 0xC8C8C8C8};
constexpr Argb kThumbOutline = 0x50000000;
constexpr Argb kTrackFill = 0x14000000;

void FillPolygon(Gdiplus::GpGraphics* graphics, const std::array<Gdiplus::PointF, 3>& points,
                 Argb color) {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gdip::GdipCreateSolidFill(color, &brush) != Gdiplus::Ok) {
        return;
    }
    gdip::GdipFillPolygon(graphics, brush, points.data(), static_cast<INT>(points.size()),
                          Gdiplus::FillModeAlternate);
    gdip::GdipDeleteBrush(brush);
    UniquePen pen = MakePen(color);
    if (pen) {
        gdip::GdipDrawPolygon(graphics, pen.get(), points.data(), static_cast<INT>(points.size()));
    }
}

int LookOf(int part, int hot, int pressed) {
    if (pressed == part) {
        return 2;
    }
    return hot == part ? 1 : 0;
}

} // namespace

ScrollBar::~ScrollBar() {
    StopRepeat();
}

bool ScrollBar::Create(ControlParent parent, float x, float y, float width, float height,
                       bool horizontal, bool visible) {
    if (parent.Host() == nullptr) {
        return false;
    }
    Destroy();
    horizontal_ = horizontal;
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindScrollBar, visible, false,
                           nullptr, kButtonFadeInterval);
}

void ScrollBar::Minimum(int value) {
    minimum_ = value;
    if (position_ < minimum_) {
        position_ = minimum_;
    }
    Redraw();
}

void ScrollBar::Maximum(int value) {
    maximum_ = value;
    position_ = std::max(minimum_, std::min(position_, maximum_));
    Redraw();
}

void ScrollBar::Position(int value) {
    const int clamped = std::max(minimum_, std::min(value, maximum_));
    if (clamped == position_) {
        return;
    }
    position_ = clamped;
    Redraw();
}

int ScrollBar::Length() const {
    return static_cast<int>(horizontal_ ? Width() : Height());
}

int ScrollBar::Thickness() const {
    return static_cast<int>(horizontal_ ? Height() : Width());
}

int ScrollBar::ArrowLength() const {
    return std::max(0, std::min(Thickness(), Length() / 2));
}

int ScrollBar::TrackLength() const {
    return std::max(0, Length() - 2 * ArrowLength());
}

int ScrollBar::ThumbLength() const {
    const int track = TrackLength();
    if (maximum_ <= 0 || track <= 0) {
        return 0;
    }
    const long long exact = static_cast<long long>(track) * track / (track + maximum_);
    return std::min(track, std::max(kMinimumThumb, static_cast<int>(exact)));
}

int ScrollBar::ThumbOffset() const {
    const int range = maximum_ - minimum_;
    if (range <= 0) {
        return 0;
    }
    const long long room = TrackLength() - ThumbLength();
    return static_cast<int>(room * (position_ - minimum_) / range);
}

int ScrollBar::Along(LPARAM lParam) const {
    return horizontal_ ? MouseX(lParam) - static_cast<int>(X())
                       : MouseY(lParam) - static_cast<int>(Y());
}

int ScrollBar::HitPart(int x, int y) const {
    if (!PointInRect(Rect(), static_cast<float>(x), static_cast<float>(y))) {
        return kScrollNone;
    }
    const int along = horizontal_ ? x - static_cast<int>(X()) : y - static_cast<int>(Y());
    const int arrow = ArrowLength();
    if (along < arrow) {
        return kScrollFirstArrow;
    }
    if (along >= Length() - arrow) {
        return kScrollSecondArrow;
    }
    const int thumb = ThumbLength();
    if (thumb == 0) {
        return kScrollNone;
    }
    const int start = arrow + ThumbOffset();
    if (along < start) {
        return kScrollPageBefore;
    }
    return along < start + thumb ? kScrollThumb : kScrollPageAfter;
}

void ScrollBar::Scroll(int value, bool notify) {
    const int before = position_;
    Position(value);
    if (notify && position_ != before) {
        Notify();
    }
}

void ScrollBar::Notify() {
    if (onScroll_) {
        ScrollHandler handler = onScroll_;
        handler(*this, position_);
    }
}

void ScrollBar::ChangeLook(int hotPart, int fadeFrom) {
    hot_ = hotPart;
    if (!Created()) {
        return;
    }
    if (fadeFrom < 255) {
        BeginCrossFade();
    }
    Redraw();
    FadeLevel(fadeFrom);
}

bool ScrollBar::Step() {
    const int page = pageSize_ > 0 ? pageSize_ : std::max(1, TrackLength());
    switch (pressed_) {
    case kScrollFirstArrow:
        Scroll(position_ - lineStep_);
        return position_ > minimum_;
    case kScrollSecondArrow:
        Scroll(position_ + lineStep_);
        return position_ < maximum_;
    case kScrollPageBefore:
        // Paging stops once the thumb has reached the pressed point.
        if (ArrowLength() + ThumbOffset() <= pressAt_) {
            return false;
        }
        Scroll(position_ - page);
        return position_ > minimum_;
    case kScrollPageAfter:
        if (ArrowLength() + ThumbOffset() + ThumbLength() > pressAt_) {
            return false;
        }
        Scroll(position_ + page);
        return position_ < maximum_;
    default:
        return false;
    }
}

void ScrollBar::StopRepeat() {
    if (repeating_ && Window() != nullptr) {
        KillTimer(Window(), TimerId());
    }
    repeating_ = false;
}

void ScrollBar::Press(LPARAM lParam) {
    const int part = HitPart(MouseX(lParam), MouseY(lParam));
    if (part == kScrollNone) {
        return;
    }
    pressed_ = part;
    pressAt_ = Along(lParam);
    if (part == kScrollThumb) {
        grab_ = pressAt_ - ArrowLength() - ThumbOffset();
        positionMovedInDrag_ = false;
        ChangeLook(part, kFadeStep);
        return;
    }
    // The repeat timer shares the control's timer id with the cross-fade, so
    // the pressed look shows at once and the timer is left to the repeat.
    ChangeLook(part, 255);
    if (Step() && Window() != nullptr) {
        repeating_ = SetTimer(Window(), TimerId(), kRepeatDelay, nullptr) != 0;
        firstRepeat_ = true;
    }
}

void ScrollBar::Drag(LPARAM lParam) {
    const int room = TrackLength() - ThumbLength();
    const int range = maximum_ - minimum_;
    if (room <= 0 || range <= 0) {
        return;
    }
    const int offset = std::max(0, std::min(Along(lParam) - ArrowLength() - grab_, room));
    const int value =
        minimum_ + static_cast<int>((static_cast<long long>(offset) * range + room / 2) / room);
    const int before = position_;
    Scroll(value, (style_ & kScrollLiveTracking) != 0);
    positionMovedInDrag_ = positionMovedInDrag_ || position_ != before;
}

void ScrollBar::Release() {
    StopRepeat();
    const int was = pressed_;
    pressed_ = kScrollNone;
    if (was == kScrollThumb && positionMovedInDrag_ && (style_ & kScrollLiveTracking) == 0) {
        Notify();
    }
    positionMovedInDrag_ = false;
    if (Created()) {
        ChangeLook(hot_, kFadeStep);
    }
}

LRESULT ScrollBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EXM_QUERYPRESS:
        return 1;
    case WM_LBUTTONDOWN:
        Press(lParam);
        return 0;
    case WM_MOUSEMOVE:
        if (pressed_ == kScrollThumb) {
            Drag(lParam);
        } else if (pressed_ == kScrollNone) {
            const int part = HitPart(MouseX(lParam), MouseY(lParam));
            if (part != hot_) {
                ChangeLook(part, kFadeStep);
            }
        }
        return 0;
    case EXM_MOUSEENTER:
        if (pressed_ == kScrollNone) {
            ChangeLook(hot_, kFadeStep);
        }
        return 0;
    case WM_LBUTTONUP:
        Release();
        return 0;
    case EXM_MOUSELEAVE:
        if (pressed_ == kScrollNone) {
            ChangeLook(kScrollNone, kFadeStep);
        }
        return 0;
    case WM_TIMER:
        if (wParam != TimerId() || !repeating_) {
            return kNotHandled;
        }
        if (firstRepeat_) {
            firstRepeat_ = false;
            SetTimer(Window(), TimerId(), kRepeatInterval, nullptr);
        }
        if (!Step()) {
            StopRepeat();
        }
        return 0;
    case WM_DESTROY:
        StopRepeat();
        minimum_ = maximum_ = position_ = 0;
        pressed_ = hot_ = kScrollNone;
        return 0;
    default:
        return kNotHandled;
    }
}

void ScrollBar::PaintArrow(Gdiplus::GpGraphics* graphics, const RectF& box, bool first) {
    const int part = first ? kScrollFirstArrow : kScrollSecondArrow;
    const int look = LookOf(part, hot_, pressed_);
    if (look != 0) {
        FillRoundRect(graphics, GrowRect(box, 1, 1, -2, -2), 4, kArrowBack[look]);
    }
    // A triangle pointing away from the track, a third of the box wide.
    const float cx = box.X + box.Width / 2;
    const float cy = box.Y + box.Height / 2;
    const float half = std::max(2.0f, std::min(box.Width, box.Height) / 4);
    const float depth = half * 0.6f;
    const float dir = first ? -1.0f : 1.0f;
    std::array<Gdiplus::PointF, 3> points;
    if (horizontal_) {
        points = {Gdiplus::PointF(cx + dir * depth, cy),
                  Gdiplus::PointF(cx - dir * depth, cy - half),
                  Gdiplus::PointF(cx - dir * depth, cy + half)};
    } else {
        points = {Gdiplus::PointF(cx, cy + dir * depth),
                  Gdiplus::PointF(cx - half, cy - dir * depth),
                  Gdiplus::PointF(cx + half, cy - dir * depth)};
    }
    FillPolygon(graphics, points, kArrowGlyph[look]);
}

void ScrollBar::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    const auto arrow = static_cast<float>(ArrowLength());
    FillRectangle(graphics, MakeRectF(0, 0, w + 1, h + 1), kTrackFill);
    RectF first = horizontal_ ? MakeRectF(0, 0, arrow, h) : MakeRectF(0, 0, w, arrow);
    RectF second =
        horizontal_ ? MakeRectF(w - arrow, 0, arrow, h) : MakeRectF(0, h - arrow, w, arrow);
    PaintArrow(graphics, first, true);
    PaintArrow(graphics, second, false);

    const int thumb = ThumbLength();
    if (thumb == 0) {
        return;
    }
    const float start = arrow + static_cast<float>(ThumbOffset());
    const auto length = static_cast<float>(thumb);
    RectF box =
        horizontal_ ? MakeRectF(start, 2, length, h - 4) : MakeRectF(2, start, w - 4, length);
    const int look = LookOf(kScrollThumb, hot_, pressed_);
    UniquePath shape = RoundRectPath(box, 5);
    if (shape) {
        gdip::GdipSetClipPath(graphics, shape.get(), Gdiplus::CombineModeReplace);
        FillGradient(graphics, GrowRect(box, 0, 0, 1, 1), kThumbTop[look], kThumbBottom[look],
                     horizontal_ ? Gdiplus::LinearGradientModeVertical
                                 : Gdiplus::LinearGradientModeHorizontal);
        ResetClip(graphics);
    }
    DrawRoundRect(graphics, box, 5, kThumbOutline);
}

} // namespace kodaro::ui
