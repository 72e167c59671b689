#include "ui/draw/text.h"

#include "ui/draw/defaults.h"
#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kodaro::ui {

namespace {

int TextLength(std::wstring_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
}

UniqueFontFamily FamilyFromName(std::wstring_view face) {
    if (face.empty()) {
        return nullptr;
    }
    const std::wstring name(face);
    Gdiplus::GpFontFamily* family = nullptr;
    if (gdip::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniqueFontFamily(family);
}

// Texts keep CRLF line breaks, as typed. Some GDI+ versions draw the "\r" as a
// missing-glyph box and drop empty lines, so text is laid out with "\n" alone
// and a space on each blank line; both look the same where GDI+ copes.
std::wstring LaidOutLines(std::wstring_view text) {
    std::wstring lines;
    lines.reserve(text.size() + 8);
    for (const wchar_t c : text) {
        if (c == L'\r') {
            continue;
        }
        if (c == L'\n' && (lines.empty() || lines.back() == L'\n')) {
            lines.push_back(L' ');
        }
        lines.push_back(c);
    }
    return lines;
}

// Draws one piece of text with a solid brush of colour.
void DrawTextPlain(Gdiplus::GpGraphics* graphics, const RectF& rect, std::wstring_view text,
                   const Gdiplus::GpFont* font, Argb color, const Gdiplus::GpStringFormat* format) {
    Gdiplus::GpSolidFill* raw = nullptr;
    if (gdip::GdipCreateSolidFill(color, &raw) != Gdiplus::Ok) {
        return;
    }
    const UniqueBrush brush(raw);
    const std::wstring lines = LaidOutLines(text);
    gdip::GdipDrawString(graphics, lines.c_str(), TextLength(lines), font, &rect, format,
                         brush.get());
}

struct BitmapSurface {
    UniqueBitmap bitmap;
    UniqueGraphics graphics;
};

BitmapSurface MakeArgbSurface(int width, int height) {
    BitmapSurface surface;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) !=
        Gdiplus::Ok) {
        return surface;
    }
    surface.bitmap.reset(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gdip::GdipGetImageGraphicsContext(bitmap, &graphics) != Gdiplus::Ok) {
        surface.bitmap.reset();
        return surface;
    }
    surface.graphics.reset(graphics);
    ApplyStandardSettings(graphics);
    return surface;
}

} // namespace

TextFormat::TextFormat(int formatFlags, LANGID language) {
    Create(formatFlags, language);
}

TextFormat::TextFormat(Gdiplus::GpStringFormat* format, bool owned)
    : format_(format), owned_(owned) {}

TextFormat::~TextFormat() {
    Free();
}

TextFormat::TextFormat(TextFormat&& other) noexcept
    : format_(std::exchange(other.format_, nullptr)), owned_(other.owned_) {}

TextFormat& TextFormat::operator=(TextFormat&& other) noexcept {
    if (this != &other) {
        Free();
        format_ = std::exchange(other.format_, nullptr);
        owned_ = other.owned_;
    }
    return *this;
}

void TextFormat::Free() {
    if (format_ != nullptr && owned_) {
        gdip::GdipDeleteStringFormat(format_);
    }
    format_ = nullptr;
}

void TextFormat::Create(int formatFlags, LANGID language) {
    Free();
    Gdiplus::GpStringFormat* format = nullptr;
    if (gdip::GdipCreateStringFormat(formatFlags, language, &format) != Gdiplus::Ok) {
        format = nullptr;
    }
    format_ = format;
    owned_ = true;
}

Gdiplus::GpStringFormat* TextFormat::release() {
    return std::exchange(format_, nullptr);
}

Gdiplus::StringAlignment TextFormat::Align() const {
    Gdiplus::StringAlignment value = Gdiplus::StringAlignmentNear;
    if (format_ != nullptr) {
        gdip::GdipGetStringFormatAlign(format_, &value);
    }
    return value;
}

Gdiplus::StringAlignment TextFormat::Align(Gdiplus::StringAlignment value) {
    if (format_ != nullptr) {
        gdip::GdipSetStringFormatAlign(format_, value);
    }
    return Align();
}

Gdiplus::StringAlignment TextFormat::LineAlign() const {
    Gdiplus::StringAlignment value = Gdiplus::StringAlignmentNear;
    if (format_ != nullptr) {
        gdip::GdipGetStringFormatLineAlign(format_, &value);
    }
    return value;
}

