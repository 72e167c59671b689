#include "ui/draw/image.h"

#include "runtime/handles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace kodaro::ui {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

} // namespace

MemoryImage::MemoryImage(MemoryImage&& other) noexcept
    : image_(std::exchange(other.image_, nullptr)), block_(std::exchange(other.block_, nullptr)),
      stream_(std::exchange(other.stream_, nullptr)) {}

MemoryImage& MemoryImage::operator=(MemoryImage&& other) noexcept {
    if (this != &other) {
        reset();
        image_ = std::exchange(other.image_, nullptr);
        block_ = std::exchange(other.block_, nullptr);
        stream_ = std::exchange(other.stream_, nullptr);
    }
    return *this;
}

void MemoryImage::reset() {
    // The image may still read from the stream, and the stream from the block.
    if (image_ != nullptr) {
        gdip::GdipDisposeImage(image_);
        image_ = nullptr;
    }
    if (stream_ != nullptr) {
        stream_->Release();
        stream_ = nullptr;
    }
    if (block_ != nullptr) {
        GlobalFree(block_);
        block_ = nullptr;
    }
}

MemoryImage LoadImageFromBytes(std::span<const std::uint8_t> bytes, bool addPngSignature) {
    const SIZE_T prefix = addPngSignature ? sizeof kPngSignature : 0;
    if (bytes.empty() || bytes.size() > static_cast<SIZE_T>(-1) - prefix) {
        return {};
    }
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + prefix));
    if (!block) {
        return {};
    }
    {
        const GlobalLockGuard lock(block.get());
        auto* data = static_cast<std::uint8_t*>(lock.data());
        if (data == nullptr) {
            return {};
        }
        if (addPngSignature) {
            std::memcpy(data, kPngSignature, sizeof kPngSignature);
        }
        std::memcpy(data + prefix, bytes.data(), bytes.size());
    }

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, stream.put())) || !stream) {
        return {};
    }
    Gdiplus::GpImage* image = nullptr;
    if (gdip::GdipLoadImageFromStream(stream.get(), &image) != Gdiplus::Ok || image == nullptr) {
        if (image != nullptr) {
            gdip::GdipDisposeImage(image);
        }
        return {};
    }
    return MemoryImage(image, block.release(), stream.release());
}

void ReleaseMemoryImage(MemoryImage& image) {
    image.reset();
}

int ImageWidth(Gdiplus::GpImage* image) {
    UINT width = 0;
    if (image == nullptr || gdip::GdipGetImageWidth(image, &width) != Gdiplus::Ok) {
        return 0;
    }
    return static_cast<int>(width);
}

int ImageHeight(Gdiplus::GpImage* image) {
    UINT height = 0;
    if (image == nullptr || gdip::GdipGetImageHeight(image, &height) != Gdiplus::Ok) {
        return 0;
    }
    return static_cast<int>(height);
}

void DrawImageRect(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest) {
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    gdip::GdipDrawImageRect(graphics, image, dest.X, dest.Y, dest.Width, dest.Height);
}

UniqueImageAttributes MakeOpacityAttributes(int opacity) {
    Gdiplus::GpImageAttributes* raw = nullptr;
    if (gdip::GdipCreateImageAttributes(&raw) != Gdiplus::Ok) {
        return nullptr;
    }
    UniqueImageAttributes attributes(raw);
    Gdiplus::ColorMatrix matrix{};
    matrix.m[0][0] = 1.0f;
    matrix.m[1][1] = 1.0f;
    matrix.m[2][2] = 1.0f;
    matrix.m[3][3] = static_cast<float>(std::clamp(opacity, 0, 255)) / 255.0f;
    matrix.m[4][4] = 1.0f;
    if (gdip::GdipSetImageAttributesColorMatrix(attributes.get(), Gdiplus::ColorAdjustTypeBitmap,
                                                TRUE, &matrix, nullptr,
                                                Gdiplus::ColorMatrixFlagsDefault) != Gdiplus::Ok) {
        return nullptr;
    }
    return attributes;
}

void DrawImageAlpha(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                    int opacity) {
    if (opacity >= 255) {
        DrawImageRect(graphics, image, dest);
        return;
    }
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    const UniqueImageAttributes attributes = MakeOpacityAttributes(opacity);
    if (!attributes) {
        return;
    }
    gdip::GdipDrawImageRectRect(graphics, image, dest.X, dest.Y, dest.Width, dest.Height, 0, 0,
                                dest.Width, dest.Height, Gdiplus::UnitPixel, attributes.get(),
                                nullptr, nullptr);
}

