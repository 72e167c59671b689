// A page tab: an image beside or above its caption and a lit "selected" look.
// Also serves as an icon button (image only). A tab never shows the focused
// state.
#pragma once

#include "ui/controls/button_base.h"
#include "ui/draw/image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kodaro::ui {

// Where the image sits relative to the caption.
inline constexpr int kImageLeft = 0;
inline constexpr int kImageRight = 1;
inline constexpr int kImageTop = 2;

// How the image fills its rectangle.
inline constexpr int kImageStretch = 1;
inline constexpr int kImageCentred = 2;

class TabButton : public ButtonBase {
public:
    // Replaces the image (encoded image file bytes, copied) and, when given,
    // its position, draw mode and margins; repaints.
    void SetImage(std::span<const std::uint8_t> image, std::optional<int> position = std::nullopt,
                  std::optional<int> drawMode = std::nullopt,
                  std::optional<int> marginX = std::nullopt,
                  std::optional<int> marginY = std::nullopt);

    const std::vector<std::uint8_t>& Image() const { return imageBytes_; }
    void Image(std::span<const std::uint8_t> image) { SetImage(image); }
    int ImagePosition() const { return position_; }
    void ImagePosition(int value);
    int ImageDrawMode() const { return drawMode_; }
    void ImageDrawMode(int value);
    int ImageMarginX() const { return marginX_; }
    void ImageMarginX(int value);
    int ImageMarginY() const { return marginY_; }
    void ImageMarginY(int value);
    bool Selected() const { return selected_; }
    void Selected(bool value);

protected:
    bool PaintBackground(Gdiplus::GpGraphics* graphics, int state) override;
    bool PaintContent(Gdiplus::GpGraphics* graphics, int state, RectF& caption) override;
    LRESULT PreHandle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::uint8_t> imageBytes_;
    MemoryImage image_;
    int position_ = kImageLeft;
    int marginX_ = 0;
    int marginY_ = 0;
    int drawMode_ = kImageCentred;
    bool selected_ = false;
};

} // namespace kodaro::ui
