#include "codec/decoder/text_decoding.h"

#include <cstdint>

#include "codec/decoder/tables/charset_tables.h"

namespace kodaro::codec {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at `i` (1..4), or 0 when it is invalid.
size_t Utf8SequenceLength(std::string_view s, size_t i, char32_t* out) {
    const auto b0 = static_cast<uint8_t>(s[i]);
    if (b0 < 0x80) {
        *out = b0;
        return 1;
    }
    size_t length;
    char32_t c;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        c = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        c = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        c = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto b = static_cast<uint8_t>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *out = c;
    return length;
}

const uint16_t* SingleByteTable(Charset charset) {
    switch (charset) {
    case Charset::Cp437:
        return tables::kCp437;
    case Charset::Iso8859_2:
        return tables::kIso8859_2;
    case Charset::Iso8859_3:
        return tables::kIso8859_3;
    case Charset::Iso8859_4:
        return tables::kIso8859_4;
    case Charset::Iso8859_5:
        return tables::kIso8859_5;
    case Charset::Iso8859_6:
        return tables::kIso8859_6;
    case Charset::Iso8859_7:
        return tables::kIso8859_7;
    case Charset::Iso8859_8:
        return tables::kIso8859_8;
    case Charset::Iso8859_9:
        return tables::kIso8859_9;
    case Charset::Iso8859_10:
        return tables::kIso8859_10;
    case Charset::Iso8859_11:
        return tables::kIso8859_11;
    case Charset::Iso8859_13:
        return tables::kIso8859_13;
    case Charset::Iso8859_14:
        return tables::kIso8859_14;
    case Charset::Iso8859_15:
        return tables::kIso8859_15;
    case Charset::Iso8859_16:
        return tables::kIso8859_16;
    case Charset::Cp1250:
        return tables::kCp1250;
    case Charset::Cp1251:
        return tables::kCp1251;
    case Charset::Cp1252:
        return tables::kCp1252;
    case Charset::Cp1256:
        return tables::kCp1256;
    default:
        return nullptr;
    }
}

int ShiftJisRow(uint8_t lead) {
    if (lead >= 0x81 && lead <= 0x9F)
        return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC)
        return lead - 0xE0 + 31;
    return -1;
}

// The character of a Shift_JIS double-byte pair, 0 when undefined.
char32_t ShiftJisPair(uint8_t lead, uint8_t trail) {
    const int row = ShiftJisRow(lead);
    if (row < 0 || trail < tables::kShiftJisTrailFirst ||
        trail >= tables::kShiftJisTrailFirst + tables::kShiftJisTrails)
        return 0;
    return tables::kShiftJis[row * tables::kShiftJisTrails + (trail - tables::kShiftJisTrailFirst)];
}

// GBK and Big5 share one table shape: leads 0x81..0xFE, trails 0x40..0xFE.
char32_t WidePair(const uint16_t* table, uint8_t lead, uint8_t trail) {
    if (lead < 0x81 || lead > 0xFE || trail < tables::kGbkTrailFirst ||
        trail >= tables::kGbkTrailFirst + tables::kGbkTrails)
        return 0;
    return table[(lead - 0x81) * tables::kGbkTrails + (trail - tables::kGbkTrailFirst)];
}

char32_t GbkPair(uint8_t lead, uint8_t trail) {
    return WidePair(tables::kGbk, lead, trail);
}
char32_t Big5Pair(uint8_t lead, uint8_t trail) {
    return WidePair(tables::kBig5, lead, trail);
}

char32_t EucKrPair(uint8_t lead, uint8_t trail) {
    const int first = tables::kEucKrFirst;
    const int n = tables::kEucKrTrails;
    if (lead < first || lead >= first + n || trail < first || trail >= first + n)
        return 0;
    return tables::kEucKr[(lead - first) * n + (trail - first)];
}

