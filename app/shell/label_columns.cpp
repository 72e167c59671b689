#include "app/shell/label_columns.h"

namespace kodaro {

namespace {

std::wstring_view TrimRight(std::wstring_view text) {
    while (!text.empty() && text.back() == L' ') {
        text.remove_suffix(1);
    }
    return text;
}

void SplitLine(std::wstring_view line, LabelColumns& columns) {
    const std::size_t labelStart = line.find_first_not_of(L' ');
    std::size_t gap = std::wstring_view::npos;
    if (labelStart != std::wstring_view::npos) {
        gap = line.find(L"  ", labelStart);
    }
    if (gap == std::wstring_view::npos) {
        columns.left += TrimRight(line);
        return;
    }
    columns.left += line.substr(0, gap);
    const std::wstring_view rest = line.substr(gap);
    const std::size_t rightStart = rest.find_first_not_of(L' ');
    if (rightStart != std::wstring_view::npos) {
        columns.right += TrimRight(rest.substr(rightStart));
    }
}

} // namespace

LabelColumns SplitLabelColumns(std::wstring_view block) {
    LabelColumns columns;
    for (;;) {
        const std::size_t end = block.find(L"\r\n");
        SplitLine(block.substr(0, end), columns);
        if (end == std::wstring_view::npos) {
            break;
        }
        columns.left += L"\r\n";
        columns.right += L"\r\n";
        block.remove_prefix(end + 2);
    }
    if (columns.right.find_first_not_of(L"\r\n") == std::wstring::npos) {
        columns.right.clear();
    }
    return columns;
}

} // namespace kodaro
