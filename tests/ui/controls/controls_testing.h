#pragma once
// What the control tests share: the test window, the picture helpers and the
// files of this folder's data folder.

#include "runtime/file_io.h"
#include "runtime/text.h"
#include "tests/support/bitmap_pixels.h"
#include "tests/support/test_window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kodaro::ui::test {

// The shared picture helpers (Pixels, ReadBitmap, SolidPng, ...) under test::.
using namespace kodaro::test;

inline std::vector<std::uint8_t> TestData(const char* name) {
    return ReadWholeFile(
        Utf8ToWide(std::string(KODARO_SOURCE_DIR) + "/tests/ui/controls/data/" + name));
}

} // namespace kodaro::ui::test
