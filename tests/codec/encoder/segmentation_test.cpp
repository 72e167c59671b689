#include "codec/encoder/segmentation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace kodaro::codec {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

bool Fits(Mode mode, const std::string& s, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (mode == Mode::Numeric && !(c >= '0' && c <= '9'))
            return false;
        if (mode == Mode::Alphanumeric && AlphanumericValue(c) < 0)
            return false;
    }
    return true;
}

// Shortest stream over every split into segments and every mode choice,
// computed the slow way: best[i] = cheapest encoding of the first i bytes.
size_t BruteForceBits(const std::string& s, int version) {
    const size_t n = s.size();
    std::vector<size_t> best(n + 1, SIZE_MAX);
    best[0] = 0;
    for (size_t end = 1; end <= n; ++end) {
        for (size_t begin = 0; begin < end; ++begin) {
            for (Mode mode : {Mode::Numeric, Mode::Alphanumeric, Mode::Byte}) {
                if (best[begin] == SIZE_MAX || !Fits(mode, s, begin, end))
                    continue;
                const size_t bits = best[begin] + 4 + CharacterCountBits(mode, version) +
                                    SegmentDataBits(mode, end - begin);
                best[end] = std::min(best[end], bits);
            }
        }
    }
    return best[n];
}

TEST(Segmentation, MatchesExhaustiveSearch) {
    std::mt19937 rng(42);
    const std::string alphabet = "0123456789ABCXYZ $:abcxyz#\xE4\xB8\xAD";
    for (int round = 0; round < 400; ++round) {
        std::string s;
        const size_t length = 1 + rng() % 48;
        // Runs of one character class make switching modes worthwhile.
        while (s.size() < length) {
            const size_t cls = rng() % 3;
            const size_t run = 1 + rng() % 12;
            for (size_t k = 0; k < run; ++k) {
                const size_t from = cls == 0 ? 0 : cls == 1 ? 10 : 16;
                const size_t span = cls == 0 ? 10 : cls == 1 ? 16 : alphabet.size() - 16;
                s += alphabet[from + rng() % span];
            }
        }
        for (int version : {1, 10, 27}) {
            const auto segments = OptimalSegments(Bytes(s), version);
            ASSERT_EQ(SegmentsBits(segments, version), BruteForceBits(s, version))
                << "\"" << s << "\" version " << version;
            // The segments cover the payload in order with modes that can hold it.
            size_t next = 0;
            for (const Segment& seg : segments) {
                EXPECT_EQ(seg.begin, next);
                EXPECT_TRUE(Fits(seg.mode, s, seg.begin, seg.begin + seg.length));
                next += seg.length;
            }
            EXPECT_EQ(next, s.size());
        }
    }
}

TEST(Segmentation, KnownStreams) {
    const auto digits = OptimalSegments(Bytes("01234567"), 1);
    ASSERT_EQ(digits.size(), 1u);
    EXPECT_EQ(digits[0].mode, Mode::Numeric);
    EXPECT_EQ(SegmentsBits(digits, 1), 41u);

    BitWriter out;
    WriteSegments(Bytes("01234567"), digits, 1, out);
    // 0001 0000001000 0000001100 0101011001 1000011
    const std::vector<uint8_t> expected = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80};
    EXPECT_EQ(out.Bytes(), expected);
    EXPECT_EQ(out.BitCount(), 41u);

    const auto alnum = OptimalSegments(Bytes("HELLO WORLD"), 1);
    ASSERT_EQ(alnum.size(), 1u);
    EXPECT_EQ(alnum[0].mode, Mode::Alphanumeric);
    EXPECT_EQ(SegmentsBits(alnum, 1), 4u + 9u + 5u * 11u + 6u);

    // A long digit run inside text is worth its own numeric segment.
    const std::string mixed = "order no. 12345678901234567890 sent";
    const auto parts = OptimalSegments(Bytes(mixed), 1);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].mode, Mode::Numeric);
    EXPECT_EQ(mixed.substr(parts[1].begin, parts[1].length), "12345678901234567890");

    EXPECT_TRUE(OptimalSegments({}, 1).empty());
    EXPECT_TRUE(OptimalSegments(Bytes("abc"), 0).empty());
}

TEST(Segmentation, SplitsRunsLongerThanTheCountField) {
    const std::string bytes(300, 'a');
    const auto segments = OptimalSegments(Bytes(bytes), 1);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].length, 255u);
    EXPECT_EQ(segments[1].length, 45u);
    EXPECT_EQ(OptimalSegments(Bytes(bytes), 10).size(), 1u);

    const std::string digits(1500, '5');
    const auto numeric = OptimalSegments(Bytes(digits), 9);
    ASSERT_EQ(numeric.size(), 2u);
    EXPECT_EQ(numeric[0].length, 1023u);
}

} // namespace
} // namespace kodaro::codec
