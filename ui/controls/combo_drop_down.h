// The combo box's drop-down: a topmost tool window of class
// "Ex_DirectUI_Combox" below the combo, holding one list, run in the shared
// popup loop until it closes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kodaro::ui {

class ComboBox;

inline constexpr wchar_t kDropDownClassName[] = L"Ex_DirectUI_Combox";

// Opens the drop-down of combo with the item texts, the row equal to the
// combo's text preselected. Returns once the window is gone: the chosen
// 1-based item, or 0 (closed with Escape, by a click elsewhere, or because
// the combo's window went away). Only one drop-down is open at a time; -1
// when one already is.
int RunDropDown(ComboBox& combo, const std::vector<std::wstring>& items);

} // namespace kodaro::ui
