#pragma once
// Fonts, string formats, measuring and drawing text (UTF-16 throughout).

#include "ui/draw/color.h"
#include "ui/draw/geometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace kodaro::ui {

// Owns one GDI+ string format (or borrows one when made with owned = false).
// Each property reads the current setting; the overload with a value sets it.
class TextFormat {
public:
    // GdipCreateStringFormat (formatFlags, language).
    explicit TextFormat(int formatFlags = 0, LANGID language = 0);
    // Takes an existing format; deletes it at the end only when owned.
    TextFormat(Gdiplus::GpStringFormat* format, bool owned);
    ~TextFormat();
    TextFormat(TextFormat&& other) noexcept;
    TextFormat& operator=(TextFormat&& other) noexcept;
    TextFormat(const TextFormat&) = delete;
    TextFormat& operator=(const TextFormat&) = delete;

    Gdiplus::GpStringFormat* get() const { return format_; }
    explicit operator bool() const { return format_ != nullptr; }

    // Makes a new format, first deleting the one held if owned.
    void Create(int formatFlags = 0, LANGID language = 0);
    // Gives up the handle without deleting it.
    Gdiplus::GpStringFormat* release();

    Gdiplus::StringAlignment Align() const;
    Gdiplus::StringAlignment Align(Gdiplus::StringAlignment value);
    Gdiplus::StringAlignment LineAlign() const;
    Gdiplus::StringAlignment LineAlign(Gdiplus::StringAlignment value);
    Gdiplus::StringTrimming Trimming() const;
    Gdiplus::StringTrimming Trimming(Gdiplus::StringTrimming value);
    Gdiplus::HotkeyPrefix HotkeyPrefix() const;
    Gdiplus::HotkeyPrefix HotkeyPrefix(Gdiplus::HotkeyPrefix value);
    int Flags() const;
    int Flags(int value);

private:
    void Free();

    Gdiplus::GpStringFormat* format_ = nullptr;
    bool owned_ = true;
};

// One line of text, centred vertically and cut with an ellipsis where it does
// not fit: the cells, items and boxes of the list controls.
TextFormat SingleLineFormat();

// A font of the face at size pixels (UnitPixel) and style (Gdiplus::FontStyle
// bits). A face that does not exist is replaced by DefaultFont's face (or, when
// there is none, a generic sans-serif face): never a font of a missing face.
// Null only when no font can be made at all.
UniqueFont CreateUiFont(std::wstring_view face, float size, int style = 0);

// The family name of a font; empty for null.
std::wstring FontFaceOf(const Gdiplus::GpFont* font);
// Empty when GDI+ cannot name the family.
std::wstring FamilyNameOf(Gdiplus::GpFontFamily* family);
// The size in the font's unit and the style bits; 0 for null.
float FontSizeOf(const Gdiplus::GpFont* font);
int FontStyleOf(const Gdiplus::GpFont* font);

// Bounding box of text laid out in layout with format (may be null); false
// when GDI+ refuses.
bool MeasureText(Gdiplus::GpGraphics* graphics, std::wstring_view text, const Gdiplus::GpFont* font,
                 const RectF& layout, const Gdiplus::GpStringFormat* format, RectF* bounds);

// The character after the first "&" that does not escape another "&" (the
// access key of a caption); 0 when the text has none.
wchar_t AccessKeyOf(std::wstring_view text);

// Line spacing of the font on that graphics, in the graphics' unit.
float FontHeight(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font);

// Text effects drawn under the glyphs.
inline constexpr int kTextEffectNone = 0;
inline constexpr int kTextEffectGlow = 3;      // soft halo (blur factor 3)
inline constexpr int kTextEffectSharpGlow = 4; // sharp halo (blur factor 1)

// Draws text in colour into rect (snapped to whole pixels). Effects 3 and 4
// draw a halo first in glowColour; without one the halo is white at alpha 85
// behind dark text and black at alpha 75 behind light text.
void DrawTextEffect(Gdiplus::GpGraphics* graphics, const RectF& rect, std::wstring_view text,
                    const Gdiplus::GpFont* font, Argb color, const Gdiplus::GpStringFormat* format,
                    int effect = kTextEffectNone, std::optional<Argb> glowColor = std::nullopt);

// The halo alone: the text drawn in glowColour on a surface 7 pixels larger
// than rect, shrunk by blurFactor and stretched back over rect grown by
// (-4, -4, +7, +7) on graphics.
void DrawTextGlow(Gdiplus::GpGraphics* graphics, const RectF& rect, std::wstring_view text,
                  const Gdiplus::GpFont* font, const Gdiplus::GpStringFormat* format,
                  Argb glowColor, int blurFactor = 3);

} // namespace kodaro::ui
