#include "codec/common/gf256.h"

namespace kodaro::codec {

namespace {

constexpr Gf256::LookupTables BuildTables() {
    Gf256::LookupTables t{};
    unsigned x = 1;
    for (unsigned i = 0; i < 255; ++i) {
        t.exp[i] = static_cast<uint8_t>(x);
        t.log[x] = static_cast<uint8_t>(i);
        x <<= 1;
        if (x & 0x100)
            x ^= Gf256::kPrimitive;
    }
    for (unsigned i = 255; i < 512; ++i)
        t.exp[i] = t.exp[i - 255];
    return t;
}

constexpr Gf256::LookupTables kTables = BuildTables();

} // namespace

const Gf256::LookupTables& Gf256::Tables() {
    return kTables;
}

} // namespace kodaro::codec
