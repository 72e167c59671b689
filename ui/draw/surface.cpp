#include "ui/draw/surface.h"

#include <utility>

namespace kodaro::ui {

void ApplyStandardSettings(Gdiplus::GpGraphics* graphics) {
    if (graphics == nullptr) {
        return;
    }
    gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
    gdip::GdipSetTextRenderingHint(graphics, Gdiplus::TextRenderingHintAntiAliasGridFit);
}

UniqueGraphics GraphicsFromHdc(HDC dc) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (dc == nullptr || gdip::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) {
        return nullptr;
    }
    ApplyStandardSettings(graphics);
    return UniqueGraphics(graphics);
}

DibSurface::DibSurface(DibSurface&& other) noexcept
    : dc_(std::exchange(other.dc_, nullptr)), dib_(std::exchange(other.dib_, nullptr)),
      previous_(std::exchange(other.previous_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)), width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

DibSurface& DibSurface::operator=(DibSurface&& other) noexcept {
    if (this != &other) {
        Release();
        dc_ = std::exchange(other.dc_, nullptr);
        dib_ = std::exchange(other.dib_, nullptr);
        previous_ = std::exchange(other.previous_, nullptr);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

bool DibSurface::Create(HDC reference, int width, int height) {
    Release();
    if (width < 1 || height < 1) {
        return false;
    }
    UniqueMemoryDc dc(CreateCompatibleDC(reference));
    if (!dc) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    void* bits = nullptr;
    UniqueHbitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || bits == nullptr) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(dc.get(), dib.get());
    if (previous == nullptr || previous == HGDI_ERROR) {
        return false;
    }
    previous_ = previous;
    dib_ = dib.release();
    dc_ = dc.release();
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void DibSurface::Release() {
    if (dc_ != nullptr) {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    if (dib_ != nullptr) {
        DeleteObject(dib_);
    }
    dc_ = nullptr;
    dib_ = nullptr;
    previous_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

std::uint32_t DibSurface::PixelAt(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    GdiFlush();
    return bits_[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

BackBuffer& BackBuffer::operator=(BackBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        graphics_ = std::move(other.graphics_);
        surface_ = std::move(other.surface_);
    }
    return *this;
}

bool BackBuffer::Create(HDC reference, int width, int height) {
    Release();
    if (!surface_.Create(reference, width, height)) {
        return false;
    }
    graphics_ = GraphicsFromHdc(surface_.dc());
    if (!graphics_) {
        surface_.Release();
        return false;
    }
    return true;
}

void BackBuffer::Release() {
    // The Graphics draws into the surface's DC, so it goes first.
    graphics_.reset();
    surface_.Release();
}

std::uint32_t BackBuffer::PixelAt(int x, int y) const {
    if (graphics_) {
        gdip::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
    }
    return surface_.PixelAt(x, y);
}

ControlSurface& ControlSurface::operator=(ControlSurface&& other) noexcept {
    if (this != &other) {
        Release();
        graphics_ = std::move(other.graphics_);
        bitmap_ = std::move(other.bitmap_);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

bool ControlSurface::Create(int width, int height) {
    Release();
    if (width < 1 || height < 1) {
        return false;
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) !=
        Gdiplus::Ok) {
        return false;
    }
    UniqueBitmap ownedBitmap(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gdip::GdipGetImageGraphicsContext(bitmap, &graphics) != Gdiplus::Ok) {
        return false;
    }
    graphics_.reset(graphics);
    bitmap_ = std::move(ownedBitmap);
    width_ = width;
    height_ = height;
    ApplyStandardSettings(graphics);
    Clear();
    return true;
}

void ControlSurface::Release() {
    graphics_.reset();
    bitmap_.reset();
    width_ = 0;
    height_ = 0;
}

void ControlSurface::Clear(Argb color) {
    if (graphics_) {
        gdip::GdipGraphicsClear(graphics_.get(), color);
    }
}

} // namespace kodaro::ui
