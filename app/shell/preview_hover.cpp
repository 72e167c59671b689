#include "app/shell/preview_hover.h"

#include <windowsx.h>

namespace kodaro {

namespace {
constexpr double kTolerance = 1e-7;
}

bool InsideHoverRect(double x, double y, const HoverRect& rect) {
    const double left = rect.x;
    const double top = rect.y;
    const double right = left + static_cast<double>(rect.width);
    const double bottom = top + static_cast<double>(rect.height);
    return x - left > -kTolerance && y - top > -kTolerance && right - x > kTolerance &&
           bottom - y > kTolerance;
}

bool PreviewHovered(LPARAM mousePosition) {
    return InsideHoverRect(GET_X_LPARAM(mousePosition), GET_Y_LPARAM(mousePosition),
                           kPreviewHoverRect);
}

} // namespace kodaro
