// Composition of one host window: the back buffer and the background surface,
// the clip region of the window's shape, the dirty rectangles waiting to be
// composed, and presenting (BitBlt, or UpdateLayeredWindow when layered).
#pragma once

#include "runtime/handles.h"
#include "ui/draw/gdiplus.h"
#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"
#include "ui/host/present_queue.h"

#include <optional>
#include <vector>

namespace kodaro::ui {

class Control;
class ControlTree;

class Compositor {
public:
    explicit Compositor(const ControlTree& tree) : tree_(tree) {}
    ~Compositor() { Close(); }
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // Takes the window's DC and makes both surfaces at the window's size.
    // False when a surface could not be made (a window without area).
    [[nodiscard]] bool Open(HWND window, bool layered);
    // Releases the surfaces, the window DC and whatever is queued.
    void Close();
    // New surfaces at the window's current outer size.
    [[nodiscard]] bool Resize();

    HWND Window() const { return window_; }
    HDC WindowDc() const { return windowDc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Layered() const { return layered_; }
    // While suspended (a transition or animation owns the back buffer)
    // composing and presenting do nothing.
    bool Suspended() const { return suspended_; }
    void Suspend(bool value) { suspended_ = value; }

    const BackBuffer& Buffer() const { return backBuffer_; }
    // The surface the background is rendered into.
    const BackBuffer& Background() const { return background_; }
    // Limits all composition (the rounded window shape); null for none.
    void ClipTo(UniqueRegion region) { clip_ = std::move(region); }

    // mode 1: compose and present at once; 0: queue at the end; 2: queue at
    // the front. The queue is flushed unless a flush is running.
    void QueueRect(const RectF& rect, QueueMode mode);
    // Composes rect from the background and the controls into the back
    // buffer; with present, pushes it to the screen.
    void ComposeRect(const RectF& rect, bool present);
    // Presents rect, or the whole window.
    void Present(const std::optional<RectF>& rect = std::nullopt);
    // Composes the whole window and (by default) presents it.
    void Refresh(bool present = true);
    // Pushes a whole-window picture to a layered window.
    void PresentLayered(HDC source, BYTE alpha) const;
    // Remembers rect for one composition once the thread's queue is idle.
    void InvalidateLater(const RectF& rect);
    // Composes what InvalidateLater gathered.
    void FlushPending();
    // The previous and the current rectangle of a moved control.
    void ComposeMoved(const RectF& previous, const RectF& current);

private:
    void PaintControls(Control* first, const RectF& dirty);
    void PaintControl(Control* control, const RectF& dirty);
    void PresentRect(const RectF& rect);

    const ControlTree& tree_;
    HWND window_ = nullptr;
    kodaro::WindowDc windowDc_;
    int width_ = 0;
    int height_ = 0;
    bool layered_ = false;
    bool suspended_ = false;
    BackBuffer backBuffer_;
    BackBuffer background_;
    UniqueRegion clip_;
    PresentQueue queue_;
    std::vector<RectF> pending_;
};

} // namespace kodaro::ui
