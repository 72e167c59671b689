// The base of every windowless framework control.
//
// A Control lives in the control tree of one HostWindow, owns a 32 bpp ARGB
// surface into which it paints itself, and receives window-style messages
// through the virtual OnMessage. The host composes the surfaces of all
// controls into its back buffer in tree order (earlier siblings underneath,
// children clipped to their parent), hit-tests the tree topmost first, and
// turns mouse and keyboard input into control messages and application events.
//
// Ownership: the application (or a parent object) owns Control objects; the
// tree only links them. Destroying the host window destroys every control of
// it (they become "not created" and can be created again); destroying a
// Control object takes it and its subtree out of the tree.
//
// Threads: a control is touched only on its host window's thread. Another
// thread reaches it only through Send/Post, which run the message in the host's
// window procedure. Send, Post, Redraw and Invalidate may be called from any
// thread, also while the UI thread destroys the control: the message then
// finds no control and is dropped.
//
// Posted work (Post, timers) names the control by its Id(), which is never
// reused, so it cannot reach a destroyed control or a newer one that happens to
// live at the same address.
//
// Writing a control class:
//   class Swatch : public Control {
//   public:
//       bool Create(HostWindow& host, const RectF& rect) { return CreateBase(host, rect, 16); }
//   protected:
//       void Paint(Gdiplus::GpGraphics* g, int w, int h) override { ...draw... }
//       LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
//           if (msg == EXM_CLICK) { ...; return 0; }
//           return kNotHandled;
//       }
//   };
// Setters of visual properties store the value and call Redraw().
#pragma once

#include "ui/control/control_site.h"
#include "ui/control/messages.h"
#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kodaro::ui {

class Control;

// Control kind codes, handed to the application with every control event.
enum ControlKind : int {
    kKindNone = 0,
    kKindCaptionButton = 1, // never takes the focus
    kKindPushButton = 2,
    kKindLabel = 3,
    kKindPictureBox = 4,
    kKindTabButton = 7,
    kKindListView = 8,
    kKindEditBox = 9,
    kKindRadioButton = 11,
    kKindProgressBar = 12,
    kKindComboBox = 15,
    kKindPanel = 16,
    kKindScrollBar = 19,
    kKindMenuItem = 20,
};

// Cross-fade interval of buttons, caption buttons and scroll bars.
inline constexpr UINT kButtonFadeInterval = 60;
// Fade level added on every fade timer tick.
inline constexpr int kFadeStep = 51;

// lParam of EXM_DRAW: what the host would draw for the control.
struct DrawRecord {
    Gdiplus::GpGraphics* graphics; // the back buffer's graphics
    Gdiplus::GpBitmap* bitmap;     // the control's surface
    Gdiplus::GpBitmap* previous;   // previous-state bitmap of a cross-fade, or null
    RectF rect;                    // the control's rectangle
};

// A control's handle: unique for each creation over the life of the process
// and never reused; 0 for a control that is not created. It is also the
// control's timer id on its host window.
using ControlId = UINT_PTR;

// The message a control's Send or Post carries to the host window (lParam of
// EXM_MARSHAL). A posted record lives on the heap and the host deletes it.
struct MarshalRecord {
    ControlId control;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool heap;
};

