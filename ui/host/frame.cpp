// The window's own frame: background surface (colour, image, edge, icon,
// shadow), window shape and the caption elements.
#include "ui/draw/color.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/host/caption_button.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"
#include "ui/host/title_label.h"

#include <array>

namespace kodaro::ui {

namespace {

// The layered window's shadow: four outlines from the content edge outwards.
constexpr std::array<int, 4> kShadowOpacity{45, 25, 10, 5};
constexpr std::array<float, 4> kShadowRounded{10, 12, 15, 18};
constexpr std::array<float, 4> kShadowSquare{1, 4, 7, 11};

constexpr ColorRef kEdgeOuter = 0x606060;
constexpr int kEdgeOuterOpacity = 204;
constexpr ColorRef kEdgeInner = 0xFFFFFF;
constexpr int kEdgeInnerOpacity = 102;

constexpr float kCaptionTop = 7;
constexpr float kCaptionRightMargin = 11;
constexpr float kCaptionStep = 28;
constexpr float kTitleLeft = 32;

void DrawSquare(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color) {
    UniquePen pen = MakePen(color);
    if (pen) {
        gdip::GdipDrawRectangle(graphics, pen.get(), rect.X, rect.Y, rect.Width - 1,
                                rect.Height - 1);
    }
}

// Mean of each colour channel over every pixel of the image.
std::optional<ColorRef> AverageColor(Gdiplus::GpImage* image) {
    const int width = ImageWidth(image);
    const int height = ImageHeight(image);
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(image);
    Gdiplus::Rect area(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (gdip::GdipBitmapLockBits(bitmap, &area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
        return std::nullopt;
    }
    unsigned long long red = 0;
    unsigned long long green = 0;
    unsigned long long blue = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(data.Scan0) +
                                                   static_cast<std::ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < width; ++x) {
            red += (row[x] >> 16) & 0xFF;
            green += (row[x] >> 8) & 0xFF;
            blue += row[x] & 0xFF;
        }
    }
    gdip::GdipBitmapUnlockBits(bitmap, &data);
    const unsigned long long count = static_cast<unsigned long long>(width) * height;
    return RGB(red / count, green / count, blue / count);
}

} // namespace

void HostWindow::LoadBackground(std::span<const std::uint8_t> image,
                                std::optional<ColorRef> color) {
    HostWindow* source = FromWindow(skinSource_);
    if (source != nullptr && source != this) {
        if (!source->backgroundBytes_.empty()) {
            backgroundBytes_ = source->backgroundBytes_;
            backgroundImage_ = LoadImageFromBytes(backgroundBytes_);
        }
        backgroundColor_ = source->backgroundColor_;
    } else if (!image.empty()) {
        backgroundImage_.reset();
        backgroundBytes_.assign(image.begin(), image.end());
        backgroundImage_ = LoadImageFromBytes(backgroundBytes_);
        if (!backgroundImage_) {
            backgroundBytes_.clear();
        } else if (auto average = AverageColor(backgroundImage_.get())) {
            backgroundColor_ = *average;
        }
    }
    if (color.has_value()) {
        backgroundColor_ = *color & 0xFFFFFF;
    }
}

void HostWindow::RenderBackground(std::span<const std::uint8_t> image,
                                  std::optional<ColorRef> color, PresentMode presentMode) {
    LoadBackground(image, color);
    if (!compositor_.Background()) {
        return;
    }
    Gdiplus::GpGraphics* graphics = compositor_.Background().graphics();
    const auto w = static_cast<float>(Width());
    const auto h = static_cast<float>(Height());
    const RectF content = MakeRectF(5, 5, w - 10, h - 10);

    gdip::GdipGraphicsClear(graphics, 0);
    UniqueRegion clip;
    if (UniqueHrgn shape =
            CreateWindowRegion(Width(), Height(), 6, frameLook_ != WindowLook::Square ? 4 : 0)) {
        clip = RegionFromHrgn(shape.get());
    }
    if (clip) {
        SetClipRegion(graphics, clip.get());
    }
    compositor_.ClipTo(std::move(clip));
    FillRectangle(graphics, MakeRectF(0, 0, w + 1, h + 1), ToArgb(backgroundColor_, 255));
    if (Gdiplus::GpImage* picture = backgroundImage_.get()) {
        const auto iw = static_cast<float>(ImageWidth(picture));
        const auto ih = static_cast<float>(ImageHeight(picture));
        RectF placed = MakeRectF(content.X, content.Y, iw, ih);
        if (backgroundCentre_.has_value()) {
            DrawImageNineGrid(graphics, picture, content, *backgroundCentre_);
            placed = content;
        } else if (backgroundMode_ == BackgroundMode::Stretch) {
            DrawImageRect(graphics, picture, content);
            placed = content;
        } else if (backgroundMode_ == BackgroundMode::Centre) {
            DrawImageCentred(graphics, picture, content, true);
            placed = MakeRectF(
                content.X - static_cast<float>(static_cast<int>((iw - content.Width) / 2)),
                content.Y - static_cast<float>(static_cast<int>((ih - content.Height) / 2)), iw,
                ih);
        } else {
            DrawImageCentred(graphics, picture, content, false);
        }
        // A picture that does not fill the window gets a soft outline.
        if (backgroundMode_ != BackgroundMode::Stretch && !backgroundCentre_.has_value() &&
            imageDecoration_) {
            DrawSquare(graphics, GrowRect(placed, -1, -1, 2, 2), ToArgb(0x000000, 40));
        }
    }
    if ((frameStyle_ & kFrameIcon) != 0) {
        if (HICON icon = WindowIcon(window_, false)) {
            HDC dc = nullptr;
            if (gdip::GdipGetDC(graphics, &dc) == Gdiplus::Ok) {
                DrawIconEx(dc, 11, 11, icon, 16, 16, 0, nullptr, DI_NORMAL);
                gdip::GdipReleaseDC(graphics, dc);
            }
        }
    }
    if (EventPaint) {
        EventPaint(window_, graphics, Width(), Height());
    }
    if (frameLook_ != WindowLook::Bare) {
        DrawFrameEdge(graphics);
    }
    ResetClip(graphics);
    if (!Layered()) {
        ApplyWindowRegion();
    } else if ((frameStyle_ & kFrameShadow) != 0) {
        DrawShadow(graphics);
    }
    gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);

