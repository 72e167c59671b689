#pragma once
// Turns the data of a symbol into UTF-8: by its ECI when it names one, as is
// when it already is UTF-8, otherwise by a guess among Shift_JIS, GBK, Big5,
// EUC-KR and ISO-8859-1.
#include <string>
#include <string_view>

#include "codec/decoder/bitstream_parser.h"

namespace kodaro::codec {

enum class Charset {
    Unknown,
    Ascii,
    Utf8,
    Utf16Be,
    Latin1,
    Cp437,
    Iso8859_2,
    Iso8859_3,
    Iso8859_4,
    Iso8859_5,
    Iso8859_6,
    Iso8859_7,
    Iso8859_8,
    Iso8859_9,
    Iso8859_10,
    Iso8859_11,
    Iso8859_13,
    Iso8859_14,
    Iso8859_15,
    Iso8859_16,
    Cp1250,
    Cp1251,
    Cp1252,
    Cp1256,
    ShiftJis,
    Gbk,
    Big5,
    EucKr,
};

// The charset an ECI designator names; Unknown for those we cannot convert.
Charset CharsetForEci(int eci);
// A readable name ("UTF-8", "GBK", "Shift_JIS", "ISO-8859-1", ...).
const char* CharsetName(Charset charset);

// The charset hint that double-byte segments beside the byte data give.
enum class ModeHint { None, Kanji, Hanzi };

// Best guess for bytes carrying no ECI: UTF-8 when they are valid UTF-8,
// otherwise the reading whose characters look most like real text (see
// charset_guess.cpp). Beside kanji-mode characters the bytes are read as
// Shift_JIS, beside hanzi-mode ones as GBK, when they are valid there.
Charset GuessCharset(std::string_view bytes, ModeHint hint);

bool IsValidUtf8(std::string_view bytes);

// Converts bytes in a charset to UTF-8; undefined sequences become U+FFFD.
std::string ToUtf8(std::string_view bytes, Charset charset);
// The same as code points.
std::u32string ToCodePoints(std::string_view bytes, Charset charset);

struct SymbolText {
    std::string utf8;
    // The charset of the byte data: from its ECI, or guessed.
    Charset charset = Charset::Unknown;
};

SymbolText DecodeSymbolText(const ParsedData& data);

} // namespace kodaro::codec
