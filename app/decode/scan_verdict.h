// Whether a styled symbol will scan, and if not, why: the outcome of reading
// it back with our own decoder, explained by what was measured on its pixels.
#pragma once

#include "app/symbol/encode_symbol.h"

#include <string>

namespace kodaro {

// What reading the rendered symbol back gave.
enum class ScanOutcome {
    ReadsPayload, // a symbol with exactly the text that was encoded
    ReadsOther,   // symbols, none with that text
    Unread,       // no symbol
};

// Measured at the centre of every module of the rendered symbol. Greys run
// from 0 (black) to 255 (white), as the picture looks on a white page.
struct SymbolMeasures {
    // Mean grey of the dark and of the light modules, those under the logo
    // left out.
    double darkGrey = 0;
    double lightGrey = 255;
    // Modules that look the other way (a dark one nearer the light grey, or
    // the reverse): under the logo and its frame, and elsewhere (where
    // pictures put light pixels on dark modules or dark on light).
    int flippedUnderLogo = 0;
    int flippedElsewhere = 0;
    // Output pixels per module.
    double pixelsPerModule = 0;
};

struct ScanVerdict {
    bool readable = false;
    // One line for beside the preview.
    std::wstring reason;
};

// Symbol contrast below this share of the grey range is graded as failing
// by print-quality standards; many phone cameras do not read it.
inline constexpr double kMinimumContrast = 0.2;

// Green only when the symbol reads back exactly and is dark on light with
// enough contrast: our decoder reads light-on-dark and faint symbols that
// many phones miss. A symbol that does not read gets the first cause the
// measures show: low contrast, reversed colours, modules too small, the logo
// (more flipped modules under it than elsewhere) or the pictures; otherwise
// a general hint.
ScanVerdict JudgeScan(ScanOutcome outcome, const SymbolMeasures& measures, EcLevel level);

} // namespace kodaro
