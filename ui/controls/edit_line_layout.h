// Where the characters of one edit-box line lie on screen, and drawing the
// line so that its glyphs land exactly there.
//
// A line is measured in pieces of up to 32 characters (the most one GDI+
// character-range call takes), each piece laid out on its own, and drawn in
// the same pieces at the measured places. Measuring and drawing therefore
// agree by construction, long lines cost time in proportion to their length,
// and only the pieces inside the view are drawn.
#pragma once

#include "ui/controls/edit_text_buffer.h"
#include "ui/draw/gdiplus.h"
#include "ui/draw/geometry.h"

#include <array>
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

private:
    std::array<UniqueRegion, kPiece> regions_{};
};

} // namespace kodaro::ui
