#pragma once
// Turns the encoder's bare symbol image into the styled symbol the user sees,
// saves and copies: colours or pictures for the dark and light pixels, the
// logo in the centre with its frame, at the chosen side length.

#include "app/symbol/style_images.h"
#include "app/symbol/symbol_style.h"
#include "ui/draw/gdiplus.h"
#include "ui/draw/geometry.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kodaro {

// What the module pass reads. A null picture means its colour is used.
struct ModuleSources {
    Gdiplus::GpBitmap* matrix = nullptr;
    Gdiplus::GpBitmap* foreground = nullptr;
    Gdiplus::GpBitmap* background = nullptr;
    ui::Argb foregroundColor = 0;
    ui::Argb backgroundColor = 0;
};

// Paints every pixel of output: output pixel (x, y) samples the matrix at
// (trunc(x * sx), trunc(y * sy)), sx and sy being the matrix size over the
// output size. Exactly opaque white is light and takes the background, every
// other colour is dark and takes the foreground; a picture pixel outside the
// picture is fully transparent. False when the pixels cannot be reached.
using ModuleFill = bool (*)(const ModuleSources& sources, Gdiplus::GpBitmap* output);

// Whether the loaded logo is drawn: only while the style's logo path names
// an existing file. For callers that already hold the images' lock.
bool DrawsLogo(Gdiplus::GpImage* logo, const SymbolStyle& style);

// Where the logo goes on a width x height symbol of the chosen side length:
// centred, at most trunc(side * 0.22) on each axis (a larger logo is squeezed
// to that).
ui::RectF LogoPlacement(int logoWidth, int logoHeight, int width, int height, int side);

// The module pass through direct access to the pixel memory of all bitmaps.
bool FillModules(const ModuleSources& sources, Gdiplus::GpBitmap* output);

// A rendered symbol and where its logo went.
struct RenderedSymbol {
    ui::UniqueBitmap bitmap;
    // The logo with its frame, in output pixels; empty without a logo.
    ui::RectF logoArea{};
};

// The styled symbol as a width x height 32-bit ARGB bitmap, or null when the
// matrix bytes are no picture or the size is not positive. The style images
// are read under their lock for the whole render.
RenderedSymbol RenderStyledSymbol(std::span<const std::uint8_t> matrix, int width, int height,
                                  const SymbolStyle& style, StyleImages& images,
                                  ModuleFill fill = FillModules);

// The bitmap of RenderStyledSymbol.
ui::UniqueBitmap RenderSymbolBitmap(std::span<const std::uint8_t> matrix, int width, int height,
                                    const SymbolStyle& style, StyleImages& images,
                                    ModuleFill fill = FillModules);

// Whether a render with style draws the logo: its path names a file and a
// logo picture is loaded.
bool DrawsLogo(const SymbolStyle& style, StyleImages& images);

// The smallest symbol version that still reads with the logo over its middle
// at error-correction level (0 L ... 3 H); 0 when any version does, or when
// none can spare the modules (level L).
int MinimumVersionUnderLogo(int level);

// The styled symbol as BMP file bytes; empty when RenderSymbolBitmap gives none.
std::vector<std::uint8_t> RenderSymbol(std::span<const std::uint8_t> matrix, int width, int height,
                                       const SymbolStyle& style,
                                       StyleImages& images = ProcessStyleImages());

} // namespace kodaro
