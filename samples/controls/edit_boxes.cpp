#include "edit_boxes.h"

#include "runtime/text.h"

#include <fstream>

namespace kodaro::ui::sample {

void SampleEditBoxes::Create(HWND window) {
    single.Create(window, 20, 125, 150, 24, L"单行 single");
    password.Create(window, 20, 160, 150, 24, L"", {.inputType = kEditPassword});
    decimal.Create(window, 20, 195, 150, 24, L"", {.inputType = kEditDecimal});
    std::wstring lines;
    for (int i = 1; i <= 12; ++i) {
        lines += L"第 " + std::to_wstring(i) + L" 行 line " + std::to_wstring(i) + L"\r\n";
    }
    lines += L"a long last line that reaches past the right edge of the box";
    multi.Create(window, 240, 260, 200, 160, lines, {.multiLine = true});
}

void SampleEditBoxes::WriteTexts(const std::wstring& path) {
    std::ofstream out(path.c_str(), std::ios::binary);
    const std::pair<const char*, EditBox*> boxes[] = {
        {"single", &single}, {"password", &password}, {"decimal", &decimal}, {"multi", &multi}};
    for (const auto& [name, box] : boxes) {
        std::wstring text = box->Text();
        std::wstring escaped;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 2, L"\r\n") == 0) {
                escaped += L"\\n";
                ++i;
            } else {
                escaped += text[i];
            }
        }
        out << name << '=' << WideToUtf8(escaped) << '\n';
    }
}

} // namespace kodaro::ui::sample
