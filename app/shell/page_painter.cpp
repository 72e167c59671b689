#include "app/shell/page_painter.h"

#include "app/shell/label_columns.h"
#include "app/shell/page_texts.h"
#include "ui/draw/defaults.h"
#include "ui/draw/shapes.h"
#include "ui/draw/text.h"

#include <string>
#include <string_view>

namespace kodaro {

namespace {

using ui::Argb;
namespace gdip = ui::gdip;

constexpr Argb kWhite = 0x00FFFFFF;
constexpr Argb kLightText = 0xFE606060;
constexpr Argb kDarkText = 0xFEFFFFFF;

constexpr Argb WithAlpha(Argb color, int alpha) {
    return (color & 0x00FFFFFF) | (static_cast<Argb>(alpha) << 24);
}

// A one-pixel line whose colour runs from `from` at its start to `to` at its end.
void DrawFadingLine(Gdiplus::GpGraphics* graphics, float x1, float y1, float x2, float y2,
                    Argb from, Argb to) {
    const Gdiplus::PointF start{x1, y1};
    const Gdiplus::PointF end{x2, y2};
    Gdiplus::GpLineGradient* brush = nullptr;
    if (gdip::GdipCreateLineBrush(&start, &end, from, to, Gdiplus::WrapModeTileFlipXY, &brush) !=
        Gdiplus::Ok) {
        return;
    }
    ui::UniqueBrush ownedBrush(brush);
    Gdiplus::GpPen* pen = nullptr;
    if (gdip::GdipCreatePen2(brush, 1.0f, Gdiplus::UnitWorld, &pen) != Gdiplus::Ok) {
        return;
    }
    ui::UniquePen ownedPen(pen);
    gdip::GdipDrawLine(graphics, pen, x1, y1, x2, y2);
}

class PagePainter {
public:
    PagePainter(Gdiplus::GpGraphics* graphics, int width, int height, Argb textColor)
        : graphics_(graphics), width_(static_cast<float>(width)),
          height_(static_cast<float>(height)), textColor_(textColor) {}

    void FrameLines() const {
        ui::DrawLine(graphics_, WithAlpha(kWhite, 30), 7, height_ - 47, width_ - 7, height_ - 46);
        ui::DrawLine(graphics_, WithAlpha(kWhite, 102), 7, 109, width_ - 7, 109);
        DrawFadingLine(graphics_, 114, 109, 114, height_ - 56, WithAlpha(kWhite, 81),
                       WithAlpha(kWhite, 0));
    }

    // A heading with its pair of fading rules.
    void Heading(const wchar_t* text, float y, float rulesY) const {
        Text(text, 130, y, 120, 22);
        const float right = width_ - 230;
        DrawFadingLine(graphics_, 185, rulesY, right, rulesY, WithAlpha(textColor_, 81),
                       WithAlpha(textColor_, 0));
        DrawFadingLine(graphics_, 185, rulesY + 1, right, rulesY + 1, WithAlpha(kWhite, 51),
                       WithAlpha(kWhite, 0));
    }

    void Text(std::wstring_view text, float x, float y, float width, float height) const {
        ui::DrawTextEffect(graphics_, ui::MakeRectF(x, y, width, height), text, ui::DefaultFont(),
                           textColor_, format_.get());
    }

    float Width() const { return width_; }
    float Height() const { return height_; }

private:
    Gdiplus::GpGraphics* graphics_;
    float width_;
    float height_;
    Argb textColor_;
    ui::TextFormat format_{};
};

void PaintWorkPage(const App& app, const PagePainter& painter) {
    painter.Heading(kInputHeading, 125, 130);
    painter.Heading(kDescriptionHeading, 333, 339);
    const wchar_t* labels = L"";
    const wchar_t* help = L"";
    switch (app.currentPage) {
    case kPageCreate: {
        const KindTexts& texts = TextsOfKind(app.currentContentType);
        labels = texts.labels;
        help = texts.help;
        if (app.currentContentType == ContentType::Text ||
            app.currentContentType == ContentType::Message) {
            painter.Text(kCounterCaption, 330, 308, 248, 22);
        } else if (app.currentContentType == ContentType::Dial) {
            painter.Text(kDialHint, 185, 175, 310, 22);
        }
        break;
    }
    case kPageDecode:
        labels = kDecodeLabels;
        help = kDecodeHelp;
        break;
    default:
        labels = kBeautifyLabels;
        help = kBeautifyHelp;
        break;
    }
    // A second label column sits in the gap between the left boxes (ending at
    // x 277) and the right boxes (starting at x 345).
    const LabelColumns columns = SplitLabelColumns(labels);
    painter.Text(columns.left, 130, 152, 310, 170);
    if (!columns.right.empty()) {
        painter.Text(columns.right, 287, 152, 58, 170);
    }
    painter.Text(help, 130, 355, 310, 65);
    if (app.currentPage != kPageDecode) {
        painter.Text(kSizeCaption, painter.Width() - 230, painter.Height() - 32, 120, 22);
    }
}

void PaintAboutPage(const PagePainter& painter) {
    painter.Heading(kAboutHeading, 125, 130);
    painter.Heading(kVersionHeading, 333, 339);
    painter.Text(kAboutText, 130, 152, 520, 270);
    painter.Text(kVersionLine, 130, 355, 520, 65);
}

} // namespace

void PaintPage(const App& app, Gdiplus::GpGraphics* graphics, int width, int height) {
    if (graphics == nullptr) {
        return;
    }
    const ui::HostWindow& window = *app.objects.mainWindow;
    const Argb textColor =
        ui::IsDarkColour(ui::ToArgb(window.BackgroundColor())) ? kDarkText : kLightText;
    const PagePainter painter(graphics, width, height, textColor);
    painter.FrameLines();
    if (app.currentPage >= kPageCreate && app.currentPage <= kPageBeautify) {
        PaintWorkPage(app, painter);
    } else if (app.currentPage == kPageAbout) {
        PaintAboutPage(painter);
    }
}

} // namespace kodaro
