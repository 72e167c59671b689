#pragma once
// Reed-Solomon error correction of one QR block (generator roots alpha^0 ..
// alpha^(n-1), as the encoder appends them).
#include <cstdint>
#include <span>

namespace kodaro::codec {

// Corrects `block` (data codewords followed by `eccCount` check codewords) in
// place. At most `maxErrors` codewords may be wrong (at most eccCount / 2).
// Returns the number of corrected codewords, or -1 when the block has more
// errors than that and is left unchanged.
int RsCorrect(std::span<uint8_t> block, int eccCount, int maxErrors);

} // namespace kodaro::codec
