#include "codec/common/reed_solomon.h"

#include "codec/common/gf256.h"

#include <array>
#include <cstring>
#include <mutex>

namespace kodaro::codec {

std::vector<uint8_t> RsGeneratorPolynomial(int degree) {
    if (degree < 1 || degree > 255)
        return {};
    // poly holds the coefficients below the leading 1, highest power first.
    std::vector<uint8_t> poly(static_cast<size_t>(degree), 0);
    poly[static_cast<size_t>(degree) - 1] = 1;
    uint8_t root = 1;
    for (int i = 0; i < degree; ++i) {
        // Multiply by (x - root), i.e. (x + root) in this field.
        for (size_t j = 0; j < poly.size(); ++j) {
            poly[j] = Gf256::Multiply(poly[j], root);
            if (j + 1 < poly.size())
                poly[j] ^= poly[j + 1];
        }
        root = Gf256::Multiply(root, 2);
    }
    return poly;
}

void RsComputeRemainder(std::span<const uint8_t> data, std::span<const uint8_t> generator,
                        std::span<uint8_t> ecc) {
    const size_t n = ecc.size();
    std::memset(ecc.data(), 0, n);
    if (n == 0 || generator.size() != n)
        return;
    const auto& t = Gf256::Tables();
    // Logarithms of the generator's coefficients; a zero coefficient never
    // occurs in a generator polynomial, but keep the arithmetic exact anyway.
    std::array<int, 256> genLog{};
    for (size_t j = 0; j < n; ++j)
        genLog[j] = generator[j] == 0 ? -1 : t.log[generator[j]];
    for (uint8_t byte : data) {
        const uint8_t factor = static_cast<uint8_t>(byte ^ ecc[0]);
        std::memmove(ecc.data(), ecc.data() + 1, n - 1);
        ecc[n - 1] = 0;
        if (factor == 0)
            continue;
        const int lf = t.log[factor];
        for (size_t j = 0; j < n; ++j) {
            if (genLog[j] >= 0)
                ecc[j] ^= t.exp[genLog[j] + lf];
        }
    }
}

std::span<const uint8_t> RsCachedGenerator(int degree) {
    static std::array<std::vector<uint8_t>, 256> cache;
    static std::array<std::once_flag, 256> once;
    if (degree < 1 || degree > 255)
        return {};
    std::call_once(once[static_cast<size_t>(degree)], [degree] {
        cache[static_cast<size_t>(degree)] = RsGeneratorPolynomial(degree);
    });
    return cache[static_cast<size_t>(degree)];
}

} // namespace kodaro::codec
