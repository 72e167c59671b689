#include "app/symbol/svg_export.h"

#include "app/symbol/locked_pixels.h"
#include "app/symbol/symbol_renderer.h"
#include "runtime/text.h"
#include "ui/draw/image.h"

#include <charconv>
#include <numeric>

namespace kodaro {

namespace {

// A number as SVG writes it: at most four decimals, no trailing zeros.
std::string Num(double value) {
    char text[32];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, 4);
    std::string result(text, end.ptr);
    while (result.back() == '0') {
        result.pop_back();
    }
    if (result.back() == '.') {
        result.pop_back();
    }
    return result == "-0" ? "0" : result;
}

// fill="#rrggbb", with its opacity unless the colour is opaque (the program
// stores opaque colours with alpha 254).
std::string Fill(ui::Argb color) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = " fill=\"#";
    for (int shift = 20; shift >= 0; shift -= 4) {
        text += kHex[(color >> shift) & 0xF];
    }
    text += '"';
    const unsigned alpha = color >> 24;
    if (alpha < 254) {
        text += " fill-opacity=\"" + Num(alpha / 255.0) + '"';
    }
    return text;
}

// Text content: markup characters escaped, characters XML cannot hold dropped.
std::string EscapedText(std::wstring_view text) {
    std::wstring kept;
    for (const wchar_t c : text) {
        if ((c >= 0x20 || c == L'\t' || c == L'\n' || c == L'\r') && c != 0xFFFE && c != 0xFFFF) {
            kept += c;
        }
    }
    std::string escaped;
    for (const char c : WideToUtf8(kept)) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
            break;
        }
    }
    return escaped;
}

std::string Base64(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group =
            bytes[i] << 16 | (left > 1 ? bytes[i + 1] << 8 : 0) | (left > 2 ? bytes[i + 2] : 0);
        text += kDigits[group >> 18];
        text += kDigits[group >> 12 & 63];
        text += left > 1 ? kDigits[group >> 6 & 63] : '=';
        text += left > 2 ? kDigits[group & 63] : '=';
    }
    return text;
}

// One sub-path per horizontal run of dark modules.
std::string DarkRuns(const ModuleGrid& grid) {
    std::string d;
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width;) {
            if (!grid.Dark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < grid.width && grid.Dark(x, y)) {
                ++x;
            }
            const std::string run = std::to_string(x - start);
            d += 'M' + std::to_string(start) + ' ' + std::to_string(y) + 'h' + run + "v1h-" + run +
                 'z';
        }
    }
    return d;
}

// The whole grid less the dark runs (with the even-odd rule): the light modules.
std::string LightArea(const ModuleGrid& grid, const std::string& darkRuns) {
    return "M0 0h" + std::to_string(grid.width) + 'v' + std::to_string(grid.height) + "h-" +
           std::to_string(grid.width) + 'z' + darkRuns;
}

// Output pixels to grid units.
struct Scale {
    double x;
    double y;
};

std::string Box(const Scale& s, double x, double y, double width, double height) {
    return " x=\"" + Num(x * s.x) + "\" y=\"" + Num(y * s.y) + "\" width=\"" + Num(width * s.x) +
           "\" height=\"" + Num(height * s.y) + '"';
}

std::string Corners(const Scale& s, double radius) {
    return " rx=\"" + Num(radius * s.x) + "\" ry=\"" + Num(radius * s.y) + '"';
}

std::string Image(const Scale& s, const SvgPicture& picture, double x, double y, double width,
                  double height, std::string_view clip) {
    std::string element = "<image" + Box(s, x, y, width, height) + " preserveAspectRatio=\"none\"";
    if (!clip.empty()) {
        element += " clip-path=\"url(#" + std::string(clip) + ")\"";
    }
    return element + " xlink:href=\"data:image/png;base64," + Base64(picture.png) + "\"/>\n";
}

std::string Picture(const Scale& s, const SvgPicture& picture, std::string_view clip) {
    return Image(s, picture, 0, 0, picture.width, picture.height, clip);
}

