// Symbols made by an outside encoder (qrencode), read from clean and
// distorted pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "codec/decoder/qr_decoder.h"
#include "test_pictures.h"

namespace kodaro::codec {
namespace {

using testing::Picture;

// Outside-encoder symbols kept at one pixel a module, drawn at `scale`.
Picture Load(const std::string& name, int scale) {
    const Picture p = testing::ReadTestPgm(name);
    EXPECT_GT(p.width, 0) << name;
    return testing::Scale(p, scale);
}

std::vector<DecodedSymbol> Decode(const Picture& p) {
    return DecodeQrSymbols(p.View());
}

const char* const kKanjiText = "日本語のテキスト、漢字モード";
const char* const kGbkText = "中文测试：你好，世界";

TEST(DecodePictures, ReadsKanjiModeGbkAndShiftJisBytes) {
    auto kanji = Decode(Load("kanji.pgm", 3));
    ASSERT_EQ(kanji.size(), 1u);
    EXPECT_EQ(kanji[0].text, kKanjiText);
    EXPECT_EQ(kanji[0].charset, Charset::ShiftJis);

    auto gbk = Decode(Load("gbk.pgm", 3));
    ASSERT_EQ(gbk.size(), 1u);
    EXPECT_EQ(gbk[0].text, kGbkText);
    EXPECT_EQ(gbk[0].charset, Charset::Gbk);
    EXPECT_EQ(gbk[0].bytes.substr(0, 2), "\xD6\xD0") << "the stored bytes stay as they are";

    auto sjis = Decode(Load("sjis_bytes.pgm", 3));
    ASSERT_EQ(sjis.size(), 1u);
    EXPECT_EQ(sjis[0].text, "ひらがなと漢字のデータ");
    EXPECT_EQ(sjis[0].charset, Charset::ShiftJis);
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// Byte data without an ECI that qrencode wrote in the legacy charsets:
// Japanese with and without half-width katakana, Chinese in GBK and Big5,
// Korean, accented Latin. The list gives each picture's charset and text.
TEST(DecodePictures, ReadsDataWithoutEciInTheCharsetItWasWrittenIn) {
    std::ifstream list(std::string(KODARO_SOURCE_DIR) + "/tests/data/decoder/charsets.txt");
    int pictures = 0;
    for (std::string line; std::getline(list, line); ++pictures) {
        const size_t a = line.find('\t');
        const size_t b = line.find('\t', a + 1);
        ASSERT_NE(b, std::string::npos) << line;
        const std::string name = line.substr(0, a);
        auto s = Decode(Load(name, 2));
        ASSERT_EQ(s.size(), 1u) << name;
        EXPECT_EQ(s[0].eci, -1) << name;
        EXPECT_EQ(Upper(CharsetName(s[0].charset)), line.substr(a + 1, b - a - 1)) << name;
        EXPECT_EQ(s[0].text, line.substr(b + 1)) << name;
    }
    EXPECT_EQ(pictures, 29);
}

TEST(DecodePictures, ReadsAStructuredAppendSequence) {
    std::string joined;
    for (int part = 1; part <= 3; ++part) {
        auto s = Decode(Load("sa_" + std::to_string(part) + ".pgm", 4));
        ASSERT_EQ(s.size(), 1u) << part;
        EXPECT_EQ(s[0].version, 1);
        EXPECT_EQ(s[0].level, EcLevel::M);
        EXPECT_EQ(s[0].sequenceIndex, part - 1);
        EXPECT_EQ(s[0].sequenceCount, 3);
        EXPECT_EQ(s[0].sequenceParity, 0x0A);
        joined += s[0].text;
    }
    EXPECT_EQ(joined.substr(0, 38), "STRUCTURED APPEND ACROSS THREE SYMBOLS");
    int parity = 0;
    for (unsigned char c : joined)
        parity ^= c;
    EXPECT_EQ(parity, 0x0A);
}

TEST(DecodePictures, ReadsTurnedInvertedAndMirroredPictures) {
    const Picture base = Load("gbk.pgm", 4);
    for (double degrees : {0.0, 7.0, 30.0, 45.0, 90.0, 135.0, 180.0, 241.0, 315.0}) {
        auto s = Decode(testing::Rotate(base, degrees));
        ASSERT_EQ(s.size(), 1u) << degrees;
        EXPECT_EQ(s[0].text, kGbkText) << degrees;
        EXPECT_FALSE(s[0].mirrored);
    }
    auto inverted = Decode(testing::Invert(base));
    ASSERT_EQ(inverted.size(), 1u);
    EXPECT_EQ(inverted[0].text, kGbkText);
    // In this negative the dark-on-light passes find look-alikes enough to
    // spend every grid they may sample before the light-on-dark ones run.
    auto busy = Decode(testing::Invert(Load("busy_data.pgm", 4)));
    ASSERT_EQ(busy.size(), 1u);
    EXPECT_EQ(busy[0].text,
              "item-30155 ünïcode 二维码 https://example.org/p?id= https://example.org/p?id= "
              "https://example.org/p?id= fox kodaro data 12345 https://example.org/p?id=");

    auto mirrored = Decode(testing::Mirror(base));
    ASSERT_EQ(mirrored.size(), 1u);
    EXPECT_EQ(mirrored[0].text, kGbkText);
    EXPECT_TRUE(mirrored[0].mirrored);

    auto both = Decode(testing::Rotate(testing::Invert(testing::Mirror(base)), 20));
    ASSERT_EQ(both.size(), 1u);
    EXPECT_EQ(both[0].text, kGbkText);
}

TEST(DecodePictures, ReadsPerspectiveBlurNoiseAndUnevenLight) {
    const Picture base = Load("kanji.pgm", 5);
    const double corners[8] = {40, 30, 300, 60, 280, 290, 20, 250};
    auto tilted = Decode(testing::Perspective(base, 330, 330, corners));
    ASSERT_EQ(tilted.size(), 1u);
    EXPECT_EQ(tilted[0].text, kKanjiText);

    auto blurred = Decode(testing::BoxBlur(base, 1));
    ASSERT_EQ(blurred.size(), 1u);
    EXPECT_EQ(blurred[0].text, kKanjiText);

    auto noisy = Decode(testing::AddNoise(base, 60, 7));
    ASSERT_EQ(noisy.size(), 1u);
    EXPECT_EQ(noisy[0].text, kKanjiText);

    // Blur swells the marks of this small symbol: they measure half again
    // the module size their distances apart tell.
    auto swollen = Decode(Load("swollen_marks.pgm", 1));
    ASSERT_EQ(swollen.size(), 1u);
    EXPECT_EQ(swollen[0].text, "item-355");

    // Low contrast under a strong brightness ramp: no single threshold works.
    auto dim = Decode(testing::Relight(base, 90, 150, 120));
    ASSERT_EQ(dim.size(), 1u);
    EXPECT_EQ(dim[0].text, kKanjiText);
}

TEST(DecodePictures, ReadsLabelsBentRoundABottle) {
    // The columns crowd towards the sides and the top and bottom edges bow:
    // no single projective mapping fits the modules.
    auto narrow = Decode(testing::ReadTestPgm("bottle_55.pgm"));
    ASSERT_EQ(narrow.size(), 1u);
    EXPECT_EQ(narrow[0].text, "https://example.org/bottle?batch=2026-12&lot=A17");
    auto wide = Decode(testing::ReadTestPgm("bottle_65.pgm"));
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].text,
              "label on a bottle, batch 2026-12, lot A17, best before 2027-06-30 ABCDEFGHIJ");
}

TEST(DecodePictures, ReadsTwoPixelModules) {
    auto small = Decode(Load("sjis_bytes.pgm", 2));
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].text, "ひらがなと漢字のデータ");
}

