// Symbols from our own encoder: every version and level, and damage up to
// (and one codeword beyond) what the error correction can repair.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "codec/common/qr_tables.h"
#include "codec/common/symbol_layout.h"
#include "codec/decoder/qr_decoder.h"
#include "codec/encoder/qr_encoder.h"
#include "test_pictures.h"

namespace kodaro::codec {
namespace {

std::string PayloadFor(int version, int level) {
    std::string text = "v";
    text += std::to_string(version);
    text += 'L';
    text += std::to_string(level);
    text += ' ';
    // About a third of the byte capacity, mixed so several modes are used.
    const int target = DataCodewords(version, static_cast<EcLevel>(level)) / 3;
    for (int i = 0; static_cast<int>(text.size()) < target; ++i)
        text += (i % 3 == 0) ? "0123456789" : (i % 3 == 1 ? "HELLO QR " : "mixed/字");
    return text;
}

TEST(EncoderRoundTrip, ReadsEveryVersionLevelAndMaskAtTwoPixelsAModule) {
    for (int version = 1; version <= 40; ++version) {
        for (int level = 0; level < 4; ++level) {
            const std::string text = PayloadFor(version, level);
            QrEncodeOptions options;
            options.level = static_cast<EcLevel>(level);
            options.minVersion = version;
            options.mask = (version + level) % 8; // every mask with every level
            const auto symbol = EncodeQr(text, options);
            ASSERT_TRUE(symbol) << version << "-" << level;
            ASSERT_EQ(symbol->version, version);
            const auto picture = testing::DrawModules(symbol->modules, symbol->size, 2);
            const auto found = DecodeQrSymbols(picture.View());
            ASSERT_EQ(found.size(), 1u) << version << "-" << level;
            EXPECT_EQ(found[0].version, version);
            EXPECT_EQ(found[0].level, static_cast<EcLevel>(level));
            EXPECT_EQ(found[0].mask, symbol->mask);
            EXPECT_EQ(found[0].text, text);
            EXPECT_EQ(found[0].correctedErrors, 0);
        }
    }
}

// `text` at level M in a symbol of at least `version`.
std::optional<QrSymbol> EncodeLevelM(const std::string& text, int version) {
    QrEncodeOptions options;
    options.level = EcLevel::M;
    options.minVersion = version;
    return EncodeQr(text, options);
}

TEST(EncoderRoundTrip, ReadsLargeVersionsTurnedAndInPerspective) {
    for (int version : {7, 15, 25, 40}) {
        const std::string text = PayloadFor(version, 1);
        const auto symbol = EncodeLevelM(text, version);
        ASSERT_TRUE(symbol);
        const auto flat = testing::DrawModules(symbol->modules, symbol->size, 4);
        const auto turned = DecodeQrSymbols(testing::Rotate(flat, 23).View());
        ASSERT_EQ(turned.size(), 1u) << version;
        EXPECT_EQ(turned[0].text, text);
        const double w = flat.width;
        const double corners[8] = {w * 0.05, w * 0.1, w * 0.95, 0, w * 0.9, w * 1.0, 0, w * 0.92};
        const auto tilted = DecodeQrSymbols(
            testing::Perspective(flat, flat.width, flat.width + 10, corners).View());
        ASSERT_EQ(tilted.size(), 1u) << version;
        EXPECT_EQ(tilted[0].text, text);
    }
}

// `flat` wrapped round `degrees` of a bottle: the columns crowd towards
// the sides, and the middle, nearer the eye, stands taller than the edges.
// Seen from in front (`fromAbove` 0) the rows bow evenly; seen from above,
// the lower rows bow more, out at the sides by that share.
testing::Picture RoundABottle(const testing::Picture& flat, double degrees, double fromAbove) {
    const double side = flat.width;
    const double wrap = degrees * 3.14159265358979 / 180;
    const double radius = side / wrap;
    const double reach = radius * std::sin(wrap / 2);
    return testing::Warp(flat, static_cast<int>(2 * reach) + 40, static_cast<int>(side * 1.3),
                         [&](double x, double y, double* u, double* v) {
                             const double across = (x - reach - 20) / radius;
                             if (std::abs(across) > std::sin(wrap / 2))
                                 return false;
                             const double angle = std::asin(across);
                             const double nearer = 1 + 0.25 * std::cos(angle);
                             const double down = (y - side * 0.65) / (side * nearer / 1.25);
                             *u = 0.5 + angle / wrap;
                             *v = 0.5 + down * (1 + fromAbove * (1 - std::cos(angle)));
                             return true;
                         });
}

TEST(EncoderRoundTrip, ReadsLargeVersionsRoundACylinderAndThroughAWideLens) {
    for (int version : {9, 16}) {
        const std::string text = PayloadFor(version, 1);
        const auto symbol = EncodeLevelM(text, version);
        ASSERT_TRUE(symbol);
        const auto flat = testing::DrawModules(symbol->modules, symbol->size, 4, 2);
        const double side = flat.width;
        const auto bottle = RoundABottle(flat, 80, 0);
        const auto wrapped = DecodeQrSymbols(bottle.View());
        ASSERT_EQ(wrapped.size(), 1u) << version;
        EXPECT_EQ(wrapped[0].text, text);
        // Seen at a strong slant through a lens that bows straight lines.
        const double corners[8] = {0.22, 0.05, 0.95, 0.2, 0.8, 0.98, 0.02, 0.8};
        const auto lens = testing::Warp(
            flat, static_cast<int>(side), static_cast<int>(side),
            [&](double x, double y, double* u, double* v) {
                double px = x / side - 0.5;
                double py = y / side - 0.5;
                const double bow = 1 + 0.25 * (px * px + py * py);
                px = px * bow + 0.5;
                py = py * bow + 0.5;
                // The inverse of the slant: the unit square onto `corners`,
                // solved for the point (bilinear, by Newton steps).
                double a = px;
                double b = py;
                for (int k = 0; k < 20; ++k) {
                    const double fx = (1 - a) * (1 - b) * corners[0] + a * (1 - b) * corners[2] +
                                      a * b * corners[4] + (1 - a) * b * corners[6] - px;
                    const double fy = (1 - a) * (1 - b) * corners[1] + a * (1 - b) * corners[3] +
                                      a * b * corners[5] + (1 - a) * b * corners[7] - py;
                    const double xa =
                        (1 - b) * (corners[2] - corners[0]) + b * (corners[4] - corners[6]);
                    const double xb =
                        (1 - a) * (corners[6] - corners[0]) + a * (corners[4] - corners[2]);
                    const double ya =
                        (1 - b) * (corners[3] - corners[1]) + b * (corners[5] - corners[7]);
                    const double yb =
                        (1 - a) * (corners[7] - corners[1]) + a * (corners[5] - corners[3]);
                    const double det = xa * yb - xb * ya;
                    a -= (fx * yb - fy * xb) / det;
                    b -= (fy * xa - fx * ya) / det;
                }
                *u = a;
                *v = b;
                return true;
            });
        const auto slanted = DecodeQrSymbols(lens.View());
        ASSERT_EQ(slanted.size(), 1u) << version;
        EXPECT_EQ(slanted[0].text, text);
    }
}

TEST(EncoderRoundTrip, ReadsLargeVersionsWrappedFarRoundABottleSeenFromAbove) {
    // The outer columns shrink to a pixel or two, narrower than a mapping
    // through the marks' centres puts them, and the rows of alignment
    // patterns bow unevenly: neither the mapping, nor a straight line along
    // a row, nor a parallelogram finds every pattern, but the straight
    // columns round a bottle and the patterns found on either side do.
    struct Case {
        int version;
        double degrees;
        double fromAbove;
        int scale;
    };
    for (const Case c : {Case{5, 110, 0.15, 4}, Case{14, 100, 0.3, 3}, Case{18, 90, 0.3, 4},
                         Case{27, 100, 0.15, 4}}) {
        const std::string text = PayloadFor(c.version, 1);
        const auto symbol = EncodeLevelM(text, c.version);
        ASSERT_TRUE(symbol);
        const auto flat = testing::DrawModules(symbol->modules, symbol->size, c.scale, 2);
        const auto found = DecodeQrSymbols(RoundABottle(flat, c.degrees, c.fromAbove).View());
        ASSERT_EQ(found.size(), 1u) << c.version;
        EXPECT_EQ(found[0].text, text);
    }
}

TEST(EncoderRoundTrip, ReadsSymbolsInStrongPerspective) {
    // Corners pulled in by up to a quarter of the side: the near marks show
    // twice the scale of the far one, or the corner at the top-left mark
    // looks narrower than the one at another mark. Each quad gives the
    // top-left, top-right, bottom-right and bottom-left corners in shares
    // of the side.
    const double quads[][8] = {
        {0.24, 0.24, 1.0, 0.0, 1.0, 1.0, 0.24, 0.76},
        {0.0, 0.0, 0.76, 0.24, 0.76, 0.76, 0.0, 1.0},
        {0.2, 0.05, 0.95, 0.24, 0.78, 0.8, 0.02, 0.98},
        {0.15, 0.2, 0.98, 0.02, 0.76, 0.98, 0.0, 0.78},
    };
    const std::string text = PayloadFor(10, 1);
    const auto symbol = EncodeLevelM(text, 10);
    ASSERT_TRUE(symbol);
    const auto flat = testing::DrawModules(symbol->modules, symbol->size, 5);
    for (const auto& quad : quads) {
        double corners[8];
        for (int i = 0; i < 8; ++i)
            corners[i] = quad[i] * flat.width;
        const auto read =
            DecodeQrSymbols(testing::Perspective(flat, flat.width, flat.width, corners).View());
        ASSERT_EQ(read.size(), 1u) << quad[0] << "," << quad[1];
        EXPECT_EQ(read[0].text, text);
    }
}

TEST(EncoderRoundTrip, ReadsSmallVersionsWithTheirOuterColumnsSqueezed) {
    // Wrapped far round a bottle, the outermost columns of a small symbol
    // are narrower than any mapping through its marks puts them, so every
    // placement samples them off by half a module; the marks' own columns
    // show where they really lie.
    for (const int version : {2, 3}) {
        const std::string text = PayloadFor(version, 1);
        const auto symbol = EncodeLevelM(text, version);
        ASSERT_TRUE(symbol);
        const auto flat = testing::DrawModules(symbol->modules, symbol->size, 4, 2);
        const auto found = DecodeQrSymbols(RoundABottle(flat, 130, 0.2).View());
        ASSERT_EQ(found.size(), 1u) << version;
        EXPECT_EQ(found[0].text, text);
    }
}

TEST(EncoderRoundTrip, ReadsTwoPixelModulesUnderHeavyNoise) {
    // Noise this strong breaks the marks' one-module rings at their own
    // size; at twice the size thresholding keeps them apart.
    const std::string text = "noisy two-pixel modules";
    const auto symbol = EncodeLevelM(text, 2);
    ASSERT_TRUE(symbol);
    const auto flat = testing::DrawModules(symbol->modules, symbol->size, 2);
    for (uint32_t seed : {1u, 2u, 3u}) {
        const auto read = DecodeQrSymbols(testing::AddNoise(flat, 140, seed).View());
        ASSERT_EQ(read.size(), 1u) << seed;
        EXPECT_EQ(read[0].text, text);
        // The corners are where the symbol lies in the picture itself.
        EXPECT_NEAR(read[0].corners[2].x, flat.width - 8, 3);
    }
}

TEST(EncoderRoundTrip, ReadsTurnedBlurredNoisyShotsOfAPrintout) {
    // Three-pixel modules, turned and seen in perspective, softened, lit
    // unevenly and noisy: the marks' rings break up and their outlines come
    // out ragged, so a mapping built from them can miss the data by a
    // fraction of a module. Each shot has its own noise; most must read at
    // either strength (all of them do), and none as another text.
    const std::string text = "a photo of a printout, turned and noisy";
    QrEncodeOptions options;
    options.level = EcLevel::Q;
    options.minVersion = 6;
    const auto symbol = EncodeQr(text, options);
    ASSERT_TRUE(symbol);
    const auto shot = testing::PrintoutShot(testing::DrawModules(symbol->modules, symbol->size, 3));
    for (const int amplitude : {60, 70}) {
        int read = 0;
        for (uint32_t seed = 1; seed <= 10; ++seed) {
            const auto found = DecodeQrSymbols(testing::AddNoise(shot, amplitude, seed).View());
            ASSERT_LE(found.size(), 1u) << amplitude << " " << seed;
            if (!found.empty()) {
                EXPECT_EQ(found[0].text, text) << amplitude << " " << seed;
                ++read;
            }
        }
        EXPECT_GE(read, 6) << amplitude;
    }
}

// Stream positions (data words first, then check words) of block b.
std::vector<int> StreamIndicesOfBlock(const BlockStructure& s, int b) {
    std::vector<int> result;
    const int blocks = s.TotalBlocks();
    const int longest = std::max(s.group1DataCodewords, s.group2DataCodewords);
    int index = 0;
    for (int i = 0; i < longest; ++i)
        for (int k = 0; k < blocks; ++k)
            if (i < s.DataCodewordsInBlock(k)) {
                if (k == b)
                    result.push_back(index);
                ++index;
            }
    for (int i = 0; i < s.eccPerBlock; ++i)
        for (int k = 0; k < blocks; ++k) {
            if (k == b)
                result.push_back(index);
            ++index;
        }
    return result;
}

// Inverts every bit of `count` codewords in each block.
std::vector<uint8_t> Damage(const QrSymbol& symbol, int count) {
    std::vector<uint8_t> modules = symbol.modules;
    const auto s = GetBlockStructure(symbol.version, symbol.level);
    const auto& order = DataModuleOrder(symbol.version);
    for (int b = 0; b < s.TotalBlocks(); ++b) {
        const auto indices = StreamIndicesOfBlock(s, b);
        for (int i = 0; i < count; ++i) {
            const int codeword = indices[(static_cast<size_t>(i) * 5 + b) % indices.size()];
            for (int bit = 0; bit < 8; ++bit)
                modules[order[static_cast<size_t>(codeword) * 8 + bit]] ^= 1;
        }
    }
    return modules;
}

TEST(EncoderRoundTrip, CorrectsDamageUpToCapacityAndRefusesMore) {
    struct Case {
        int version;
        EcLevel level;
    };
    for (const Case c :
         {Case{2, EcLevel::M}, Case{5, EcLevel::H}, Case{10, EcLevel::Q}, Case{22, EcLevel::L}}) {
        QrEncodeOptions options;
        options.level = c.level;
        options.minVersion = c.version;
        const std::string text = PayloadFor(c.version, static_cast<int>(c.level));
        const auto symbol = EncodeQr(text, options);
        ASSERT_TRUE(symbol);
        ASSERT_EQ(symbol->version, c.version);
        const auto s = GetBlockStructure(c.version, c.level);
        const int capacity = s.eccPerBlock / 2;

        const auto repairable = Damage(*symbol, capacity);
        const auto read = DecodeQrSymbols(testing::DrawModules(repairable, symbol->size, 3).View());
        ASSERT_EQ(read.size(), 1u) << c.version;
        EXPECT_EQ(read[0].text, text);
        EXPECT_EQ(read[0].correctedErrors, capacity * s.TotalBlocks());

        const auto beyond = Damage(*symbol, capacity + 1);
        EXPECT_TRUE(DecodeQrSymbols(testing::DrawModules(beyond, symbol->size, 3).View()).empty())
            << c.version;
    }
}

TEST(EncoderRoundTrip, ReadsFormatAndVersionInformationFromEitherCopy) {
    QrEncodeOptions options;
    options.level = EcLevel::Q;
    options.minVersion = 9;
    const std::string text = PayloadFor(9, 2);
    const auto symbol = EncodeQr(text, options);
    ASSERT_TRUE(symbol);
    auto flip = [&](std::vector<uint8_t>& modules, const auto& positions) {
        for (const ModulePos& p : positions)
            modules[static_cast<size_t>(p.row) * symbol->size + p.col] ^= 1;
    };
    auto read = [&](const std::vector<uint8_t>& modules) {
        return DecodeQrSymbols(testing::DrawModules(modules, symbol->size, 3).View());
    };
    for (int copy = 0; copy < 2; ++copy) {
        auto modules = symbol->modules;
        flip(modules, FormatInfoPositions(9, copy));
        flip(modules, VersionInfoPositions(9, copy));
        const auto found = read(modules);
        ASSERT_EQ(found.size(), 1u) << "copy " << copy << " destroyed";
        EXPECT_EQ(found[0].text, text);
        EXPECT_EQ(found[0].level, EcLevel::Q);
    }
    auto neither = symbol->modules;
    flip(neither, FormatInfoPositions(9, 0));
    flip(neither, FormatInfoPositions(9, 1));
    EXPECT_TRUE(read(neither).empty());
}

TEST(EncoderRoundTrip, ReadsAModuleGridDirectlyEitherWayRound) {
    QrEncodeOptions options;
    const auto symbol = EncodeQr("grid", options);
    ASSERT_TRUE(symbol);
    BitMatrix grid(symbol->size, symbol->size);
    for (int y = 0; y < symbol->size; ++y)
        for (int x = 0; x < symbol->size; ++x)
            grid.Set(x, y, symbol->IsDark(y, x));
    DecodedSymbol out;
    ASSERT_TRUE(DecodeModuleGrid(grid, &out));
    EXPECT_EQ(out.text, "grid");
    EXPECT_FALSE(out.mirrored);
    ASSERT_TRUE(DecodeModuleGrid(grid.Transposed(), &out));
    EXPECT_EQ(out.text, "grid");
    EXPECT_TRUE(out.mirrored);
}

testing::Picture Draw(const std::string& text, int scale, int margin, int version = 1) {
    QrEncodeOptions options;
    options.minVersion = version;
    const auto symbol = EncodeQr(text, options);
    EXPECT_TRUE(symbol) << text;
    return testing::DrawModules(symbol->modules, symbol->size, scale, margin);
}

TEST(EncoderRoundTrip, ReadsEverySymbolOfACrowdedPicture) {
    // A hundred different texts in a grid, and a row of ten texts of
    // different lengths (so different versions) side by side.
    std::vector<testing::Picture> grid;
    std::vector<testing::Picture> row;
    std::vector<std::string> gridTexts;
    std::vector<std::string> rowTexts;
    for (int i = 0; i < 100; ++i) {
        gridTexts.push_back("crowd member " + std::to_string(1000 + i * 37));
        grid.push_back(Draw(gridTexts.back(), 2, 4));
    }
    for (int i = 0; i < 10; ++i) {
        rowTexts.push_back("text " + std::to_string(i) +
                           std::string(static_cast<size_t>(6 * i), 'x'));
        row.push_back(Draw(rowTexts.back(), 2, 2));
    }
    for (const auto& [picture, texts] : {std::pair{testing::Tile(grid, 10, 0), gridTexts},
                                         {testing::Tile(row, 10, 0), rowTexts}}) {
        const auto found = DecodeQrSymbols(picture.View());
        ASSERT_EQ(found.size(), texts.size());
        for (size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(found[i].text, texts[i]) << i;
    }
}

TEST(EncoderRoundTrip, ReadsASmallSymbolInALargeOnesQuietZone) {
    // The large symbol's alignment patterns look like position marks and
    // outnumber the small symbol's faint ones.
    const testing::Picture large = Draw("a large symbol with many alignment patterns", 4, 6, 20);
    const testing::Picture small = Draw("inner one", 1, 1);
    // On a wider white canvas, two pixels from the large symbol's right edge,
    // inside its quiet zone of 24 pixels.
    const int gap = small.width;
    testing::Picture both = testing::Tile({large}, 1, gap);
    const int left = gap + large.width - 24 + 2;
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            both.pixels[static_cast<size_t>(y + 40) * both.width + left + x] = small.At(x, y);
    const auto found = DecodeQrSymbols(both.View());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].text, "inner one");
    EXPECT_EQ(found[1].text, "a large symbol with many alignment patterns");
}

} // namespace
} // namespace kodaro::codec
