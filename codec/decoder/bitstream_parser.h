#pragma once
// Splits the corrected data codewords of a symbol into its segments
// (numeric, alphanumeric, byte, kanji, hanzi) and headers (ECI, FNC1,
// structured append).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kodaro::codec {

enum class SegmentKind { Numeric, Alphanumeric, Byte, Kanji, Hanzi };

struct DataSegment {
    SegmentKind kind = SegmentKind::Byte;
    // The ECI in force for this segment, -1 when none was given.
    int eci = -1;
    // Numeric and alphanumeric: ASCII; byte: the bytes as stored; kanji:
    // Shift_JIS byte pairs; hanzi: GB2312 byte pairs.
    std::string bytes;
};

struct ParsedData {
    std::vector<DataSegment> segments;
    // Structured append: position 0..15, count 1..16 and parity, or -1/0/0.
    int sequenceIndex = -1;
    int sequenceCount = 0;
    int sequenceParity = 0;
    bool fnc1 = false;
    int firstEci = -1;
};

// Nothing when the bit stream is malformed (unknown mode, a count running
// past the end, a value out of range).
std::optional<ParsedData> ParseBitstream(std::span<const uint8_t> data, int version);

} // namespace kodaro::codec
