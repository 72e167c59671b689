// What a control needs from the window it lives in: a place in the control
// tree, the focus, tooltips, repaints. The window host implements it; controls
// see nothing else of the host through this interface.
#pragma once

#include "ui/draw/geometry.h"

#include <windows.h>

namespace kodaro::ui {

class Control;
class HostWindow;

// Window property of a framework window that holds its ControlSite.
inline constexpr wchar_t kHostProperty[] = L"Ex_Wnd_Control";

// A control's place in the tree. The tree writes it; the control reads it.
// Rectangles are in window coordinates, list order is painting order.
struct TreeLinks {
    Control* parent = nullptr;
    Control* firstChild = nullptr;
    Control* lastChild = nullptr;
    Control* previous = nullptr;
    Control* next = nullptr;
};

// What a tooltip tool update does.
enum class TooltipMode { Remove, Add, Rect, Text };

class ControlSite {
public:
    // The site of a framework window (its "Ex_Wnd_Control" property), or null.
    static ControlSite* FromWindow(HWND window);

    virtual HWND Window() const = 0;
    // The host behind this site, for controls that read its look or surfaces.
    virtual HostWindow* Host() = 0;

    // Takes a newly created control into the tree as the last child of
    // parent (or the last top-level control) and returns its links, valid
    // until Release.
    virtual const TreeLinks* Adopt(Control& control, Control* parent) = 0;
    // Moves the control to the front (painted first) or the end of the list
    // of newParent (null: the top-level list).
    virtual void Restack(Control& control, Control* newParent, bool front) = 0;
    // Takes the control out of its sibling list; it stays registered.
    virtual void Unlink(Control& control) = 0;
    // Forgets a destroyed control everywhere (focus, hover, capture, access
    // keys, tooltip, lists) and repaints where it was.
    virtual void Release(Control& control) = 0;

    virtual Control* FocusControl() const = 0;
    // A control being disabled stops being hot; true when it had the focus
    // (which it has lost now).
    virtual bool ReleaseFocusAndHover(Control& control) = 0;
    // Whether state changes cross-fade (false while the frame is built).
    virtual bool ControlFades() const = 0;
    virtual void UpdateTooltip(Control& control, TooltipMode mode) = 0;
    // Queues rect to be composed and presented once the thread is idle.
    virtual void InvalidateLater(const RectF& rect) = 0;

protected:
    ~ControlSite() = default;
};

} // namespace kodaro::ui