// Decodes a double-byte charset. Calls `sink` for each character (kReplacement
// for undefined ones).
template <typename Sink> void DecodeShiftJis(std::string_view s, Sink sink) {
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (b < 0x80) {
            sink(static_cast<char32_t>(b));
        } else if (b >= 0xA1 && b <= 0xDF) {
            sink(static_cast<char32_t>(0xFF61 + (b - 0xA1))); // half-width katakana
        } else if (i + 1 < s.size() && ShiftJisPair(b, static_cast<uint8_t>(s[i + 1])) != 0) {
            sink(ShiftJisPair(b, static_cast<uint8_t>(s[i + 1])));
            ++i;
        } else {
            sink(kReplacement);
        }
    }
}

// ASCII plus double-byte pairs looked up by `pair` (GBK, Big5, EUC-KR).
template <typename Pair, typename Sink>
void DecodeDoubleByte(std::string_view s, Pair pair, Sink sink) {
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (b < 0x80) {
            sink(static_cast<char32_t>(b));
        } else if (i + 1 < s.size() && pair(b, static_cast<uint8_t>(s[i + 1])) != 0) {
            sink(pair(b, static_cast<uint8_t>(s[i + 1])));
            ++i;
        } else {
            sink(kReplacement);
        }
    }
}

} // namespace

bool IsValidUtf8(std::string_view s) {
    char32_t c;
    for (size_t i = 0; i < s.size();) {
        const size_t n = Utf8SequenceLength(s, i, &c);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

Charset CharsetForEci(int eci) {
    switch (eci) {
    case 0:
    case 2:
        return Charset::Cp437;
    case 1:
    case 3:
        return Charset::Latin1;
    case 4:
        return Charset::Iso8859_2;
    case 5:
        return Charset::Iso8859_3;
    case 6:
        return Charset::Iso8859_4;
    case 7:
        return Charset::Iso8859_5;
    case 8:
        return Charset::Iso8859_6;
    case 9:
        return Charset::Iso8859_7;
    case 10:
        return Charset::Iso8859_8;
    case 11:
        return Charset::Iso8859_9;
    case 12:
        return Charset::Iso8859_10;
    case 13:
        return Charset::Iso8859_11;
    case 15:
        return Charset::Iso8859_13;
    case 16:
        return Charset::Iso8859_14;
    case 17:
        return Charset::Iso8859_15;
    case 18:
        return Charset::Iso8859_16;
    case 20:
        return Charset::ShiftJis;
    case 21:
        return Charset::Cp1250;
    case 22:
        return Charset::Cp1251;
    case 23:
        return Charset::Cp1252;
    case 24:
        return Charset::Cp1256;
    case 25:
        return Charset::Utf16Be;
    case 26:
        return Charset::Utf8;
    case 27:
    case 170:
        return Charset::Ascii;
    case 28:
        return Charset::Big5;
    case 29:
        return Charset::Gbk;
    case 30:
        return Charset::EucKr;
    default:
        return Charset::Unknown;
    }
}

const char* CharsetName(Charset charset) {
    switch (charset) {
    case Charset::Ascii:
        return "US-ASCII";
    case Charset::Utf8:
        return "UTF-8";
    case Charset::Utf16Be:
        return "UTF-16BE";
    case Charset::Latin1:
        return "ISO-8859-1";
    case Charset::Cp437:
        return "CP437";
    case Charset::ShiftJis:
        return "Shift_JIS";
    case Charset::Gbk:
        return "GBK";
    case Charset::Big5:
        return "Big5";
    case Charset::EucKr:
        return "EUC-KR";
    case Charset::Cp1250:
        return "windows-1250";
    case Charset::Cp1251:
        return "windows-1251";
    case Charset::Cp1252:
        return "windows-1252";
    case Charset::Cp1256:
        return "windows-1256";
    case Charset::Unknown:
        return "";
    default:
        return "ISO-8859";
    }
}

std::u32string ToCodePoints(std::string_view bytes, Charset charset) {
    std::u32string out;
    out.reserve(bytes.size());
    auto sink = [&](char32_t c) { out += c; };
    switch (charset) {
    case Charset::Utf8:
    case Charset::Unknown: {
        char32_t c;
        for (size_t i = 0; i < bytes.size();) {
            const size_t n = Utf8SequenceLength(bytes, i, &c);
            sink(n == 0 ? kReplacement : c);
            i += n == 0 ? 1 : n;
        }
        break;
    }
    case Charset::Ascii:
        for (char b : bytes)
            sink(static_cast<uint8_t>(b) < 0x80 ? static_cast<char32_t>(b) : kReplacement);
        break;
    case Charset::Latin1:
        for (char b : bytes)
            sink(static_cast<uint8_t>(b));
        break;
    case Charset::Utf16Be:
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            char32_t c = (static_cast<uint8_t>(bytes[i]) << 8) | static_cast<uint8_t>(bytes[i + 1]);
            if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
                const char32_t low =
                    (static_cast<uint8_t>(bytes[i + 2]) << 8) | static_cast<uint8_t>(bytes[i + 3]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
            sink((c >= 0xD800 && c <= 0xDFFF) ? kReplacement : c);
        }
        if (bytes.size() % 2 != 0)
            sink(kReplacement);
        break;
    case Charset::ShiftJis:
        DecodeShiftJis(bytes, sink);
        break;
    case Charset::Gbk:
        DecodeDoubleByte(bytes, GbkPair, sink);
        break;
    case Charset::Big5:
        DecodeDoubleByte(bytes, Big5Pair, sink);
        break;
    case Charset::EucKr:
        DecodeDoubleByte(bytes, EucKrPair, sink);
        break;
    default: {
        const uint16_t* table = SingleByteTable(charset);
        for (char b : bytes) {
            const auto v = static_cast<uint8_t>(b);
            const char32_t c = v < 0x80 ? v : table[v - 0x80];
            sink(c == 0 ? kReplacement : c);
        }
        break;
    }
    }
    return out;
}

std::string ToUtf8(std::string_view bytes, Charset charset) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char32_t c : ToCodePoints(bytes, charset))
        AppendUtf8(out, c);
    return out;
}

