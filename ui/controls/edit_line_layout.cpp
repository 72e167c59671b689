#include "ui/controls/edit_line_layout.h"

#include <algorithm>
#include <vector>

namespace kodaro::ui {

namespace {

// A layout box wide enough that no piece ever wraps.
constexpr float kUnbounded = 1.0e6f;
constexpr float kBoxHeight = 1.0e4f;

// The text drawn for boundaries [first, last) of a line.
std::wstring PieceText(std::wstring_view line, std::wstring_view passwordChar,
                       const LineLayout& layout, std::size_t first, std::size_t last,
                       std::vector<Gdiplus::CharacterRange>* ranges) {
    std::wstring piece;
    for (std::size_t i = first; i < last; ++i) {
        const std::wstring_view shown =
            passwordChar.empty()
                ? line.substr(layout.bounds[i], layout.bounds[i + 1] - layout.bounds[i])
                : passwordChar;
        if (ranges != nullptr) {
            ranges->push_back({static_cast<INT>(piece.size()), static_cast<INT>(shown.size())});
        }
        piece += shown;
    }
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
    for (UniqueRegion& region : regions_) {
        if (!region) {
            Gdiplus::GpRegion* made = nullptr;
            gdip::GdipCreateRegion(&made);
            region.reset(made);
        }
    }
    Gdiplus::GpRegion* regions[kPiece];
    for (std::size_t i = 0; i < kPiece; ++i) {
        regions[i] = regions_[i].get();
    }
    float start = layout.xs.back();
    std::vector<Gdiplus::CharacterRange> ranges;
    for (std::size_t first = kept * kPiece; first < count; first += kPiece) {
        const std::size_t last = std::min(first + kPiece, count);
        const auto n = static_cast<INT>(last - first);
        ranges.clear();
        const std::wstring piece = PieceText(line, passwordChar, layout, first, last, &ranges);
        const Gdiplus::RectF box(0, 0, kUnbounded, kBoxHeight);
        bool measured = gdip::GdipSetStringFormatMeasurableCharacterRanges(
                            format, n, ranges.data()) == Gdiplus::Ok &&
                        gdip::GdipMeasureCharacterRanges(graphics, piece.c_str(),
                                                         static_cast<INT>(piece.size()), font, box,
                                                         format, n, regions) == Gdiplus::Ok;
        // Lefts and rights within the piece; a character without ink (or a
        // failed measurement) takes no room.
        std::vector<float> lefts(n, 0.0f);
        std::vector<float> rights(n, 0.0f);
        float origin = 0.0f;
        bool haveOrigin = false;
        for (INT i = 0; i < n && measured; ++i) {
            Gdiplus::RectF bounds;
            if (gdip::GdipGetRegionBounds(regions[i], graphics, &bounds) != Gdiplus::Ok ||
                (bounds.Width <= 0 && bounds.Height <= 0)) {
                lefts[i] = rights[i] = -1.0f;
                continue;
            }
            lefts[i] = bounds.X;
            rights[i] = bounds.X + bounds.Width;
            if (!haveOrigin) {
                origin = bounds.X;
                haveOrigin = true;
            }
        }
        float reach = origin;
        for (INT i = 0; i < n; ++i) {
            if (lefts[i] < 0.0f) {
                lefts[i] = rights[i] = reach;
            }
            if (i > 0) {
                layout.xs.push_back(std::max(layout.xs.back(), start + lefts[i] - origin));
            }
            reach = std::max(reach, rights[i]);
        }
        start = std::max(layout.xs.back(), start + reach - origin);
        layout.xs.push_back(start);
        layout.origins.push_back(origin);
    }
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
