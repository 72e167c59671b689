#pragma once
// Off-screen surfaces: the window back buffer (a 32-bit DIB section in a
// memory DC with a GDI+ Graphics over it) and the per-control ARGB bitmap.
// Every Graphics made here uses the framework's standard rendering settings.

#include "ui/draw/color.h"
#include "ui/draw/gdiplus.h"

#include <cstdint>

namespace kodaro::ui {

// Anti-aliased smoothing and anti-aliased, grid-fitted text.
void ApplyStandardSettings(Gdiplus::GpGraphics* graphics);
// A Graphics on dc with the standard settings; null on failure.
UniqueGraphics GraphicsFromHdc(HDC dc);

// A memory DC compatible with a reference DC, holding a 32 bpp bottom-up DIB
// section (BI_RGB) selected in place of the DC's previous bitmap. Movable;
// destruction selects the previous bitmap back and deletes DIB and DC.
class DibSurface {
public:
    DibSurface() = default;
    ~DibSurface() { Release(); }
    DibSurface(DibSurface&& other) noexcept;
    DibSurface& operator=(DibSurface&& other) noexcept;
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    // Releases what it held, then makes a width x height surface (reference
    // may be null: the screen). False, holding nothing, on failure or a
    // size below 1 x 1.
    [[nodiscard]] bool Create(HDC reference, int width, int height);
    void Release();

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return dib_; }
    int width() const { return width_; }
    int height() const { return height_; }
    explicit operator bool() const { return dc_ != nullptr; }

    // Pixel at (x, y), y counted from the top, as 0xAARRGGBB (premultiplied
    // as stored); 0 outside the surface. Flushes pending GDI drawing first.
    std::uint32_t PixelAt(int x, int y) const;
    // Row-major pixels as stored in the DIB (bottom row first).
    std::uint32_t* bits() const { return bits_; }

private:
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The window's back buffer: a DibSurface plus a GDI+ Graphics on its DC.
class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { Release(); }
    BackBuffer(BackBuffer&& other) noexcept = default;
    BackBuffer& operator=(BackBuffer&& other) noexcept;
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Drops the previous Graphics and surface, then makes new ones.
    [[nodiscard]] bool Create(HDC reference, int width, int height);
    // Graphics first, then the surface.
    void Release();

    HDC dc() const { return surface_.dc(); }
    HBITMAP bitmap() const { return surface_.bitmap(); }
    Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }
    int width() const { return surface_.width(); }
    int height() const { return surface_.height(); }
    explicit operator bool() const { return graphics_ != nullptr; }
    const DibSurface& surface() const { return surface_; }

    // As DibSurface::PixelAt, after flushing the Graphics.
    std::uint32_t PixelAt(int x, int y) const;

private:
    DibSurface surface_;
    UniqueGraphics graphics_;
};

// A control's own picture: a 32 bpp ARGB GDI+ bitmap and its Graphics.
class ControlSurface {
public:
    ControlSurface() = default;
    ControlSurface(ControlSurface&& other) noexcept = default;
    ControlSurface& operator=(ControlSurface&& other) noexcept;
    ControlSurface(const ControlSurface&) = delete;
    ControlSurface& operator=(const ControlSurface&) = delete;
    ~ControlSurface() { Release(); }

    // Releases what it held, then makes a width x height transparent bitmap.
    // False, holding nothing, on failure or a size below 1 x 1.
    [[nodiscard]] bool Create(int width, int height);
    // Graphics first, then the bitmap.
    void Release();

    Gdiplus::GpBitmap* bitmap() const { return bitmap_.get(); }
    Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    explicit operator bool() const { return graphics_ != nullptr; }

    // Fills the whole bitmap with colour (default transparent).
    void Clear(Argb color = 0);

private:
    UniqueGraphics graphics_;
    UniqueBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace kodaro::ui
