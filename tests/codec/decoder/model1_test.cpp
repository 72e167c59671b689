// Symbols of the old QR model, written by the test writer: every version
// and level, turned, noisy and in perspective; and the two models never
// taken for each other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/common/symbol_layout.h"
#include "codec/decoder/model1_layout.h"
#include "codec/decoder/qr_decoder.h"
#include "codec/encoder/qr_encoder.h"
#include "model1_writer.h"
#include "test_pictures.h"

namespace kodaro::codec {
namespace {

// Mixed bytes filling about `share` of the byte capacity.
std::string Payload(int version, EcLevel level, double share) {
    const int length =
        std::max(1, static_cast<int>(testing::Model1ByteCapacity(version, level) * share));
    std::string text = "m1 v" + std::to_string(version) + " ";
    for (int i = 0; static_cast<int>(text.size()) < length; ++i)
        text += static_cast<char>(i % 5 == 0 ? 0xE9 : 'a' + i % 26);
    return text.substr(0, static_cast<size_t>(length));
}

BitMatrix Grid(const std::vector<uint8_t>& modules, int size) {
    BitMatrix grid(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            grid.Set(x, y, modules[static_cast<size_t>(y * size + x)] != 0);
    return grid;
}

TEST(Model1, ReadsEveryVersionLevelAndMask) {
    // Readers' data sheets give the largest symbol 486 bytes at level L.
    EXPECT_EQ(testing::Model1ByteCapacity(kModel1MaxVersion, EcLevel::L), 486);
    for (int version = 1; version <= kModel1MaxVersion; ++version) {
        for (int level = 0; level < 4; ++level) {
            const auto ec = static_cast<EcLevel>(level);
            // Full symbols at the odd versions and the largest, sparse ones
            // at the others.
            const bool full = version % 2 == 1 || version == kModel1MaxVersion;
            const std::string text = Payload(version, ec, full ? 1.0 : 0.3);
            const int mask = (version + level) % 8;
            const auto modules = testing::WriteModel1Symbol(text, version, ec, mask);
            ASSERT_FALSE(modules.empty()) << version << "-" << level;
            const int size = SymbolSize(version);
            const auto found = DecodeQrSymbols(testing::DrawModules(modules, size, 3).View());
            ASSERT_EQ(found.size(), 1u) << version << "-" << level;
            EXPECT_EQ(found[0].model, 1);
            EXPECT_EQ(found[0].version, version);
            EXPECT_EQ(found[0].level, ec);
            EXPECT_EQ(found[0].mask, mask);
            EXPECT_EQ(found[0].bytes, text);
        }
    }
}

TEST(Model1, ReadsTurnedNoisyTiltedAndDamagedSymbols) {
    for (const int version : {2, 7, 11, 14}) {
        const std::string text = Payload(version, EcLevel::M, 0.6);
        const auto modules = testing::WriteModel1Symbol(text, version, EcLevel::M, 5);
        ASSERT_FALSE(modules.empty());
        const int size = SymbolSize(version);
        const auto flat = testing::DrawModules(modules, size, 4);
        const auto turned = DecodeQrSymbols(testing::Rotate(flat, 33).View());
        ASSERT_EQ(turned.size(), 1u) << version;
        EXPECT_EQ(turned[0].bytes, text);
        const auto noisy =
            DecodeQrSymbols(testing::AddNoise(testing::BoxBlur(flat, 1), 70, 11u + version).View());
        ASSERT_EQ(noisy.size(), 1u) << version;
        EXPECT_EQ(noisy[0].bytes, text);
        const double w = flat.width;
        const double corners[8] = {w * 0.08, w * 0.05, w * 0.95, 0, w, w * 0.97, 0, w * 0.9};
        const auto tilted =
            DecodeQrSymbols(testing::Perspective(flat, flat.width, flat.width, corners).View());
        ASSERT_EQ(tilted.size(), 1u) << version;
        EXPECT_EQ(tilted[0].bytes, text);

        // Whole codewords destroyed in the right-hand columns are repaired.
        auto damaged = modules;
        for (int row = size - 12; row < size; ++row)
            for (int col = size - 4; col < size; ++col)
                damaged[static_cast<size_t>(row * size + col)] ^= 1;
        DecodedSymbol out;
        ASSERT_TRUE(DecodeModuleGrid(Grid(damaged, size), &out)) << version;
        EXPECT_EQ(out.bytes, text);
        EXPECT_GT(out.correctedErrors, 0);
    }
}

// Either model's format information under the other's mask leaves nothing
// to read: the mask, not a lucky error correction, tells the models apart.
TEST(Model1, NeverTakesOneModelForTheOther) {
    for (const int version : {1, 4, 9, 14}) {
        const int size = SymbolSize(version);
        QrEncodeOptions options;
        options.minVersion = version;
        options.level = EcLevel::L;
        const auto today = EncodeQr("today's model", options);
        ASSERT_TRUE(today);
        ASSERT_EQ(today->version, version);
        DecodedSymbol out;
        ASSERT_TRUE(DecodeModuleGrid(Grid(today->modules, size), &out));
        EXPECT_EQ(out.model, 2);

        const auto old = testing::WriteModel1Symbol("the old model", version, EcLevel::L, 3);
        ASSERT_TRUE(DecodeModuleGrid(Grid(old, size), &out));
        EXPECT_EQ(out.model, 1);
        EXPECT_EQ(out.text, "the old model");

        const unsigned swap = kFormatInfoMask ^ kModel1FormatInfoMask;
        for (auto modules : {today->modules, old}) {
            for (int copy = 0; copy < 2; ++copy) {
                const auto positions = FormatInfoPositions(version, copy);
                for (int i = 0; i < 15; ++i)
                    modules[static_cast<size_t>(positions[i].row * size + positions[i].col)] ^=
                        (swap >> i) & 1;
            }
            EXPECT_FALSE(DecodeModuleGrid(Grid(modules, size), &out)) << version;
        }
    }
}

} // namespace
} // namespace kodaro::codec