// The logo on a box of the background colour with its frame, as the
// renderer draws them: a rectangle frame 4 pixels wide, or a rounded one 3
// pixels wide whose corners also round the logo's own.
std::string Logo(const SymbolDrawing& drawing, const Scale& s, std::string& defs) {
    const SvgPicture& logo = *drawing.logo;
    const ui::RectF r =
        LogoPlacement(logo.width, logo.height, drawing.side, drawing.side, drawing.side);
    const std::string fill = Fill(drawing.backgroundColor);
    std::string out;
    std::string clip;
    switch (drawing.logoBorder) {
    case LogoBorder::Rectangle:
        out = "<rect" + Box(s, r.X - 4, r.Y - 4, r.Width + 8, r.Height + 8) + fill + "/>\n";
        break;
    case LogoBorder::Rounded:
        out = "<rect" + Box(s, r.X - 3, r.Y - 3, r.Width + 6, r.Height + 6) + Corners(s, 6) + fill +
              "/>\n";
        defs += "<clipPath id=\"logo-corners\"><rect" + Box(s, r.X, r.Y, r.Width, r.Height) +
                Corners(s, 4.5) + "/></clipPath>\n";
        clip = "logo-corners";
        break;
    case LogoBorder::None:
        out = "<rect" + Box(s, r.X, r.Y, r.Width, r.Height) + fill + "/>\n";
        break;
    }
    return out + Image(s, logo, r.X, r.Y, r.Width, r.Height, clip);
}

std::optional<SvgPicture> EmbeddedPicture(Gdiplus::GpImage* image) {
    if (image == nullptr) {
        return std::nullopt;
    }
    SvgPicture picture{ui::EncodeImage(image, ui::kPngEncoder), ui::ImageWidth(image),
                       ui::ImageHeight(image)};
    if (picture.png.empty()) {
        return std::nullopt;
    }
    return picture;
}

// The XML declaration, the comment and the open root element (without its
// closing ">") of a width x height document with the given view box.
std::string SvgStart(std::string_view comment, int width, int height, int viewWidth,
                     int viewHeight) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- " + std::string(comment) +
           " -->\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
           std::to_string(viewWidth) + ' ' + std::to_string(viewHeight) + '"';
}

} // namespace

std::optional<ModuleGrid> ReadModuleGrid(std::span<const std::uint8_t> matrix) {
    const ui::MemoryImage image = ui::LoadImageFromBytes(matrix);
    Gdiplus::GpBitmap* bitmap = AsBitmap(image.get());
    if (bitmap == nullptr) {
        return std::nullopt;
    }
    const LockedPixels pixels(bitmap, Gdiplus::ImageLockModeRead);
    if (!pixels.ok()) {
        return std::nullopt;
    }
    const int width = pixels.width();
    const int height = pixels.height();
    std::vector<std::uint8_t> dark(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels.Row(y);
        for (int x = 0; x < width; ++x) {
            dark[static_cast<std::size_t>(y) * width + x] = row[x] != 0xFFFFFFFFu;
        }
    }
    const auto at = [&](int x, int y) { return dark[static_cast<std::size_t>(y) * width + x]; };
    int cell = 0;
    for (int y = 0; y < height; ++y) {
        int run = 1;
        for (int x = 1; x <= width; ++x, ++run) {
            if (x == width || at(x, y) != at(x - 1, y)) {
                cell = std::gcd(cell, run);
                run = 0;
            }
        }
    }
    for (int x = 0; x < width; ++x) {
        int run = 1;
        for (int y = 1; y <= height; ++y, ++run) {
            if (y == height || at(x, y) != at(x, y - 1)) {
                cell = std::gcd(cell, run);
                run = 0;
            }
        }
    }
    ModuleGrid grid;
    grid.width = width / cell;
    grid.height = height / cell;
    grid.dark.resize(static_cast<std::size_t>(grid.width) * grid.height);
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            grid.dark[static_cast<std::size_t>(y) * grid.width + x] = at(x * cell, y * cell);
        }
    }
    return grid;
}