void DrawImageNineGrid(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                       const RectF& centre, int opacity, bool useOpacity) {
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    UniqueImageAttributes attributes;
    if (useOpacity && opacity >= 0 && opacity < 255) {
        attributes = MakeOpacityAttributes(opacity);
        if (!attributes) {
            return;
        }
    }
    const float imageWidth = static_cast<float>(ImageWidth(image));
    const float imageHeight = static_cast<float>(ImageHeight(image));
    const float left = centre.X;
    const float top = centre.Y;
    const float right = imageWidth - centre.X - centre.Width;
    const float bottom = imageHeight - centre.Y - centre.Height;

    // Columns and rows as (source start, source size, dest start, dest size).
    struct Span {
        float source, sourceSize, dest, destSize;
    };
    const Span columns[3] = {
        {0, left, dest.X, left},
        {left, centre.Width, dest.X + left, dest.Width - left - right},
        {imageWidth - right, right, dest.X + dest.Width - right, right},
    };
    const Span rows[3] = {
        {0, top, dest.Y, top},
        {top, centre.Height, dest.Y + top, dest.Height - top - bottom},
        {imageHeight - bottom, bottom, dest.Y + dest.Height - bottom, bottom},
    };
    for (const Span& row : rows) {
        for (const Span& column : columns) {
            // Borders of width 0 and middles squeezed to nothing have no pixels to draw.
            if (column.sourceSize <= 0 || row.sourceSize <= 0 || column.destSize <= 0 ||
                row.destSize <= 0) {
                continue;
            }
            gdip::GdipDrawImageRectRect(graphics, image, column.dest, row.dest, column.destSize,
                                        row.destSize, column.source, row.source, column.sourceSize,
                                        row.sourceSize, Gdiplus::UnitPixel, attributes.get(),
                                        nullptr, nullptr);
        }
    }
}

void DrawImageCentred(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& area,
                      bool centred) {
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    const int width = ImageWidth(image);
    const int height = ImageHeight(image);
    float x = area.X;
    float y = area.Y;
    if (centred) {
        x = std::round(area.X - (static_cast<float>(width) - area.Width) / 2.0f);
        y = std::round(area.Y - (static_cast<float>(height) - area.Height) / 2.0f);
    }
    gdip::GdipDrawImageRectRect(graphics, image, x, y, static_cast<float>(width),
                                static_cast<float>(height), 0, 0, static_cast<float>(width),
                                static_cast<float>(height), Gdiplus::UnitPixel, nullptr, nullptr,
                                nullptr);
}

void DrawImagePart(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                   const RectF& source, bool sourceSizeGiven,
                   const Gdiplus::GpImageAttributes* attributes) {
    if (graphics == nullptr || image == nullptr) {
        return;
    }
    const float sourceWidth =
        sourceSizeGiven ? source.Width : static_cast<float>(ImageWidth(image));
    const float sourceHeight =
        sourceSizeGiven ? source.Height : static_cast<float>(ImageHeight(image));
    gdip::GdipDrawImageRectRect(graphics, image, dest.X, dest.Y, dest.Width, dest.Height, source.X,
                                source.Y, sourceWidth, sourceHeight, Gdiplus::UnitPixel, attributes,
                                nullptr, nullptr);
}

std::vector<std::uint8_t> EncodeImage(Gdiplus::GpImage* image, const wchar_t* encoderClsid) {
    CLSID encoder{};
    if (image == nullptr || encoderClsid == nullptr ||
        FAILED(CLSIDFromString(encoderClsid, &encoder))) {
        return {};
    }
    // Declared so that the stream goes before the block, and the lock before
    // both, also when copying the bytes out throws.
    const UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0));
    if (!block) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, stream.put()))) {
        return {};
    }
    STATSTG stat{};
    // The block may be larger than what was written; the stream knows the real length.
    if (gdip::GdipSaveImageToStream(image, stream.get(), &encoder, nullptr) == Gdiplus::Ok &&
        SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart > 0 &&
        stat.cbSize.QuadPart <= GlobalSize(block.get())) {
        const GlobalLockGuard lock(block.get());
        if (const void* data = lock.data()) {
            const auto* first = static_cast<const std::uint8_t*>(data);
            bytes.assign(first, first + static_cast<std::size_t>(stat.cbSize.QuadPart));
        }
    }
    return bytes;
}

} // namespace kodaro::ui
