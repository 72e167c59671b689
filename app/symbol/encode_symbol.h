#pragma once
// The bridge to the encoder component: payload and level in, the bare symbol
// as a complete in-memory BMP file out.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kodaro {

// Error-correction level passed to the encoder: 0 L, 1 M, 2 Q, 3 H.
using EcLevel = int;
constexpr EcLevel kDefaultEcLevel = 2;

// A bitmap file in memory: 14-byte file header (data at 1078), then the
// encoder's 8-bit packed bitmap. Exactly opaque white pixels are light
// modules (or the quiet zone); every other colour is dark. Empty when the
// encoder produced nothing usable.
using ModuleMatrix = std::vector<uint8_t>;

constexpr size_t kBitmapFileHeaderSize = 14;
constexpr uint32_t kModuleMatrixDataOffset = 1078; // 14 + 40 + 256 * 4
constexpr size_t kPackedBitmapMinimum = 1064;      // 40-byte header + colour table

// The UTF-8 text EncodeSymbol hands the encoder: the payload, or "Kodaro"
// when it is empty.
std::string EncodedText(std::wstring_view payload);

// Encodes `payload` (empty becomes "Kodaro") as UTF-8 through KodaroEcd.dll,
// bound by name on first use: a missing library or export ends the program
// with the "DLL ERROR" box. The symbol is at least of minimumVersion (0: the
// smallest that holds the payload).
ModuleMatrix EncodeSymbol(std::wstring_view payload, EcLevel level, int minimumVersion = 0);

} // namespace kodaro
