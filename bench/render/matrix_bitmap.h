#pragma once
// Bare symbol images in the encoder's form (an 8-bit palette BMP file with the
// 14-byte file header, the 40-byte info header and 256 colours), made from a
// module pattern, for benchmarks and tests that must not depend on the encoder.

#include <cstdint>
#include <string>
#include <vector>

namespace kodaro::bench {

// rows: one string a module row, '#' dark and anything else light. Each module
// is scale x scale pixels, with quiet light modules around the pattern. Light
// is palette white 0xFFFFFF; dark is darkRgb (0xRRGGBB).
std::vector<std::uint8_t> MatrixBitmap(const std::vector<std::string>& rows, int scale, int quiet,
                                       std::uint32_t darkRgb = 0x000000);

// A square pattern of side modules that looks like a symbol: three finder
// patterns, timing lines and a scrambled rest, the same for the same seed.
std::vector<std::string> SymbolLikePattern(int side, std::uint32_t seed);

} // namespace kodaro::bench
