// The rectangles a host still has to compose and present. Adding a rectangle
// flushes the queue at once unless a flush is already running (a control
// invalidating itself while being composed), so nothing re-enters a flush.
#pragma once

#include "ui/draw/geometry.h"

#include <deque>

namespace kodaro::ui {

class Compositor;

// Where a rectangle goes: to the back of the queue, composed and presented at
// once, or to the front.
enum class QueueMode : int { Back = 0, Now = 1, Front = 2 };

class PresentQueue {
public:
    void Init(Compositor* compositor) { compositor_ = compositor; }
    void Clear() { rects_.clear(); }
    // Flushes afterwards unless flush is false or a flush is running.
    void Add(const RectF& rect, QueueMode mode, bool flush = true);
    bool IsIdle() const { return !busy_; }
    // Composes every queued rectangle; a layered window is then presented
    // once as a whole, a plain window rectangle by rectangle.
    void Flush();

private:
    Compositor* compositor_ = nullptr;
    std::deque<RectF> rects_;
    bool busy_ = false;
};

} // namespace kodaro::ui
