#pragma once
// The fixed tables of QR Code Model 2 (versions 1-40), shared by the encoder
// and the decoder: symbol sizes, error-correction block structure, data
// capacities, alignment-pattern centres, the BCH-coded format and version
// information, character-count field widths, the alphanumeric character set
// and the eight data-mask conditions.
#include <cstdint>
#include <span>

namespace kodaro::codec {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;

// Error-correction level, numbered as callers pass it (0 = L ... 3 = H).
// Note that the two bits stored in the format information differ from these
// numbers (see FormatLevelBits).
enum class EcLevel : int { L = 0, M = 1, Q = 2, H = 3 };

constexpr bool IsValidVersion(int version) {
    return version >= kMinVersion && version <= kMaxVersion;
}
constexpr bool IsValidLevel(int level) {
    return level >= 0 && level <= 3;
}

// Modules per side: 21 for version 1, 4 more per version, 177 for version 40.
constexpr int SymbolSize(int version) {
    return 17 + 4 * version;
}
// Inverse of SymbolSize; 0 when no version has that size.
constexpr int VersionFromSize(int size) {
    return (size >= 21 && size <= 177 && (size - 17) % 4 == 0) ? (size - 17) / 4 : 0;
}

// How the codewords of one symbol are split into Reed-Solomon blocks. The
// blocks of group 1 come first and hold one data codeword fewer than those of
// group 2 (group 2 may be empty). Every block carries eccPerBlock check words.
struct BlockStructure {
    int eccPerBlock = 0;
    int group1Blocks = 0;
    int group1DataCodewords = 0;
    int group2Blocks = 0;
    int group2DataCodewords = 0;

    int TotalBlocks() const { return group1Blocks + group2Blocks; }
    int DataCodewords() const {
        return group1Blocks * group1DataCodewords + group2Blocks * group2DataCodewords;
    }
    int TotalCodewords() const { return DataCodewords() + TotalBlocks() * eccPerBlock; }
    // Data codewords of block b (0-based, group 1 blocks first).
    int DataCodewordsInBlock(int b) const {
        return b < group1Blocks ? group1DataCodewords : group2DataCodewords;
    }
};

// Block structure for a valid version and level; all zero otherwise.
BlockStructure GetBlockStructure(int version, EcLevel level);

// Modules available for codewords and remainder bits (everything that is not a
// function pattern, format or version information).
int RawDataModules(int version);
// All codewords (data + error correction) of a version: RawDataModules / 8.
int TotalCodewords(int version);
// Bits left over after the last codeword, filled with zeros: RawDataModules % 8.
int RemainderBits(int version);
// Data codewords for a version and level (e.g. 19 for 1-L, 1276 for 40-H).
int DataCodewords(int version, EcLevel level);

// Row/column coordinates of the alignment-pattern centres of a version, in
// increasing order (empty for version 1). Every combination of two of them is
// a centre, except the three that overlap the finder patterns.
std::span<const uint8_t> AlignmentPatternCenters(int version);

// Two-bit level indicator of the format information: L=01, M=00, Q=11, H=10.
constexpr unsigned FormatLevelBits(EcLevel level) {
    constexpr unsigned bits[4] = {1, 0, 3, 2};
    return bits[static_cast<int>(level)];
}
constexpr unsigned kFormatInfoMask = 0x5412;

// The 15-bit format information for a level and mask 0..7: five data bits,
// ten BCH(15,5) check bits (generator 0x537), XORed with kFormatInfoMask.
// Bit 14 is the first (most significant) bit.
uint16_t FormatInformation(EcLevel level, int mask);

struct DecodedFormat {
    EcLevel level = EcLevel::L;
    int mask = 0;
    int distance = 0; // Hamming distance to the nearest valid word
};
// The valid format information nearest to 15 read bits (already including
// the mask pattern, i.e. as read from the symbol). distance > 3 means the bits
// could not be corrected reliably.
DecodedFormat DecodeFormatInformation(uint32_t bits);

// The 18-bit version information for versions 7..40: six data bits and twelve
// BCH(18,6) check bits (generator 0x1F25); 0 for other versions.
uint32_t VersionInformation(int version);
// The version (7..40) whose information is nearest to 18 read bits; distance
// receives the Hamming distance (> 3 means unreliable).
int DecodeVersionInformation(uint32_t bits, int* distance);

// Mode indicators (four bits each).
enum class Mode : unsigned {
    Terminator = 0x0,
    Numeric = 0x1,
    Alphanumeric = 0x2,
    StructuredAppend = 0x3,
    Byte = 0x4,
    Fnc1First = 0x5,
    Eci = 0x7,
    Kanji = 0x8,
    Fnc1Second = 0x9,
};

// Width of the character-count field for a mode and version (numeric 10/12/14,
// alphanumeric 9/11/13, byte 8/16/16, kanji 8/10/12 for versions 1-9, 10-26,
// 27-40); 0 for modes without a count or for an invalid version.
int CharacterCountBits(Mode mode, int version);

// The 45 characters of alphanumeric mode, in value order.
inline constexpr char kAlphanumericChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
// Value 0..44 of an alphanumeric character, -1 for any other byte.
int AlphanumericValue(unsigned char c);

// True when data-mask pattern 0..7 inverts the module at (row, column).
constexpr bool MaskCondition(int mask, int row, int col) {
    switch (mask) {
    case 0:
        return (row + col) % 2 == 0;
    case 1:
        return row % 2 == 0;
    case 2:
        return col % 3 == 0;
    case 3:
        return (row + col) % 3 == 0;
    case 4:
        return (row / 2 + col / 3) % 2 == 0;
    case 5:
        return (row * col) % 2 + (row * col) % 3 == 0;
    case 6:
        return ((row * col) % 2 + (row * col) % 3) % 2 == 0;
    case 7:
        return ((row + col) % 2 + (row * col) % 3) % 2 == 0;
    default:
        return false;
    }
}

} // namespace kodaro::codec
