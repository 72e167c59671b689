#pragma once
// Rectangles as (x, y, width, height) floats in window coordinates, and the
// mouse position packed into a message's lParam.

#include "ui/draw/gdiplus.h"

namespace kodaro::ui {

using RectF = Gdiplus::RectF;

RectF MakeRectF(float x, float y, float width, float height);
// (left, top, right - left, bottom - top).
RectF RectFromRect(const RECT& rect);
// The smallest whole-pixel RECT that covers rect.
RECT EnclosingRect(const RectF& rect);

// Left and top edges are inside, right and bottom edges outside.
bool PointInRect(const RectF& rect, float x, float y);
// Overlap by a positive amount on both axes; shared edges do not count.
bool RectsIntersect(const RectF& a, const RectF& b);
// Adds each delta to x, y, width and height.
RectF GrowRect(const RectF& rect, float dx = 0, float dy = 0, float dw = 0, float dh = 0);

// Signed low and high 16 bits of a mouse message's lParam.
int MouseX(LPARAM lParam);
int MouseY(LPARAM lParam);

} // namespace kodaro::ui
