#include "codec/decoder/bitstream_parser.h"

#include "codec/common/qr_tables.h"

namespace kodaro::codec {

namespace {

class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> data) : data_(data) {}
    size_t Available() const { return data_.size() * 8 - position_; }
    // Reads `count` (<= 32) bits, most significant first; the caller checks Available().
    uint32_t Read(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i, ++position_)
            value = (value << 1) | ((data_[position_ >> 3] >> (7 - (position_ & 7))) & 1u);
        return value;
    }

private:
    std::span<const uint8_t> data_;
    size_t position_ = 0;
};

constexpr int kHanziMode = 0xD;
constexpr int kGb2312Subset = 1;

bool ReadNumeric(BitReader& in, int count, std::string& out) {
    while (count > 0) {
        const int digits = count >= 3 ? 3 : count;
        const int bits = digits == 3 ? 10 : (digits == 2 ? 7 : 4);
        const int limit = digits == 3 ? 1000 : (digits == 2 ? 100 : 10);
        if (in.Available() < static_cast<size_t>(bits))
            return false;
        const int value = static_cast<int>(in.Read(bits));
        if (value >= limit)
            return false;
        const std::string text = std::to_string(value + limit).substr(1);
        out += text;
        count -= digits;
    }
    return true;
}

bool ReadAlphanumeric(BitReader& in, int count, bool fnc1, std::string& out) {
    std::string text;
    while (count > 0) {
        if (count >= 2) {
            if (in.Available() < 11)
                return false;
            const int value = static_cast<int>(in.Read(11));
            if (value >= 45 * 45)
                return false;
            text += kAlphanumericChars[value / 45];
            text += kAlphanumericChars[value % 45];
            count -= 2;
        } else {
            if (in.Available() < 6)
                return false;
            const int value = static_cast<int>(in.Read(6));
            if (value >= 45)
                return false;
            text += kAlphanumericChars[value];
            count -= 1;
        }
    }
    if (fnc1) {
        // Under FNC1 "%" stands for the group separator and "%%" for "%".
        std::string mapped;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%') {
                mapped += text[i];
            } else if (i + 1 < text.size() && text[i + 1] == '%') {
                mapped += '%';
                ++i;
            } else {
                mapped += '\x1D';
            }
        }
        text = mapped;
    }
    out += text;
    return true;
}

// Kanji and hanzi pack a double-byte character into 13 bits.
bool ReadDoubleByte(BitReader& in, int count, bool hanzi, std::string& out) {
    if (in.Available() < static_cast<size_t>(count) * 13)
        return false;
    for (int i = 0; i < count; ++i) {
        const unsigned value = in.Read(13);
        unsigned pair;
        if (hanzi) {
            pair = ((value / 0x60) << 8) | (value % 0x60);
            pair += pair < 0x0A00 ? 0xA1A1 : 0xA6A1;
        } else {
            pair = ((value / 0xC0) << 8) | (value % 0xC0);
            pair += pair < 0x1F00 ? 0x8140 : 0xC140;
        }
        out += static_cast<char>((pair >> 8) & 0xFF);
        out += static_cast<char>(pair & 0xFF);
    }
    return true;
}

bool ReadEci(BitReader& in, int* eci) {
    if (in.Available() < 8)
        return false;
    const uint32_t first = in.Read(8);
    if ((first & 0x80) == 0) {
        *eci = static_cast<int>(first);
        return true;
    }
    if ((first & 0xC0) == 0x80) {
        if (in.Available() < 8)
            return false;
        *eci = static_cast<int>(((first & 0x3F) << 8) | in.Read(8));
        return true;
    }
    if ((first & 0xE0) == 0xC0) {
        if (in.Available() < 16)
            return false;
        *eci = static_cast<int>(((first & 0x1F) << 16) | in.Read(16));
        return true;
    }
    return false;
}

} // namespace

std::optional<ParsedData> ParseBitstream(std::span<const uint8_t> data, int version) {
    if (!IsValidVersion(version))
        return std::nullopt;
    BitReader in(data);
    ParsedData result;
    int eci = -1;
    while (in.Available() >= 4) {
        const int mode = static_cast<int>(in.Read(4));
        if (mode == static_cast<int>(Mode::Terminator))
            break;
        if (mode == static_cast<int>(Mode::StructuredAppend)) {
            if (in.Available() < 16)
                return std::nullopt;
            result.sequenceIndex = static_cast<int>(in.Read(4));
            result.sequenceCount = static_cast<int>(in.Read(4)) + 1;
            result.sequenceParity = static_cast<int>(in.Read(8));
            continue;
        }
        if (mode == static_cast<int>(Mode::Fnc1First)) {
            result.fnc1 = true;
            continue;
        }
        if (mode == static_cast<int>(Mode::Fnc1Second)) {
            if (in.Available() < 8)
                return std::nullopt;
            in.Read(8); // application indicator
            result.fnc1 = true;
            continue;
        }
        if (mode == static_cast<int>(Mode::Eci)) {
            if (!ReadEci(in, &eci))
                return std::nullopt;
            if (result.firstEci < 0)
                result.firstEci = eci;
            continue;
        }
        DataSegment segment;
        segment.eci = eci;
        if (mode == kHanziMode) {
            if (in.Available() < 4 || in.Read(4) != kGb2312Subset)
                return std::nullopt;
            const int countBits = CharacterCountBits(Mode::Kanji, version);
            if (in.Available() < static_cast<size_t>(countBits))
                return std::nullopt;
            segment.kind = SegmentKind::Hanzi;
            if (!ReadDoubleByte(in, static_cast<int>(in.Read(countBits)), true, segment.bytes))
                return std::nullopt;
            result.segments.push_back(std::move(segment));
            continue;
        }
        Mode m;
        switch (mode) {
        case static_cast<int>(Mode::Numeric):
            m = Mode::Numeric;
            segment.kind = SegmentKind::Numeric;
            break;
        case static_cast<int>(Mode::Alphanumeric):
            m = Mode::Alphanumeric;
            segment.kind = SegmentKind::Alphanumeric;
            break;
        case static_cast<int>(Mode::Byte):
            m = Mode::Byte;
            segment.kind = SegmentKind::Byte;
            break;
        case static_cast<int>(Mode::Kanji):
            m = Mode::Kanji;
            segment.kind = SegmentKind::Kanji;
            break;
        default:
            return std::nullopt;
        }
        const int countBits = CharacterCountBits(m, version);
        if (in.Available() < static_cast<size_t>(countBits))
            return std::nullopt;
        const int count = static_cast<int>(in.Read(countBits));
        bool ok = false;
        switch (segment.kind) {
        case SegmentKind::Numeric:
            ok = ReadNumeric(in, count, segment.bytes);
            break;
        case SegmentKind::Alphanumeric:
            ok = ReadAlphanumeric(in, count, result.fnc1, segment.bytes);
            break;
        case SegmentKind::Byte:
            ok = in.Available() >= static_cast<size_t>(count) * 8;
            for (int i = 0; ok && i < count; ++i)
                segment.bytes += static_cast<char>(in.Read(8));
            break;
        case SegmentKind::Kanji:
            ok = ReadDoubleByte(in, count, false, segment.bytes);
            break;
        case SegmentKind::Hanzi:
            break;
        }
        if (!ok)
            return std::nullopt;
        result.segments.push_back(std::move(segment));
    }
    return result;
}

} // namespace kodaro::codec