    if (presentMode == PresentMode::Fade && !compositor_.Suspended()) {
        TakeSnapshot();
    }
    Refresh(presentMode == PresentMode::Whole);
    if (presentMode == PresentMode::Fade && snapshot_) {
        StartFadeTransition();
    }
}

void HostWindow::DrawFrameEdge(Gdiplus::GpGraphics* graphics) const {
    const auto w = static_cast<float>(Width());
    const auto h = static_cast<float>(Height());
    // Inside the content rectangle (5, 5, W - 10, H - 10): 1 and 2 pixels in.
    const RectF outer = MakeRectF(6, 6, w - 12, h - 12);
    const RectF inner = MakeRectF(7, 7, w - 14, h - 14);
    if (frameLook_ == WindowLook::Square) {
        DrawSquare(graphics, outer, ToArgb(kEdgeOuter, kEdgeOuterOpacity));
        DrawSquare(graphics, inner, ToArgb(kEdgeInner, kEdgeInnerOpacity));
    } else {
        DrawRoundRect(graphics, outer, 7, ToArgb(kEdgeOuter, kEdgeOuterOpacity));
        DrawRoundRect(graphics, inner, 6, ToArgb(kEdgeInner, kEdgeInnerOpacity));
    }
}

void HostWindow::DrawShadow(Gdiplus::GpGraphics* graphics) const {
    const auto w = static_cast<float>(Width());
    const auto h = static_cast<float>(Height());
    const ColorRef color = shadowColor_ == -1 ? 0 : static_cast<ColorRef>(shadowColor_);
    for (std::size_t i = 0; i < kShadowOpacity.size(); ++i) {
        const auto out = static_cast<float>(i);
        const RectF ring = MakeRectF(5 - out, 5 - out, w - 10 + 2 * out, h - 10 + 2 * out);
        const float diameter =
            frameLook_ != WindowLook::Square ? kShadowRounded[i] : kShadowSquare[i];
        DrawRoundRect(graphics, ring, diameter, ToArgb(color, kShadowOpacity[i]));
    }
}

UINT RegionMessage() {
    static const UINT message = RegisterWindowMessageW(L"Ex_DirectUI_Region");
    return message;
}

void HostWindow::ApplyWindowRegion() {
    // Setting a region moves the window again; inside WM_SIZE that nested move
    // can undo the size change (seen under Wine), so it waits for the queue.
    if (sizing_) {
        PostMessageW(window_, RegionMessage(), 0, 0);
        return;
    }
    const int inset = IsZoomed(window_) ? 5 : 6;
    const int diameter = frameLook_ != WindowLook::Square ? 5 : 0;
    HRGN region = CreateRoundRectRgn(inset, inset, Width() - inset + 1, Height() - inset + 1,
                                     diameter, diameter);
    if (region != nullptr && SetWindowRgn(window_, region, TRUE) == 0) {
        DeleteObject(region);
    }
}

void HostWindow::BuildFrame() {
    if ((frameStyle_ & kFrameTitle) != 0) {
        const int length = GetWindowTextLengthW(window_);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), length + 1)));
        titleLabel_ = std::make_unique<TitleLabel>();
        titleLabel_->Create(*this, MakeRectF(kTitleLeft, kCaptionTop, 1, kCaptionButtonHeight),
                            std::move(text));
    }
    for (int type : {kFrameClose, kFrameMaximise, kFrameMinimise}) {
        if ((frameStyle_ & type) != 0) {
            auto button = std::make_unique<CaptionButton>(type);
            button->Create(*this, 0, kCaptionTop);
            captionButtons_.push_back(std::move(button));
        }
    }
    LayoutCaption();
}

void HostWindow::LayoutCaption() {
    float x = static_cast<float>(Width()) - kCaptionRightMargin - kCaptionButtonWidth;
    for (const auto& button : captionButtons_) {
        button->Move(x, kCaptionTop);
        x -= kCaptionStep;
    }
    if (titleLabel_) {
        const float right = x + kCaptionButtonWidth;
        titleLabel_->Move(kTitleLeft, kCaptionTop, std::max(1.0f, right - kTitleLeft - 4),
                          kCaptionButtonHeight);
    }
}

std::vector<Control*> HostWindow::CaptionButtons() const {
    std::vector<Control*> buttons;
    for (const auto& button : captionButtons_) {
        buttons.push_back(button.get());
    }
    return buttons;
}

Control* HostWindow::TitleControl() const {
    return titleLabel_.get();
}

} // namespace kodaro::ui
