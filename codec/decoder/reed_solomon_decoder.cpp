#include "codec/decoder/reed_solomon_decoder.h"

#include <algorithm>
#include <array>

#include "codec/common/gf256.h"

namespace kodaro::codec {

namespace {

using Gf = Gf256;
constexpr int kMaxEcc = 68; // more than any QR block carries

// Value of the polynomial whose coefficients are given lowest power first.
uint8_t EvaluateLowFirst(const uint8_t* poly, int degree, uint8_t x) {
    uint8_t result = 0;
    for (int i = degree; i >= 0; --i)
        result = Gf::Add(Gf::Multiply(result, x), poly[i]);
    return result;
}

} // namespace

int RsCorrect(std::span<uint8_t> block, int eccCount, int maxErrors) {
    const int n = static_cast<int>(block.size());
    if (eccCount <= 0 || eccCount > kMaxEcc || eccCount > n || n > 255)
        return -1;
    maxErrors = std::min(maxErrors, eccCount / 2);

    // Syndromes S_j = r(alpha^j); block[0] is the coefficient of x^(n-1).
    // Horner's rule for all of them at once, byte by byte: the syndromes do
    // not depend on each other, so their steps overlap instead of waiting on
    // one long chain of table lookups. Multiplying by alpha^j adds j to the
    // logarithm (below 255 + kMaxEcc, inside the doubled exp table).
    const Gf::LookupTables& tables = Gf::Tables();
    std::array<uint8_t, kMaxEcc> syndromes{};
    for (int i = 0; i < n; ++i) {
        const uint8_t coefficient = block[i];
        for (int j = 0; j < eccCount; ++j) {
            const uint8_t s = syndromes[j];
            const uint8_t product = s == 0 ? 0 : tables.exp[tables.log[s] + j];
            syndromes[j] = product ^ coefficient;
        }
    }
    if (std::all_of(syndromes.begin(), syndromes.begin() + eccCount,
                    [](uint8_t s) { return s == 0; }))
        return 0;

    // Berlekamp-Massey: the error locator Lambda, lowest power first.
    std::array<uint8_t, kMaxEcc + 1> lambda{};
    std::array<uint8_t, kMaxEcc + 1> previous{};
    std::array<uint8_t, kMaxEcc + 1> scratch{};
    lambda[0] = 1;
    previous[0] = 1;
    int errors = 0;
    int shift = 1;
    uint8_t previousDiscrepancy = 1;
    for (int k = 0; k < eccCount; ++k) {
        uint8_t discrepancy = syndromes[k];
        for (int i = 1; i <= errors; ++i)
            discrepancy = Gf::Add(discrepancy, Gf::Multiply(lambda[i], syndromes[k - i]));
        if (discrepancy == 0) {
            ++shift;
            continue;
        }
        const uint8_t factor = Gf::Divide(discrepancy, previousDiscrepancy);
        if (2 * errors <= k) {
            scratch = lambda;
            for (int i = 0; i + shift <= kMaxEcc; ++i)
                lambda[i + shift] = Gf::Add(lambda[i + shift], Gf::Multiply(factor, previous[i]));
            errors = k + 1 - errors;
            previous = scratch;
            previousDiscrepancy = discrepancy;
            shift = 1;
        } else {
            for (int i = 0; i + shift <= kMaxEcc; ++i)
                lambda[i + shift] = Gf::Add(lambda[i + shift], Gf::Multiply(factor, previous[i]));
            ++shift;
        }
    }
    if (errors == 0 || errors > maxErrors)
        return -1;
    for (int i = errors + 1; i <= kMaxEcc; ++i)
        if (lambda[i] != 0)
            return -1;

    // Chien search over the positions the block actually has.
    std::array<int, kMaxEcc> positions{};
    int found = 0;
    for (int power = 0; power < n; ++power) {
        const uint8_t inverse = Gf::Exp(static_cast<unsigned>(255 - power));
        if (EvaluateLowFirst(lambda.data(), errors, inverse) == 0) {
            if (found == errors)
                return -1;
            positions[found++] = power;
        }
    }
    if (found != errors)
        return -1;

    // Forney: Omega = S(x) * Lambda(x) mod x^eccCount; with first root alpha^0
    // the error value is X * Omega(X^-1) / Lambda'(X^-1).
    std::array<uint8_t, kMaxEcc> omega{};
    for (int i = 0; i < eccCount; ++i) {
        uint8_t v = 0;
        for (int j = 0; j <= std::min(i, errors); ++j)
            v = Gf::Add(v, Gf::Multiply(lambda[j], syndromes[i - j]));
        omega[i] = v;
    }
    std::array<uint8_t, kMaxEcc> derivative{};
    for (int i = 1; i <= errors; i += 2)
        derivative[i - 1] = lambda[i];

    std::array<uint8_t, kMaxEcc> values{};
    for (int e = 0; e < errors; ++e) {
        const uint8_t x = Gf::Exp(static_cast<unsigned>(positions[e]));
        const uint8_t xInverse = Gf::Inverse(x);
        const uint8_t denominator = EvaluateLowFirst(derivative.data(), errors - 1, xInverse);
        if (denominator == 0)
            return -1;
        const uint8_t numerator = EvaluateLowFirst(omega.data(), eccCount - 1, xInverse);
        values[e] = Gf::Multiply(x, Gf::Divide(numerator, denominator));
    }
    for (int e = 0; e < errors; ++e)
        block[n - 1 - positions[e]] ^= values[e];
    return errors;
}

} // namespace kodaro::codec
