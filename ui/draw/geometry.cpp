#include "ui/draw/geometry.h"

#include <cmath>

namespace kodaro::ui {

RectF MakeRectF(float x, float y, float width, float height) {
    return RectF(x, y, width, height);
}

RectF RectFromRect(const RECT& rect) {
    return RectF(static_cast<float>(rect.left), static_cast<float>(rect.top),
                 static_cast<float>(rect.right - rect.left),
                 static_cast<float>(rect.bottom - rect.top));
}

RECT EnclosingRect(const RectF& rect) {
    return RECT{static_cast<LONG>(std::floor(rect.X)), static_cast<LONG>(std::floor(rect.Y)),
                static_cast<LONG>(std::ceil(rect.X + rect.Width)),
                static_cast<LONG>(std::ceil(rect.Y + rect.Height))};
}

bool PointInRect(const RectF& rect, float x, float y) {
    return x >= rect.X && y >= rect.Y && x < rect.X + rect.Width && y < rect.Y + rect.Height;
}

bool RectsIntersect(const RectF& a, const RectF& b) {
    const float left = a.X > b.X ? a.X : b.X;
    const float top = a.Y > b.Y ? a.Y : b.Y;
    const float right = (a.X + a.Width) < (b.X + b.Width) ? a.X + a.Width : b.X + b.Width;
    const float bottom = (a.Y + a.Height) < (b.Y + b.Height) ? a.Y + a.Height : b.Y + b.Height;
    return right > left && bottom > top;
}

RectF GrowRect(const RectF& rect, float dx, float dy, float dw, float dh) {
    return RectF(rect.X + dx, rect.Y + dy, rect.Width + dw, rect.Height + dh);
}

int MouseX(LPARAM lParam) {
    return static_cast<short>(static_cast<WORD>(lParam & 0xFFFF));
}

int MouseY(LPARAM lParam) {
    return static_cast<short>(static_cast<WORD>((lParam >> 16) & 0xFFFF));
}

} // namespace kodaro::ui
