// The scan check of a freshly rendered symbol: its pixels measured at every
// module and read back through the decoder component, as the preview shows
// beside the symbol.
#pragma once

#include "app/decode/scan_verdict.h"
#include "app/symbol/locked_pixels.h"
#include "app/symbol/symbol_renderer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kodaro {

// Measures the rendered symbol at the centre of each module of the matrix
// (the encoder's bare symbol, one pixel a module with its quiet zone); the
// modules whose centre lies in logoArea count as under the logo.
SymbolMeasures MeasureSymbol(const LockedPixels& matrix, const LockedPixels& rendered,
                             const ui::RectF& logoArea);

// Pixels per module the check reads at: enough for the decoder, which
// needs far less work on a small picture than on the symbol at 768.
inline constexpr int kCheckPixelsPerModule = 3;

// The picture the decoder reads: the rendered symbol as greys over a white
// page, sampled down to kCheckPixelsPerModule pixels a module when it is
// larger (modulesAcross counts the quiet zone); BMP bytes, empty when it
// cannot be made.
std::vector<std::uint8_t> CheckPicture(const LockedPixels& rendered, int modulesAcross);

// Reads the picture back through the decoder component (by a scratch file)
// and compares what it finds with text, the UTF-8 the encoder was given.
// Nothing when the picture could not be read at all (no scratch file, no
// memory): that says nothing about the symbol.
std::optional<ScanOutcome> ReadBack(std::span<const std::uint8_t> picture, std::string_view text);

// The whole check of a symbol rendered from matrix for text at level;
// nothing when there is no symbol or it could not be checked.
std::optional<ScanVerdict> CheckRenderedSymbol(std::span<const std::uint8_t> matrix,
                                               const RenderedSymbol& rendered,
                                               std::string_view text, EcLevel level);

} // namespace kodaro
