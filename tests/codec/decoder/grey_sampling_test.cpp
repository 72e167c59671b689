// Modules read from a picture's grey values: the grid they give, and the
// noisy shots they read where thresholded pixels fail.
#include <gtest/gtest.h>

#include <string>

#include "codec/decoder/grey_sampling.h"
#include "codec/decoder/qr_decoder.h"
#include "codec/encoder/qr_encoder.h"
#include "test_pictures.h"

namespace kodaro::codec {
namespace {

TEST(GreySampling, ReadsEveryModuleOfAPictureLitUnevenlyEitherWayRound) {
    QrEncodeOptions options;
    options.minVersion = 3;
    const auto symbol = EncodeQr("grey sampling", options);
    ASSERT_TRUE(symbol);
    constexpr int kScale = 4;
    constexpr int kMargin = 4;
    // Contrast squeezed and a ramp across: no one threshold fits the picture.
    const auto picture = testing::Relight(
        testing::DrawModules(symbol->modules, symbol->size, kScale, kMargin), 40, 200, 120);
    const double first = kMargin * kScale;
    const double last = first + symbol->size * kScale;
    const PointF grid[4] = {{0, 0},
                            {1.0 * symbol->size, 0},
                            {1.0 * symbol->size, 1.0 * symbol->size},
                            {0, 1.0 * symbol->size}};
    const PointF image[4] = {{first, first}, {last, first}, {last, last}, {first, last}};
    const auto transform = PerspectiveTransform::QuadToQuad(grid, image);
    const auto negative = testing::Invert(picture);
    for (const bool lightOnDark : {false, true}) {
        const GreySource source{(lightOnDark ? negative : picture).View(), lightOnDark};
        const BitMatrix read = SampleGreyGrid(source, transform, symbol->size);
        int wrong = 0;
        for (int y = 0; y < symbol->size; ++y)
            for (int x = 0; x < symbol->size; ++x)
                wrong += read.Get(x, y) != (symbol->modules[y * symbol->size + x] != 0) ? 1 : 0;
        EXPECT_EQ(wrong, 0) << lightOnDark;
    }
}

TEST(GreySampling, ReadsNoisyShotsOfThreePixelModules) {
    // Three-pixel modules turned, in perspective, softened, lit unevenly and
    // under noise that thresholds most modules' centre pixels at random:
    // thresholded pixels read 2 of these 10 shots, grey values all of them.
    const std::string text = "a photo of a printout, turned and noisy";
    QrEncodeOptions options;
    options.minVersion = 2;
    const auto symbol = EncodeQr(text, options);
    ASSERT_TRUE(symbol);
    const auto shot = testing::PrintoutShot(testing::DrawModules(symbol->modules, symbol->size, 3));
    int read = 0;
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        const auto found = DecodeQrSymbols(testing::AddNoise(shot, 70, seed).View());
        ASSERT_LE(found.size(), 1u) << seed;
        if (!found.empty()) {
            EXPECT_EQ(found[0].text, text) << seed;
            ++read;
        }
    }
    EXPECT_GE(read, 8);
}

} // namespace
} // namespace kodaro::codec
