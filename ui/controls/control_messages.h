// Control messages the concrete controls add to the framework's own
// (ui/control/messages.h).
#pragma once

#include <windows.h>

namespace kodaro::ui {

// The surface beneath the control changed: controls whose look depends on it
// (auto contrast) repaint.
inline constexpr UINT EXM_BACKGROUNDCHANGED = 0x2816;

// A radio became checked and tells its siblings: wParam = group number,
// lParam = the radio (Control*).
inline constexpr UINT EXM_RADIOGROUP = 0x2809;

} // namespace kodaro::ui
