#include "ui/controls/edit_line_layout.h"

#include <algorithm>
#include <vector>

namespace kodaro::ui {

namespace {

// A layout box wide enough that no piece ever wraps.
constexpr float kUnbounded = 1.0e6f;
constexpr float kBoxHeight = 1.0e4f;

// The text drawn for boundaries [first, last) of a line, and where each
// character starts in it. A tab is shown as a space: a piece is laid out on
// its own, so tab stops would fall differently than in the whole line.
std::wstring PieceText(std::wstring_view line, std::wstring_view passwordChar,
                       const LineLayout& layout, std::size_t first, std::size_t last,
                       std::vector<std::size_t>* starts) {
    std::wstring piece;
    for (std::size_t i = first; i < last; ++i) {
        const std::wstring_view shown =
            passwordChar.empty()
                ? line.substr(layout.bounds[i], layout.bounds[i + 1] - layout.bounds[i])
                : passwordChar;
        if (starts != nullptr) {
            starts->push_back(piece.size());
        }
        piece += shown;
    }
    std::replace(piece.begin(), piece.end(), L'\t', L' ');
    return piece;
}

} // namespace

void EditLineLayout::Measure(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font,
                             Gdiplus::GpStringFormat* format, std::wstring_view line,
                             std::wstring_view passwordChar, LineLayout& layout) {
    // Pieces wholly before the edited column keep their measurements; the
    // last piece is always measured again, since it may grow.
    std::size_t kept = 0;
    const std::size_t oldCount = layout.bounds.empty() ? 0 : layout.bounds.size() - 1;
    while (kept < layout.origins.size() && (kept + 1) * kPiece <= oldCount &&
           layout.bounds[(kept + 1) * kPiece] < layout.unchangedBefore) {
        ++kept;
    }
    layout.bounds.resize(kept * kPiece + 1, 0);
    layout.xs.resize(kept * kPiece + 1, 0.0f);
    layout.origins.resize(kept);
    for (std::size_t pos = layout.bounds.back(); pos < line.size();) {
        pos = NextCharacterEnd(line, pos);
        layout.bounds.push_back(static_cast<int>(pos));
    }
    layout.valid = true;
    layout.unchangedBefore = 0;
    const std::size_t count = layout.bounds.size() - 1;
    if (!UseFont(graphics, font, format)) {
        layout.xs.resize(count + 1, layout.xs.back());
        layout.origins.resize((count + kPiece - 1) / kPiece, 0.0f);
        return;
    }
    float start = layout.xs.back();
    std::vector<std::size_t> starts;
    std::vector<int> extents;
    for (std::size_t first = kept * kPiece; first < count; first += kPiece) {
        const std::size_t last = std::min(first + kPiece, count);
        starts.clear();
        const std::wstring piece = PieceText(line, passwordChar, layout, first, last, &starts);
        // extents[i]: the advance of the piece's first i + 1 units.
        extents.assign(piece.size(), 0);
        SIZE size{};
        GetTextExtentExPointW(dc_.get(), piece.c_str(), static_cast<int>(piece.size()), 0, nullptr,
                              extents.data(), &size);
        for (std::size_t i = 1; i < starts.size(); ++i) {
            layout.xs.push_back(start + static_cast<float>(extents[starts[i] - 1]));
        }
        start += static_cast<float>(piece.empty() ? 0 : extents.back());
        layout.xs.push_back(start);
        layout.origins.push_back(origin_);
    }
}

bool EditLineLayout::UseFont(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font,
                             Gdiplus::GpStringFormat* format) {
    if (font == font_ && dc_) {
        return true;
    }
    font_ = nullptr;
    LOGFONTW logFont{};
    if (graphics == nullptr || font == nullptr ||
        gdip::GdipGetLogFontW(const_cast<Gdiplus::GpFont*>(font), graphics, &logFont) !=
            Gdiplus::Ok) {
        return false;
    }
    if (!dc_) {
        dc_.reset(CreateCompatibleDC(nullptr));
    }
    gdiFont_.reset(CreateFontIndirectW(&logFont));
    if (!dc_ || !gdiFont_) {
        return false;
    }
    SelectObject(dc_.get(), gdiFont_.get());
    // GDI+ starts a line's first glyph a little right of the layout box; the
    // pieces are drawn that much further left.
    origin_ = 0.0f;
    const Gdiplus::CharacterRange range{0, 1};
    const Gdiplus::RectF box(0, 0, kUnbounded, kBoxHeight);
    Gdiplus::GpRegion* region = nullptr;
    if (gdip::GdipCreateRegion(&region) == Gdiplus::Ok) {
        Gdiplus::RectF bounds;
        if (gdip::GdipSetStringFormatMeasurableCharacterRanges(format, 1, &range) == Gdiplus::Ok &&
            gdip::GdipMeasureCharacterRanges(graphics, L"x", 1, font, box, format, 1, &region) ==
                Gdiplus::Ok &&
            gdip::GdipGetRegionBounds(region, graphics, &bounds) == Gdiplus::Ok) {
            origin_ = bounds.X;
        }
        gdip::GdipDeleteRegion(region);
    }
    font_ = font;
    return true;
}

void EditLineLayout::Draw(Gdiplus::GpGraphics* graphics, const Gdiplus::GpFont* font,
                          Gdiplus::GpStringFormat* format, Gdiplus::GpBrush* brush,
                          std::wstring_view line, std::wstring_view passwordChar,
                          const LineLayout& layout, float x, float y, float left, float right) {
    const std::size_t count = layout.bounds.size() - 1;
    for (std::size_t p = 0; p < layout.origins.size(); ++p) {
        const std::size_t first = p * kPiece;
        const std::size_t last = std::min(first + kPiece, count);
        if (layout.xs[last] < left || layout.xs[first] >= right) {
            continue;
        }
        const std::wstring piece = PieceText(line, passwordChar, layout, first, last, nullptr);
        const Gdiplus::RectF box(x + layout.xs[first] - layout.origins[p], y, kUnbounded,
                                 kBoxHeight);
        gdip::GdipDrawString(graphics, piece.c_str(), static_cast<INT>(piece.size()), font, &box,
                             format, brush);
    }
}

std::size_t EditLineLayout::HitTest(const LineLayout& layout, float x) {
    const auto& xs = layout.xs;
    if (xs.size() < 2 || x <= xs.front()) {
        return 0;
    }
    if (x >= xs.back()) {
        return xs.size() - 1;
    }
    const std::size_t after = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
    const std::size_t before = after - 1;
    return x - xs[before] < xs[after] - x ? before : after;
}

std::size_t EditLineLayout::BoundaryOf(const LineLayout& layout, int column) {
    const auto found = std::lower_bound(layout.bounds.begin(), layout.bounds.end(), column);
    if (found == layout.bounds.end()) {
        return layout.bounds.empty() ? 0 : layout.bounds.size() - 1;
    }
    return found - layout.bounds.begin();
}

} // namespace kodaro::ui