Gdiplus::StringAlignment TextFormat::LineAlign(Gdiplus::StringAlignment value) {
    if (format_ != nullptr) {
        gdip::GdipSetStringFormatLineAlign(format_, value);
    }
    return LineAlign();
}

Gdiplus::StringTrimming TextFormat::Trimming() const {
    Gdiplus::StringTrimming value = Gdiplus::StringTrimmingNone;
    if (format_ != nullptr) {
        gdip::GdipGetStringFormatTrimming(format_, &value);
    }
    return value;
}

Gdiplus::StringTrimming TextFormat::Trimming(Gdiplus::StringTrimming value) {
    if (format_ != nullptr) {
        gdip::GdipSetStringFormatTrimming(format_, value);
    }
    return Trimming();
}

Gdiplus::HotkeyPrefix TextFormat::HotkeyPrefix() const {
    INT value = Gdiplus::HotkeyPrefixNone;
    if (format_ != nullptr) {
        gdip::GdipGetStringFormatHotkeyPrefix(format_, &value);
    }
    return static_cast<Gdiplus::HotkeyPrefix>(value);
}

Gdiplus::HotkeyPrefix TextFormat::HotkeyPrefix(Gdiplus::HotkeyPrefix value) {
    if (format_ != nullptr) {
        gdip::GdipSetStringFormatHotkeyPrefix(format_, value);
    }
    return HotkeyPrefix();
}

int TextFormat::Flags() const {
    INT value = 0;
    if (format_ != nullptr) {
        gdip::GdipGetStringFormatFlags(format_, &value);
    }
    return value;
}

int TextFormat::Flags(int value) {
    if (format_ != nullptr) {
        gdip::GdipSetStringFormatFlags(format_, value);
    }
    return Flags();
}

TextFormat SingleLineFormat() {
    TextFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.LineAlign(Gdiplus::StringAlignmentCenter);
    format.Trimming(Gdiplus::StringTrimmingEllipsisCharacter);
    return format;
}

UniqueFont CreateUiFont(std::wstring_view face, float size, int style) {
    UniqueFontFamily family = FamilyFromName(face);
    if (!family) {
        family = FamilyFromName(FontFaceOf(DefaultFont()));
    }
    if (!family) {
        // Without a default font (framework not started) still end with a real face.
        family = FamilyFromName(FontFaceOf(CreateDefaultFont({}).get()));
    }
    if (!family) {
        return nullptr;
    }
    Gdiplus::GpFont* font = nullptr;
    if (gdip::GdipCreateFont(family.get(), size, style, Gdiplus::UnitPixel, &font) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniqueFont(font);
}

std::wstring FontFaceOf(const Gdiplus::GpFont* font) {
    if (font == nullptr) {
        return {};
    }
    Gdiplus::GpFontFamily* raw = nullptr;
    if (gdip::GdipGetFamily(const_cast<Gdiplus::GpFont*>(font), &raw) != Gdiplus::Ok) {
        return {};
    }
    const UniqueFontFamily family(raw);
    return FamilyNameOf(family.get());
}

std::wstring FamilyNameOf(Gdiplus::GpFontFamily* family) {
    WCHAR name[LF_FACESIZE] = {};
    if (family == nullptr || gdip::GdipGetFamilyName(family, name, 0) != Gdiplus::Ok) {
        return {};
    }
    name[LF_FACESIZE - 1] = L'\0';
    return name;
}

float FontSizeOf(const Gdiplus::GpFont* font) {
    Gdiplus::REAL size = 0;
    if (font == nullptr ||
        gdip::GdipGetFontSize(const_cast<Gdiplus::GpFont*>(font), &size) != Gdiplus::Ok) {
        return 0;
    }
    return size;
}

int FontStyleOf(const Gdiplus::GpFont* font) {
    INT style = 0;
    if (font == nullptr ||
        gdip::GdipGetFontStyle(const_cast<Gdiplus::GpFont*>(font), &style) != Gdiplus::Ok) {
        return 0;
    }
    return style;
}

bool MeasureText(Gdiplus::GpGraphics* graphics, std::wstring_view text, const Gdiplus::GpFont* font,
                 const RectF& layout, const Gdiplus::GpStringFormat* format, RectF* bounds) {
    if (graphics == nullptr || font == nullptr || bounds == nullptr) {
        return false;
    }
    RectF result;
    const std::wstring lines = LaidOutLines(text);
    if (gdip::GdipMeasureString(graphics, lines.c_str(), TextLength(lines), font, &layout, format,
                                &result, nullptr, nullptr) != Gdiplus::Ok) {
        return false;
    }
    *bounds = result;
    return true;
}

wchar_t AccessKeyOf(std::wstring_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') {
            continue;
        }
        if (text[i + 1] != L'&') {
            return text[i + 1];
        }
        ++i; // "&&" stands for a literal "&"
    }
    return 0;
}

