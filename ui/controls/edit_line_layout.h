// Where the characters of one edit-box line lie on screen, and drawing the
// line so that its glyphs land exactly there.
//
// Advances come from GDI (one call per piece of up to 32 characters, the way
// GDI+ itself lays out grid-fitted text); each piece is then drawn by GDI+ at
// its measured place, so a drift can never build up along a line, long lines
// cost time in proportion to their length, and only the pieces inside the
// view are drawn. (GDI+'s own character ranges give the same places but cost
// far more: every range's bounds go through a region.)
#pragma once

#include "ui/controls/edit_text_buffer.h"
#include "ui/draw/gdiplus.h"
#include "ui/draw/geometry.h"

#include <memory>
#include <string>
#include <string_view>

namespace kodaro::ui {

class EditLineLayout {
public:
    EditLineLayout() = default;
    EditLineLayout(const EditLineLayout&) = delete;
    EditLineLayout& operator=(const EditLineLayout&) = delete;

    // Fills layout for a line: its character boundaries, their x positions and
    // the origins of the pieces. passwordChar, when not empty, stands for
    // every character.
    void Measure(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font,
                 Gdiplus::GpStringFormat* format, std::wstring_view line,
                 std::wstring_view passwordChar, LineLayout& layout);

    // Draws the pieces of a measured line whose x range meets [left, right)
    // (line coordinates), with the line's first boundary at (x, y).
    static void Draw(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font,
                     Gdiplus::GpStringFormat* format, Gdiplus::GpBrush* brush,
                     std::wstring_view line, std::wstring_view passwordChar,
                     const LineLayout& layout, float x, float y, float left, float right);

    // The boundary index nearest to x (line coordinates); beyond the end, the end.
    static std::size_t HitTest(const LineLayout& layout, float x);
    // The boundary index of a column (the nearest boundary at or after it).
    static std::size_t BoundaryOf(const LineLayout& layout, int column);

    static constexpr std::size_t kPiece = 32;

    // Measures anew with the next font given, even at the same address.
    void ForgetFont() { font_ = nullptr; }

private:
    // Selects a GDI font equal to font into the measuring context; false
    // when there is none.
    bool UseFont(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font,
                 Gdiplus::GpStringFormat* format);

    UniqueMemoryDc dc_;
    std::unique_ptr<std::remove_pointer_t<HFONT>, detail::GdiObjectDeleter> gdiFont_;
    const Gdiplus::GpFont* font_ = nullptr;
    float origin_ = 0.0f;
};

} // namespace kodaro::ui
