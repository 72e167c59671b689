// The window host: turns a top-level window into a borderless, self-drawn,
// optionally layered window carrying a tree of windowless controls.
//
// Use:
//   kodaro::ui::FrameworkStartup();
//   HWND hwnd = kodaro::ui::CreateHostWindow({.title = L"Kodaro", .width = 680, .height = 475});
//   kodaro::ui::HostWindow host;
//   host.EventClick = [](HWND, Control* c, WPARAM, LPARAM, int kind) { ... };
//   host.Attach(hwnd, {.opacity = 255});
//   myButton.Create(host, ...);
//   host.SetCloseAnimation(Animation::SlideFromAbove);
//   host.Show(Animation::Grow);
//   kodaro::ui::RunMessageLoop();
//
// The host subclasses the window (SetWindowSubclass) and ties together a few
// owners with one job each: the ControlTree (links, ids, focus, Tab, access
// keys, tooltips), the Compositor (surfaces, clip, dirty rectangles,
// presenting) and the InputRouter (mouse, capture, hover, resize border,
// keys). The frame (frame.cpp) and the transitions (effects.cpp) are its own.
// Controls reach the host only through the ControlSite interface. Everything
// it made is freed on WM_DESTROY (or when the HostWindow object is destroyed
// first).
#pragma once

#include "ui/control/control.h"
#include "ui/draw/color.h"
#include "ui/draw/image.h"
#include "ui/draw/surface.h"
#include "ui/host/compositor.h"
#include "ui/host/control_tree.h"
#include "ui/host/input_router.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace kodaro::ui {

class CaptionButton;
class TitleLabel;

// Registered message a host posts to itself to re-apply its window region.
UINT RegionMessage();

// Frame style bits.
inline constexpr int kFrameIcon = 1;        // window icon at (11, 11)
inline constexpr int kFrameTitle = 2;       // window text in a title label
inline constexpr int kFrameClose = 4;       // close button
inline constexpr int kFrameMaximise = 8;    // maximise/restore button, double-click maximises
inline constexpr int kFrameMinimise = 16;   // minimise button
inline constexpr int kFrameShadow = 512;    // always set: shadow of a layered window
inline constexpr int kFrameStandard = 1024; // icon, title, close (+ max/min from the style)

// Frame looks: square corners, no edge and no blur, or rounded corners (any
// other value also draws rounded corners).
enum class WindowLook : int { Square = 0, Bare = 1, Rounded = 7 };

// How the background image is placed.
enum class BackgroundMode : int { TopLeft = 0, Stretch = 1, Centre = 2 };

// What RenderBackground presents afterwards.
enum class PresentMode : int { None = -1, Whole = 0, Fade = 1 };

// Show and hide animations. Values without a name slide in from the right.
enum class Animation : int {
    None = 0,
    Fade = 1,
    SlideFromAbove = 2,
    SlideFromBelow = 3,
    SlideFromLeft = 4,
    SlideFromRight = 5,
    Grow = 7, // from the middle
};

struct AttachOptions {
    // Encoded image file bytes for the background (copied); empty for none.
    std::span<const std::uint8_t> backgroundImage{};
    // Background colour (ColorRef); by default the image's average colour.
    std::optional<ColorRef> backgroundColor{};
    // Frame style bits; by default kFrameStandard.
    std::optional<int> frameStyle{};
    // -1: not layered (BitBlt). Otherwise the window is layered.
    int opacity = -1;
    BackgroundMode backgroundMode = BackgroundMode::TopLeft;
    WindowLook frameLook = WindowLook::Rounded;
    bool controlFades = true;
    // Default: the window had WS_THICKFRAME.
    std::optional<bool> resizable{};
    bool dragToMove = true;
    bool imageDecoration = true;
    // Default: on where the OS major version is 6 (used only when layered).
    std::optional<bool> blurBehind{};
    // Stretchable centre of the background image (nine-grid), image pixels.
    std::optional<RectF> backgroundCentre{};
    // A framework window whose background image and colour are reused.
    HWND skinSource = nullptr;
};

class HostWindow final : public ControlSite {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // The host of a framework window, or null.
    static HostWindow* FromWindow(HWND window);

    // Attaches to window: frame style, surfaces, subclassing, caption
    // elements, background, tooltip window; presents the whole window. False
    // (nothing changed) for a null or invalid window or one already attached.
    [[nodiscard]] bool Attach(HWND window, const AttachOptions& options = {});
    // The host's own timer id (the fade transition); below every control id.
    static constexpr UINT_PTR TimerId() { return 1; }

