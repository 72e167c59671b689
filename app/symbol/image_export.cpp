#include "app/symbol/image_export.h"

#include "ui/draw/image.h"

namespace kodaro {

std::vector<std::uint8_t> ImageToBmpBytes(Gdiplus::GpImage* image) {
    return ui::EncodeImage(image, ui::kBmpEncoder);
}

std::vector<std::uint8_t> PictureBytesToPng(std::span<const std::uint8_t> bytes) {
    const ui::MemoryImage image = ui::LoadImageFromBytes(bytes);
    return image ? ui::EncodeImage(image.get(), ui::kPngEncoder) : std::vector<std::uint8_t>{};
}

} // namespace kodaro
