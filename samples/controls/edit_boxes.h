// The sample window's edit boxes: a single-line, a password, a decimal and a
// multi-line box, and what they hold written to a file (for the
// whole-program tests that type into them).
#pragma once

#include "ui/controls/edit_box.h"

#include <string>

namespace kodaro::ui::sample {

struct SampleEditBoxes {
    EditBox single;
    EditBox password;
    EditBox decimal;
    EditBox multi;

    void Create(HWND window);
    // One line per box, "name=text", line breaks written as "\n"; UTF-8.
    void WriteTexts(const std::wstring& path);
};

} // namespace kodaro::ui::sample