// Handlers of per-control subscriptions. A control with a parent calls the
// five-argument form with the parent first; a top-level control calls the
// four-argument form. A handler of the other form still gets consistent
// arguments: the four-argument form always receives the control itself, the
// five-argument form receives a null parent for a top-level control.
using ControlHandler4 = std::function<void(Control* control, UINT message, WPARAM, LPARAM)>;
using ControlHandler5 =
    std::function<void(Control* parent, Control* control, UINT message, WPARAM, LPARAM)>;

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // --- creation and the tree -------------------------------------------

    // Creates the control as the last top-level control of a framework window
    // (given as the HWND carrying a HostWindow, or the host itself), or as the
    // last child of a created parent control. A control created before is
    // first taken out of its list. Makes the surface at the rectangle's size,
    // then sends WM_CREATE and WM_PAINT. False (and nothing linked) when the
    // window has no host or the parent is not created on its window's host.
    bool CreateBase(HWND window, const RectF& rect, int kind, bool visible = true,
                    bool focusable = true, HCURSOR cursor = nullptr, UINT fadeInterval = 0);
    bool CreateBase(ControlSite& host, const RectF& rect, int kind, bool visible = true,
                    bool focusable = true, HCURSOR cursor = nullptr, UINT fadeInterval = 0);
    bool CreateBase(Control& parent, const RectF& rect, int kind, bool visible = true,
                    bool focusable = true, HCURSOR cursor = nullptr, UINT fadeInterval = 0);

    // Destroys the subtree (children first), kills the control's timer, sends
    // WM_DESTROY, frees the surfaces and subscriptions and takes the control
    // out of its list. The object may be created again afterwards. Destroying
    // the object does the same, except that WM_DESTROY and its subscribers are
    // skipped when the class's own part is already gone: a class keeps what it
    // owns in members that free themselves, and handles WM_DESTROY only to
    // reset its state.
    void Destroy();

    bool Created() const { return site_ != nullptr; }
    // The control's handle for this creation (0 when not created).
    ControlId Id() const { return id_; }
    Control* Handle() { return site_ ? this : nullptr; }
    // The id of the control's timer on the host window (its Id()).
    UINT_PTR TimerId() const { return id_; }
    HWND Window() const { return window_; }
    // The host window the control lives in, or null.
    HostWindow* Host() const { return site_ ? site_->Host() : nullptr; }
    ControlSite* Site() const { return site_; }
    Control* Parent() const { return links_ ? links_->parent : nullptr; }
    Control* FirstChild() const { return links_ ? links_->firstChild : nullptr; }
    Control* LastChild() const { return links_ ? links_->lastChild : nullptr; }
    Control* PreviousSibling() const { return links_ ? links_->previous : nullptr; }
    Control* NextSibling() const { return links_ ? links_->next : nullptr; }

    // Moves the control to the end of the children of newParent, or of the
    // top-level list when newParent is null; then invalidates.
    void Reparent(Control* newParent);
    // position 2: first of its list (painted underneath); any other: last
    // (painted on top). Invalidates unless redraw is false.
    void ZOrder(int position, bool redraw = true);
    // Removes the control from its sibling list, repairing the links.
    void Unlink();

    int Kind() const { return kind_; }
    void Kind(int kind) { kind_ = kind; }

    // --- geometry ---------------------------------------------------------

    RectF Rect() const { return rect_; }
    void Rect(const RectF& rect) { Move(rect.X, rect.Y, rect.Width, rect.Height); }
    RectF PreviousRect() const { return previousRect_; }
    float X() const { return rect_.X; }
    void X(float value) { Move(value); }
    float Y() const { return rect_.Y; }
    void Y(float value) { Move(std::nullopt, value); }
    float Width() const { return rect_.Width; }
    void Width(float value) { Move(std::nullopt, std::nullopt, value); }
    float Height() const { return rect_.Height; }
    void Height(float value) { Move(std::nullopt, std::nullopt, std::nullopt, value); }

    // Moves and/or resizes (window coordinates); values not given stay. A new
    // position shifts every descendant by the same distance; a new size gives
    // a new blank surface, EXM_SIZE and WM_PAINT. The host then repaints the
    // old and the new rectangle unless redraw is false.
    void Move(std::optional<float> x = std::nullopt, std::optional<float> y = std::nullopt,
              std::optional<float> width = std::nullopt, std::optional<float> height = std::nullopt,
              bool redraw = true);

    // --- state ------------------------------------------------------------

    bool Visible() const { return visible_; }
    void Visible(bool value);
    // A disabled control loses the focus, is drawn at half its opacity, is
    // skipped by hit testing and passed over by Tab.
    bool Disabled() const { return disabled_; }
    void Disabled(bool value);
    bool Focusable() const { return focusable_; }
    void Focusable(bool value) { focusable_ = value; }
    // Whether Tab stops at this focusable control. The members of a group
    // (radio buttons) are one stop together.
    virtual bool TabStop() const { return true; }
    // The member of this control's group the arrow keys move to (forward:
    // right or down), or null outside a group.
    virtual Control* GroupNeighbour(bool) const { return nullptr; }
    // EXM_QUERYFOCUS answer when the class gives one, else whether the host's
    // focus control is this control.
    bool HasFocus();

    // Overall opacity 0..255. Setting it also sets the fade level, sends
    // EXM_ALPHACHANGED and invalidates unless redraw is false.
    int Opacity() const { return opacity_; }
    void Opacity(int value, bool redraw = true);

    // Cross-fade between visual states. A class starting a fade calls
    // BeginCrossFade() (keeps a copy of the current look), repaints its
    // surface and sets FadeLevel(0). The host then composes the control and,
    // with a fade interval, raises the level by 51 on every tick of a timer
    // (id = TimerId()) until it reaches the opacity, when the copy is dropped.
    // Without a copy the control simply fades in. Hidden or disabled controls,
    // a zero interval or a host with fades off take the end state at once.
    int FadeLevel() const { return fadeLevel_; }
    void FadeLevel(int value);
    UINT FadeInterval() const { return fadeInterval_; }
    void FadeInterval(UINT value) { fadeInterval_ = value; }
    void BeginCrossFade();
    // Whether a fade is running (the level still rising on the timer).
    bool CrossFading() const { return timerRunning_; }

    // Cursor shown over the control; null means the window's cursor.
    HCURSOR Cursor() const { return cursor_; }
    void Cursor(HCURSOR cursor) { cursor_ = cursor; }

    const std::wstring& Name() const { return name_; }
    void Name(std::wstring value) { name_ = std::move(value); }

    // Tooltip text; with apply (default) the host's tooltip tool follows.
    const std::wstring& Tooltip() const { return tooltip_; }
    void Tooltip(std::wstring text, bool apply = true);
    // Has the host add, update or (empty text) remove this control's tool.
    void ApplyTooltip();

    // --- painting ---------------------------------------------------------

    // Asks the class to repaint its surface (WM_PAINT through Send), then
    // invalidates.
    void Redraw();
    // Has the host compose and present this control's rectangle.
    void Invalidate();

    Gdiplus::GpBitmap* Bitmap() const { return surface_.bitmap(); }
    Gdiplus::GpGraphics* Graphics() const { return surface_.graphics(); }
    Gdiplus::GpBitmap* PreviousBitmap() const { return previousBitmap_.get(); }
    ControlSurface& Surface() { return surface_; }

    // --- messages ---------------------------------------------------------

    // Runs the message on the host window's thread and returns its result;
    // 0 when the control is not created.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message to the host window's thread; false when it could not
    // be queued.
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Adds a handler for message, replacing an earlier one for the same
    // message. It runs after the class's OnMessage; its result is ignored.
    void Subscribe(UINT message, ControlHandler4 handler);
    void Subscribe(UINT message, ControlHandler5 handler);

    // OnMessage of the class (with the base's own handling of WM_PAINT and
    // the fade timer), then the subscribed handler. 0 for a null control.
    friend LRESULT DispatchControlMessage(Control* control, UINT message, WPARAM wParam,
                                          LPARAM lParam);