TEST(DecodePictures, ReportsSeveralSymbolsTopToBottomThenLeftToRight) {
    const Picture parts[4] = {Load("sa_1.pgm", 3), Load("gbk.pgm", 3), Load("kanji.pgm", 3),
                              Load("sa_3.pgm", 3)};
    auto symbols = Decode(testing::Tile({parts[0], parts[1], parts[2], parts[3]}, 2, 10));
    ASSERT_EQ(symbols.size(), 4u);
    EXPECT_EQ(symbols[0].sequenceIndex, 0);
    EXPECT_EQ(symbols[1].text, kGbkText);
    EXPECT_EQ(symbols[2].text, kKanjiText);
    EXPECT_EQ(symbols[3].sequenceIndex, 2);
    // The corners frame each symbol in its own cell.
    EXPECT_LT(symbols[0].corners[2].x, symbols[1].corners[0].x);
    EXPECT_LT(symbols[0].corners[2].y, symbols[2].corners[0].y);
}

TEST(DecodePictures, ReadsMoreSymbolsThanOnePassTakesMarksFor) {
    std::vector<Picture> parts;
    std::vector<std::string> expected;
    for (const char* name : {"sa_1.pgm", "sa_2.pgm", "sa_3.pgm"}) {
        parts.push_back(Load(name, 3));
        expected.push_back(Decode(parts.back()).at(0).text);
    }
    for (const char* name : {"gbk.pgm", "kanji.pgm", "sjis_bytes.pgm"}) {
        parts.push_back(Load(name, 3));
        expected.push_back(Decode(parts.back()).at(0).text);
        parts.push_back(testing::Mirror(parts.back()));
        expected.push_back(expected.back());
    }
    auto symbols = Decode(testing::Tile(parts, 3, 6));
    ASSERT_EQ(symbols.size(), 9u);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(symbols[i].text, expected[i]) << i;
}

TEST(DecodePictures, FindsNothingWhereThereIsNoSymbol) {
    Picture blank;
    blank.width = 120;
    blank.height = 90;
    blank.pixels.assign(120 * 90, 200);
    EXPECT_TRUE(Decode(blank).empty());
    EXPECT_TRUE(Decode(testing::AddNoise(blank, 120, 3)).empty());
    // A symbol cut in half.
    Picture half = Load("gbk.pgm", 3);
    half.height /= 2;
    half.pixels.resize(static_cast<size_t>(half.width) * half.height);
    EXPECT_TRUE(Decode(half).empty());
    // Degenerate images are refused without reading any pixel.
    EXPECT_TRUE(DecodeQrSymbols(GreyImage{nullptr, 10, 10, 10}).empty());
    EXPECT_TRUE(DecodeQrSymbols(GreyImage{blank.pixels.data(), 120, 90, 60}).empty());
}

} // namespace
} // namespace kodaro::codec
