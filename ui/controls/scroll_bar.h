// A self-drawn scroll bar: two arrow buttons, a track and a thumb whose
// length shows how much of the range one view covers. Lists and edit boxes
// create it as a child and follow its position through OnScroll.
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"

#include <functional>

namespace kodaro::ui {

// Parts of a bar, as PressedPart() and HitPart() report them.
enum ScrollPart : int {
    kScrollNone = 0,
    kScrollFirstArrow = 1,  // up or left
    kScrollSecondArrow = 2, // down or right
    kScrollThumb = 3,
    kScrollPageBefore = 4, // the track before the thumb
    kScrollPageAfter = 5,  // the track after the thumb
};

// Style bit: report the position while the thumb is dragged, not only when it
// is let go.
inline constexpr int kScrollLiveTracking = 1;

// The shortest thumb, in pixels.
inline constexpr int kMinimumThumb = 30;

class ScrollBar : public Control {
public:
    // (bar, new position) after the user moved the bar.
    using ScrollHandler = std::function<void(ScrollBar& bar, int position)>;

    ScrollBar() = default;
    ~ScrollBar() override;

    // Creates the bar (kind 19, not focusable, 60 ms cross-fades); horizontal
    // bars have their arrows left and right.
    bool Create(ControlParent parent, float x, float y, float width, float height,
                bool horizontal = false, bool visible = true);

    int Minimum() const { return minimum_; }
    // Raises the position to at least the new minimum.
    void Minimum(int value);
    int Maximum() const { return maximum_; }
    // Keeps the position between minimum and maximum; a maximum of 0 or less
    // leaves the bar without a thumb.
    void Maximum(int value);
    int Position() const { return position_; }
    // Clamps to the range; repaints when the position changed. The owner is
    // not notified of positions it sets itself.
    void Position(int value);
    int LineStep() const { return lineStep_; }
    void LineStep(int value) { lineStep_ = value > 0 ? value : 1; }
    // The step of a click on the track; 0 means one track length.
    int PageSize() const { return pageSize_; }
    void PageSize(int value) { pageSize_ = value > 0 ? value : 0; }
    int Style() const { return style_; }
    void Style(int value) { style_ = value; }
    bool Horizontal() const { return horizontal_; }

    // The owner's change notification.
    void OnScroll(ScrollHandler handler) { onScroll_ = std::move(handler); }

    int PressedPart() const { return pressed_; }
    // Whether a held arrow or page click is repeating.
    bool Repeating() const { return repeating_; }
    // Length of the track between the arrows, along the bar.
    int TrackLength() const;
    // Thumb length: L x L / (L + maximum) for a track of length L, at least
    // kMinimumThumb and at most L; 0 when the maximum is 0 or less.
    int ThumbLength() const;
    // The thumb's offset from the start of the track.
    int ThumbOffset() const;
    // The part under a point in window coordinates.
    int HitPart(int x, int y) const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    int Length() const;
    int Thickness() const;
    int ArrowLength() const;
    // Along-the-bar coordinate of a window point.
    int Along(LPARAM lParam) const;
    void Press(LPARAM lParam);
    void Release();
    void Drag(LPARAM lParam);
    // One step of the held arrow or page; false when the repeat should stop.
    bool Step();
    void StopRepeat();
    // Sets the position from user input and tells the owner when it changed.
    void Scroll(int value, bool notify = true);
    void Notify();
    void ChangeLook(int hotPart, int fadeFrom);
    void PaintArrow(Gdiplus::GpGraphics* graphics, const RectF& box, bool first);

    int minimum_ = 0;
    int maximum_ = 0;
    int pageSize_ = 0;
    int lineStep_ = 1;
    int style_ = 0;
    bool horizontal_ = false;
    int pressed_ = kScrollNone;
    int hot_ = kScrollNone;
    int position_ = 0;
    // Where the thumb was grabbed, from the thumb's start.
    int grab_ = 0;
    // The pressed point along the bar, where a page repeat stops.
    int pressAt_ = 0;
    bool repeating_ = false;
    bool firstRepeat_ = false;
    bool positionMovedInDrag_ = false;
    ScrollHandler onScroll_;
};

} // namespace kodaro::ui
