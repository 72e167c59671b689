#pragma once
// The styled symbol as an SVG drawing: the modules as vector paths in the
// chosen colours, the foreground and background pictures and the logo
// embedded as PNG data where they are used, laid out as the renderer lays
// them, so the drawing matches the preview at any size.

#include "app/symbol/style_images.h"
#include "app/symbol/symbol_style.h"
#include "ui/draw/color.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kodaro {

// The modules of a symbol, the quiet zone included, row by row.
struct ModuleGrid {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dark;
    bool Dark(int x, int y) const {
        return dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] != 0;
    }
};

// The modules of the encoder's matrix picture. Its pixels (exactly opaque
// white light, any other colour dark) are grouped into square cells of the
// largest size that divides every run of equal pixels along the rows and the
// columns, so a cell is a module. Nothing when the bytes are no picture.
std::optional<ModuleGrid> ReadModuleGrid(std::span<const std::uint8_t> matrix);

// A picture to embed: PNG file bytes and its size in output pixels.
struct SvgPicture {
    std::vector<std::uint8_t> png;
    int width = 0;
    int height = 0;
};

// Everything the drawing shows. Pictures and the logo are placed in the
// pixels of a side x side rendering, as the renderer places them: the
// pictures from the top-left corner at their own size, the logo centred.
struct SymbolDrawing {
    ModuleGrid grid;
    int side = 256;
    ui::Argb foregroundColor = 0xFE000000;
    ui::Argb backgroundColor = 0xFEFFFFFF;
    std::optional<SvgPicture> foregroundPicture;
    std::optional<SvgPicture> backgroundPicture;
    std::optional<SvgPicture> logo;
    LogoBorder logoBorder = LogoBorder::Rectangle;
    // Shown as the drawing's title (the symbol's text).
    std::wstring title;
};

// The drawing as a UTF-8 SVG document of side x side pixels whose view box
// is the module grid.
std::string WriteSymbolSvg(const SymbolDrawing& drawing);

// The drawing of the matrix in the style, with the style pictures read under
// their lock; nothing when the matrix is no picture.
std::optional<std::string> MakeSymbolSvg(std::span<const std::uint8_t> matrix,
                                         const SymbolStyle& style, std::wstring_view title,
                                         StyleImages& images = ProcessStyleImages());

// A picture that is no symbol of ours (one the decode page shows) as an SVG
// document of its own size holding it as PNG data; nothing when the bytes
// are no picture.
std::optional<std::string> PictureSvg(std::span<const std::uint8_t> picture);

} // namespace kodaro
