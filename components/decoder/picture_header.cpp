#include "components/decoder/picture_header.h"

#include <algorithm>
#include <cstring>

namespace kodaro::components {

namespace {

// Bounds-checked reads from the file's bytes; offsets are 64-bit so that
// sums of values read from the file cannot wrap on a 32-bit build.
class Bytes {
public:
    explicit Bytes(std::span<const uint8_t> data) : data_(data) {}
    uint64_t Size() const { return data_.size(); }
    bool Has(uint64_t at, uint64_t count) const {
        return at <= data_.size() && count <= data_.size() - at;
    }
    bool Starts(uint64_t at, const char* text) const {
        const size_t n = std::strlen(text);
        return Has(at, n) && std::memcmp(data_.data() + at, text, n) == 0;
    }
    // The callers check Has() before these.
    uint32_t U8(uint64_t at) const { return data_[at]; }
    uint32_t Le16(uint64_t at) const { return U8(at) | U8(at + 1) << 8; }
    uint32_t Be16(uint64_t at) const { return U8(at) << 8 | U8(at + 1); }
    uint32_t Le32(uint64_t at) const { return Le16(at) | Le16(at + 2) << 16; }
    uint32_t Be32(uint64_t at) const { return Be16(at) << 16 | Be16(at + 2); }
    Bytes Sub(uint64_t at, uint64_t count) const {
        return Bytes(data_.subspan(static_cast<size_t>(at), static_cast<size_t>(count)));
    }

private:
    std::span<const uint8_t> data_;
};

bool OverLimit(int64_t width, int64_t height, int64_t maxPixels) {
    return width > 0 && height > maxPixels / width;
}

PictureHeader Malformed(PictureFormat format) {
    PictureHeader h;
    h.format = format;
    return h;
}

// A header whose size is known: too large before anything else, then fits
// when `consistent`.
PictureHeader Sized(PictureFormat format, int64_t width, int64_t height, int64_t maxPixels,
                    bool consistent, uint64_t keepBytes) {
    PictureHeader h;
    h.format = format;
    h.width = width;
    h.height = height;
    h.keepBytes = static_cast<size_t>(keepBytes);
    if (OverLimit(width, height, maxPixels))
        h.verdict = HeaderVerdict::TooLarge;
    else if (consistent && width > 0 && height > 0)
        h.verdict = HeaderVerdict::Fits;
    return h;
}

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

PictureHeader ReadPng(const Bytes& b, int64_t maxPixels) {
    // The first chunk is IHDR, 13 bytes, right after the 8-byte signature.
    if (!b.Has(8, 8 + 13) || b.Be32(8) != 13 || !b.Starts(12, "IHDR"))
        return Malformed(PictureFormat::Png);
    const int64_t width = b.Be32(16);
    const int64_t height = b.Be32(20);
    const bool valid = width <= INT32_MAX && height <= INT32_MAX;
    return Sized(PictureFormat::Png, width, height, maxPixels, valid, b.Size());
}

bool IsJpegFrameMarker(uint32_t marker) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureHeader ReadJpeg(const Bytes& b, int64_t maxPixels) {
    uint64_t at = 2;
    for (;;) {
        if (!b.Has(at, 2) || b.U8(at) != 0xFF)
            return Malformed(PictureFormat::Jpeg);
        const uint32_t marker = b.U8(at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        // Another start, the end or a scan before any frame header.
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || marker == 0x00)
            return Malformed(PictureFormat::Jpeg);
        if (!b.Has(at, 2))
            return Malformed(PictureFormat::Jpeg);
        const uint64_t length = b.Be16(at);
        if (length < 2 || !b.Has(at, length))
            return Malformed(PictureFormat::Jpeg);
        if (IsJpegFrameMarker(marker)) {
            if (length < 8)
                return Malformed(PictureFormat::Jpeg);
            const int64_t height = b.Be16(at + 3);
            const int64_t width = b.Be16(at + 5);
            const uint32_t components = b.U8(at + 7);
            // A height of 0 would come later in a DNL marker, which the
            // decoder does not read.
            const bool valid = components > 0 && length >= 8 + 3 * components;
            return Sized(PictureFormat::Jpeg, width, height, maxPixels, valid, b.Size());
        }
        at += length;
    }
}

uint64_t BmpRowBytes(int64_t width, uint32_t bitsPerPixel) {
    return (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

PictureHeader ReadBmp(const Bytes& b, int64_t maxPixels) {
    if (!b.Has(14, 4))
        return Malformed(PictureFormat::Bmp);
    const uint64_t offset = b.Le32(10);
    const uint32_t headerSize = b.Le32(14);
    if (headerSize < 12 || headerSize > 124 || !b.Has(14, headerSize))
        return Malformed(PictureFormat::Bmp);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bits = 0;
    uint32_t compression = 0;
    if (headerSize < 16) { // the old core header: 16-bit sizes
        width = b.Le16(18);
        height = b.Le16(20);
        bits = b.Le16(24);
    } else {
        width = static_cast<int32_t>(b.Le32(18));
        height = static_cast<int32_t>(b.Le32(22));
        bits = b.Le16(28);
        compression = headerSize >= 20 ? b.Le32(30) : 0;
    }
    height = height < 0 ? -height : height; // negative: rows top down
    if (width <= 0 || height <= 0)
        return Malformed(PictureFormat::Bmp);
    if (OverLimit(width, height, maxPixels))
        return Sized(PictureFormat::Bmp, width, height, maxPixels, false, b.Size());
    // The pixel data must start inside the file; uncompressed rows must all
    // be there (the last one may lack its padding).
    bool consistent = offset < b.Size();
    constexpr uint32_t kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;
    const bool plain =
        compression == kRgb || compression == kBitfields || compression == kAlphaBitfields;
    const bool knownDepth =
        bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (consistent && plain && knownDepth) {
        const uint64_t lastRow = (static_cast<uint64_t>(width) * bits + 7) / 8;
        const uint64_t rows = BmpRowBytes(width, bits) * static_cast<uint64_t>(height - 1);
        consistent = b.Has(offset, rows + lastRow);
    }
    return Sized(PictureFormat::Bmp, width, height, maxPixels, consistent, b.Size());
}

// Steps over a chain of GIF data sub-blocks starting at `at`; false when the
// file ends inside it.
bool SkipGifSubBlocks(const Bytes& b, uint64_t* at) {
    for (;;) {
        if (!b.Has(*at, 1))
            return false;
        const uint32_t n = b.U8(*at);
        *at += 1 + n;
        if (n == 0)
            return b.Has(*at, 0);
    }
}

uint64_t GifColorTableBytes(uint32_t flags) {
    return (flags & 0x80) ? 3ull << ((flags & 7) + 1) : 0;
}

PictureHeader ReadGif(const Bytes& b, int64_t maxPixels) {
    if (!b.Has(0, 13))
        return Malformed(PictureFormat::Gif);
    const int64_t screenWidth = b.Le16(6);
    const int64_t screenHeight = b.Le16(8);
    uint64_t at = 13 + GifColorTableBytes(b.U8(10));
    for (;;) {
        if (!b.Has(at, 1))
            return Malformed(PictureFormat::Gif);
        const uint32_t block = b.U8(at);
        if (block == 0x21) { // extension: label, then sub-blocks
            at += 2;
            if (!SkipGifSubBlocks(b, &at))
                return Malformed(PictureFormat::Gif);
            continue;
        }
        if (block != 0x2C) // the trailer or garbage before any image
            return Malformed(PictureFormat::Gif);
        if (!b.Has(at, 10))
            return Malformed(PictureFormat::Gif);
        const int64_t frameWidth = b.Le16(at + 5);
        const int64_t frameHeight = b.Le16(at + 7);
        at += 10 + GifColorTableBytes(b.U8(at + 9));
        at += 1; // LZW minimum code size
        // A first frame cut short is handed on as it is, for the decoder to
        // show what there is of it.
        const uint64_t keep = SkipGifSubBlocks(b, &at) ? at : b.Size();
        if (OverLimit(frameWidth, frameHeight, maxPixels))
            return Sized(PictureFormat::Gif, frameWidth, frameHeight, maxPixels, false, keep);
        return Sized(PictureFormat::Gif, std::max(screenWidth, frameWidth),
                     std::max(screenHeight, frameHeight), maxPixels,
                     !OverLimit(screenWidth, screenHeight, maxPixels), keep);
    }
}

class Tiff {
public:
    Tiff(const Bytes& b, bool littleEndian) : b_(b), le_(littleEndian) {}
    uint32_t U16(uint64_t at) const { return le_ ? b_.Le16(at) : b_.Be16(at); }
    uint32_t U32(uint64_t at) const { return le_ ? b_.Le32(at) : b_.Be32(at); }

    // One value of an entry's SHORT or LONG array, which sits in the entry
    // itself when it fits in four bytes. False when it lies outside the file.
    bool Value(uint64_t entry, uint64_t index, uint64_t* out) const {
        const uint32_t type = U16(entry + 2);
        const uint64_t count = U32(entry + 4);
        const uint64_t size = type == 3 ? 2 : type == 4 ? 4 : 0;
        if (size == 0 || index >= count)
            return false;
        uint64_t at = entry + 8;
        if (count * size > 4)
            at = U32(entry + 8);
        at += index * size;
        if (!b_.Has(at, size))
            return false;
        *out = size == 2 ? U16(at) : U32(at);
        return true;
    }
    uint64_t Count(uint64_t entry) const { return U32(entry + 4); }

private:
    const Bytes& b_;
    bool le_;
};

// Every strip or tile (offsets in `offsets`, lengths in `lengths`, either may
// be absent) lies inside the file.
bool TiffPiecesInside(const Tiff& t, const Bytes& b, uint64_t offsets, uint64_t lengths) {
    if (offsets == 0)
        return true;
    const uint64_t count = t.Count(offsets);
    uint64_t probe = 0;
    // The arrays themselves must be in the file: this bounds the loop.
    if (count == 0 || !t.Value(offsets, count - 1, &probe))
        return false;
    const bool haveLengths = lengths != 0 && t.Value(lengths, t.Count(lengths) - 1, &probe);
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t offset = 0;
        uint64_t length = 0;
        t.Value(offsets, i, &offset);
        if (haveLengths && i < t.Count(lengths))
            t.Value(lengths, i, &length);
        if (!b.Has(offset, length) || offset >= b.Size())
            return false;
    }
    return true;
}

PictureHeader ReadTiff(const Bytes& b, int64_t maxPixels) {
    const Tiff t(b, b.U8(0) == 'I');
    const uint64_t ifd = t.U32(4);
    if (t.U16(2) != 42 || ifd < 8 || !b.Has(ifd, 2))
        return Malformed(PictureFormat::Tiff);
    const uint64_t entries = t.U16(ifd);
    if (entries == 0 || !b.Has(ifd + 2, entries * 12))
        return Malformed(PictureFormat::Tiff);
    uint64_t width = 0;
    uint64_t height = 0;
    uint64_t stripOffsets = 0, stripLengths = 0, tileOffsets = 0, tileLengths = 0;
    for (uint64_t i = 0; i < entries; ++i) {
        const uint64_t entry = ifd + 2 + 12 * i;
        switch (t.U16(entry)) {
        case 256:
            t.Value(entry, 0, &width);
            break;
        case 257:
            t.Value(entry, 0, &height);
            break;
        case 273:
            stripOffsets = entry;
            break;
        case 279:
            stripLengths = entry;
            break;
        case 324:
            tileOffsets = entry;
            break;
        case 325:
            tileLengths = entry;
            break;
        default:
            break;
        }
    }
    const auto w = static_cast<int64_t>(width);
    const auto h = static_cast<int64_t>(height);
    if (OverLimit(w, h, maxPixels))
        return Sized(PictureFormat::Tiff, w, h, maxPixels, false, b.Size());
    const bool consistent = (stripOffsets != 0 || tileOffsets != 0) &&
                            TiffPiecesInside(t, b, stripOffsets, stripLengths) &&
                            TiffPiecesInside(t, b, tileOffsets, tileLengths);
    return Sized(PictureFormat::Tiff, w, h, maxPixels, consistent, b.Size());
}

// An icon's image: a PNG file, or a device-independent bitmap whose height
// counts the colour rows and the mask rows together.
PictureHeader ReadIconImage(const Bytes& image, int64_t maxPixels) {
    if (image.Starts(0, kPngSignature))
        return ReadPng(image, maxPixels);
    if (!image.Has(0, 16))
        return Malformed(PictureFormat::Ico);
    const uint64_t headerSize = image.Le32(0);
    const int64_t width = static_cast<int32_t>(image.Le32(4));
    int64_t height = static_cast<int32_t>(image.Le32(8));
    height = (height < 0 ? -height : height) / 2;
    const uint32_t bits = image.Le16(14);
    if (width <= 0 || height <= 0)
        return Malformed(PictureFormat::Ico);
    if (OverLimit(width, height, maxPixels))
        return Sized(PictureFormat::Ico, width, height, maxPixels, false, image.Size());
    const bool consistent =
        headerSize >= 12 && image.Has(headerSize, BmpRowBytes(width, bits) * height);
    return Sized(PictureFormat::Ico, width, height, maxPixels, consistent, image.Size());
}

PictureHeader ReadIco(const Bytes& b, int64_t maxPixels) {
    const uint64_t count = b.Le16(4);
    const uint32_t type = b.Le16(2);
    if (b.Le16(0) != 0 || (type != 1 && type != 2) || count == 0 || !b.Has(6, 16 * count))
        return Malformed(PictureFormat::Ico);
    PictureHeader result;
    result.format = PictureFormat::Ico;
    result.verdict = HeaderVerdict::Fits;
    result.keepBytes = static_cast<size_t>(b.Size());
    int64_t total = 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t entry = 6 + 16 * i;
        const uint64_t bytes = b.Le32(entry + 8);
        const uint64_t offset = b.Le32(entry + 12);
        if (!b.Has(offset, bytes)) {
            result.verdict = HeaderVerdict::Malformed;
            continue;
        }
        const PictureHeader image = ReadIconImage(b.Sub(offset, bytes), maxPixels);
        if (image.verdict == HeaderVerdict::TooLarge) {
            result.verdict = HeaderVerdict::TooLarge;
            break;
        }
        if (image.verdict == HeaderVerdict::Malformed) {
            result.verdict = HeaderVerdict::Malformed;
            continue;
        }
        if (image.width * image.height > result.width * result.height) {
            result.width = image.width;
            result.height = image.height;
        }
        // All the images together stay within the limit too.
        total += image.width * image.height;
        if (total > maxPixels) {
            result.verdict = HeaderVerdict::TooLarge;
            break;
        }
    }
    return result;
}

} // namespace

PictureHeader ReadPictureHeader(std::span<const uint8_t> file, int64_t maxPixels) {
    const Bytes b(file);
    if (b.Starts(0, kPngSignature))
        return ReadPng(b, maxPixels);
    if (b.Starts(0, "\xFF\xD8"))
        return ReadJpeg(b, maxPixels);
    if (b.Starts(0, "GIF87a") || b.Starts(0, "GIF89a"))
        return ReadGif(b, maxPixels);
    if (b.Starts(0, "BM"))
        return ReadBmp(b, maxPixels);
    if (b.Has(0, 8) && (b.Starts(0, "II") || b.Starts(0, "MM")))
        return ReadTiff(b, maxPixels);
    if (b.Has(0, 6) && b.Le16(0) == 0)
        return ReadIco(b, maxPixels);
    return {};
}

} // namespace kodaro::components
