#pragma once
// QR Code Model 2 encoder: payload bytes in, module matrix out. It chooses the
// shortest mix of numeric, alphanumeric and byte segments, the smallest
// version that holds them at the requested level (not below a minimum
// version), and the data mask with the lowest penalty unless one is forced.
// Text is taken as raw bytes (UTF-8 goes into byte mode without an ECI header).
#include "codec/common/qr_tables.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kodaro::codec {

struct QrEncodeOptions {
    EcLevel level = EcLevel::M;
    int minVersion = kMinVersion; // 1..40
    int mask = -1;                // -1 = lowest penalty, else 0..7
};

struct QrSymbol {
    int version = 0;
    EcLevel level = EcLevel::L;
    int mask = 0;
    int size = 0;                 // modules per side
    std::vector<uint8_t> modules; // size * size, row by row, 1 = dark

    bool IsDark(int row, int col) const {
        return modules[static_cast<size_t>(row) * static_cast<size_t>(size) +
                       static_cast<size_t>(col)] != 0;
    }
};

// Empty when the options are out of range or the payload does not fit in a
// version 40 symbol at the requested level.
std::optional<QrSymbol> EncodeQr(std::span<const uint8_t> payload, const QrEncodeOptions& options);

inline std::optional<QrSymbol> EncodeQr(std::string_view text, const QrEncodeOptions& options) {
    return EncodeQr(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), options);
}

// The version EncodeQr would choose (0 when the payload does not fit).
int ChooseVersion(std::span<const uint8_t> payload, EcLevel level, int minVersion);

} // namespace kodaro::codec
