#include "app/symbol/symbol_renderer.h"

#include "app/symbol/image_export.h"
#include "app/symbol/locked_pixels.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace kodaro {

namespace {

namespace gdip = Gdiplus::DllExports;

// The largest logo is this share of the side length, on each axis.
constexpr double kLogoShare = 0.22;

// Pixel x of a picture row, or fully transparent outside the picture.
std::uint32_t PicturePixel(const LockedPixels& picture, const std::uint32_t* row, int x) {
    return row != nullptr && x < picture.width() ? row[x] : 0;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// How far the frames reach beyond the logo: the rectangle's 4-pixel pen runs
// 2 pixels out, the rounded frame's last stroke 3 pixels out.
constexpr float kFrameReach = 4.0f;

// The logo centred on a box of the background colour, at most
// trunc(side * 0.22) on each axis, with its frame in the background colour.
// Returns the area it covers.
ui::RectF DrawLogo(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* logo, int width, int height,
                   const SymbolStyle& style) {
    ui::RectF rect =
        LogoPlacement(ui::ImageWidth(logo), ui::ImageHeight(logo), width, height, style.side);
    const ui::Argb color = style.backgroundColor;
    ui::FillRectangle(graphics, rect, color);
    ui::DrawImageRect(graphics, logo, rect);
    const ui::RectF covered =
        style.logoBorder == LogoBorder::None
            ? rect
            : ui::GrowRect(rect, -kFrameReach, -kFrameReach, 2 * kFrameReach, 2 * kFrameReach);
    switch (style.logoBorder) {
    case LogoBorder::Rounded:
        // Three strokes on the logo's edge, then one on each of the next three rings out.
        for (const float diameter : {3.0f, 6.0f, 9.0f}) {
            ui::DrawRoundRect(graphics, rect, diameter, color);
        }
        for (const float diameter : {6.0f, 9.0f, 12.0f}) {
            rect = ui::GrowRect(rect, -1, -1, 2, 2);
            ui::DrawRoundRect(graphics, rect, diameter, color);
        }
        break;
    case LogoBorder::Rectangle:
        ui::DrawBorder(graphics, ui::GrowRect(rect, -2, -2, 4, 4), ui::kBorderFlat, color, 4.0f);
        break;
    case LogoBorder::None:
        break;
    }
    return covered;
}

} // namespace

Gdiplus::GpBitmap* AsBitmap(Gdiplus::GpImage* image) {
    Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
    if (image == nullptr || gdip::GdipGetImageType(image, &type) != Gdiplus::Ok ||
        type != Gdiplus::ImageTypeBitmap) {
        return nullptr;
    }
    return static_cast<Gdiplus::GpBitmap*>(image);
}

bool DrawsLogo(Gdiplus::GpImage* logo, const SymbolStyle& style) {
    return logo != nullptr && FileExists(style.logoPath);
}

ui::RectF LogoPlacement(int logoWidth, int logoHeight, int width, int height, int side) {
    const int limit = static_cast<int>(side * kLogoShare);
    const int w = std::min(logoWidth, limit);
    const int h = std::min(logoHeight, limit);
    return ui::MakeRectF(static_cast<float>((width - w) / 2), static_cast<float>((height - h) / 2),
                         static_cast<float>(w), static_cast<float>(h));
}

bool FillModules(const ModuleSources& sources, Gdiplus::GpBitmap* output) {
    const LockedPixels matrix(sources.matrix, Gdiplus::ImageLockModeRead);
    const LockedPixels target(output, Gdiplus::ImageLockModeWrite);
    if (!matrix.ok() || !target.ok()) {
        return false;
    }
    // A picture that cannot be locked reads as transparent, as pixels outside it do.
    std::optional<LockedPixels> foreground;
    std::optional<LockedPixels> background;
    if (sources.foreground != nullptr) {
        foreground.emplace(sources.foreground, Gdiplus::ImageLockModeRead);
    }
    if (sources.background != nullptr) {
        background.emplace(sources.background, Gdiplus::ImageLockModeRead);
    }
    const int width = target.width();
    const int height = target.height();
    // The sizes go through float first, as the sampling has always done.
    const double sx = static_cast<double>(static_cast<float>(matrix.width())) / width;
    const double sy = static_cast<double>(static_cast<float>(matrix.height())) / height;
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        // x * sx stays below the matrix width; the bound only guards the memory.
        columns[static_cast<std::size_t>(x)] =
            std::min(static_cast<int>(x * sx), matrix.width() - 1);
    }
    // Output rows that sample the same matrix row share which pixels are light;
    // with plain colours they are the same row altogether and are copied.
    const bool plainColors = !foreground && !background;
    std::vector<std::uint8_t> light(static_cast<std::size_t>(width));
    int lightRow = -1;
    const std::uint32_t* previous = nullptr;
    for (int y = 0; y < height; ++y) {
        const int sourceY = std::min(static_cast<int>(y * sy), matrix.height() - 1);
        std::uint32_t* out = target.Row(y);
        if (sourceY == lightRow && plainColors) {
            std::memcpy(out, previous, static_cast<std::size_t>(width) * sizeof(std::uint32_t));
            previous = out;
            continue;
        }
        if (sourceY != lightRow) {
            const std::uint32_t* source = matrix.Row(sourceY);
            for (int x = 0; x < width; ++x) {
                light[static_cast<std::size_t>(x)] =
                    source[columns[static_cast<std::size_t>(x)]] == 0xFFFFFFFFu;
            }
            lightRow = sourceY;
        }
        const std::uint32_t* foregroundRow = nullptr;
        const std::uint32_t* backgroundRow = nullptr;
        if (foreground && foreground->ok() && y < foreground->height()) {
            foregroundRow = foreground->Row(y);
        }
        if (background && background->ok() && y < background->height()) {
            backgroundRow = background->Row(y);
        }
        for (int x = 0; x < width; ++x) {
            if (light[static_cast<std::size_t>(x)]) {
                out[x] = background ? PicturePixel(*background, backgroundRow, x)
                                    : sources.backgroundColor;
            } else {
                out[x] = foreground ? PicturePixel(*foreground, foregroundRow, x)
                                    : sources.foregroundColor;
            }
        }
        previous = out;
    }
    return true;
}

