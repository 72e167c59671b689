// A page's label block may set a second label on a line after a wide run of
// spaces. Space widths depend on the font, so the painter draws each column
// as its own block at a fixed place instead of trusting the spaces.
#pragma once

#include <string>
#include <string_view>

namespace kodaro {

struct LabelColumns {
    std::wstring left;  // every line's first label, line breaks kept
    std::wstring right; // every line's second label, empty lines where none
};

// Splits each line at its first run of two or more spaces after a label.
// Spaces that lead a line stay with the left label, trailing ones are dropped.
LabelColumns SplitLabelColumns(std::wstring_view block);

} // namespace kodaro