float FontHeight(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font) {
    Gdiplus::REAL height = 0;
    if (font == nullptr || gdip::GdipGetFontHeight(font, graphics, &height) != Gdiplus::Ok) {
        return 0;
    }
    return height;
}

void DrawTextGlow(Gdiplus::GpGraphics* graphics, const RectF& rect, std::wstring_view text,
                  const Gdiplus::GpFont* font, const Gdiplus::GpStringFormat* format,
                  Argb glowColor, int blurFactor) {
    if (graphics == nullptr || font == nullptr || text.empty() || rect.Width <= 0 ||
        rect.Height <= 0) {
        return;
    }
    blurFactor = std::max(blurFactor, 1);
    const int sharpWidth = static_cast<int>(rect.Width) + 7;
    const int sharpHeight = static_cast<int>(rect.Height) + 7;
    const BitmapSurface sharp = MakeArgbSurface(sharpWidth, sharpHeight);
    if (!sharp.graphics) {
        return;
    }
    // The text sits 4 pixels in, where the grown target rectangle puts it back.
    DrawTextPlain(sharp.graphics.get(), RectF(4, 4, rect.Width, rect.Height), text, font, glowColor,
                  format);

    const int smallWidth = std::max(sharpWidth / blurFactor, 1);
    const int smallHeight = std::max(sharpHeight / blurFactor, 1);
    const BitmapSurface small = MakeArgbSurface(smallWidth, smallHeight);
    if (!small.graphics) {
        return;
    }
    gdip::GdipSetCompositingQuality(small.graphics.get(), Gdiplus::CompositingQualityHighQuality);
    gdip::GdipSetInterpolationMode(small.graphics.get(),
                                   Gdiplus::InterpolationModeHighQualityBilinear);
    gdip::GdipDrawImageRectRectI(small.graphics.get(), sharp.bitmap.get(), 0, 0, smallWidth,
                                 smallHeight, 0, 0, sharpWidth, sharpHeight, Gdiplus::UnitPixel,
                                 nullptr, nullptr, nullptr);

    const RectF halo = GrowRect(rect, -4, -4, 7, 7);
    gdip::GdipDrawImageRectRect(graphics, small.bitmap.get(), halo.X, halo.Y, halo.Width,
                                halo.Height, 0, 0, static_cast<float>(smallWidth),
                                static_cast<float>(smallHeight), Gdiplus::UnitPixel, nullptr,
                                nullptr, nullptr);
}

void DrawTextEffect(Gdiplus::GpGraphics* graphics, const RectF& rect, std::wstring_view text,
                    const Gdiplus::GpFont* font, Argb color, const Gdiplus::GpStringFormat* format,
                    int effect, std::optional<Argb> glowColor) {
    if (graphics == nullptr || font == nullptr) {
        return;
    }
    // Whole pixels keep the halo and the glyphs on the same grid.
    const RectF snapped(static_cast<float>(static_cast<int>(rect.X)),
                        static_cast<float>(static_cast<int>(rect.Y)),
                        static_cast<float>(static_cast<int>(rect.Width)),
                        static_cast<float>(static_cast<int>(rect.Height)));
    const Argb glow =
        glowColor.value_or(IsDarkColour(color) ? ToArgb(0xFFFFFF, 85) : ToArgb(0, 75));
    if (effect == kTextEffectGlow) {
        DrawTextGlow(graphics, snapped, text, font, format, glow, 3);
    } else if (effect == kTextEffectSharpGlow) {
        DrawTextGlow(graphics, snapped, text, font, format, glow, 1);
    }
    DrawTextPlain(graphics, snapped, text, font, color, format);
}

} // namespace kodaro::ui