RenderedSymbol RenderStyledSymbol(std::span<const std::uint8_t> matrixBytes, int width, int height,
                                  const SymbolStyle& style, StyleImages& images, ModuleFill fill) {
    RenderedSymbol rendered;
    const ui::MemoryImage matrix = ui::LoadImageFromBytes(matrixBytes);
    Gdiplus::GpBitmap* matrixBitmap = AsBitmap(matrix.get());
    if (matrixBitmap == nullptr || width <= 0 || height <= 0) {
        return rendered;
    }
    Gdiplus::GpBitmap* raw = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &raw) !=
        Gdiplus::Ok) {
        return rendered;
    }
    ui::UniqueBitmap output(raw);

    const StyleImages::View view = images.Read();
    ModuleSources sources;
    sources.matrix = matrixBitmap;
    sources.foregroundColor = style.foregroundColor;
    sources.backgroundColor = style.backgroundColor;
    if (style.foregroundIsPicture) {
        sources.foreground = AsBitmap(view.ForegroundImage());
    }
    if (style.backgroundIsPicture) {
        sources.background = AsBitmap(view.BackgroundImage());
    }
    if (!fill(sources, output.get())) {
        return rendered;
    }
    if (DrawsLogo(view.LogoImage(), style)) {
        Gdiplus::GpGraphics* rawGraphics = nullptr;
        if (gdip::GdipGetImageGraphicsContext(output.get(), &rawGraphics) == Gdiplus::Ok) {
            const ui::UniqueGraphics graphics(rawGraphics);
            rendered.logoArea = DrawLogo(graphics.get(), view.LogoImage(), width, height, style);
        }
    }
    rendered.bitmap = std::move(output);
    return rendered;
}

ui::UniqueBitmap RenderSymbolBitmap(std::span<const std::uint8_t> matrix, int width, int height,
                                    const SymbolStyle& style, StyleImages& images,
                                    ModuleFill fill) {
    return RenderStyledSymbol(matrix, width, height, style, images, fill).bitmap;
}

bool DrawsLogo(const SymbolStyle& style, StyleImages& images) {
    return DrawsLogo(images.Read().LogoImage(), style);
}

int MinimumVersionUnderLogo(int level) {
    // The logo and its frame cover about a quarter of the side in the middle,
    // more data modules than small versions can lose: short payloads under a
    // solid logo, read back, needed version 6 at medium, 4 at quartile and 2
    // at high; at low no version reads.
    switch (level) {
    case 1:
        return 6;
    case 2:
        return 4;
    case 3:
        return 2;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> RenderSymbol(std::span<const std::uint8_t> matrix, int width, int height,
                                       const SymbolStyle& style, StyleImages& images) {
    const ui::UniqueBitmap bitmap = RenderSymbolBitmap(matrix, width, height, style, images);
    return bitmap ? ImageToBmpBytes(bitmap.get()) : std::vector<std::uint8_t>{};
}

} // namespace kodaro
