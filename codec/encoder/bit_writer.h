#pragma once
// Appends bit fields, most significant bit first, to a growing byte buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kodaro::codec {

class BitWriter {
public:
    // Appends the low `count` bits (0..31) of value.
    void Append(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if ((bits_ & 7) == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1)
                bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ & 7));
            ++bits_;
        }
    }
    size_t BitCount() const { return bits_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t>& Bytes() { return bytes_; }
    void Reserve(size_t bytes) { bytes_.reserve(bytes); }

private:
    std::vector<uint8_t> bytes_;
    size_t bits_ = 0;
};

} // namespace kodaro::codec
