#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/decoder/bitstream_parser.h"
#include "codec/decoder/text_decoding.h"

namespace kodaro::codec {
namespace {

class Bits {
public:
    Bits& Put(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i)
            bits_.push_back((value >> i) & 1);
        return *this;
    }
    Bits& Bytes(const std::string& s) {
        for (unsigned char c : s)
            Put(c, 8);
        return *this;
    }
    std::vector<uint8_t> Codewords() const {
        std::vector<uint8_t> out((bits_.size() + 7) / 8, 0);
        for (size_t i = 0; i < bits_.size(); ++i)
            if (bits_[i])
                out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        return out;
    }

private:
    std::vector<int> bits_;
};

std::string TextOf(const Bits& bits, int version = 1) {
    const auto parsed = ParseBitstream(bits.Codewords(), version);
    return parsed ? DecodeSymbolText(*parsed).utf8 : "<malformed>";
}

TEST(Bitstream, ReadsEveryModeWithItsCountWidth) {
    // Numeric 01234567 (10-bit count for versions 1-9), then alphanumeric "AC-42".
    Bits b;
    b.Put(1, 4).Put(8, 10).Put(12, 10).Put(345, 10).Put(67, 7);
    b.Put(2, 4).Put(5, 9).Put(10 * 45 + 12, 11).Put(41 * 45 + 4, 11).Put(2, 6);
    b.Put(4, 4).Put(2, 8).Bytes("ok").Put(0, 4);
    EXPECT_EQ(TextOf(b), "01234567AC-42ok");

    // Byte counts are 16 bits from version 10 on.
    Bits wide;
    wide.Put(4, 4).Put(3, 16).Bytes("abc");
    EXPECT_EQ(TextOf(wide, 10), "abc");
    EXPECT_NE(TextOf(wide, 9), "abc");
}

TEST(Bitstream, ReadsStructuredAppendFnc1AndEci) {
    Bits b;
    b.Put(3, 4).Put(1, 4).Put(2, 4).Put(0x0A, 8);
    b.Put(4, 4).Put(2, 8).Bytes("hi");
    const auto parsed = ParseBitstream(b.Codewords(), 1);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sequenceIndex, 1);
    EXPECT_EQ(parsed->sequenceCount, 3);
    EXPECT_EQ(parsed->sequenceParity, 0x0A);

    // Under FNC1 a lone "%" is the group separator and "%%" a percent sign.
    Bits gs1;
    gs1.Put(5, 4).Put(2, 4).Put(5, 9);
    gs1.Put(1 * 45 + 38, 11).Put(10 * 45 + 38, 11).Put(38, 6);
    EXPECT_EQ(TextOf(gs1), "1\x1D"
                           "A%");

    // ECI 3 (ISO-8859-1), then ECI 20 (Shift_JIS) in the two-byte form.
    Bits eci;
    eci.Put(7, 4).Put(3, 8).Put(4, 4).Put(1, 8).Bytes("\xE9");
    eci.Put(7, 4).Put(0x80 | 0, 8).Put(20, 8).Put(4, 4).Put(2, 8).Bytes("\x82\xA0");
    EXPECT_EQ(TextOf(eci), "\xC3\xA9\xE3\x81\x82"); // "éあ"

    // ECI 26: UTF-8 as is; unknown ECI 899: left to the guess.
    Bits utf8;
    utf8.Put(7, 4).Put(26, 8).Put(4, 4).Put(3, 8).Bytes("\xE4\xBD\xA0");
    EXPECT_EQ(TextOf(utf8), "\xE4\xBD\xA0");
    Bits unknown;
    unknown.Put(7, 4).Put(0x80 | 3, 8).Put(899 & 0xFF, 8).Put(4, 4).Put(2, 8).Bytes("\xC4\xE3");
    EXPECT_EQ(TextOf(unknown), "\xE4\xBD\xA0"); // GBK "你"
}

TEST(Bitstream, ReadsKanjiAndHanziModes) {
    // Kanji: Shift_JIS 0x935F ("点") is 0x935F - 0x8140 = 0x121F -> 0x12 * 0xC0 + 0x1F.
    Bits kanji;
    kanji.Put(8, 4).Put(1, 8).Put(0x12 * 0xC0 + 0x1F, 13);
    EXPECT_EQ(TextOf(kanji), "\xE7\x82\xB9");
    // Hanzi (GB2312 subset): 0xB0A1 ("啊") is 0xB0A1 - 0xA6A1 = 0x0A00 -> 0x0A * 0x60.
    Bits hanzi;
    hanzi.Put(0xD, 4).Put(1, 4).Put(1, 8).Put(0x0A * 0x60, 13);
    EXPECT_EQ(TextOf(hanzi), "\xE5\x95\x8A");
}

