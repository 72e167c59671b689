#pragma once
// Reed-Solomon error-correction codewords as QR symbols append them to each
// data block. The generator polynomial of degree n is the product of
// (x - alpha^i) for i = 0..n-1.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kodaro::codec {

// Coefficients of the generator polynomial of the given degree, highest power
// first, without the leading 1: degree entries. Degree 1..255.
std::vector<uint8_t> RsGeneratorPolynomial(int degree);

// Computes the error-correction codewords of one block: the remainder of
// data(x) * x^n divided by the generator of degree n = ecc.size().
// The generator must come from RsGeneratorPolynomial(ecc.size()).
void RsComputeRemainder(std::span<const uint8_t> data, std::span<const uint8_t> generator,
                        std::span<uint8_t> ecc);

// Caches one generator per degree, so repeated encodes do not rebuild them.
// Safe to call from several threads at once.
std::span<const uint8_t> RsCachedGenerator(int degree);

} // namespace kodaro::codec
