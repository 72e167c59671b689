#pragma once
// Splits the payload bytes into numeric, alphanumeric and byte segments so the
// resulting bit stream is as short as possible. The count-field widths depend
// on the version range (1-9, 10-26, 27-40), so the split is made per range.
#include "codec/common/qr_tables.h"
#include "codec/encoder/bit_writer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kodaro::codec {

struct Segment {
    Mode mode = Mode::Byte;
    size_t begin = 0;  // first payload byte
    size_t length = 0; // payload bytes (= characters) in the segment
};

// Bits of a segment's data part (without mode indicator and count field).
size_t SegmentDataBits(Mode mode, size_t length);

// Segments covering the whole payload, in order, with the fewest total bits
// for symbols of the given version (only its range matters). Segments longer
// than the count field can express are split.
std::vector<Segment> OptimalSegments(std::span<const uint8_t> data, int version);

// Total bits of the segments (mode indicators, count fields and data) for the
// given version, without the terminator.
size_t SegmentsBits(std::span<const Segment> segments, int version);

// Writes the segments' mode indicators, count fields and data.
void WriteSegments(std::span<const uint8_t> data, std::span<const Segment> segments, int version,
                   BitWriter& out);

} // namespace kodaro::codec