    // --- application events ------------------------------------------------
    // Control events get (window, control, wParam, lParam, control kind).
    using ControlEvent = std::function<void(HWND, Control*, WPARAM, LPARAM, int)>;
    // (window, graphics, width, height) while the background is rendered:
    // what it draws on that graphics (the background surface) lies under the
    // controls until the next RenderBackground.
    std::function<void(HWND, Gdiplus::GpGraphics*, int, int)> EventPaint;
    // Called first for every message; a result other than -1 is returned to
    // Windows at once and the message goes no further.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> EventMessage;
    ControlEvent EventLeftDown;
    // Raised before the release is hit-tested: control null, kind 0.
    ControlEvent EventLeftUp;
    ControlEvent EventClick;
    // Second press of a double click (wParam 10086).
    ControlEvent EventDoubleClick;
    ControlEvent EventRightDown;
    ControlEvent EventRightUp;
    ControlEvent EventMouseEnter;
    ControlEvent EventMouseLeave;
    // Focus moved by a mouse press.
    ControlEvent EventFocusGained;
    ControlEvent EventFocusLost;
    // (window, new width, new height).
    std::function<void(HWND, int, int)> EventResized;

    // --- composition ---------------------------------------------------------

    // Queues rect (or composes and presents it at once); the queue is flushed
    // unless a flush is running.
    void QueueRect(const RectF& rect, QueueMode mode = QueueMode::Back);
    // Composes rect from the background and the controls into the back
    // buffer; with present, pushes it to the screen. Nothing while suspended.
    void ComposeRect(const RectF& rect, bool present);
    // Presents rect, or the whole window.
    void Present(const std::optional<RectF>& rect = std::nullopt);
    // Composes the whole window and (by default) presents it.
    void Refresh(bool present = true);
    bool CompositionSuspended() const { return compositor_.Suspended(); }

    // Re-renders the background surface (see the frame notes in frame.cpp):
    // new image bytes (empty: keep the current image), an explicit colour,
    // then what to present.
    void RenderBackground(std::span<const std::uint8_t> image = {},
                          std::optional<ColorRef> color = std::nullopt,
                          PresentMode presentMode = PresentMode::Whole);
    // Stretchable centre of the background image for the next render.
    void BackgroundCentre(const std::optional<RectF>& centre) { backgroundCentre_ = centre; }
    ColorRef BackgroundColor() const { return backgroundColor_; }
    Gdiplus::GpImage* BackgroundImage() const { return backgroundImage_.get(); }
    // Opacity of a running fade transition (0..255), 255 when none runs.
    int TransitionOpacity() const { return transitionOpacity_; }

    // Shows the window, with an animation over duration ms; applies the blur
    // behind where the system offers it.
    void Show(Animation animation = Animation::None, int duration = 200);
    void SetCloseAnimation(Animation kind) { closeAnimation_ = kind; }
    Animation CloseAnimation() const { return closeAnimation_; }
    // Shadow colour of a layered window (ColorRef, -1 black).
    void SetShadowColour(std::int64_t color) { shadowColor_ = color; }
    // Blur behind as decided at attach.
    bool BlurBehind() const { return blurBehind_; }

    // --- properties -----------------------------------------------------------

    bool DragToMove() const { return dragToMove_; }
    void DragToMove(bool value) { dragToMove_ = value; }
    WindowLook FrameLook() const { return frameLook_; }
    void FrameLook(WindowLook value) { frameLook_ = value; }
    int FrameStyle() const { return frameStyle_; }
    int Opacity() const { return opacity_; }
    bool Layered() const { return opacity_ != -1; }
    bool Resizable() const { return resizable_; }
    void Resizable(bool value) { resizable_ = value; }
    bool ControlFades() const override { return controlFades_; }
    void ControlFades(bool value) { controlFades_ = value; }
    int Width() const { return compositor_.Width(); }
    int Height() const { return compositor_.Height(); }
    // Default cursor of the window.
    HCURSOR WindowCursor() const { return cursor_; }
    void WindowCursor(HCURSOR cursor) { cursor_ = cursor; }
    // A system cursor id such as IDC_HAND.
    void WindowCursor(const wchar_t* systemId);

    // --- the control tree --------------------------------------------------

