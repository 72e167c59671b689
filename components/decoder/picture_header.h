#pragma once
// Reads what a picture file says about itself before any decoder sees it:
// the format by its signature, the size it claims and whether its header
// fits inside the file. Pictures that claim too many pixels, or whose
// header points outside the file, never reach the picture decoder, so a
// decompression bomb or a lying header costs nothing but this read.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kodaro::components {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Gif, Tiff, Ico };

enum class HeaderVerdict {
    Fits,      // may be handed to the decoder
    TooLarge,  // claims more pixels than allowed, whatever else is wrong
    Malformed, // unknown format, or a header inconsistent with the file
};

struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    HeaderVerdict verdict = HeaderVerdict::Malformed;
    // The size claimed (for an icon, its largest image; for a GIF, the
    // larger of the screen and the first frame).
    int64_t width = 0;
    int64_t height = 0;
    // How many leading bytes to hand on. A GIF is cut after its first frame
    // (the one a viewer shows first): the decoder then gets those bytes and
    // the trailer byte 0x3B instead of every frame. Otherwise the file size.
    size_t keepBytes = 0;
};

// Checks `file` (the whole file) against `maxPixels`, the most pixels a
// picture, or all images of an icon together, may have.
PictureHeader ReadPictureHeader(std::span<const uint8_t> file, int64_t maxPixels);

} // namespace kodaro::components
