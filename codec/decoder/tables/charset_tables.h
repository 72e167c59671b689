#pragma once
// Character tables generated from real codecs (see generate_charset_tables.py).
// 0 marks a byte sequence the charset does not define.
#include <cstdint>

namespace kodaro::codec::tables {

// GBK double-byte characters: lead 0x81..0xFE, trail 0x40..0xFE (191 a row).
constexpr int kGbkTrailFirst = 0x40;
constexpr int kGbkTrails = 191;
extern const uint16_t kGbk[126 * 191];

// Shift_JIS (Windows code page 932) double-byte characters: leads 0x81..0x9F
// then 0xE0..0xFC (60 rows), trail 0x40..0xFC (189 a row).
constexpr int kShiftJisTrailFirst = 0x40;
constexpr int kShiftJisTrails = 189;
extern const uint16_t kShiftJis[60 * 189];

// Big5: lead 0x81..0xFE, trail 0x40..0xFE (191 a row), like GBK.
extern const uint16_t kBig5[126 * 191];

// EUC-KR (KS X 1001): lead and trail 0xA1..0xFE (94 a row).
constexpr int kEucKrFirst = 0xA1;
constexpr int kEucKrTrails = 94;
extern const uint16_t kEucKr[94 * 94];

// Single-byte charsets: the characters of bytes 0x80..0xFF.
extern const uint16_t kCp437[128];
extern const uint16_t kIso8859_2[128];
extern const uint16_t kIso8859_3[128];
extern const uint16_t kIso8859_4[128];
extern const uint16_t kIso8859_5[128];
extern const uint16_t kIso8859_6[128];
extern const uint16_t kIso8859_7[128];
extern const uint16_t kIso8859_8[128];
extern const uint16_t kIso8859_9[128];
extern const uint16_t kIso8859_10[128];
extern const uint16_t kIso8859_11[128];
extern const uint16_t kIso8859_13[128];
extern const uint16_t kIso8859_14[128];
extern const uint16_t kIso8859_15[128];
extern const uint16_t kIso8859_16[128];
extern const uint16_t kCp1250[128];
extern const uint16_t kCp1251[128];
extern const uint16_t kCp1252[128];
extern const uint16_t kCp1256[128];

// The Han characters (Hangul syllables for Korean) that make up 99 % of
// real text in each language, sorted (see generate_common_characters.py).
extern const uint16_t kCommonSimplified[];
extern const int kCommonSimplifiedCount;
extern const uint16_t kCommonTraditional[];
extern const int kCommonTraditionalCount;
extern const uint16_t kCommonKanji[];
extern const int kCommonKanjiCount;
extern const uint16_t kCommonHangul[];
extern const int kCommonHangulCount;

} // namespace kodaro::codec::tables
