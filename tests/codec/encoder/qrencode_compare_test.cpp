// Our symbols are never larger than libqrencode's for the same payload and
// level, and smaller where mixing modes pays.
#include "codec/encoder/qr_encoder.h"
#include "tests/codec/encoder/payload_set.h"

#include <gtest/gtest.h>
#include <qrencode.h>

namespace kodaro::codec {
namespace {

int TheirVersion(const std::string& text, int level) {
    const QRecLevel levels[] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H};
    QRcode* code = QRcode_encodeString(text.c_str(), 0, levels[level], QR_MODE_8, 1);
    const int version = code ? code->version : 0;
    QRcode_free(code);
    return version;
}

TEST(AgainstLibqrencode, NeverALargerVersion) {
    int smaller = 0;
    for (const std::string& text : testing::PayloadSet()) {
        for (int level = 0; level < 4; ++level) {
            const auto ours = EncodeQr(text, {static_cast<EcLevel>(level), 1, -1});
            const int theirs = TheirVersion(text, level);
            if (theirs == 0)
                continue;
            ASSERT_TRUE(ours) << "libqrencode fits it in version " << theirs << ": " << text;
            EXPECT_LE(ours->version, theirs) << "level " << level << ": " << text;
            smaller += ours->version < theirs;
        }
    }
    EXPECT_GT(smaller, 0) << "the payload set has texts where optimal segmentation saves a version";
}

} // namespace
} // namespace kodaro::codec
