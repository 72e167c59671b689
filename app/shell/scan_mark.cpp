#include "app/shell/scan_mark.h"

#include "ui/draw/defaults.h"
#include "ui/draw/shapes.h"
#include "ui/draw/text.h"

namespace kodaro {

namespace {

namespace gdip = Gdiplus::DllExports;

constexpr float kDot = 14.0f;
constexpr float kGap = 5.0f;
constexpr ui::Argb kGlyph = 0xFFFFFFFF;

void FillDot(Gdiplus::GpGraphics* graphics, float top, ui::Argb color) {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gdip::GdipCreateSolidFill(color, &brush) == Gdiplus::Ok) {
        gdip::GdipFillEllipse(graphics, brush, 0.0f, top, kDot, kDot);
        gdip::GdipDeleteBrush(brush);
    }
}

} // namespace

bool ScanMark::Create(ui::ControlParent parent, float x, float y, float width, float height) {
    verdict_.reset();
    return parent.CreateIn(*this, ui::MakeRectF(x, y, width, height), ui::kKindLabel, false, false);
}

void ScanMark::Verdict(const std::optional<ScanVerdict>& verdict) {
    verdict_ = verdict;
    Tooltip(verdict_ ? L"每次生成后用本程序解码检查的结果" : L"");
    Visible(verdict_.has_value());
    Redraw();
}

void ScanMark::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    if (!verdict_) {
        return;
    }
    const ui::Argb color = verdict_->readable ? kScanMarkGreen : kScanMarkRed;
    const float top = (static_cast<float>(height) - kDot) / 2;
    gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
    FillDot(graphics, top, color);
    if (verdict_->readable) {
        ui::DrawLine(graphics, kGlyph, 3.5f, top + 7.5f, 6.0f, top + 10.0f, 2.0f);
        ui::DrawLine(graphics, kGlyph, 6.0f, top + 10.0f, 10.5f, top + 4.5f, 2.0f);
    } else {
        ui::DrawLine(graphics, kGlyph, 4.5f, top + 4.5f, 9.5f, top + 9.5f, 2.0f);
        ui::DrawLine(graphics, kGlyph, 9.5f, top + 4.5f, 4.5f, top + 9.5f, 2.0f);
    }
    gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeDefault);
    ui::TextFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.LineAlign(Gdiplus::StringAlignmentCenter);
    format.Trimming(Gdiplus::StringTrimmingEllipsisCharacter);
    const float left = kDot + kGap;
    ui::DrawTextEffect(
        graphics,
        ui::MakeRectF(left, 0, static_cast<float>(width) - left, static_cast<float>(height)),
        verdict_->reason, ui::DefaultFont(), color, format.get());
}

} // namespace kodaro
