#include "codec/encoder/segmentation.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kodaro::codec {

namespace {

// Dynamic-programming states: the mode of the segment the last character went
// into, and for numeric and alphanumeric how many characters of the current
// group (three digits, two characters) it holds. The phase makes every cost
// exact: digits cost 4, 3, 3 bits within a group; alphanumerics 6, 5 bits.
enum State : uint8_t { kNum1, kNum2, kNum3, kAlnum1, kAlnum2, kByte, kStateCount };

constexpr Mode kStateMode[kStateCount] = {Mode::Numeric,      Mode::Numeric,      Mode::Numeric,
                                          Mode::Alphanumeric, Mode::Alphanumeric, Mode::Byte};

constexpr uint32_t kInfinite = std::numeric_limits<uint32_t>::max() / 2;

} // namespace

size_t SegmentDataBits(Mode mode, size_t length) {
    switch (mode) {
    case Mode::Numeric:
        return 10 * (length / 3) + (length % 3 == 0 ? 0 : length % 3 == 1 ? 4 : 7);
    case Mode::Alphanumeric:
        return 11 * (length / 2) + 6 * (length % 2);
    case Mode::Byte:
        return 8 * length;
    default:
        return 0;
    }
}

std::vector<Segment> OptimalSegments(std::span<const uint8_t> data, int version) {
    std::vector<Segment> segments;
    const size_t n = data.size();
    if (n == 0 || !IsValidVersion(version))
        return segments;

    const uint32_t headerNum =
        4 + static_cast<uint32_t>(CharacterCountBits(Mode::Numeric, version));
    const uint32_t headerAlnum =
        4 + static_cast<uint32_t>(CharacterCountBits(Mode::Alphanumeric, version));
    const uint32_t headerByte = 4 + static_cast<uint32_t>(CharacterCountBits(Mode::Byte, version));

    // Per character and state: the previous state, plus kNewSegment when the
    // character opened a segment.
    constexpr uint8_t kNewSegment = 0x80;
    std::vector<uint8_t> from(n * kStateCount);
    uint32_t cost[kStateCount];
    for (uint32_t& c : cost)
        c = kInfinite;

    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = data[i];
        uint8_t* back = &from[i * kStateCount];
        // The cheapest way to end the previous character: a new segment starts from it.
        uint32_t best = 0;
        uint8_t bestState = kNewSegment;
        if (i > 0) {
            best = cost[0];
            bestState = static_cast<uint8_t>(kNewSegment | 0);
            for (uint8_t s = 1; s < kStateCount; ++s) {
                if (cost[s] < best) {
                    best = cost[s];
                    bestState = static_cast<uint8_t>(kNewSegment | s);
                }
            }
        }
        uint32_t next[kStateCount];
        // Continue whichever state of the same mode is cheaper, or open a segment.
        auto choose = [&](State target, uint32_t viaOpen, State prev, uint32_t viaPrev) {
            if (viaPrev < viaOpen) {
                next[target] = viaPrev;
                back[target] = prev;
            } else {
                next[target] = viaOpen;
                back[target] = bestState;
            }
        };
        choose(kByte, best + headerByte + 8, kByte, cost[kByte] + 8);
        if (AlphanumericValue(c) >= 0) {
            choose(kAlnum1, best + headerAlnum + 6, kAlnum2, cost[kAlnum2] + 6);
            next[kAlnum2] = cost[kAlnum1] + 5;
            back[kAlnum2] = kAlnum1;
        } else {
            next[kAlnum1] = next[kAlnum2] = kInfinite;
        }
        if (c >= '0' && c <= '9') {
            choose(kNum1, best + headerNum + 4, kNum3, cost[kNum3] + 4);
            next[kNum2] = cost[kNum1] + 3;
            back[kNum2] = kNum1;
            next[kNum3] = cost[kNum2] + 3;
            back[kNum3] = kNum2;
        } else {
            next[kNum1] = next[kNum2] = next[kNum3] = kInfinite;
        }
        for (int s = 0; s < kStateCount; ++s)
            cost[s] = std::min(next[s], kInfinite);
    }

    int state = 0;
    for (int s = 1; s < kStateCount; ++s)
        if (cost[s] < cost[state])
            state = s;

    // Walk back, collecting segments from the end.
    size_t end = n;
    for (size_t i = n; i-- > 0;) {
        const uint8_t b = from[i * kStateCount + static_cast<size_t>(state)];
        if (b & kNewSegment) {
            segments.push_back({kStateMode[state], i, end - i});
            end = i;
        }
        state = b & ~kNewSegment;
    }
    std::vector<Segment> ordered;
    ordered.reserve(segments.size());
    for (size_t k = segments.size(); k-- > 0;) {
        const Segment& s = segments[k];
        const size_t limit = (size_t{1} << CharacterCountBits(s.mode, version)) - 1;
        for (size_t off = 0; off < s.length; off += limit)
            ordered.push_back({s.mode, s.begin + off, std::min(limit, s.length - off)});
    }
    return ordered;
}

size_t SegmentsBits(std::span<const Segment> segments, int version) {
    size_t bits = 0;
    for (const Segment& s : segments)
        bits += 4 + static_cast<size_t>(CharacterCountBits(s.mode, version)) +
                SegmentDataBits(s.mode, s.length);
    return bits;
}

void WriteSegments(std::span<const uint8_t> data, std::span<const Segment> segments, int version,
                   BitWriter& out) {
    for (const Segment& s : segments) {
        out.Append(static_cast<uint32_t>(s.mode), 4);
        out.Append(static_cast<uint32_t>(s.length), CharacterCountBits(s.mode, version));
        const uint8_t* p = data.data() + s.begin;
        size_t left = s.length;
        switch (s.mode) {
        case Mode::Numeric:
            for (; left >= 3; left -= 3, p += 3)
                out.Append(
                    static_cast<uint32_t>((p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0')),
                    10);
            if (left == 2)
                out.Append(static_cast<uint32_t>((p[0] - '0') * 10 + (p[1] - '0')), 7);
            else if (left == 1)
                out.Append(static_cast<uint32_t>(p[0] - '0'), 4);
            break;
        case Mode::Alphanumeric:
            for (; left >= 2; left -= 2, p += 2)
                out.Append(
                    static_cast<uint32_t>(AlphanumericValue(p[0]) * 45 + AlphanumericValue(p[1])),
                    11);
            if (left == 1)
                out.Append(static_cast<uint32_t>(AlphanumericValue(p[0])), 6);
            break;
        default:
            for (; left > 0; --left, ++p)
                out.Append(*p, 8);
            break;
        }
    }
}

} // namespace kodaro::codec
