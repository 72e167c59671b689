#include "codec/common/symbol_layout.h"
#include "codec/encoder/mask_penalty.h"
#include "codec/encoder/qr_encoder.h"
#include "codec/encoder/raster.h"
#include "tests/codec/encoder/payload_set.h"

#include <gtest/gtest.h>

#include <string>

namespace kodaro::codec {
namespace {

int Version(const std::string& s, EcLevel level) {
    const auto symbol = EncodeQr(s, {level, 1, -1});
    return symbol ? symbol->version : 0;
}

TEST(Encoder, RejectsBadOptions) {
    EXPECT_FALSE(EncodeQr("x", {static_cast<EcLevel>(4), 1, -1}));
    EXPECT_FALSE(EncodeQr("x", {static_cast<EcLevel>(-1), 1, -1}));
    EXPECT_FALSE(EncodeQr("x", {EcLevel::L, 0, -1}));
    EXPECT_FALSE(EncodeQr("x", {EcLevel::L, 41, -1}));
    EXPECT_FALSE(EncodeQr("x", {EcLevel::L, 1, 8}));
    EXPECT_FALSE(EncodeQr("x", {EcLevel::L, 1, -2}));
}

// The largest payloads a version 40 symbol holds, per mode and level.
TEST(Encoder, Version40Capacities) {
    const struct {
        char fill;
        EcLevel level;
        size_t max;
    } cases[] = {
        {'7', EcLevel::L, 7089}, {'7', EcLevel::H, 3057}, {'Q', EcLevel::L, 4296},
        {'Q', EcLevel::M, 3391}, {'q', EcLevel::L, 2953}, {'q', EcLevel::H, 1273},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Version(std::string(c.max, c.fill), c.level), 40) << c.fill << " " << c.max;
        EXPECT_EQ(Version(std::string(c.max + 1, c.fill), c.level), 0) << c.fill << " " << c.max;
    }
    EXPECT_FALSE(EncodeQr(std::string(1 << 20, 'x'), {EcLevel::L, 1, -1}));
    // The minimum version cannot make room the symbol does not have.
    EXPECT_FALSE(EncodeQr(std::string(2954, 'q'), {EcLevel::L, 40, -1}));
}

TEST(Encoder, SmallestVersionForKnownCapacities) {
    // Version 1 holds 41/25/17 numeric/alphanumeric/byte characters at L and
    // 17/10/7 at H.
    EXPECT_EQ(Version(std::string(41, '1'), EcLevel::L), 1);
    EXPECT_EQ(Version(std::string(42, '1'), EcLevel::L), 2);
    EXPECT_EQ(Version(std::string(25, 'A'), EcLevel::L), 1);
    EXPECT_EQ(Version(std::string(26, 'A'), EcLevel::L), 2);
    EXPECT_EQ(Version(std::string(17, 'a'), EcLevel::L), 1);
    EXPECT_EQ(Version(std::string(18, 'a'), EcLevel::L), 2);
    EXPECT_EQ(Version(std::string(17, '1'), EcLevel::H), 1);
    EXPECT_EQ(Version(std::string(10, 'A'), EcLevel::H), 1);
    EXPECT_EQ(Version(std::string(7, 'a'), EcLevel::H), 1);
    EXPECT_EQ(Version(std::string(8, 'a'), EcLevel::H), 2);
    // Across the count-field change at version 10: 10-L holds 652 / 395 / 271.
    EXPECT_EQ(Version(std::string(652, '1'), EcLevel::L), 10);
    EXPECT_EQ(Version(std::string(653, '1'), EcLevel::L), 11);
    EXPECT_EQ(Version(std::string(271, 'a'), EcLevel::L), 10);
    EXPECT_EQ(Version(std::string(272, 'a'), EcLevel::L), 11);
    // The empty payload still makes a symbol.
    EXPECT_EQ(Version("", EcLevel::H), 1);
}

// Function patterns, and format and version information that read back.
TEST(Encoder, SymbolStructure) {
    for (int version : {1, 6, 7, 22, 40}) {
        for (EcLevel level : {EcLevel::M, EcLevel::H}) {
            const auto s = EncodeQr("STRUCT", {level, version, -1});
            ASSERT_TRUE(s);
            ASSERT_EQ(s->size, SymbolSize(version));
            ASSERT_EQ(s->modules.size(), static_cast<size_t>(s->size * s->size));
            const int n = s->size;
            // Finder corners: dark outer ring, light ring, dark centre, light separator.
            for (auto [r0, c0] : {std::pair{0, 0}, {0, n - 7}, {n - 7, 0}}) {
                EXPECT_TRUE(s->IsDark(r0, c0));
                EXPECT_FALSE(s->IsDark(r0 + 1, c0 + 1));
                EXPECT_TRUE(s->IsDark(r0 + 3, c0 + 3));
            }
            EXPECT_FALSE(s->IsDark(7, 7));
            EXPECT_FALSE(s->IsDark(7, n - 8));
            for (int i = 8; i < n - 8; ++i) {
                EXPECT_EQ(s->IsDark(6, i), i % 2 == 0);
                EXPECT_EQ(s->IsDark(i, 6), i % 2 == 0);
            }
            EXPECT_TRUE(s->IsDark(n - 8, 8));
            for (int copy = 0; copy < 2; ++copy) {
                uint32_t bits = 0;
                const auto pos = FormatInfoPositions(version, copy);
                for (int i = 0; i < 15; ++i)
                    bits |= static_cast<uint32_t>(s->IsDark(pos[i].row, pos[i].col)) << i;
                const DecodedFormat f = DecodeFormatInformation(bits);
                EXPECT_EQ(f.distance, 0);
                EXPECT_EQ(f.level, level);
                EXPECT_EQ(f.mask, s->mask);
                if (version >= 7) {
                    uint32_t vbits = 0;
                    const auto vpos = VersionInfoPositions(version, copy);
                    for (int i = 0; i < 18; ++i)
                        vbits |= static_cast<uint32_t>(s->IsDark(vpos[i].row, vpos[i].col)) << i;
                    EXPECT_EQ(vbits, VersionInformation(version));
                }
            }
        }
    }
}

TEST(Encoder, ChosenMaskHasTheLowestPenalty) {
    for (const std::string& text : testing::PayloadSet()) {
        if (text.size() > 400)
            continue;
        const auto chosen = EncodeQr(text, {EcLevel::Q, 1, -1});
        ASSERT_TRUE(chosen);
        const int best = ComputeMaskPenalty(chosen->modules, chosen->size).Total();
        for (int mask = 0; mask < 8; ++mask) {
            const auto forced = EncodeQr(text, {EcLevel::Q, 1, mask});
            ASSERT_TRUE(forced);
            EXPECT_EQ(forced->version, chosen->version);
            EXPECT_LE(best, ComputeMaskPenalty(forced->modules, forced->size).Total()) << text;
            if (mask == chosen->mask) {
                EXPECT_EQ(forced->modules, chosen->modules);
            }
        }
    }
}

TEST(Raster, QuietZoneAndScaling) {
    const auto s = EncodeQr("raster", {EcLevel::L, 1, -1});
    ASSERT_TRUE(s);
    const GrayRaster r = RenderRaster(*s, 3);
    ASSERT_EQ(r.width, (21 + 8) * 3);
    ASSERT_EQ(r.height, r.width);
    ASSERT_EQ(r.pixels.size(), static_cast<size_t>(r.width * r.height));
    for (int y = 0; y < r.height; ++y) {
        for (int x = 0; x < r.width; ++x) {
            const int mr = y / 3 - 4;
            const int mc = x / 3 - 4;
            const bool inside = mr >= 0 && mr < 21 && mc >= 0 && mc < 21;
            const uint8_t expected = inside && s->IsDark(mr, mc) ? 0 : 255;
            ASSERT_EQ(r.pixels[static_cast<size_t>(y * r.width + x)], expected) << x << "," << y;
        }
    }
    EXPECT_TRUE(RenderRaster(*s, 0).pixels.empty());
    EXPECT_TRUE(RenderRaster(QrSymbol{}, 2).pixels.empty());
}

} // namespace
} // namespace kodaro::codec
