#include "app/symbol/style_images.h"

#include "app/symbol/image_export.h"
#include "runtime/file_io.h"
#include "ui/draw/gdiplus.h"

#include <string>
#include <utility>

namespace kodaro {

namespace {

namespace gdip = Gdiplus::DllExports;

} // namespace

ui::MemoryImage& StyleImages::Slot(StyleSlot slot) {
    switch (slot) {
    case StyleSlot::Logo:
        return logo_;
    case StyleSlot::Foreground:
        return foreground_;
    case StyleSlot::Background:
        break;
    }
    return background_;
}

void StyleImages::Replace(StyleSlot slot, ui::MemoryImage image) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::swap(Slot(slot), image);
    }
    // image now holds the old picture; it goes when this returns.
}

void StyleImages::ReleaseAll() {
    // Declared before the lock, so the pictures are disposed after it is let go.
    ui::MemoryImage logo, foreground, background;
    std::lock_guard<std::mutex> lock(mutex_);
    std::swap(logo_, logo);
    std::swap(foreground_, foreground);
    std::swap(background_, background);
}

StyleImages& ProcessStyleImages() {
    static StyleImages* const images = new StyleImages;
    return *images;
}

std::wstring DefaultLogoPath(std::wstring_view programDirectory) {
    return std::wstring(programDirectory) + L"\\Resource\\Logo.png";
}

void ReloadStyleImage(StyleSlot slot, std::wstring_view path, int side, StyleImages& images) {
    // Reading and decoding happen outside the lock so a render never waits on the disk.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    ui::MemoryImage image;
    if (slot == StyleSlot::Logo) {
        image = ui::LoadImageFromBytes(bytes);
    } else {
        image = ui::LoadImageFromBytes(ScaleImageBytes(bytes, side, side));
    }
    images.Replace(slot, std::move(image));
}

std::vector<std::uint8_t> ScaleImageBytes(std::span<const std::uint8_t> bytes, int width,
                                          int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const ui::MemoryImage source = ui::LoadImageFromBytes(bytes);
    if (!source) {
        return {};
    }
    Gdiplus::PixelFormat format = PixelFormat32bppARGB;
    gdip::GdipGetImagePixelFormat(source.get(), &format);
    // GDI+ cannot draw into an indexed bitmap (palette PNG or GIF pictures);
    // those are scaled into 32-bit ARGB instead of being dropped.
    if ((format & PixelFormatIndexed) != 0 || format == PixelFormatUndefined) {
        format = PixelFormat32bppARGB;
    }
    Gdiplus::GpBitmap* raw = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &raw) != Gdiplus::Ok) {
        return {};
    }
    ui::UniqueBitmap scaled(raw);
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    if (gdip::GdipGetImageGraphicsContext(scaled.get(), &rawGraphics) != Gdiplus::Ok) {
        return {};
    }
    ui::UniqueGraphics graphics(rawGraphics);
    ui::DrawImageRect(graphics.get(), source.get(),
                      ui::MakeRectF(0, 0, static_cast<float>(width), static_cast<float>(height)));
    graphics.reset();
    return ImageToBmpBytes(scaled.get());
}

} // namespace kodaro
