#pragma once
// Arithmetic in GF(2^8) as QR symbols use it: the field is built on the
// primitive polynomial x^8 + x^4 + x^3 + x^2 + 1 (0x11D) with generator
// alpha = 2. Elements are bytes; addition and subtraction are both XOR.
#include <cstdint>

namespace kodaro::codec {

class Gf256 {
public:
    static constexpr unsigned kPrimitive = 0x11D;

    static uint8_t Add(uint8_t a, uint8_t b) { return static_cast<uint8_t>(a ^ b); }
    // alpha^n for any n >= 0 (taken modulo 255).
    static uint8_t Exp(unsigned n) { return Tables().exp[n % 255]; }
    // n with alpha^n == a; a must be non-zero (Log(0) returns 0 and means nothing).
    static uint8_t Log(uint8_t a) { return Tables().log[a]; }
    static uint8_t Multiply(uint8_t a, uint8_t b) {
        if (a == 0 || b == 0)
            return 0;
        const auto& t = Tables();
        return t.exp[t.log[a] + t.log[b]];
    }
    // a / b; b must be non-zero (division by zero returns 0).
    static uint8_t Divide(uint8_t a, uint8_t b) {
        if (a == 0 || b == 0)
            return 0;
        const auto& t = Tables();
        return t.exp[t.log[a] + 255 - t.log[b]];
    }
    // Multiplicative inverse; Inverse(0) returns 0.
    static uint8_t Inverse(uint8_t a) { return Divide(1, a); }

    struct LookupTables {
        // exp is doubled (510 entries used) so a sum of two logarithms indexes it directly.
        uint8_t exp[512];
        uint8_t log[256];
    };
    static const LookupTables& Tables();
};

} // namespace kodaro::codec
