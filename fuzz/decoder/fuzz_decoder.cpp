// libFuzzer entry for the portable QR decoder. Input: width as two bytes
// (little-endian, 1..2048), then greyscale pixels row by row; the height is
// whatever whole rows follow.
#include <cstddef>
#include <cstdint>

#include "codec/decoder/qr_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int width = data[0] | (data[1] << 8);
    if (width < 1 || width > 2048)
        return 0;
    const size_t pixels = size - 2;
    const int height = static_cast<int>(pixels / static_cast<size_t>(width));
    if (height < 1)
        return 0;
    const kodaro::codec::GreyImage image{data + 2, width, height, width};
    for (const auto& symbol : kodaro::codec::DecodeQrSymbols(image)) {
        // Touch every field so the sanitizers see any bad value.
        volatile size_t sink = symbol.text.size() + symbol.bytes.size() +
                               static_cast<size_t>(symbol.version + symbol.sequenceCount);
        (void)sink;
    }
    return 0;
}
