// Where the mouse must be for the preview toolbar to show.
#pragma once

#include <windows.h>

namespace kodaro {

struct HoverRect {
    float x;
    float y;
    float width;
    float height;
};

// The preview picture's area: the toolbar shows while the mouse is over it.
inline constexpr HoverRect kPreviewHoverRect{452, 120, 206, 207};

// Half-open test: left and top edges inside, right and bottom edges outside,
// compared in double precision with a tolerance of 1e-7.
bool InsideHoverRect(double x, double y, const HoverRect& rect);

// The test for the position of a WM_MOUSEMOVE (client coordinates in lParam,
// each half sign-extended).
bool PreviewHovered(LPARAM mousePosition);

} // namespace kodaro
