#include "ui/draw/shapes.h"

namespace kodaro::ui {

namespace {

UniqueBrush MakeSolidBrush(Argb color) {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gdip::GdipCreateSolidFill(color, &brush) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniqueBrush(brush);
}

void DrawRectangleOutline(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color, float width,
                          Gdiplus::DashStyle dashStyle) {
    const UniquePen pen = MakePen(color, width);
    if (!pen) {
        return;
    }
    gdip::GdipSetPenDashStyle(pen.get(), dashStyle);
    gdip::GdipDrawRectangle(graphics, pen.get(), rect.X, rect.Y, rect.Width - 1, rect.Height - 1);
}

} // namespace

UniquePen MakePen(Argb color, float width, Gdiplus::Unit unit) {
    Gdiplus::GpPen* pen = nullptr;
    if (gdip::GdipCreatePen1(color, width, unit, &pen) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniquePen(pen);
}

void DrawLine(Gdiplus::GpGraphics* graphics, Argb color, float x1, float y1, float x2, float y2,
              float width) {
    if (graphics == nullptr) {
        return;
    }
    const UniquePen pen = MakePen(color, width);
    if (pen) {
        gdip::GdipDrawLine(graphics, pen.get(), x1, y1, x2, y2);
    }
}

void FillRectangle(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color) {
    if (graphics == nullptr) {
        return;
    }
    const UniqueBrush brush = MakeSolidBrush(color);
    if (brush) {
        gdip::GdipFillRectangle(graphics, brush.get(), rect.X, rect.Y, rect.Width - 1,
                                rect.Height - 1);
    }
}

void FillPath(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path, Argb color) {
    const UniqueBrush brush = MakeSolidBrush(color);
    if (path != nullptr && brush) {
        gdip::GdipFillPath(graphics, brush.get(), path);
    }
}

void FillGradient(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color1, Argb color2,
                  int mode) {
    if (graphics == nullptr || rect.Width <= 0 || rect.Height <= 0) {
        return;
    }
    Gdiplus::GpLineGradient* raw = nullptr;
    if (gdip::GdipCreateLineBrushFromRect(&rect, color1, color2,
                                          static_cast<Gdiplus::LinearGradientMode>(mode),
                                          Gdiplus::WrapModeTileFlipXY, &raw) != Gdiplus::Ok) {
        return;
    }
    const UniqueBrush brush(raw);
    gdip::GdipFillRectangle(graphics, brush.get(), rect.X, rect.Y, rect.Width - 1, rect.Height - 1);
}

UniquePath RoundRectPath(const RectF& rect, float diameter, Gdiplus::FillMode fillMode) {
    Gdiplus::GpPath* raw = nullptr;
    if (gdip::GdipCreatePath(fillMode, &raw) != Gdiplus::Ok) {
        return nullptr;
    }
    UniquePath path(raw);
    if (diameter <= 0) {
        // Arcs of no size are refused by some GDI+ versions; the limit is the plain outline.
        gdip::GdipAddPathRectangle(raw, rect.X, rect.Y, rect.Width - 1, rect.Height - 1);
        gdip::GdipClosePathFigure(raw);
        return path;
    }
    const float right = rect.X + rect.Width - diameter - 1;
    const float bottom = rect.Y + rect.Height - diameter - 1;
    gdip::GdipAddPathArc(raw, rect.X, rect.Y, diameter, diameter, 180, 90);
    gdip::GdipAddPathArc(raw, right, rect.Y, diameter, diameter, 270, 90);
    gdip::GdipAddPathArc(raw, right, bottom, diameter, diameter, 0, 90);
    gdip::GdipAddPathArc(raw, rect.X, bottom, diameter, diameter, 90, 90);
    gdip::GdipClosePathFigure(raw);
    return path;
}

void DrawRoundRect(Gdiplus::GpGraphics* graphics, const RectF& rect, float diameter, Argb color,
                   Gdiplus::DashStyle dashStyle, float width) {
    if (graphics == nullptr) {
        return;
    }
    const UniquePath path = RoundRectPath(rect, diameter);
    const UniquePen pen = MakePen(color, width);
    if (!path || !pen) {
        return;
    }
    gdip::GdipSetPenDashStyle(pen.get(), dashStyle);
    gdip::GdipDrawPath(graphics, pen.get(), path.get());
}

void FillRoundRect(Gdiplus::GpGraphics* graphics, const RectF& rect, float diameter, Argb color) {
    if (graphics == nullptr) {
        return;
    }
    const UniquePath path = RoundRectPath(rect, diameter);
    const UniqueBrush brush = MakeSolidBrush(color);
    if (path && brush) {
        gdip::GdipFillPath(graphics, brush.get(), path.get());
    }
}

void DrawBorder(Gdiplus::GpGraphics* graphics, const RectF& rect, int style,
                std::optional<Argb> color, float width) {
    if (graphics == nullptr) {
        return;
    }
    const float left = rect.X;
    const float top = rect.Y;
    const float right = rect.X + rect.Width - 1;
    const float bottom = rect.Y + rect.Height - 1;
    switch (style) {
    case kBorderSunken: {
        const Argb dark = ToArgb(0x000000, 160);
        const Argb light = ToArgb(0xFFFFFF, 245);
        DrawLine(graphics, dark, left, top, right, top, width);
        DrawLine(graphics, dark, left, top, left, bottom, width);
        DrawLine(graphics, light, left, bottom, right, bottom, width / 2);
        DrawLine(graphics, light, right, top, right, bottom, width / 2);
        break;
    }
    case kBorderRaised: {
        const Argb light = ToArgb(0xFFFFFF, 245);
        const Argb dark = ToArgb(0x000000, 168);
        DrawLine(graphics, light, left, top, right, top, width / 2);
        DrawLine(graphics, light, left, top, left, bottom, width / 2);
        // The dark edges sit 2 pixels in from the far sides.
        const float farX = rect.X + rect.Width - 2;
        const float farY = rect.Y + rect.Height - 2;
        DrawLine(graphics, dark, left, farY, right, farY, width);
        DrawLine(graphics, dark, farX, top, farX, bottom, width);
        break;
    }
    case kBorderFlat:
        DrawRectangleOutline(graphics, rect, color.value_or(ToArgb(0x646464, 255)), width,
                             Gdiplus::DashStyleSolid);
        break;
    case kBorderDashed:
        DrawRectangleOutline(graphics, rect, color.value_or(ToArgb(0x000000, 120)), width,
                             Gdiplus::DashStyleDash);
        break;
    default:
        break;
    }
}

UniqueHrgn CreateWindowRegion(int width, int height, int inset, int cornerDiameter) {
    return UniqueHrgn(CreateRoundRectRgn(inset, inset, width - inset + 1, height - inset + 1,
                                         cornerDiameter, cornerDiameter));
}

UniqueRegion RegionFromHrgn(HRGN region) {
    Gdiplus::GpRegion* raw = nullptr;
    if (region == nullptr || gdip::GdipCreateRegionHrgn(region, &raw) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniqueRegion(raw);
}

void SetClipRegion(Gdiplus::GpGraphics* graphics, Gdiplus::GpRegion* region,
                   Gdiplus::CombineMode mode) {
    if (graphics != nullptr && region != nullptr) {
        gdip::GdipSetClipRegion(graphics, region, mode);
    }
}

void SetClipRect(Gdiplus::GpGraphics* graphics, const RectF& rect, Gdiplus::CombineMode mode) {
    if (graphics != nullptr) {
        gdip::GdipSetClipRect(graphics, rect.X, rect.Y, rect.Width, rect.Height, mode);
    }
}

void ResetClip(Gdiplus::GpGraphics* graphics) {
    if (graphics != nullptr) {
        gdip::GdipResetClip(graphics);
    }
}

RectF VisibleClipBounds(Gdiplus::GpGraphics* graphics) {
    RectF bounds;
    if (graphics == nullptr || gdip::GdipGetVisibleClipBounds(graphics, &bounds) != Gdiplus::Ok) {
        return RectF();
    }
    return bounds;
}

} // namespace kodaro::ui
