// Encodes symbols of every version and level and of every payload kind and
// reads them back with zbarimg.
#include "codec/encoder/qr_encoder.h"
#include "codec/encoder/raster.h"
#include "tests/codec/encoder/payload_set.h"
#include "tests/codec/encoder/zbar_oracle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kodaro::codec {
namespace {

using testing::MakeTempFolder;
using testing::VerifyWithZbar;
using testing::WritePgm;

constexpr EcLevel kLevels[] = {EcLevel::L, EcLevel::M, EcLevel::Q, EcLevel::H};

// Characters (whole UTF-8 sequences) the fill text is made of; each level
// leans on a different mode so every mode shows up at every size.
std::vector<std::string> FillCharacters(int level, int version) {
    const char* const patterns[] = {
        "867530912345678901234567890 HELLO",
        "QR CODE: ALPHANUMERIC/TEXT $12.50 + 8% 0123",
        "mixed Text, with lower case & 12345 digits",
        "中文二维码 UTF-8 字符 0042 ABC",
    };
    const std::string pattern = patterns[(level + version) % 4];
    std::vector<std::string> chars;
    for (size_t i = 0; i < pattern.size();) {
        const auto lead = static_cast<unsigned char>(pattern[i]);
        const size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        chars.push_back(pattern.substr(i, len));
        i += len;
    }
    return chars;
}

std::string Payload(const std::string& tag, const std::vector<std::string>& fill, size_t count) {
    std::string s = tag;
    for (size_t i = 0; i < count; ++i)
        s += fill[i % fill.size()];
    return s;
}

int VersionOf(const std::string& s, EcLevel level) {
    return ChooseVersion(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()), level, 1);
}

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::ZbarAvailable())
            FAIL() << "zbarimg is not installed (scripts/setup.sh installs zbar-tools)";
        folder_ = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // The pictures stay behind only when something failed, to look at.
    void TearDown() override {
        if (!folder_.empty() && !HasFailure())
            std::filesystem::remove_all(folder_);
    }

    void Add(const QrSymbol& symbol, const std::string& text) {
        // Small symbols get more pixels per module; zbar reads 2 px modules fine.
        const int ppm = symbol.size <= 57 ? 3 : 2;
        const std::string path = folder_ + "/" + std::to_string(paths_.size()) + ".pgm";
        ASSERT_TRUE(WritePgm(path, RenderRaster(symbol, ppm)));
        paths_.push_back(path);
        expected_.push_back(text);
    }

    void VerifyAll() {
        for (const std::string& failure : VerifyWithZbar(paths_, expected_))
            ADD_FAILURE() << failure;
    }

    std::string folder_;
    std::vector<std::string> paths_;
    std::vector<std::string> expected_;
};

// For every version and level: the longest fill text that still fits that
// version gets exactly it, one character more needs the next version, and the
// full symbol reads back.
TEST_F(RoundTrip, EveryVersionAndLevelFilledToCapacity) {
    for (int version = 1; version <= 40; ++version) {
        for (EcLevel level : kLevels) {
            const int l = static_cast<int>(level);
            const std::string tag = "V" + std::to_string(version) + "L" + std::to_string(l) + ":";
            const auto fill = FillCharacters(l, version);
            // Binary search for the longest fill that fits the version; no
            // character takes less than 10/3 bits.
            size_t lo = 0;
            size_t hi = static_cast<size_t>(DataCodewords(version, level)) * 8 * 3 / 10 + 2;
            while (lo < hi) {
                const size_t mid = (lo + hi + 1) / 2;
                const int v = VersionOf(Payload(tag, fill, mid), level);
                if (v != 0 && v <= version)
                    lo = mid;
                else
                    hi = mid - 1;
            }
            const std::string text = Payload(tag, fill, lo);
            const auto symbol = EncodeQr(text, {level, 1, -1});
            ASSERT_TRUE(symbol) << tag;
            ASSERT_EQ(symbol->version, version) << tag << " length " << text.size();
            const int next = VersionOf(Payload(tag, fill, lo + 1), level);
            EXPECT_EQ(next, version == 40 ? 0 : version + 1) << tag;
            Add(*symbol, text);
        }
    }
    VerifyAll();
}

// The minimum-version option forces a larger symbol for a short text, and a
// forced mask is used as given.
TEST_F(RoundTrip, ForcedVersionAndMask) {
    for (int version = 1; version <= 40; version += 3) {
        const EcLevel level = kLevels[version % 4];
        const int mask = version % 8;
        const std::string text = "forced " + std::to_string(version);
        const auto symbol = EncodeQr(text, {level, version, mask});
        ASSERT_TRUE(symbol);
        EXPECT_EQ(symbol->version, version);
        EXPECT_EQ(symbol->mask, mask);
        Add(*symbol, text);
    }
    for (int mask = 0; mask < 8; ++mask) {
        const auto symbol = EncodeQr("MASK TEST 12345", {EcLevel::Q, 2, mask});
        ASSERT_TRUE(symbol);
        Add(*symbol, "MASK TEST 12345");
    }
    VerifyAll();
}

TEST_F(RoundTrip, PayloadKinds) {
    const std::vector<std::string> texts = {
        "31415926535897932384626433832795028841971693993751",
        "HTTP://WWW.EXAMPLE.ORG/QR-CODE/ABC?X=1",
        "byte mode: lower case, punctuation; and symbols # @ ~",
        "Mixed 0123456789012345 ORDER-NUMBER ABCDEF text",
        "中华人民共和国 二维码 测试：你好，世界！",
        "Emoji and accents: café, naïve, 😀",
    };
    for (const std::string& text : texts)
        for (EcLevel level : kLevels) {
            const auto symbol = EncodeQr(text, {level, 1, -1});
            ASSERT_TRUE(symbol);
            Add(*symbol, text);
        }
    for (const std::string& text : testing::PayloadSet()) {
        const auto symbol = EncodeQr(text, {EcLevel::L, 1, -1});
        ASSERT_TRUE(symbol);
        Add(*symbol, text);
    }
    VerifyAll();
}

} // namespace
} // namespace kodaro::codec
