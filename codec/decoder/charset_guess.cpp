// The charset of symbol data that names none. Many byte strings are valid in
// several charsets at once (half-width katakana in Shift_JIS are Chinese
// characters in GBK; every Hangul syllable in EUC-KR is a Chinese character
// in GBK; some GBK text is even valid UTF-8), so each reading is scored by
// how much its characters look like text someone would write, and the best
// one wins. A character's score is about what it weighs per two bytes, so
// single-byte and double-byte readings of the same data compare fairly.
#include <algorithm>
#include <array>
#include <string_view>

#include "codec/decoder/tables/charset_tables.h"
#include "codec/decoder/text_decoding.h"

namespace kodaro::codec {

namespace {

// A byte sequence the charset does not define all but rules the reading out.
constexpr int kUndefined = -100;
// A common character of the reading's language, and a rare but valid one.
constexpr int kCommon = 8;
constexpr int kRare = -2;
// Characters no generator of text in that language writes.
constexpr int kImplausible = -6;
// Kodaro's users read Chinese first: GBK wins ties and near ties.
constexpr int kGbkBonus = 2;

struct CommonSet {
    const uint16_t* table;
    int count;
    bool Contains(char32_t c) const { return std::binary_search(table, table + count, c); }
};

bool IsHan(char32_t c) {
    return c >= 0x4E00 && c <= 0x9FFF;
}
bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x309B && c <= 0x30FE);
}
bool IsHangul(char32_t c) {
    return c >= 0xAC00 && c <= 0xD7A3;
}
bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsLatin1Letter(char32_t c) {
    return c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7;
}
// Punctuation, signs and full-width forms that text of every CJK language
// uses: quotes, dashes, arrows, circled numbers, stars, currency and the like.
bool IsSharedPunctuation(char32_t c) {
    return c == 0xA7 || c == 0xB0 || c == 0xB1 || c == 0xD7 || c == 0xF7 ||
           (c >= 0x2010 && c <= 0x203B) || (c >= 0x2190 && c <= 0x21FF) ||
           (c >= 0x2460 && c <= 0x24FF) || (c >= 0x25A0 && c <= 0x266F) ||
           (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

// Half-width katakana, U+FF61..U+FF9F.
bool IsHalfWidth(char32_t c) {
    return c >= 0xFF61 && c <= 0xFF9F;
}
bool IsHalfWidthLetter(char32_t c) {
    return c >= 0xFF66 && c <= 0xFF9D;
}
// Kana that take the voiced mark: U, KA..TO, HA..HO.
bool TakesVoicedMark(char32_t c) {
    return c == 0xFF73 || (c >= 0xFF76 && c <= 0xFF84) || (c >= 0xFF8A && c <= 0xFF8E);
}
bool TakesSemiVoicedMark(char32_t c) {
    return c >= 0xFF8A && c <= 0xFF8E;
}

// Half-width katakana are plausible in runs that follow the rules of
// Japanese spelling: marks after the kana they belong to, small kana after
// the kana they can follow, the long-vowel mark after a kana, no word
// starting with N. Chinese or Korean text read as Shift_JIS gives
// half-width katakana too, but at random and often where the rules forbid.
int ScoreHalfWidth(char32_t prev, char32_t c, char32_t next) {
    const bool afterKana = IsHalfWidthLetter(prev) || prev == 0xFF9E || prev == 0xFF9F;
    const bool afterVoiced = prev == 0xFF9E || prev == 0xFF9F;
    auto follows = [&](std::u32string_view kana) {
        return afterVoiced || kana.find(prev) != std::u32string_view::npos;
    };
    switch (c) {
    case 0xFF9E: // voiced mark
        return TakesVoicedMark(prev) ? kCommon : kImplausible;
    case 0xFF9F: // semi-voiced mark
        return TakesSemiVoicedMark(prev) ? kCommon : kImplausible;
    case 0xFF67: // small a, i, u, e, o: after the kana of loan-word spellings
    case 0xFF68:
    case 0xFF69:
    case 0xFF6A:
    case 0xFF6B:
        return follows(U"ｲｳｸｼﾁﾂﾃﾄﾌｸﾞ") ? kCommon / 2 : kImplausible;
    case 0xFF6C: // small ya, yu, yo: after the kana of the i column
    case 0xFF6D:
    case 0xFF6E:
        return follows(U"ｷｼﾁﾆﾋﾐﾘ") ? kCommon / 2 : kImplausible;
    case 0xFF6F: // small tsu, the long-vowel mark, N
    case 0xFF70:
    case 0xFF9D:
        return IsHalfWidthLetter(prev) || afterVoiced ? kCommon / 4 : kImplausible;
    default:
        break;
    }
    if (c < 0xFF66) // punctuation
        return afterKana || IsHalfWidthLetter(next) ? 0 : kRare;
    return afterKana || IsHalfWidth(next) ? kCommon / 4 : kImplausible;
}

int ScoreLatin1(char32_t prev, char32_t c, char32_t next) {
    if (c < 0xA0)
        return kImplausible; // C1 control codes
    // Three letters with accents in a row are rare; one among plain letters,
    // or a sign like a guillemet beside a space, is what these languages write.
    if (prev >= 0x80 && next >= 0x80)
        return kImplausible;
    if (!IsLatin1Letter(c))
        return 0;
    if (IsAsciiLetter(prev) || IsAsciiLetter(next))
        return kCommon / 2;
    return IsLatin1Letter(prev) || IsLatin1Letter(next) ? 0 : kRare;
}

// Any script's letters in UTF-8 take two bytes or more; three or more are
// rare by chance in other charsets' bytes. A two-byte letter inside a word
// of plain letters is an accented Latin letter.
int ScoreUtf8(char32_t prev, char32_t c, char32_t next) {
    if (c < 0xA0)
        return kImplausible;
    if (c >= 0x800)
        return 2 * kCommon;
    return IsAsciiLetter(prev) || IsAsciiLetter(next) ? 2 * kCommon : kCommon;
}

// Han characters by how often the reading's language writes them; `lead`
// and `trail` are the character's bytes, which tell the charsets' own
// frequency levels apart.
int ScoreHan(Charset charset, char32_t c, uint8_t lead, uint8_t trail) {
    switch (charset) {
    case Charset::ShiftJis:
        if (CommonSet{tables::kCommonKanji, tables::kCommonKanjiCount}.Contains(c))
            return kCommon;
        // Vendor extensions past the second JIS level.
        return lead >= 0xED ? kImplausible : kRare;
    case Charset::Gbk:
        if (CommonSet{tables::kCommonSimplified, tables::kCommonSimplifiedCount}.Contains(c))
            return kCommon;
        // GB2312's first level holds the characters of everyday Chinese;
        // beyond GB2312 GBK holds traditional and rare characters only.
        if (lead >= 0xB0 && lead <= 0xD7 && trail >= 0xA1)
            return 0;
        return lead <= 0xF7 && trail >= 0xA1 ? kRare : kImplausible;
    case Charset::Big5:
        if (CommonSet{tables::kCommonTraditional, tables::kCommonTraditionalCount}.Contains(c))
            return kCommon;
        return lead < 0xC9 ? kRare : 2 * kRare;
    default:
        return kRare; // Hanja: rare in Korean text of today
    }
}

int ScoreWide(Charset charset, char32_t c, uint8_t lead, uint8_t trail) {
    if (IsHan(c))
        return ScoreHan(charset, c, lead, trail);
    if (charset == Charset::ShiftJis && IsKana(c))
        return kCommon;
    // KS X 1001 holds only the Hangul syllables in everyday use.
    if (charset == Charset::EucKr && IsHangul(c))
        return CommonSet{tables::kCommonHangul, tables::kCommonHangulCount}.Contains(c) ? kCommon
                                                                                        : 0;
    // Kana outside Japanese, symbols, compatibility and private-use
    // characters are what random bytes give, not what people write.
    return IsSharedPunctuation(c) ? 0 : kImplausible;
}

// Korean puts spaces between words; Chinese and Japanese do not.
int ScoreSpace(Charset charset, char32_t prev, char32_t next) {
    if (prev < 0x80 || next < 0x80 || charset == Charset::Latin1 || charset == Charset::Utf8)
        return 0;
    return charset == Charset::EucKr ? kCommon / 2 : kImplausible;
}

size_t ByteWidth(Charset charset, char32_t c) {
    if (c < 0x80 || c == 0xFFFD || charset == Charset::Latin1 ||
        (charset == Charset::ShiftJis && IsHalfWidth(c)))
        return 1;
    if (charset == Charset::Utf8)
        return c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    return 2;
}

int ScoreReading(std::string_view bytes, Charset charset) {
    const std::u32string text = ToCodePoints(bytes, charset);
    int score = 0;
    size_t at = 0; // where the character's bytes start
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        const char32_t prev = i > 0 ? text[i - 1] : 0;
        const char32_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (c == ' ')
            score += ScoreSpace(charset, prev, next);
        else if (c < 0x80)
            ;
        else if (c == 0xFFFD)
            score += kUndefined;
        else if (charset == Charset::Utf8)
            score += ScoreUtf8(prev, c, next);
        else if (charset == Charset::Latin1)
            score += ScoreLatin1(prev, c, next);
        else if (charset == Charset::ShiftJis && IsHalfWidth(c))
            score += ScoreHalfWidth(prev, c, next);
        else
            score += ScoreWide(charset, c, static_cast<uint8_t>(bytes[at]),
                               static_cast<uint8_t>(bytes[at + 1]));
        at += ByteWidth(charset, c);
    }
    return score;
}

} // namespace

Charset GuessCharset(std::string_view bytes, ModeHint hint) {
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char b) { return static_cast<uint8_t>(b) < 0x80; }))
        return Charset::Utf8;
    // Kanji or hanzi mode beside the bytes tells the language; the bytes
    // follow it when they can.
    if (hint != ModeHint::None && !IsValidUtf8(bytes)) {
        const Charset implied = hint == ModeHint::Kanji ? Charset::ShiftJis : Charset::Gbk;
        if (ToCodePoints(bytes, implied).find(U'\uFFFD') == std::u32string::npos)
            return implied;
    }
    // In order of preference when scores tie.
    constexpr std::array<Charset, 6> kCandidates = {Charset::Utf8,     Charset::Gbk,
                                                    Charset::ShiftJis, Charset::Big5,
                                                    Charset::Latin1,   Charset::EucKr};
    Charset best = Charset::Utf8;
    int bestScore = 0;
    for (Charset candidate : kCandidates) {
        int score = ScoreReading(bytes, candidate);
        if (candidate == Charset::Gbk)
            score += kGbkBonus;
        if (candidate == Charset::Utf8 || score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

} // namespace kodaro::codec
