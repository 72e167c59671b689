#include "ui/host/present_queue.h"

#include "ui/host/compositor.h"

namespace kodaro::ui {

void PresentQueue::Add(const RectF& rect, QueueMode mode, bool flush) {
    if (compositor_ == nullptr) {
        return;
    }
    if (mode == QueueMode::Now) {
        compositor_->ComposeRect(rect, true);
        return;
    }
    if (rect.Width > 0 && rect.Height > 0) {
        if (mode == QueueMode::Front) {
            rects_.push_front(rect);
        } else {
            rects_.push_back(rect);
        }
    }
    if (flush && !busy_) {
        Flush();
    }
}

void PresentQueue::Flush() {
    if (compositor_ == nullptr || busy_) {
        return;
    }
    busy_ = true;
    const bool layered = compositor_->Layered();
    bool composed = false;
    while (!rects_.empty()) {
        const RectF rect = rects_.front();
        rects_.pop_front();
        compositor_->ComposeRect(rect, !layered);
        composed = true;
    }
    // A layered window is always pushed whole, so once for the whole batch.
    if (layered && composed && !compositor_->Suspended()) {
        compositor_->Present();
    }
    busy_ = false;
}

} // namespace kodaro::ui
