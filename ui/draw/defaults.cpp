#include "ui/draw/defaults.h"

#include "ui/draw/text.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

namespace kodaro::ui {

namespace {

constexpr wchar_t kSongTi[] = L"宋体";
constexpr std::uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// Never destroyed by static destruction, which may run after GDI+ has shut
// down; GdiplusSession releases them while GDI+ still runs.
struct Defaults {
    UniqueFont font;
    MemoryImage skinStrip;
};
Defaults& TheDefaults() {
    static Defaults* defaults = new Defaults;
    return *defaults;
}

// A 12-pixel regular font of exactly that face, or null when the face is missing.
UniqueFont FontOfFace(std::wstring_view face) {
    if (face.empty()) {
        return nullptr;
    }
    const std::wstring name(face);
    Gdiplus::GpFontFamily* raw = nullptr;
    if (gdip::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &raw) != Gdiplus::Ok) {
        return nullptr;
    }
    const UniqueFontFamily family(raw);
    Gdiplus::GpFont* font = nullptr;
    if (gdip::GdipCreateFont(family.get(), kDefaultFontSize, Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel, &font) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniqueFont(font);
}

std::wstring GenericSansSerifFace() {
    Gdiplus::GpFontFamily* family = nullptr;
    if (gdip::GdipGetGenericFontFamilySansSerif(&family) != Gdiplus::Ok || family == nullptr) {
        return {};
    }
    // The generic family belongs to GDI+ on some systems; only its name is taken.
    return FamilyNameOf(family);
}

std::wstring FirstInstalledFace() {
    Gdiplus::GpFontCollection* collection = nullptr;
    if (gdip::GdipNewInstalledFontCollection(&collection) != Gdiplus::Ok) {
        return {};
    }
    INT count = 0;
    if (gdip::GdipGetFontCollectionFamilyCount(collection, &count) != Gdiplus::Ok || count < 1) {
        return {};
    }
    // Families listed by the installed collection are owned by the collection.
    Gdiplus::GpFontFamily* family = nullptr;
    INT found = 0;
    if (gdip::GdipGetFontCollectionFamilyList(collection, 1, &family, &found) != Gdiplus::Ok ||
        found < 1) {
        return {};
    }
    return FamilyNameOf(family);
}

} // namespace

std::wstring SystemFontFace(SystemFont which) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        // Systems before Vista know the record without its last field.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
            return {};
        }
    }
    const LOGFONTW& font = which == SystemFont::Menu      ? metrics.lfMenuFont
                           : which == SystemFont::Message ? metrics.lfMessageFont
                                                          : metrics.lfCaptionFont;
    return std::wstring(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));
}

std::array<std::wstring, 2> DefaultFontFaces() {
    std::wstring caption = SystemFontFace(SystemFont::Caption);
    if (caption.empty() || _wcsicmp(caption.c_str(), L"Tahoma") == 0 || !FontOfFace(caption)) {
        caption = kSongTi;
    }
    return {kSongTi, caption};
}

UniqueFont CreateDefaultFont(std::initializer_list<std::wstring_view> faces) {
    for (const std::wstring_view face : faces) {
        if (UniqueFont font = FontOfFace(face)) {
            return font;
        }
    }
    if (UniqueFont font = FontOfFace(GenericSansSerifFace())) {
        return font;
    }
    return FontOfFace(FirstInstalledFace());
}

bool InitDefaultFont() {
    if (!TheDefaults().font) {
        const std::array<std::wstring, 2> faces = DefaultFontFaces();
        TheDefaults().font = CreateDefaultFont({faces[0], faces[1]});
    }
    return TheDefaults().font != nullptr;
}

Gdiplus::GpFont* DefaultFont() {
    return TheDefaults().font.get();
}

HCURSOR DefaultCursor() {
    return LoadCursorW(nullptr, IDC_ARROW);
}

MemoryImage LoadSkinStrip(std::span<const std::uint8_t> bytes) {
    const bool hasSignature = bytes.size() >= sizeof kPngSignature &&
                              std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0;
    return LoadImageFromBytes(bytes, !hasSignature);
}

bool InitSkinStrip(std::span<const std::uint8_t> bytes) {
    MemoryImage strip = LoadSkinStrip(bytes);
    if (!strip) {
        return false;
    }
    TheDefaults().skinStrip = std::move(strip);
    return true;
}

Gdiplus::GpImage* SkinStrip() {
    return TheDefaults().skinStrip.get();
}

void ReleaseDrawDefaults() {
    TheDefaults().font.reset();
    TheDefaults().skinStrip.reset();
}

} // namespace kodaro::ui
