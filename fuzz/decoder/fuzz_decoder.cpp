// libFuzzer entry for the portable QR decoder. Two kinds of input:
//  - a picture: width as two bytes (little-endian, 1..2048), then greyscale
//    pixels row by row; the height is whatever whole rows follow;
//  - a bit stream: two zero bytes, a version byte, then data codewords, fed
//    straight to the segment parser and the charset conversion, which
//    pictures only reach through a successful error correction.
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/decoder/bitstream_parser.h"
#include "codec/decoder/qr_decoder.h"
#include "codec/decoder/text_decoding.h"

namespace {

void Consume(const std::string& s) {
    volatile size_t sink = s.size();
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int width = data[0] | (data[1] << 8);
    if (width == 0) {
        const int version = data[2] % 40 + 1;
        const auto parsed = kodaro::codec::ParseBitstream(std::span(data + 3, size - 3), version);
        if (parsed)
            Consume(kodaro::codec::DecodeSymbolText(*parsed).utf8);
        return 0;
    }
    if (width > 2048)
        return 0;
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
