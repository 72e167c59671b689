// libFuzzer entry for the portable QR decoder and the picture header checks
// of the decoder component. Three kinds of input:
//  - a picture: width as two bytes (little-endian, 1..2048), then greyscale
//    pixels row by row; the height is whatever whole rows follow;
//  - a bit stream: two zero bytes, a version byte, then data codewords, fed
//    straight to the segment parser and the charset conversion, which
//    pictures only reach through a successful error correction;
//  - a picture file, whenever the first two bytes read as a width above
//    2048: every format's signature but the icon's does, so real files are
//    seeds as they are; an icon file follows the two bytes 0xFF 0xFF.
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/decoder/bitstream_parser.h"
#include "codec/decoder/qr_decoder.h"
#include "codec/decoder/text_decoding.h"
#include "components/decoder/picture_header.h"

namespace {

void Consume(const std::string& s) {
    volatile size_t sink = s.size();
    (void)sink;
}

// The checks' promises: what fits is within the limit, and a cut GIF keeps
// a part of the file.
void CheckPictureFile(std::span<const uint8_t> file) {
    using kodaro::components::HeaderVerdict;
    constexpr int64_t kMaxPixels = 50'000'000;
    const auto header = kodaro::components::ReadPictureHeader(file, kMaxPixels);
    if (header.verdict != HeaderVerdict::Fits)
        return;
    if (header.width <= 0 || header.height <= 0 || header.width * header.height > kMaxPixels ||
        header.keepBytes > file.size())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int width = data[0] | (data[1] << 8);
    if (width == 0xFFFF) {
        CheckPictureFile(std::span(data + 2, size - 2));
        return 0;
    }
    if (width > 2048) {
        CheckPictureFile(std::span(data, size));
        return 0;
    }
    if (width == 0) {
        const int version = data[2] % 40 + 1;
        const auto parsed = kodaro::codec::ParseBitstream(std::span(data + 3, size - 3), version);
        if (parsed)
            Consume(kodaro::codec::DecodeSymbolText(*parsed).utf8);
        return 0;
    }
    const size_t pixels = size - 2;
    const int height = static_cast<int>(pixels / static_cast<size_t>(width));
    if (height < 1)
        return 0;
    const kodaro::codec::GreyImage image{data + 2, width, height, width};
    for (const auto& symbol : kodaro::codec::DecodeQrSymbols(image)) {
        // Touch every field so the sanitizers see any bad value.
        Consume(symbol.text);
        Consume(symbol.bytes);
        volatile int fields = symbol.version + symbol.sequenceCount + symbol.sequenceIndex;
        (void)fields;
    }
    return 0;
}