std::string WriteSymbolSvg(const SymbolDrawing& drawing) {
    const ModuleGrid& grid = drawing.grid;
    const Scale s{static_cast<double>(grid.width) / drawing.side,
                  static_cast<double>(grid.height) / drawing.side};
    const std::string dark = DarkRuns(grid);
    const bool pictures = drawing.foregroundPicture || drawing.backgroundPicture;
    std::string defs;
    std::string body;
    if (drawing.backgroundPicture) {
        body += Picture(s, *drawing.backgroundPicture, "light");
    } else if (drawing.foregroundPicture) {
        // Dark modules outside the foreground picture stay clear, as in the preview.
        body += "<path fill-rule=\"evenodd\"" + Fill(drawing.backgroundColor) + " d=\"" +
                LightArea(grid, dark) + "\"/>\n";
    } else {
        body += "<rect width=\"" + std::to_string(grid.width) + "\" height=\"" +
                std::to_string(grid.height) + '"' + Fill(drawing.backgroundColor) + "/>\n";
    }
    if (drawing.foregroundPicture) {
        body += Picture(s, *drawing.foregroundPicture, "dark");
        defs += "<clipPath id=\"dark\"><path d=\"" + dark + "\"/></clipPath>\n";
    } else {
        body += "<path" + Fill(drawing.foregroundColor) + " d=\"" + dark + "\"/>\n";
    }
    if (drawing.backgroundPicture) {
        defs += "<clipPath id=\"light\"><path clip-rule=\"evenodd\" d=\"" + LightArea(grid, dark) +
                "\"/></clipPath>\n";
    }
    if (drawing.logo) {
        body += Logo(drawing, s, defs);
    }

    std::string comment = "A QR symbol of " + std::to_string(grid.width) + " x " +
                          std::to_string(grid.height) + " modules, the quiet zone included";
    comment += pictures || drawing.logo ? "; its pictures are embedded as PNG." : ".";
    std::string svg = SvgStart(comment, drawing.side, drawing.side, grid.width, grid.height) +
                      " shape-rendering=\"crispEdges\">\n";
    svg += "<title>" + EscapedText(drawing.title) + "</title>\n";
    if (!defs.empty()) {
        svg += "<defs>\n" + defs + "</defs>\n";
    }
    return svg + body + "</svg>\n";
}

std::optional<std::string> PictureSvg(std::span<const std::uint8_t> bytes) {
    const ui::MemoryImage image = ui::LoadImageFromBytes(bytes);
    const std::optional<SvgPicture> picture = EmbeddedPicture(image.get());
    if (!picture) {
        return std::nullopt;
    }
    const Scale same{1, 1};
    return SvgStart("A picture, embedded as PNG.", picture->width, picture->height, picture->width,
                    picture->height) +
           ">\n" + Picture(same, *picture, {}) + "</svg>\n";
}

std::optional<std::string> MakeSymbolSvg(std::span<const std::uint8_t> matrix,
                                         const SymbolStyle& style, std::wstring_view title,
                                         StyleImages& images) {
    std::optional<ModuleGrid> grid = ReadModuleGrid(matrix);
    if (!grid || style.side <= 0) {
        return std::nullopt;
    }
    SymbolDrawing drawing;
    drawing.grid = std::move(*grid);
    drawing.side = style.side;
    drawing.foregroundColor = style.foregroundColor;
    drawing.backgroundColor = style.backgroundColor;
    drawing.logoBorder = style.logoBorder;
    drawing.title = title;
    {
        const StyleImages::View view = images.Read();
        if (style.foregroundIsPicture) {
            drawing.foregroundPicture = EmbeddedPicture(view.ForegroundImage());
        }
        if (style.backgroundIsPicture) {
            drawing.backgroundPicture = EmbeddedPicture(view.BackgroundImage());
        }
        if (DrawsLogo(view.LogoImage(), style)) {
            drawing.logo = EmbeddedPicture(view.LogoImage());
        }
    }
    return WriteSymbolSvg(drawing);
}

} // namespace kodaro
