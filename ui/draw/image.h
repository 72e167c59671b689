#pragma once
// Images held in memory and the ways the framework draws them.

#include "ui/draw/geometry.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kodaro::ui {

// A GDI+ image decoded from bytes, together with the movable global block
// that holds the bytes and the IStream over that block: the image reads from
// the stream for as long as it lives, so the three are released together
// (image first). Move-only; an empty MemoryImage holds nothing.
class MemoryImage {
public:
    MemoryImage() = default;
    ~MemoryImage() { reset(); }
    MemoryImage(MemoryImage&& other) noexcept;
    MemoryImage& operator=(MemoryImage&& other) noexcept;
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    Gdiplus::GpImage* get() const { return image_; }
    explicit operator bool() const { return image_ != nullptr; }
    HGLOBAL block() const { return block_; }
    IStream* stream() const { return stream_; }

    // Disposes the image, releases the stream and frees the block; each handle
    // is cleared. Safe on an empty object.
    void reset();

private:
    friend MemoryImage LoadImageFromBytes(std::span<const std::uint8_t>, bool);
    MemoryImage(Gdiplus::GpImage* image, HGLOBAL block, IStream* stream)
        : image_(image), block_(block), stream_(stream) {}

    Gdiplus::GpImage* image_ = nullptr;
    HGLOBAL block_ = nullptr;
    IStream* stream_ = nullptr;
};

// Copies the bytes into a new movable global block (after the 8-byte PNG
// signature when addPngSignature is set), opens a stream over it and decodes
// it. On any failure the result is empty and nothing stays allocated.
MemoryImage LoadImageFromBytes(std::span<const std::uint8_t> bytes, bool addPngSignature = false);
// Same as image.reset().
void ReleaseMemoryImage(MemoryImage& image);

// Class identifiers of GDI+'s built-in BMP and PNG encoders.
inline constexpr wchar_t kBmpEncoder[] = L"{557CF400-1A04-11D3-9A73-0000F81EF32E}";
inline constexpr wchar_t kPngEncoder[] = L"{557CF406-1A04-11D3-9A73-0000F81EF32E}";

// The image as file bytes written by the encoder with that class identifier;
// empty when it cannot be encoded.
std::vector<std::uint8_t> EncodeImage(Gdiplus::GpImage* image, const wchar_t* encoderClsid);

// 0 for a null image.
int ImageWidth(Gdiplus::GpImage* image);
int ImageHeight(Gdiplus::GpImage* image);

// The whole image scaled into dest.
void DrawImageRect(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest);

// Opacity 255 (or more): as DrawImageRect. Below 255 the image is drawn 1:1
// from its top-left corner (source = dest's size) with its alpha scaled by
// opacity / 255.
void DrawImageAlpha(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                    int opacity);

// Nine-grid stretch: centre is the stretchable middle in image pixels; the
// corners are drawn unscaled, the edges stretched along their length and the
// centre both ways. With useOpacity and 0 <= opacity < 255 every piece is drawn
// with its alpha scaled. Draws nothing when graphics or image is null.
void DrawImageNineGrid(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                       const RectF& centre, int opacity = 255, bool useOpacity = false);

// The image at its natural size: centred on area (offsets rounded to the
// nearest pixel) or at area's top-left corner.
void DrawImageCentred(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& area,
                      bool centred);

// Draws the source part of the image (pixels) into dest with the given image
// attributes (may be null). Without sourceSizeGiven the source width and
// height are the image's and only source's x and y are used.
void DrawImagePart(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                   const RectF& source, bool sourceSizeGiven = true,
                   const Gdiplus::GpImageAttributes* attributes = nullptr);

// Image attributes whose colour matrix scales alpha by opacity / 255; null
// when they cannot be made.
UniqueImageAttributes MakeOpacityAttributes(int opacity);

} // namespace kodaro::ui