protected:
    // The class's message procedure: kNotHandled (-1) when it does not handle
    // the message. WM_PAINT arrives with wParam = bitmap and lParam = graphics.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called for WM_PAINT when OnMessage did not handle it, on the surface
    // cleared to transparent. The base invalidates the control afterwards.
    virtual void Paint(Gdiplus::GpGraphics* graphics, int width, int height);

private:
    bool Link(ControlSite* site, HWND window, Control* parent, const RectF& rect, int kind,
              bool visible, bool focusable, HCURSOR cursor, UINT fadeInterval);
    void ShiftDescendants(float dx, float dy);
    void TearDown(bool notify);
    void StopFade();
    // Window and id as another thread may read them.
    struct Address {
        HWND window;
        ControlId id;
    };
    Address SnapshotAddress() const;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    struct Subscription {
        UINT message;
        ControlHandler4 four;
        ControlHandler5 five;
    };

    // Written on the UI thread under addressLock_, read by other threads under it.
    mutable std::mutex addressLock_;
    HWND window_ = nullptr;
    ControlId id_ = 0;
    ControlSite* site_ = nullptr;
    // Owned by the tree while the control is created.
    const TreeLinks* links_ = nullptr;
    bool visible_ = true;
    bool disabled_ = false;
    bool focusable_ = true;
    bool timerRunning_ = false;
    bool tearingDown_ = false;
    HCURSOR cursor_ = nullptr;
    std::vector<Subscription> subscriptions_;
    RectF rect_{};
    RectF previousRect_{};
    std::wstring tooltip_;
    std::wstring name_;
    int kind_ = kKindNone;
    int fadeLevel_ = 255;
    int opacity_ = 255;
    UINT fadeInterval_ = 0;
    ControlSurface surface_;
    UniqueBitmap previousBitmap_;
};

LRESULT DispatchControlMessage(Control* control, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace kodaro::ui
