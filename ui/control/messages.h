// Private messages of the UI framework. They travel both as window messages to
// a host window and as control messages to a control's OnMessage; the values
// are fixed because controls, popups and the application all agree on them.
#pragma once

#include <windows.h>

namespace kodaro::ui {

// To a control: it became the focus control (lParam = previous focus control).
// To a host window: lParam = control to focus.
constexpr UINT EXM_SETFOCUS = 0x2800;
// The control stopped being the focus control (lParam = new focus control).
constexpr UINT EXM_KILLFOCUS = 0x2801;
// The mouse moved onto the control (lParam = previous hot control).
constexpr UINT EXM_MOUSEENTER = 0x2802;
// The mouse left the control, or it became disabled (lParam = new hot control).
constexpr UINT EXM_MOUSELEAVE = 0x2803;
// A click, Enter/Space on the focus control, or its access key.
constexpr UINT EXM_CLICK = 0x2804;
// The control's size changed and its surface was recreated (width, height).
constexpr UINT EXM_SIZE = 0x2805;
// Visible became false / true.
constexpr UINT EXM_HIDDEN = 0x2806;
constexpr UINT EXM_SHOWN = 0x2807;
// During composition, before the default drawing; lParam = DrawRecord*.
// A result > 0 means the control drew itself.
constexpr UINT EXM_DRAW = 0x2808;
// Left button pressed on the control; any result other than -1 accepts it.
constexpr UINT EXM_QUERYPRESS = 0x280A;
// To a host window: wParam = control, lParam = its access-key character.
constexpr UINT EXM_ACCESSKEY = 0x280B;
// To a host window: push the whole back buffer to the screen.
constexpr UINT EXM_PRESENT = 0x280D;
// Disabled changed (lParam 1 disabled, 0 enabled); -1 asks for the default
// opacity change.
constexpr UINT EXM_ENABLECHANGED = 0x280E;
// To a host window: wParam = mode, lParam = RectF* to compose and present
// (read during the call: send it, never post a pointer). lParam 0 composes
// what controls invalidated since the last time.
constexpr UINT EXM_INVALIDATE = 0x2810;
// The control was moved or resized. To a host window: wParam = control,
// lParam = 1 to repaint the old and the new rectangle.
constexpr UINT EXM_MOVED = 0x2811;
// List notifications, forwarded by the host to the control in lParam.
constexpr UINT EXM_LISTNOTIFY1 = 0x2812;
constexpr UINT EXM_LISTNOTIFY2 = 0x2813;
// HasFocus asks the control: -1 use the host's focus, 1 yes, other no.
constexpr UINT EXM_QUERYFOCUS = 0x2814;
// The opacity was set (lParam = new opacity).
constexpr UINT EXM_ALPHACHANGED = 0x2815;
// To a host window: wParam = the control's id, lParam = MarshalRecord* (owned
// by the receiver). Runs a control message on the window's thread; an id whose
// control is gone (or was never in this window) is dropped.
constexpr UINT EXM_MARSHAL = 0x2817;

// wParam of the WM_LBUTTONDOWN the host makes from a double click.
constexpr WPARAM kDoubleClickMarker = 10086;

// Control message result meaning "not handled, apply the default".
constexpr LRESULT kNotHandled = -1;

} // namespace kodaro::ui
