#pragma once
// Writes symbols of the old QR model for tests and benchmarks: byte data,
// a chosen version, level and mask, the check words from the codec's own
// Reed-Solomon, placed in the old model's blocks.
#include <cstdint>
#include <string_view>
#include <vector>

#include "codec/common/qr_tables.h"

namespace kodaro::codec::testing {

// The modules (size * size, 1 = dark) of a symbol of the old model holding
// `bytes` in one byte segment; empty when they do not fit.
std::vector<uint8_t> WriteModel1Symbol(std::string_view bytes, int version, EcLevel level,
                                       int mask);

// How many bytes fit into a symbol of the old model.
int Model1ByteCapacity(int version, EcLevel level);

} // namespace kodaro::codec::testing
