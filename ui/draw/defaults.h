#pragma once
// The framework-wide drawing defaults: DefaultFont, DefaultCursor and the
// caption-button artwork SkinStrip. Made once at framework start (GDI+ must be
// running) and kept until GdiplusSession ends.

#include "ui/draw/image.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace kodaro::ui {

inline constexpr float kDefaultFontSize = 12.0f;
inline constexpr int kSkinStripWidth = 729;
inline constexpr int kSkinStripHeight = 20;

// Which system font SystemFontFace reads.
enum class SystemFont { Caption, Menu, Message };

// The face of a system font from the non-client metrics; empty when the
// system cannot say.
std::wstring SystemFontFace(SystemFont which = SystemFont::Caption);

// The faces the default font is chosen from, in order: "宋体", then the caption
// font's face ("Tahoma" and a face no 12-pixel font can be made of count as
// "宋体").
std::array<std::wstring, 2> DefaultFontFaces();

// A 12-pixel regular font (UnitPixel) of the first face that exists among
// faces; when none does, of the generic sans-serif family; when even that is
// missing, of the first installed family. Null only without any font.
UniqueFont CreateDefaultFont(std::initializer_list<std::wstring_view> faces);

// Creates DefaultFont from the standard candidates unless it exists. True
// when a default font exists afterwards.
bool InitDefaultFont();
// The shared default font; never delete it. Null before InitDefaultFont.
Gdiplus::GpFont* DefaultFont();

// The system arrow cursor (shared, never destroyed).
HCURSOR DefaultCursor();

// Decodes the caption-button strip from embedded PNG bytes. The bytes are
// normally stored without the 8-byte PNG signature, which is then put back;
// bytes that already start with it are taken as they are.
MemoryImage LoadSkinStrip(std::span<const std::uint8_t> bytes);
// Loads SkinStrip from bytes (replacing any earlier one); true on success.
bool InitSkinStrip(std::span<const std::uint8_t> bytes);
// The shared caption-button artwork; null before InitSkinStrip.
Gdiplus::GpImage* SkinStrip();

// Frees DefaultFont and SkinStrip (GdiplusSession does this before shutting
// GDI+ down).
void ReleaseDrawDefaults();

} // namespace kodaro::ui
