#pragma once
// Where things sit in a QR Model 2 symbol: which modules belong to function
// patterns (finders with separators, timing patterns, alignment patterns, the
// dark module, the format and version information areas), the order in which
// codeword bits fill the remaining modules, and the positions of every bit of
// the format and version information. Rows and columns count from the top-left
// corner, starting at 0.
#include <array>
#include <cstdint>
#include <vector>

namespace kodaro::codec {

struct ModulePos {
    uint8_t row = 0;
    uint8_t col = 0;
};

// One byte per module, row by row (size * size entries): 1 where the module is
// part of a function pattern or reserved for format/version information, 0 for
// data modules. Empty for an invalid version. Computed once per version.
const std::vector<uint8_t>& FunctionModuleMap(int version);

// The colour every symbol of a version shares, one entry per module row by
// row: 1 dark, 0 light, -1 where symbols differ (data, format and version
// information). Finders with their light separators, timing patterns,
// alignment patterns and the dark module. Empty for an invalid version.
// Computed once per version.
const std::vector<int8_t>& FixedModuleColours(int version);

// Data modules in placement order: the first codeword's most significant bit
// goes to element 0. Two-module-wide columns are walked from the right edge,
// alternately upwards and downwards, skipping the vertical timing column.
// Holds RawDataModules(version) entries, each row * size + col. Computed once
// per version.
const std::vector<uint16_t>& DataModuleOrder(int version);

// Positions of the 15 format-information bits, indexed by bit number (0 =
// least significant). copy 0 sits around the top-left finder; copy 1 is split
// between the top-right and bottom-left finders.
std::array<ModulePos, 15> FormatInfoPositions(int version, int copy);

// Positions of the 18 version-information bits (versions 7 and up), indexed by
// bit number (0 = least significant). copy 0 is the block above the
// bottom-left finder, copy 1 the block left of the top-right finder.
std::array<ModulePos, 18> VersionInfoPositions(int version, int copy);

} // namespace kodaro::codec
