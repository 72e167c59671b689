#include "app/symbol/image_export.h"

#include "ui/draw/image.h"

namespace kodaro {

std::vector<std::uint8_t> ImageToBmpBytes(Gdiplus::GpImage* image) {
    return ui::EncodeImage(image, ui::kBmpEncoder);
}

} // namespace kodaro