SymbolText DecodeSymbolText(const ParsedData& data) {
    // One guess for all byte data without an ECI, so a character split across
    // segments still decodes.
    std::string unlabelled;
    bool japanese = false;
    bool chinese = false;
    for (const auto& s : data.segments) {
        japanese = japanese || s.kind == SegmentKind::Kanji;
        chinese = chinese || s.kind == SegmentKind::Hanzi;
        if (s.kind == SegmentKind::Byte && CharsetForEci(s.eci) == Charset::Unknown)
            unlabelled += s.bytes;
    }
    const ModeHint hint = japanese ? ModeHint::Kanji : chinese ? ModeHint::Hanzi : ModeHint::None;
    SymbolText result;
    // Without byte data the charset is the one the double-byte modes imply.
    const Charset guess = !unlabelled.empty() ? GuessCharset(unlabelled, hint)
                          : japanese          ? Charset::ShiftJis
                          : chinese           ? Charset::Gbk
                                              : Charset::Utf8;
    result.charset = data.firstEci >= 0 && CharsetForEci(data.firstEci) != Charset::Unknown
                         ? CharsetForEci(data.firstEci)
                         : guess;

    // Neighbouring segments in the same charset are converted together.
    std::string pending;
    Charset pendingCharset = Charset::Ascii;
    auto flush = [&] {
        result.utf8 += ToUtf8(pending, pendingCharset);
        pending.clear();
    };
    for (const auto& s : data.segments) {
        Charset cs;
        switch (s.kind) {
        case SegmentKind::Kanji:
            cs = Charset::ShiftJis;
            break;
        case SegmentKind::Hanzi:
            cs = Charset::Gbk;
            break;
        case SegmentKind::Byte:
            cs = CharsetForEci(s.eci);
            if (cs == Charset::Unknown)
                cs = guess;
            break;
        default:
            cs = Charset::Ascii;
            break;
        }
        if (cs != pendingCharset && !pending.empty())
            flush();
        pendingCharset = cs;
        pending += s.bytes;
    }
    flush();
    return result;
}

} // namespace kodaro::codec