TEST(Bitstream, RefusesMalformedStreams) {
    Bits badDigits;
    badDigits.Put(1, 4).Put(3, 10).Put(1000, 10);
    EXPECT_EQ(TextOf(badDigits), "<malformed>");
    Bits longCount;
    longCount.Put(4, 4).Put(200, 8).Bytes("short");
    EXPECT_EQ(TextOf(longCount), "<malformed>");
    Bits unknownMode;
    unknownMode.Put(0xE, 4).Put(0, 12);
    EXPECT_EQ(TextOf(unknownMode), "<malformed>");
    Bits badAlnum;
    badAlnum.Put(2, 4).Put(1, 9).Put(45, 6);
    EXPECT_EQ(TextOf(badAlnum), "<malformed>");
    // Fewer than four bits left end the data like a terminator.
    Bits tail;
    tail.Put(4, 4).Put(1, 8).Bytes("x").Put(0, 3);
    EXPECT_EQ(TextOf(tail), "x");
}

TEST(Charsets, GuessesFromTheBytesWhenNoEciIsGiven) {
    EXPECT_EQ(GuessCharset("plain ascii", ModeHint::None), Charset::Utf8);
    EXPECT_EQ(GuessCharset("\xE4\xBD\xA0\xE5\xA5\xBD", ModeHint::None), Charset::Utf8);
    // GBK "中文测试"
    EXPECT_EQ(GuessCharset("\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4", ModeHint::None), Charset::Gbk);
    // UTF-8 "ü", "ô" and "é" are GBK "眉" and "么" and Shift_JIS "ﾃｩ" too, but
    // inside words of plain letters they are accents.
    EXPECT_EQ(GuessCharset("n\xC3\xBCshu", ModeHint::None), Charset::Utf8);
    EXPECT_EQ(GuessCharset("Puy-de-D\xC3\xB4me", ModeHint::None), Charset::Utf8);
    EXPECT_EQ(GuessCharset("caf\xC3\xA9", ModeHint::None), Charset::Utf8);
    // GBK "谢谢" is valid UTF-8 too ("лл"), but Cyrillic that short is less likely.
    EXPECT_EQ(GuessCharset("\xD0\xBB\xD0\xBB", ModeHint::None), Charset::Gbk);
    // Shift_JIS "ひらがな" (full-width kana give Japanese away)
    EXPECT_EQ(GuessCharset("\x82\xD0\x82\xE7\x82\xAA\x82\xC8", ModeHint::None), Charset::ShiftJis);
    // Not valid in any double-byte charset: ISO-8859-1.
    EXPECT_EQ(GuessCharset("caf\xE9", ModeHint::None), Charset::Latin1);
    EXPECT_EQ(ToUtf8("caf\xE9", Charset::Latin1), "caf\xC3\xA9");
}

TEST(Charsets, DoubleByteModesBesideTheBytesSettleWhatTheBytesLeaveOpen) {
    // "ｶﾀｶﾅ" in Shift_JIS is also GBK "独杜": Chinese wins on its own, but
    // kanji-mode characters in the same symbol make it Japanese.
    const std::string katakana = "\xB6\xC0\xB6\xC5";
    EXPECT_EQ(GuessCharset(katakana, ModeHint::None), Charset::Gbk);
    EXPECT_EQ(GuessCharset(katakana, ModeHint::Kanji), Charset::ShiftJis);
    // Kanji mode does not force Shift_JIS on bytes it cannot read.
    EXPECT_EQ(GuessCharset("\xD6\xD0\xCE\xC4\xFF", ModeHint::Kanji), Charset::Latin1);
    // EUC-KR "한국" is also GBK "茄惫"; hanzi mode tips it to Chinese.
    EXPECT_EQ(GuessCharset("\xC7\xD1\xB1\xB9", ModeHint::None), Charset::EucKr);
    EXPECT_EQ(GuessCharset("\xC7\xD1\xB1\xB9", ModeHint::Hanzi), Charset::Gbk);
}

TEST(Charsets, ConvertsTheNamedCharsetsAndMarksUndefinedBytes) {
    EXPECT_EQ(ToUtf8("\xD6\xD0\xCE\xC4", Charset::Gbk), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(ToUtf8("\x93\xFA\x96\x7B", Charset::ShiftJis), "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(ToUtf8("\xB1", Charset::ShiftJis), "\xEF\xBD\xB1"); // half-width katakana
    EXPECT_EQ(ToUtf8("\xC4", Charset::Cp1251), "\xD0\x94");
    EXPECT_EQ(ToUtf8(std::string("\x00\x41\xD8\x3D\xDE\x00", 6), Charset::Utf16Be),
              "A\xF0\x9F\x98\x80");
    // A lead byte with nothing after it, and bytes that are not UTF-8.
    EXPECT_EQ(ToUtf8("a\xD6", Charset::Gbk), "a\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8("\xFF", Charset::Utf8), "\xEF\xBF\xBD");
    EXPECT_EQ(CharsetForEci(26), Charset::Utf8);
    EXPECT_EQ(CharsetForEci(29), Charset::Gbk);
    EXPECT_EQ(CharsetForEci(20), Charset::ShiftJis);
    EXPECT_EQ(CharsetForEci(12345), Charset::Unknown);
    EXPECT_EQ(ToUtf8("\xA4\xA4", CharsetForEci(28)), "\xE4\xB8\xAD"); // Big5 "中"
    EXPECT_EQ(ToUtf8("\xC7\xD1", CharsetForEci(30)), "\xED\x95\x9C"); // EUC-KR "한"
}

} // namespace
} // namespace kodaro::codec