    Control* FirstControl() const { return tree_.First(); }
    Control* LastControl() const { return tree_.Last(); }
    Control* FocusControl() const override { return tree_.Focus(); }
    Control* HotControl() const { return input_.Hot(); }
    Control* PressedControl() const { return input_.Pressed(); }
    // The control that took the focus through Tab, or null.
    Control* KeyboardFocusMarker() const { return tree_.KeyboardFocusMarker(); }
    // Topmost visible, enabled control containing (x, y), deepest first.
    Control* HitTest(float x, float y) const { return tree_.HitTest(x, y); }
    // Whether control belongs to this host's tree (the pointer is only
    // compared, never read).
    bool Contains(const Control* control) const { return tree_.Contains(control); }
    // The live control with this id, or null.
    Control* Lookup(ControlId id) const { return tree_.Lookup(id); }
    // Refused for a disabled, hidden, unfocusable or caption-button control.
    // Sends EXM_KILLFOCUS/EXM_SETFOCUS; raises no application events.
    bool SetFocusControl(Control* control, bool keyboard) {
        return tree_.SetFocus(control, keyboard);
    }
    // Adds (or updates) a control's access key; '\0' removes it.
    void RegisterAccessKey(Control* control, wchar_t key) { tree_.RegisterAccessKey(control, key); }
    void UpdateTooltip(Control* control, TooltipMode mode);
    HWND TooltipWindow() const { return tree_.TooltipWindow(); }

    // Caption buttons (close, maximise, minimise in creation order).
    std::vector<Control*> CaptionButtons() const;
    Control* TitleControl() const;
    // Re-positions the title label and caption buttons for the width.
    void LayoutCaption();

    // The back buffer (for tests and benchmarks that read pixels).
    const BackBuffer& Buffer() const { return compositor_.Buffer(); }

    // --- what controls reach through ControlSite ------------------------------
    HWND Window() const override { return window_; }
    HostWindow* Host() override { return this; }
    const TreeLinks* Adopt(Control& control, Control* parent) override;
    void Restack(Control& control, Control* newParent, bool front) override;
    void Unlink(Control& control) override;
    void Release(Control& control) override;
    bool ReleaseFocusAndHover(Control& control) override;
    void UpdateTooltip(Control& control, TooltipMode mode) override;
    void InvalidateLater(const RectF& rect) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void OnSize(WPARAM kind);
    void OnTimer(UINT_PTR id);
    void OnMinMaxInfo(MINMAXINFO* info) const;
    void OnClose();
    void Detach();
    // Frame and effects.
    void BuildFrame();
    void LoadBackground(std::span<const std::uint8_t> image, std::optional<ColorRef> color);
    void DrawFrameEdge(Gdiplus::GpGraphics* graphics) const;
    void DrawShadow(Gdiplus::GpGraphics* graphics) const;
    void ApplyWindowRegion();
    void TakeSnapshot();
    void StartFadeTransition();
    void FadeTick();
    // False when it could not run (no back buffer or frame surface).
    bool Animate(Animation kind, int duration, bool showing);
    void ApplyBlurBehind();

    HWND window_ = nullptr;
    ControlTree tree_;
    Compositor compositor_{tree_};
    InputRouter input_{*this, tree_};
    HWND skinSource_ = nullptr;
    MemoryImage backgroundImage_;
    std::vector<std::uint8_t> backgroundBytes_;
    ColorRef backgroundColor_ = 0xFFFFFF;
    int frameStyle_ = 0;
    WindowLook frameLook_ = WindowLook::Rounded;
    int opacity_ = -1;
    BackgroundMode backgroundMode_ = BackgroundMode::TopLeft;
    std::int64_t shadowColor_ = -1;
    bool resizable_ = false;
    bool dragToMove_ = true;
    bool imageDecoration_ = true;
    Animation closeAnimation_ = Animation::None;
    bool blurBehind_ = false;
    bool controlFades_ = true;
    HCURSOR cursor_ = nullptr;
    std::optional<RectF> backgroundCentre_;
    DibSurface snapshot_;
    int transitionOpacity_ = 255;
    std::vector<std::unique_ptr<CaptionButton>> captionButtons_;
    std::unique_ptr<TitleLabel> titleLabel_;
    bool detaching_ = false;
    bool restoreAfterHide_ = false;
    bool sizing_ = false;
};

} // namespace kodaro::ui
