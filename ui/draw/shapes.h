#pragma once
// Pens, lines, fills, gradients, rounded rectangles, borders, regions and
// clipping. Temporary GDI+ objects live only inside each call.

#include "ui/draw/color.h"
#include "ui/draw/geometry.h"

#include <optional>

namespace kodaro::ui {

UniquePen MakePen(Argb color, float width = 1.0f, Gdiplus::Unit unit = Gdiplus::UnitWorld);

void DrawLine(Gdiplus::GpGraphics* graphics, Argb color, float x1, float y1, float x2, float y2,
              float width = 1.0f);

// Fills (x, y, width - 1, height - 1): a 10 x 10 rectangle colours 9 x 9 pixels.
void FillRectangle(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color);

// Fills the path (nothing for a null path).
void FillPath(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path, Argb color);

// Linear gradient from colour1 to colour2 over the same area as FillRectangle;
// mode is a Gdiplus::LinearGradientMode (1, vertical: colour1 at the top).
void FillGradient(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color1, Argb color2,
                  int mode = Gdiplus::LinearGradientModeVertical);

// Closed path of four 90-degree arcs of diameter d in the corners of rect
// (the right and bottom arcs end 1 pixel inside the far edges).
UniquePath RoundRectPath(const RectF& rect, float diameter,
                         Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate);

void DrawRoundRect(Gdiplus::GpGraphics* graphics, const RectF& rect, float diameter, Argb color,
                   Gdiplus::DashStyle dashStyle = Gdiplus::DashStyleSolid, float width = 1.0f);
// Fills the RoundRectPath of rect.
void FillRoundRect(Gdiplus::GpGraphics* graphics, const RectF& rect, float diameter, Argb color);

inline constexpr int kBorderNone = 0;
inline constexpr int kBorderSunken = 1;
inline constexpr int kBorderRaised = 2;
inline constexpr int kBorderFlat = 3;
inline constexpr int kBorderDashed = 4;

// Draws border style 1..4 around rect; 0 and unknown styles draw nothing. The
// colour is used by the flat (default 0xFE646464) and dashed (default black
// at alpha 120) styles.
void DrawBorder(Gdiplus::GpGraphics* graphics, const RectF& rect, int style,
                std::optional<Argb> color = std::nullopt, float width = 1.0f);

// CreateRoundRectRgn (inset, inset, width - inset + 1, height - inset + 1, d, d);
// null on failure. Release it when SetWindowRgn takes it over.
UniqueHrgn CreateWindowRegion(int width, int height, int inset, int cornerDiameter = 0);
UniqueRegion RegionFromHrgn(HRGN region);

void SetClipRegion(Gdiplus::GpGraphics* graphics, Gdiplus::GpRegion* region,
                   Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
void SetClipRect(Gdiplus::GpGraphics* graphics, const RectF& rect,
                 Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
void ResetClip(Gdiplus::GpGraphics* graphics);
// Empty rectangle for a null graphics.
RectF VisibleClipBounds(Gdiplus::GpGraphics* graphics);

} // namespace kodaro::ui
