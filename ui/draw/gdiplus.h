#pragma once
// GDI+ for the framework: the headers in the order MinGW needs them, owning
// handles for every GDI+ and GDI object the drawing layer hands out, and the
// GDI+ session of the process.

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include "runtime/gdiplus_session.h"

#include <memory>

namespace kodaro::ui {

namespace gdip = Gdiplus::DllExports;

namespace detail {
struct GraphicsDeleter {
    void operator()(Gdiplus::GpGraphics* p) const noexcept { gdip::GdipDeleteGraphics(p); }
};
struct ImageDeleter {
    void operator()(Gdiplus::GpImage* p) const noexcept { gdip::GdipDisposeImage(p); }
};
struct FontDeleter {
    void operator()(Gdiplus::GpFont* p) const noexcept { gdip::GdipDeleteFont(p); }
};
struct FontFamilyDeleter {
    void operator()(Gdiplus::GpFontFamily* p) const noexcept { gdip::GdipDeleteFontFamily(p); }
};
struct PenDeleter {
    void operator()(Gdiplus::GpPen* p) const noexcept { gdip::GdipDeletePen(p); }
};
struct BrushDeleter {
    void operator()(Gdiplus::GpBrush* p) const noexcept { gdip::GdipDeleteBrush(p); }
};
struct PathDeleter {
    void operator()(Gdiplus::GpPath* p) const noexcept { gdip::GdipDeletePath(p); }
};
struct RegionDeleter {
    void operator()(Gdiplus::GpRegion* p) const noexcept { gdip::GdipDeleteRegion(p); }
};
struct ImageAttributesDeleter {
    void operator()(Gdiplus::GpImageAttributes* p) const noexcept {
        gdip::GdipDisposeImageAttributes(p);
    }
};
struct StringFormatDeleter {
    void operator()(Gdiplus::GpStringFormat* p) const noexcept { gdip::GdipDeleteStringFormat(p); }
};
struct GdiObjectDeleter {
    void operator()(HGDIOBJ p) const noexcept { DeleteObject(p); }
};
struct DcDeleter {
    void operator()(HDC p) const noexcept { DeleteDC(p); }
};
} // namespace detail

using UniqueGraphics = std::unique_ptr<Gdiplus::GpGraphics, detail::GraphicsDeleter>;
using UniqueImage = std::unique_ptr<Gdiplus::GpImage, detail::ImageDeleter>;
using UniqueBitmap = std::unique_ptr<Gdiplus::GpBitmap, detail::ImageDeleter>;
using UniqueFont = std::unique_ptr<Gdiplus::GpFont, detail::FontDeleter>;
using UniqueFontFamily = std::unique_ptr<Gdiplus::GpFontFamily, detail::FontFamilyDeleter>;
using UniquePen = std::unique_ptr<Gdiplus::GpPen, detail::PenDeleter>;
using UniqueBrush = std::unique_ptr<Gdiplus::GpBrush, detail::BrushDeleter>;
using UniquePath = std::unique_ptr<Gdiplus::GpPath, detail::PathDeleter>;
using UniqueRegion = std::unique_ptr<Gdiplus::GpRegion, detail::RegionDeleter>;
using UniqueImageAttributes =
    std::unique_ptr<Gdiplus::GpImageAttributes, detail::ImageAttributesDeleter>;
using UniqueStringFormat = std::unique_ptr<Gdiplus::GpStringFormat, detail::StringFormatDeleter>;
using UniqueHrgn = std::unique_ptr<std::remove_pointer_t<HRGN>, detail::GdiObjectDeleter>;
using UniqueHbitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, detail::GdiObjectDeleter>;
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, detail::DcDeleter>;

// GDI+ running for the life of this object (GdiplusStartup, version 1). Its
// destruction first releases the process-wide drawing defaults (DefaultFont,
// SkinStrip), which are GDI+ objects, then shuts GDI+ down. One per process,
// made at framework start; ok() tells whether the start succeeded.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool ok() const { return session_.ok(); }

private:
    kodaro::GdiplusSession session_;
};

} // namespace kodaro::ui
